// The chat service's wire format as scripted servers speak it: the streamed reply (one "data: " line per
// piece, each followed by an empty line, and the end marker), the error record, and the messages a request
// sent.
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "platform/foundation/json_text.h"
#include "tests/support/loopback_server.h"

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

// The service's error record with this message.
inline std::string errorBody(const std::string& message) {
  foundation::Json body = {{"error", {{"message", message}, {"type", "invalid_request_error"}}}};
  return body.dump();
}

// The messages a recorded request sent, as (role, content) pairs.
inline std::vector<std::pair<std::string, std::string>> sentMessages(const RecordedRequest& request) {
  std::vector<std::pair<std::string, std::string>> messages;
  const foundation::Json body = foundation::parseJson(request.body);
  for (const auto& message : body.at("messages")) {
    messages.emplace_back(message.at("role").get<std::string>(), message.at("content").get<std::string>());
  }
  return messages;
}

}  // namespace testsupport
