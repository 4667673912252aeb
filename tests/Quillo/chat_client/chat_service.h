// A scripted chat-completions service on 127.0.0.1 and the helpers the client's tests share: reply bodies
// in the service's wire format, a token counter that counts bytes, and a temporary standard settings suite.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "GPTEncoder/gpt_encoder.h"
#include "Quillo/chat_client/chat_gpt_api.h"
#include "platform/foundation/json_text.h"
#include "platform/foundation/text_error.h"
#include "tests/support/byte_counting_encoder.h"
#include "tests/support/chat_stream.h"
#include "tests/support/loopback_server.h"

namespace chatclienttest {

inline constexpr const char* kCompletionsPath = "/v1/chat/completions";
inline constexpr const char* kKey = "sk-test-0123456789abcdefXYZ";

using testsupport::byteCountingEncoder;

// One "data: " line of a streamed reply carrying `content` (no content member when nothing).
std::string chunkLine(const std::optional<std::string>& content);
// A streamed body: one chunk line per piece, each followed by an empty line, then the end-marker line.
std::string streamedBody(const std::vector<std::string>& pieces, bool withEndMarker = true);
// The body of a one-shot reply holding `content` as its first choice, or no choice at all.
std::string completionBody(const std::optional<std::string>& content);
using testsupport::errorBody;
using testsupport::sentMessages;

// Every piece of a stream until its end; the failure text when it ended with one.
struct DrainedStream {
  std::vector<std::string> pieces;
  std::optional<std::string> failure;
};
DrainedStream drain(const concurrency::AsyncThrowingStream<std::string>& stream);

// The text of the TextError that `call` throws, or nothing when it throws none.
template <class Call>
std::optional<std::string> failureOf(Call&& call) {
  try {
    call();
  } catch (const foundation::TextError& error) {
    return error.text();
  }
  return std::nullopt;
}

// The settings keys live in the standard suite and are made once per process; every test of this program
// runs against one temporary standard suite, emptied before each test.
void emptyStandardSuite();
void setCustomEndpoint(bool isOn, const std::string& baseURL);

}  // namespace chatclienttest
