#include "Quillo/chat_client/chat_gpt_api.h"

#include <fmt/format.h>

#include <chrono>
#include <condition_variable>
#include <exception>
#include <mutex>
#include <optional>
#include <stop_token>
#include <utility>

#include "Quillo/chat_model/chat_completion_records.h"
#include "Quillo/chat_model/settings_keys.h"
#include "platform/concurrency/task.h"
#include "platform/foundation/log.h"
#include "platform/foundation/text_error.h"
#include "platform/foundation/url.h"

namespace Quillo {

using foundation::TextError;

namespace {

constexpr std::string_view kStreamLinePrefix = "data: ";
constexpr std::string_view kInvalidResponse = "Invalid response";
constexpr std::string_view kSomethingWentWrong = "Something went wrong";
constexpr auto kRequestTimeout = std::chrono::seconds(60);
// A failure body is read whole into a text the user sees; a server that never stops sending one is cut
// here instead of filling memory.
constexpr std::size_t kMaximumErrorBodySize = 1 << 20;
// The whole reply of a one-shot call is held in memory too.
constexpr std::size_t kMaximumReplyBodySize = 32 << 20;

// The text with every occurrence of the key replaced by its redacted form, so a service that echoes the
// key back in a failure does not put it on the screen or into the log.
std::string withoutKey(std::string text, std::string_view key) {
  if (key.empty()) return text;
  const std::string redacted = foundation::redactedSecret(key);
  for (std::size_t at = text.find(key); at != std::string::npos; at = text.find(key, at + redacted.size())) {
    text.replace(at, key.size(), redacted);
  }
  return text;
}

bool isSuccessStatus(int status) { return status >= 200 && status <= 299; }

// Our URL layer answers every transfer with an HTTP head; a status below 100 would not be one.
bool isHTTPStatus(int status) { return status >= 100; }

// Whether the text is an absolute http or https URL with a host, the only kind the request may go to.
std::optional<foundation::URL> endpointURL(std::string_view text) {
  auto url = foundation::URL::parse(text);
  if (!url || !url->isAbsolute() || !url->host() || url->host()->empty()) return std::nullopt;
  std::string scheme = *url->scheme();
  for (char& c : scheme) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  if (scheme != "http" && scheme != "https") return std::nullopt;
  return url;
}

// The failure of a response whose status is not a success: the service's error message when the body is
// an error record, otherwise the body's lines joined (also written to the log, as plain text).
TextError failureOfStatus(foundation::URLBytesResult& result, std::string_view key) {
  std::string body;
  while (auto line = result.bytes->nextLine()) {
    body += *line;
    if (body.size() > kMaximumErrorBodySize) {
      body.resize(kMaximumErrorBodySize);
      result.bytes->cancel();
      break;
    }
  }
  if (auto record = decodedRecordIfValid<ErrorRootResponse>(body)) {
    return TextError(withoutKey(record->error.message, key));
  }
  body = withoutKey(std::move(body), key);
  // An empty text would show the user no failure at all.
  if (body.empty()) body = fmt::format("The server answered with status {}.", result.response.statusCode);
  foundation::log(body);
  return TextError(body);
}

}  // namespace

std::size_t tokenLimit(Model model) {
  switch (model) {
    case Model::gpt4:
      return 8000;
    case Model::turbo16k:
      return 16000;
    default:
      return 4096;
  }
}

// The part of a client that the producers of its streamed replies reach through a weak reference.
//
// `historyList` is touched by the owner (reading, replacing), by the calls (trimming, on worker tasks) and
// by the producers (recording, at the end of a reply). `mutex` serialises them: each access holds it for
// its whole read-modify-write, trimming together with the token counts that decide it, so no two overlap.
// Their order is not fixed.
struct ChatGPTAPI::Shared {
  explicit Shared(std::shared_ptr<GPTTokenizer::GPTEncoder> encoder) : gptEncoder(std::move(encoder)) {}

  // The system text, the history and the new text; while their contents hold more tokens than the model
  // takes, the oldest history message is dropped for good, one at a time. The system text and the new
  // text are never shortened: with an empty history the list goes out over the limit.
  std::vector<Message> buildMessages(const std::string& text, const std::string& systemText, Model model) {
    std::lock_guard lock(mutex);
    if (gptEncoder) {
      const std::size_t limit = tokenLimit(model);
      while (!historyList.empty()) {
        std::string contents = systemText;
        for (const Message& message : historyList) contents += message.content;
        contents += text;
        if (gptEncoder->tokenIDs(contents).size() <= limit) break;
        historyList.erase(historyList.begin());
      }
    }
    std::vector<Message> messages;
    messages.reserve(historyList.size() + 2);
    messages.emplace_back(Role::system, systemText);
    messages.insert(messages.end(), historyList.begin(), historyList.end());
    messages.emplace_back(Role::user, text);
    return messages;
  }

  void recordExchange(const std::string& userText, const std::string& replyText) {
    std::lock_guard lock(mutex);
    historyList.emplace_back(Role::user, userText);
    historyList.emplace_back(Role::assistant, replyText);
  }

  std::mutex mutex;
  std::vector<Message> historyList;
  // Used only under `mutex`.
  const std::shared_ptr<GPTTokenizer::GPTEncoder> gptEncoder;
};

// How many producers of streamed replies are still reading. Thread-safe: `mutex` guards the count.
struct ChatGPTAPI::ReplyTracker {
  void begin() {
    std::lock_guard lock(mutex);
    ++running;
  }
  void end() {
    {
      std::lock_guard lock(mutex);
      --running;
    }
    ended.notify_all();
  }
  void waitUntilNoneRuns() {
    std::unique_lock lock(mutex);
    ended.wait(lock, [&] { return running == 0; });
  }

  std::mutex mutex;
  std::condition_variable ended;
  std::size_t running = 0;
};

namespace {

using ReplyStream = concurrency::AsyncThrowingStream<std::string>;

// Reads a streamed reply to its end, whatever its consumer does, yields each piece and records the
// exchange when the body is complete. The client is held weakly: once it is gone, lines are no longer
// decoded and nothing is recorded, but the body is still read.
void produceReply(const std::weak_ptr<ChatGPTAPI::Shared>& client, foundation::URLByteStream& bytes,
                  const ReplyStream::Continuation& continuation, const std::string& userText,
                  const std::string& key) {
  std::string reply;
  try {
    while (auto line = bytes.nextLine()) {
      if (!line->starts_with(kStreamLinePrefix)) continue;
      auto shared = client.lock();
      if (!shared) continue;
      const std::string_view payload = std::string_view(*line).substr(kStreamLinePrefix.size());
      if (auto chunk = decodedRecordIfValid<StreamCompletionResponse>(payload)) {
        if (!chunk->choices.empty() && chunk->choices.front().delta.content) {
          const std::string& piece = *chunk->choices.front().delta.content;
          reply += piece;
          continuation.yield(piece);
        }
        continue;
      }
      // A reply that fails after it started says so in an error record: that is a failure, not the end
      // of a (partial) reply, so nothing is recorded.
      if (auto failure = decodedRecordIfValid<ErrorRootResponse>(payload)) {
        bytes.cancel();
        continuation.finish(std::make_exception_ptr(TextError(withoutKey(failure->error.message, key))));
        return;
      }
      // Anything else (the closing "[DONE]" marker among them) is not part of the reply.
    }
  } catch (const std::exception& error) {
    continuation.finish(std::make_exception_ptr(TextError(withoutKey(error.what(), key))));
    return;
  } catch (...) {
    continuation.finish(std::make_exception_ptr(TextError("The reply could not be read.")));
    return;
  }
  if (auto shared = client.lock()) shared->recordExchange(userText, reply);
  continuation.finish();
}

}  // namespace

ChatGPTAPI::ChatGPTAPI(std::string apiKey, std::string urlString,
                       std::shared_ptr<GPTTokenizer::GPTEncoder> gptEncoder,
                       std::shared_ptr<foundation::URLSession> urlSession)
    : apiKey_(std::move(apiKey)),
      urlString_(std::move(urlString)),
      urlSession_(urlSession ? std::move(urlSession) : foundation::URLSession::shared()),
      shared_(std::make_shared<Shared>(std::move(gptEncoder))),
      replies_(std::make_shared<ReplyTracker>()) {}

ChatGPTAPI::~ChatGPTAPI() = default;

std::vector<Message> ChatGPTAPI::historyList() const {
  std::lock_guard lock(shared_->mutex);
  return shared_->historyList;
}

void ChatGPTAPI::setHistoryList(std::vector<Message> history) {
  std::lock_guard lock(shared_->mutex);
  shared_->historyList = std::move(history);
}

void ChatGPTAPI::waitUntilRepliesEnd() const { replies_->waitUntilNoneRuns(); }

std::string ChatGPTAPI::withoutSecret(std::string text) const { return withoutKey(std::move(text), apiKey_); }

foundation::HTTPHeaderFields ChatGPTAPI::requestHeaders(bool usesCustomEndpoint) const {
  foundation::HTTPHeaderFields headers;
  headers.setValue("application/json", "Content-Type");
  if (usesCustomEndpoint) {
    // The custom endpoint authenticates with the user's own key in its own header.
    headers.setValue(apiKey_, "api-key");
  } else {
    headers.setValue("Bearer " + apiKey_, "Authorization");
  }
  return headers;
}

foundation::URLRequest ChatGPTAPI::makeRequest() const {
  // Read once, so the address and the headers of one request always agree.
  const bool usesCustomEndpoint = Defaults::get(Keys::useCustomAPI());
  std::optional<foundation::URL> url;
  std::string customBase;
  if (usesCustomEndpoint) customBase = Defaults::get(Keys::azureKey());
  if (customBase.empty()) {
    url = endpointURL(urlString_);
    if (!url) throw TextError("The chat service's address is not a valid URL.");
  } else {
    url = endpointURL(customBase + std::string(customEndpointPath));
    if (!url) throw TextError("The custom endpoint is not a valid URL.");
  }
  foundation::URLRequest request(std::move(*url));
  request.httpMethod = "POST";
  request.timeoutInterval = kRequestTimeout;
  request.allHTTPHeaderFields = requestHeaders(usesCustomEndpoint);
  return request;
}

foundation::URLRequest ChatGPTAPI::makeRequest(const std::string& text, Model model,
                                               const std::string& systemText, double temperature,
                                               bool stream) {
  foundation::URLRequest request = makeRequest();
  Request body{model, temperature, shared_->buildMessages(text, systemText, model), stream};
  request.httpBody = encodedRequest(body);
  return request;
}

concurrency::AsyncThrowingStream<std::string> ChatGPTAPI::streamReply(const std::string& text, Model model,
                                                                      const std::string& systemText,
                                                                      double temperature) {
  const foundation::URLRequest request = makeRequest(text, model, systemText, temperature, true);

  // The calling task's cancellation applies until the reply starts; from then on the reply is read to
  // its end whatever becomes of the caller.
  std::stop_source transferStop;
  std::optional<foundation::URLBytesResult> result;
  {
    std::stop_callback forwardCancellation(concurrency::currentStopToken(),
                                           [&transferStop] { transferStop.request_stop(); });
    try {
      result.emplace(urlSession_->bytes(request, transferStop.get_token()));
      if (!isHTTPStatus(result->response.statusCode)) throw TextError(std::string(kInvalidResponse));
      if (!isSuccessStatus(result->response.statusCode)) throw failureOfStatus(*result, apiKey_);
    } catch (const TextError& error) {
      throw TextError(withoutSecret(error.text()));
    }
  }

  auto [stream, continuation] = ReplyStream::makeStream();
  replies_->begin();
  concurrency::Task<void>(
      [client = std::weak_ptr<Shared>(shared_), bytes = result->bytes, continuation = continuation,
       userText = text, key = apiKey_, replies = replies_] {
        struct EndReport {
          ReplyTracker& replies;
          ~EndReport() { replies.end(); }
        } endReport{*replies};
        produceReply(client, *bytes, continuation, userText, key);
      },
      concurrency::TaskPriority::userInitiated);
  return stream;
}

std::string ChatGPTAPI::fetchReply(const std::string& text, Model model, const std::string& systemText,
                                   double temperature) {
  foundation::URLRequest request = makeRequest(text, model, systemText, temperature, false);
  request.maximumBodySize = kMaximumReplyBodySize;
  try {
    const foundation::URLDataResult result = urlSession_->data(request, concurrency::currentStopToken());
    const int status = result.response.statusCode;
    if (!isHTTPStatus(status)) throw TextError(std::string(kInvalidResponse));
    if (!isSuccessStatus(status)) throw TextError(fmt::format("The server answered with status {}.", status));
    const auto response = decodedRecord<CompletionResponse>(result.data);
    std::string reply = response.choices.empty() ? std::string() : response.choices.front().message.content;
    shared_->recordExchange(text, reply);
    return reply;
  } catch (const std::exception& error) {
    foundation::log("ChatGPTAPI fetchReply failed: " + withoutSecret(error.what()));
    return std::string(kSomethingWentWrong);
  }
}

}  // namespace Quillo
