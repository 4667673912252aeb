// The pieces of a text as ICU's regular-expression engine finds them with the GPT-2 pre-tokenisation
// expression: the yardstick for the hand-written pre-tokeniser.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "GPTEncoder/byte_alphabet.h"

std::vector<std::string> icuPieces(std::string_view text);
