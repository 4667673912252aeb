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

const auto* const environment =
    ::testing::AddGlobalTestEnvironment(new testsupport::TemporaryStandardSuite("quillo-chat-client-"));

}  // namespace

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
