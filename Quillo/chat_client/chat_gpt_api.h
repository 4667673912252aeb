// The client of the chat-completions service: builds the request with a trimmed history, streams the
// reply back piece by piece or returns it whole, and remembers each completed exchange.
#pragma once

#include <cstddef>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "GPTEncoder/gpt_encoder.h"
#include "Quillo/chat_model/message.h"
#include "Quillo/chat_model/model.h"
#include "platform/concurrency/async_stream.h"
#include "platform/foundation/http/url_request.h"
#include "platform/foundation/http/url_session.h"

namespace Quillo {

// The most tokens a model takes in one request (the contents of every message sent, counted together).
std::size_t tokenLimit(Model model);

// One client, owned by one user of the service (the native chat, a Global window, the Inline assistant, a
// key test), each with its own history. Failures are thrown as foundation::TextError whose text can be
// shown as it stands; the API key never appears in a failure text or a diagnostic line.
//
// Calls block the calling thread until the service has answered (run them on a worker task); cancelling
// the calling task aborts the call until the reply starts (streamReply throws "cancelled", fetchReply gives
// "Something went wrong"). Several calls may be under way at once, each building its request from the
// history of that moment.
class ChatGPTAPI {
 public:
  // The service's endpoint.
  static constexpr std::string_view defaultURLString = "https://api.openai.com/v1/chat/completions";
  // What a custom base URL is followed by, as it stands (no slash is added or removed).
  static constexpr std::string_view customEndpointPath = "/v1/chat/completions";

  // A client for `apiKey` talking to `urlString` (the default endpoint; the custom endpoint of the
  // settings replaces it when set). `gptEncoder` counts tokens for trimming the history; without one
  // (its data files are missing) requests are sent untrimmed.
  explicit ChatGPTAPI(
      std::string apiKey, std::string urlString = std::string(defaultURLString),
      std::shared_ptr<GPTTokenizer::GPTEncoder> gptEncoder = GPTTokenizer::GPTEncoder::loadFromResources(),
      std::shared_ptr<foundation::URLSession> urlSession = foundation::URLSession::shared());
  // The producers of replies still streaming read on; they stop decoding and record nothing further.
  ~ChatGPTAPI();
  ChatGPTAPI(const ChatGPTAPI&) = delete;
  ChatGPTAPI& operator=(const ChatGPTAPI&) = delete;

  const std::string& apiKey() const { return apiKey_; }
  const std::string& urlString() const { return urlString_; }

  // The completed exchanges in order, each a user message followed by the assistant's reply (trimming
  // may have removed the oldest messages one at a time).
  std::vector<Message> historyList() const;
  // Replaces the history (owners empty it when the user clears the chat).
  void setHistoryList(std::vector<Message> history);

  // Sends `text` after the system text and the history and returns the reply as a stream of pieces in
  // order, once the service has accepted the request. The stream ends normally when the reply is
  // complete, after the exchange was added to the history; it ends with a TextError when the connection
  // fails or the service reports a failure mid-reply, and nothing is recorded then.
  // Throws TextError before any reply: the request cannot be formed (temperature not finite, custom
  // endpoint not a URL), the transport failed, or the service answered with a failure status (its
  // error message, or else the body's lines joined).
  //
  // The reply is read to its end by a task of its own even when the consumer stops reading or is
  // cancelled, and then recorded, as long as this client still exists.
  concurrency::AsyncThrowingStream<std::string> streamReply(const std::string& text, Model model,
                                                            const std::string& systemText,
                                                            double temperature);

  // Sends `text` and returns the whole reply (the empty text when the service gave no choice), after
  // adding the exchange to the history. Any failure of the exchange is written as one diagnostic line
  // and gives "Something went wrong", the history unchanged; throws TextError only when the request
  // cannot be formed.
  std::string fetchReply(const std::string& text, Model model, const std::string& systemText,
                         double temperature);

  // Blocks until every reply of this client that is still being read has reached its end (and was
  // recorded). For owners that must know the history is final, such as tests and shutdown.
  void waitUntilRepliesEnd() const;

  struct Shared;
  struct ReplyTracker;

 private:
  // The header fields of a request to the service's endpoint or to the custom one.
  foundation::HTTPHeaderFields requestHeaders(bool usesCustomEndpoint) const;
  // The request of the next call, without body; the settings are read anew for each. Throws TextError
  // when the endpoint is not a URL.
  foundation::URLRequest makeRequest() const;
  // The request with its body, the history trimmed on the way.
  foundation::URLRequest makeRequest(const std::string& text, Model model, const std::string& systemText,
                                     double temperature, bool stream);
  // Failure texts with the key masked.
  std::string withoutSecret(std::string text) const;

  const std::string apiKey_;
  const std::string urlString_;
  const std::shared_ptr<foundation::URLSession> urlSession_;
  // Held strongly only here: producers of streamed replies hold it weakly, so it goes with the client.
  const std::shared_ptr<Shared> shared_;
  const std::shared_ptr<ReplyTracker> replies_;
};

}  // namespace Quillo
