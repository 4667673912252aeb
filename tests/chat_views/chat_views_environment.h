// What the chat views' tests share: one temporary standard settings suite for the whole program (the
// settings keys bind to the standard suite once per process), emptied before each test.
#pragma once

namespace chatviewstest {

// Removes every stored value of the temporary standard suite.
void emptyStandardSuite();

}  // namespace chatviewstest
