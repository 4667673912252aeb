// The reversible byte-to-character rule of the GPT-2 vocabulary: every byte stands for one printable
// character, so that the merge list and the token table are plain text without spaces inside a symbol.
#pragma once

#include <string>
#include <string_view>

namespace GPTTokenizer {

// The UTF-8 form of the character that stands for a byte: printable bytes (33 to 126, 161 to 172, 174 to
// 255) keep their own code point, the other 68 take U+0100 upwards in byte order.
std::string_view byteCharacter(unsigned char byte);

// Every byte of `bytes` replaced by its character.
std::string byteEncoded(std::string_view bytes);

// The byte that a code point stands for, or -1 when it stands for none.
int byteOfCharacter(char32_t codePoint);

}  // namespace GPTTokenizer
