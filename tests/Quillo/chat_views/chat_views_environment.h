// What the chat views' tests share: one temporary standard settings suite for the whole program (the
// settings keys bind to the standard suite once per process), emptied before each test, and a token
// counter that counts bytes.
#pragma once

#include <memory>

#include "GPTEncoder/gpt_encoder.h"

namespace chatviewstest {

// Removes every stored value of the temporary standard suite.
void emptyStandardSuite();

// A tokenizer without merges whose token table holds every byte: each UTF-8 byte of a text is one token.
std::shared_ptr<GPTTokenizer::GPTEncoder> byteCountingEncoder();

}  // namespace chatviewstest
