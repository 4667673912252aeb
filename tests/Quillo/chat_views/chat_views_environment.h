// What the chat views' tests share: one temporary standard settings suite for the whole program (the
// settings keys bind to the standard suite once per process), emptied before each test, and a token
// counter that counts bytes.
#pragma once

#include "tests/support/byte_counting_encoder.h"

namespace chatviewstest {

// Removes every stored value of the temporary standard suite.
void emptyStandardSuite();

using testsupport::byteCountingEncoder;

}  // namespace chatviewstest
