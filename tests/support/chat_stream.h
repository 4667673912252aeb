// The chat service's streamed reply as scripted servers send it: one "data: " line per piece, each
// followed by an empty line, and the end marker.
#pragma once

#include <string>
#include <vector>

#include "platform/foundation/json_text.h"

namespace testsupport {

// One "data: " line carrying `content`, with the empty line after it.
inline std::string chunkLine(const std::string& content) {
  foundation::Json chunk = {
      {"id", "chatcmpl-1"},
      {"object", "chat.completion.chunk"},
      {"choices", {{{"index", 0}, {"delta", {{"content", content}}}, {"finish_reason", nullptr}}}}};
  return "data: " + chunk.dump() + "\n\n";
}

// A whole streamed body: a chunk per piece, then "data: [DONE]".
inline std::string streamedBody(const std::vector<std::string>& pieces) {
  std::string body;
  for (const auto& piece : pieces) body += chunkLine(piece);
  return body + "data: [DONE]\n\n";
}

}  // namespace testsupport
