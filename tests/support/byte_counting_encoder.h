// A tokenizer without merges whose token table holds every byte: each UTF-8 byte of a text is one token,
// so tests size messages in bytes.
#pragma once

#include <memory>
#include <string>

#include "GPTEncoder/gpt_encoder.h"
#include "platform/foundation/json_text.h"

namespace testsupport {

inline std::shared_ptr<GPTTokenizer::GPTEncoder> byteCountingEncoder() {
  // The data files' byte-to-character rule: printable bytes keep their code point, the others take 256,
  // 257, ... in increasing order (all below U+0800, so two UTF-8 bytes at most).
  auto utf8 = [](unsigned codePoint) {
    std::string text;
    if (codePoint < 0x80) {
      text += static_cast<char>(codePoint);
    } else {
      text += static_cast<char>(0xC0 | (codePoint >> 6));
      text += static_cast<char>(0x80 | (codePoint & 0x3F));
    }
    return text;
  };
  foundation::Json table = foundation::Json::object();
  unsigned next = 256;
  for (unsigned byte = 0; byte < 256; ++byte) {
    const bool isPrintable = (byte >= 33 && byte <= 126) || (byte >= 161 && byte <= 172) || byte >= 174;
    table[utf8(isPrintable ? byte : next++)] = byte;
  }
  return std::make_shared<GPTTokenizer::GPTEncoder>("#version: 0.2\n", table.dump());
}

}  // namespace testsupport
