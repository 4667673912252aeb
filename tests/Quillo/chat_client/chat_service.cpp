#include "tests/Quillo/chat_client/chat_service.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <system_error>

#include "Quillo/chat_model/settings_keys.h"
#include "platform/foundation/user_defaults.h"
#include "settings_store/key.h"
#include "tests/support/temporary_settings_suite.h"

namespace chatclienttest {

namespace {

// The UTF-8 text of one code point below U+0800.
std::string utf8(unsigned codePoint) {
  std::string text;
  if (codePoint < 0x80) {
    text += static_cast<char>(codePoint);
  } else {
    text += static_cast<char>(0xC0 | (codePoint >> 6));
    text += static_cast<char>(0x80 | (codePoint & 0x3F));
  }
  return text;
}

const auto* const environment =
    ::testing::AddGlobalTestEnvironment(new testsupport::TemporaryStandardSuite("quillo-chat-client-"));

}  // namespace

std::shared_ptr<GPTTokenizer::GPTEncoder> byteCountingEncoder() {
  // The byte-to-character rule of the data files: printable bytes keep their code point, the 68 others
  // take 256, 257, ... in increasing order.
  foundation::Json table = foundation::Json::object();
  unsigned next = 256;
  for (unsigned byte = 0; byte < 256; ++byte) {
    const bool isPrintable = (byte >= 33 && byte <= 126) || (byte >= 161 && byte <= 172) || byte >= 174;
    table[utf8(isPrintable ? byte : next++)] = byte;
  }
  return std::make_shared<GPTTokenizer::GPTEncoder>("#version: 0.2\n", table.dump());
}

std::string chunkLine(const std::optional<std::string>& content) {
  foundation::Json delta = foundation::Json::object();
  if (content) delta["content"] = *content;
  foundation::Json chunk = {{"id", "chatcmpl-1"},
                            {"object", "chat.completion.chunk"},
                            {"choices", {{{"index", 0}, {"delta", delta}, {"finish_reason", nullptr}}}}};
  return "data: " + chunk.dump() + "\n";
}

std::string streamedBody(const std::vector<std::string>& pieces, bool withEndMarker) {
  std::string body;
  for (const auto& piece : pieces) body += chunkLine(piece) + "\n";
  if (withEndMarker) body += "data: [DONE]\n\n";
  return body;
}

std::string completionBody(const std::optional<std::string>& content) {
  foundation::Json choices = foundation::Json::array();
  if (content) {
    choices.push_back({{"index", 0},
                       {"message", {{"role", "assistant"}, {"content", *content}}},
                       {"finish_reason", "stop"}});
  }
  foundation::Json body = {{"id", "chatcmpl-1"},
                           {"choices", choices},
                           {"usage", {{"prompt_tokens", 9}, {"completion_tokens", 1}, {"total_tokens", 10}}}};
  return body.dump();
}

std::string errorBody(const std::string& message) {
  foundation::Json body = {{"error", {{"message", message}, {"type", "invalid_request_error"}}}};
  return body.dump();
}

std::vector<std::pair<std::string, std::string>> sentMessages(const testsupport::RecordedRequest& request) {
  std::vector<std::pair<std::string, std::string>> messages;
  const foundation::Json body = foundation::parseJson(request.body);
  for (const auto& message : body.at("messages")) {
    messages.emplace_back(message.at("role").get<std::string>(), message.at("content").get<std::string>());
  }
  return messages;
}

DrainedStream drain(const concurrency::AsyncThrowingStream<std::string>& stream) {
  DrainedStream drained;
  try {
    while (auto piece = stream.next()) drained.pieces.push_back(*piece);
  } catch (const foundation::TextError& error) {
    drained.failure = error.text();
  }
  return drained;
}

void emptyStandardSuite() { Defaults::removeAllStoredValues(*foundation::UserDefaults::standard()); }

void setCustomEndpoint(bool isOn, const std::string& baseURL) {
  Defaults::set(Quillo::Keys::useCustomAPI(), isOn);
  Defaults::set(Quillo::Keys::azureKey(), baseURL);
}

}  // namespace chatclienttest
