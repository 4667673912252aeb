#include "platform/foundation/http/url_session.h"

#include <curl/curl.h>
#include <fmt/format.h>

#include <algorithm>
#include <array>
#include <atomic>
#include <charconv>
#include <mutex>
#include <utility>

#include "platform/foundation/http/line_splitter.h"
#include "platform/foundation/text_error.h"

namespace foundation {

namespace {

// How long one wait for socket activity may last before the limits are checked again. Time limits are
// measured on an injectable clock that curl cannot wait on, so the transfer loop looks at it this often
// (a manual clock advanced by a test is noticed within this much real time).
constexpr int kPollIntervalMilliseconds = 20;
constexpr long kMaximumRedirects = 16;

void initialiseCurlOnce() {
  static std::once_flag once;
  std::call_once(once, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
}

struct EasyHandleDeleter {
  void operator()(CURL* handle) const { curl_easy_cleanup(handle); }
};
struct MultiHandleDeleter {
  void operator()(CURLM* handle) const { curl_multi_cleanup(handle); }
};
struct HeaderListDeleter {
  void operator()(curl_slist* list) const { curl_slist_free_all(list); }
};

std::string lowercased(std::string_view text) {
  std::string result(text);
  for (char& c : result) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return result;
}

std::string_view trimmed(std::string_view text) {
  const auto isSpace = [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; };
  while (!text.empty() && isSpace(text.front())) text.remove_prefix(1);
  while (!text.empty() && isSpace(text.back())) text.remove_suffix(1);
  return text;
}

bool isValidHeaderName(std::string_view name) {
  if (name.empty()) return false;
  return std::all_of(name.begin(), name.end(), [](char c) { return c > ' ' && c < 127 && c != ':'; });
}

bool isValidHeaderValue(std::string_view value) {
  return std::none_of(value.begin(), value.end(), [](char c) { return c == '\r' || c == '\n' || c == '\0'; });
}

// The description of a failed transfer: what went wrong in words a user can read, then curl's own
// account of it for whoever has to diagnose it.
std::string describeFailure(CURLcode code, std::string_view curlDetail) {
  std::string headline;
  switch (code) {
    case CURLE_COULDNT_CONNECT:
      headline = "Could not connect to the server.";
      break;
    case CURLE_COULDNT_RESOLVE_HOST:
    case CURLE_COULDNT_RESOLVE_PROXY:
      headline = "A server with the specified hostname could not be found.";
      break;
    case CURLE_OPERATION_TIMEDOUT:
      headline = "The request timed out.";
      break;
    case CURLE_UNSUPPORTED_PROTOCOL:
    case CURLE_URL_MALFORMAT:
      headline = "unsupported URL";
      break;
    case CURLE_PARTIAL_FILE:
    case CURLE_RECV_ERROR:
    case CURLE_SEND_ERROR:
    case CURLE_GOT_NOTHING:
    case CURLE_HTTP2:
    case CURLE_HTTP2_STREAM:
      headline = "The network connection was lost.";
      break;
    case CURLE_PEER_FAILED_VERIFICATION:
    case CURLE_SSL_CONNECT_ERROR:
    case CURLE_SSL_CERTPROBLEM:
    case CURLE_SSL_CIPHER:
    case CURLE_SSL_CACERT_BADFILE:
      headline = "An SSL error has occurred and a secure connection to the server cannot be made.";
      break;
    case CURLE_TOO_MANY_REDIRECTS:
      headline = "too many HTTP redirects";
      break;
    case CURLE_FILESIZE_EXCEEDED:
      headline = "The response body is larger than allowed.";
      break;
    default:
      headline = "The request failed.";
      break;
  }
  std::string detail = curl_easy_strerror(code);
  if (!curlDetail.empty() && curlDetail != detail) detail = fmt::format("{}: {}", detail, curlDetail);
  return fmt::format("{} ({})", headline, detail);
}

}  // namespace

namespace detail {

// One HTTP transfer on its own easy handle, driven by whichever thread reads from it: every call that
// needs more of the response runs curl until that part has arrived, the transfer has ended or a limit
// or cancellation stopped it. Only one thread drives a transfer at a time; cancel() is the one member
// any thread may call (an atomic flag and curl's thread-safe wake-up of the multi handle).
class Transfer {
 public:
  enum class BodyMode { whole, lines };

  Transfer(const URLRequest& request, std::shared_ptr<Clock> clock, std::stop_token cancellation,
           BodyMode mode);
  ~Transfer();
  Transfer(const Transfer&) = delete;
  Transfer& operator=(const Transfer&) = delete;

  // Runs until the head of the final response has arrived; throws TextError when the transfer fails
  // before that.
  HTTPURLResponse awaitResponse();
  // Runs until the next line has arrived; nothing at the end of the body. A stop requested on
  // `cancellation` cancels the transfer.
  std::optional<std::string> nextLine(std::stop_token cancellation);
  // Runs to the end and returns the body.
  std::string readToEnd();

  void cancel() {
    cancelled_.store(true);
    curl_multi_wakeup(multi_.get());
  }
  bool isCancelled() const { return cancelled_.load(); }

 private:
  static size_t receiveHeader(char* data, size_t size, size_t count, void* self) noexcept;
  static size_t receiveBody(char* data, size_t size, size_t count, void* self) noexcept;
  static int reportProgress(void* self, curl_off_t, curl_off_t, curl_off_t, curl_off_t) noexcept;

  void configure(const URLRequest& request);
  void handleHeaderLine(std::string_view line);
  void handleBody(std::string_view bytes);
  bool isCancellationRequested() const { return cancelled_.load() || cancellation_.stop_requested(); }
  // The time limit the transfer has passed (inactivity or total time), if any.
  std::optional<std::string> passedTimeLimit() const;
  // One round: stops on cancellation, lets curl work, then judges the time limits and waits briefly for
  // activity when nothing arrived.
  void step();
  void end(std::string failure);
  void throwIfFailed() const;

  std::shared_ptr<Clock> clock_;
  BodyMode mode_;
  Duration timeoutInterval_;
  std::optional<Duration> totalTimeLimit_;
  std::optional<std::size_t> maximumBodySize_;
  std::string requestURL_;
  URL originalURL_;
  std::string requestBody_;
  std::string protocols_;
  std::array<char, CURL_ERROR_SIZE> errorBuffer_{};

  std::unique_ptr<CURLM, MultiHandleDeleter> multi_;
  std::unique_ptr<CURL, EasyHandleDeleter> easy_;
  std::unique_ptr<curl_slist, HeaderListDeleter> headerList_;
  bool isAttached_ = false;

  // Response state, touched only by the driving thread (curl calls back on it).
  int statusCode_ = 0;
  HTTPHeaderFields headerFields_;
  bool hasLocation_ = false;
  bool isHeadComplete_ = false;
  LineSplitter splitter_;
  std::string body_;
  std::size_t receivedBodySize_ = 0;
  bool receivedSomething_ = false;
  std::optional<std::string> callbackFailure_;
  TimePoint started_;
  TimePoint lastActivity_;
  bool isFinished_ = false;
  std::optional<std::string> failure_;

  std::atomic<bool> cancelled_{false};
  std::stop_token cancellation_;

  struct WakeOnStop {
    Transfer* transfer;
    void operator()() const noexcept { transfer->cancel(); }
  };
  // Declared last so it is destroyed first: no stop request reaches a half-destroyed transfer.
  std::optional<std::stop_callback<WakeOnStop>> stopCallback_;
};

Transfer::Transfer(const URLRequest& request, std::shared_ptr<Clock> clock, std::stop_token cancellation,
                   BodyMode mode)
    : clock_(std::move(clock)),
      mode_(mode),
      timeoutInterval_(request.timeoutInterval),
      totalTimeLimit_(request.totalTimeLimit),
      maximumBodySize_(request.maximumBodySize),
      requestURL_(request.url.absoluteString()),
      originalURL_(request.url),
      requestBody_(request.httpBody),
      cancellation_(std::move(cancellation)) {
  initialiseCurlOnce();
  multi_.reset(curl_multi_init());
  easy_.reset(curl_easy_init());
  if (!multi_ || !easy_) throw TextError("The request failed. (libcurl could not be initialised)");
  configure(request);
  started_ = clock_->now();
  lastActivity_ = started_;
  if (curl_multi_add_handle(multi_.get(), easy_.get()) != CURLM_OK) {
    throw TextError("The request failed. (libcurl could not start the transfer)");
  }
  isAttached_ = true;
  stopCallback_.emplace(cancellation_, WakeOnStop{this});
}

Transfer::~Transfer() {
  stopCallback_.reset();
  if (isAttached_) curl_multi_remove_handle(multi_.get(), easy_.get());
}

void Transfer::configure(const URLRequest& request) {
  const auto& scheme = request.url.scheme();
  const std::string schemeName = scheme ? lowercased(*scheme) : std::string();
  std::vector<std::string> allowed;
  for (const auto& protocol : request.allowedProtocols) {
    const std::string name = lowercased(protocol);
    // This is an HTTP client: other schemes curl knows (file, ftp, ...) are never let through.
    if ((name == "http" || name == "https") &&
        std::find(allowed.begin(), allowed.end(), name) == allowed.end()) {
      allowed.push_back(name);
    }
  }
  if (!scheme) throw TextError(fmt::format("unsupported URL (\"{}\" has no scheme)", requestURL_));
  if (std::find(allowed.begin(), allowed.end(), schemeName) == allowed.end()) {
    throw TextError(fmt::format("unsupported URL (the scheme \"{}\" is not allowed for this request: {})",
                                schemeName, requestURL_));
  }
  for (const auto& name : allowed) protocols_ += (protocols_.empty() ? "" : ",") + name;

  curl_slist* list = curl_slist_append(nullptr, "Expect:");
  headerList_.reset(list);
  for (const auto& [name, value] : request.allHTTPHeaderFields.fields()) {
    if (!isValidHeaderName(name) || !isValidHeaderValue(value)) {
      throw TextError(fmt::format("The request has an invalid header field \"{}\".", name));
    }
    // curl sends "Name;" as a field with an empty value ("Name:" would remove the field).
    const std::string line = value.empty() ? name + ";" : fmt::format("{}: {}", name, value);
    list = curl_slist_append(headerList_.get(), line.c_str());
    if (list == nullptr) throw TextError("The request failed. (out of memory)");
  }

  CURL* easy = easy_.get();
  curl_easy_setopt(easy, CURLOPT_URL, requestURL_.c_str());
  curl_easy_setopt(easy, CURLOPT_PROTOCOLS_STR, protocols_.c_str());
  curl_easy_setopt(easy, CURLOPT_REDIR_PROTOCOLS_STR, protocols_.c_str());
  curl_easy_setopt(easy, CURLOPT_FOLLOWLOCATION, 1L);
  curl_easy_setopt(easy, CURLOPT_MAXREDIRS, kMaximumRedirects);
  curl_easy_setopt(easy, CURLOPT_NOSIGNAL, 1L);
  curl_easy_setopt(easy, CURLOPT_SSL_VERIFYPEER, 1L);
  curl_easy_setopt(easy, CURLOPT_SSL_VERIFYHOST, 2L);
  curl_easy_setopt(easy, CURLOPT_ERRORBUFFER, errorBuffer_.data());
  curl_easy_setopt(easy, CURLOPT_HTTPHEADER, headerList_.get());
  curl_easy_setopt(easy, CURLOPT_HEADERFUNCTION, &Transfer::receiveHeader);
  curl_easy_setopt(easy, CURLOPT_HEADERDATA, this);
  curl_easy_setopt(easy, CURLOPT_WRITEFUNCTION, &Transfer::receiveBody);
  curl_easy_setopt(easy, CURLOPT_WRITEDATA, this);
  curl_easy_setopt(easy, CURLOPT_XFERINFOFUNCTION, &Transfer::reportProgress);
  curl_easy_setopt(easy, CURLOPT_XFERINFODATA, this);
  curl_easy_setopt(easy, CURLOPT_NOPROGRESS, 0L);
  if (maximumBodySize_) {
    curl_easy_setopt(easy, CURLOPT_MAXFILESIZE_LARGE, static_cast<curl_off_t>(*maximumBodySize_));
  }

  const std::string& method = request.httpMethod;
  if (method.empty() || !isValidHeaderName(method)) {
    throw TextError(fmt::format("The request has an invalid method \"{}\".", method));
  }
  if (method == "HEAD") {
    curl_easy_setopt(easy, CURLOPT_NOBODY, 1L);
  } else if (requestBody_.empty() && method != "POST") {
    curl_easy_setopt(easy, CURLOPT_HTTPGET, 1L);
    if (method != "GET") curl_easy_setopt(easy, CURLOPT_CUSTOMREQUEST, method.c_str());
  } else {
    // The body is always given as a buffer (possibly empty): without one curl would read it from stdin.
    curl_easy_setopt(easy, CURLOPT_POSTFIELDSIZE_LARGE, static_cast<curl_off_t>(requestBody_.size()));
    curl_easy_setopt(easy, CURLOPT_POSTFIELDS, requestBody_.data());
    if (method != "POST") curl_easy_setopt(easy, CURLOPT_CUSTOMREQUEST, method.c_str());
  }
}

size_t Transfer::receiveHeader(char* data, size_t size, size_t count, void* self) noexcept {
  auto* transfer = static_cast<Transfer*>(self);
  try {
    transfer->handleHeaderLine(std::string_view(data, size * count));
    return size * count;
  } catch (...) {
    transfer->callbackFailure_ = "The request failed. (the response head could not be read)";
    return 0;
  }
}

size_t Transfer::receiveBody(char* data, size_t size, size_t count, void* self) noexcept {
  auto* transfer = static_cast<Transfer*>(self);
  try {
    transfer->handleBody(std::string_view(data, size * count));
    if (transfer->callbackFailure_) return CURL_WRITEFUNC_ERROR;
    return size * count;
  } catch (...) {
    transfer->callbackFailure_ = "The request failed. (the response body could not be stored)";
    return CURL_WRITEFUNC_ERROR;
  }
}

int Transfer::reportProgress(void* self, curl_off_t, curl_off_t, curl_off_t, curl_off_t) noexcept {
  auto* transfer = static_cast<Transfer*>(self);
  try {
    // Only cancellation stops curl from inside: time limits are judged between rounds, once curl has
    // taken whatever had already arrived.
    if (transfer->isCancellationRequested()) {
      transfer->callbackFailure_ = "cancelled";
      return 1;
    }
    return 0;
  } catch (...) {
    return 1;
  }
}

void Transfer::handleHeaderLine(std::string_view line) {
  lastActivity_ = clock_->now();
  receivedSomething_ = true;
  // Trailer fields after a chunked body belong to no response head the caller sees.
  if (isHeadComplete_) return;
  if (line.starts_with("HTTP/")) {
    // A new response begins: an interim one (100 Continue) or a redirect's may have come before.
    headerFields_ = HTTPHeaderFields();
    hasLocation_ = false;
    statusCode_ = 0;
    const auto space = line.find(' ');
    if (space != std::string_view::npos) {
      const std::string_view code = trimmed(line.substr(space + 1)).substr(0, 3);
      int value = 0;
      const auto [end, error] = std::from_chars(code.data(), code.data() + code.size(), value);
      if (error == std::errc() && end == code.data() + code.size()) statusCode_ = value;
    }
    return;
  }
  const std::string_view content = trimmed(line);
  if (content.empty()) {
    const bool isInterim = statusCode_ >= 100 && statusCode_ < 200;
    // curl follows these itself; the caller sees the response at the end of the redirects.
    const bool isFollowedRedirect =
        statusCode_ >= 300 && statusCode_ < 400 && statusCode_ != 304 && hasLocation_;
    if (!isInterim && !isFollowedRedirect) isHeadComplete_ = true;
    return;
  }
  const auto colon = content.find(':');
  if (colon == std::string_view::npos || colon == 0) return;  // not a field; ignored
  std::string name(trimmed(content.substr(0, colon)));
  std::string value(trimmed(content.substr(colon + 1)));
  if (isSameHeaderName(name, "Location")) hasLocation_ = true;
  headerFields_.addValue(std::move(value), std::move(name));
}

void Transfer::handleBody(std::string_view bytes) {
  lastActivity_ = clock_->now();
  receivedSomething_ = true;
  // The body of an interim or redirect response is not part of the reply.
  if (!isHeadComplete_) return;
  receivedBodySize_ += bytes.size();
  if (maximumBodySize_ && receivedBodySize_ > *maximumBodySize_) {
    callbackFailure_ =
        fmt::format("The response body is larger than the allowed {} bytes.", *maximumBodySize_);
    return;
  }
  if (mode_ == BodyMode::lines) {
    splitter_.append(bytes);
  } else {
    body_.append(bytes);
  }
}

std::optional<std::string> Transfer::passedTimeLimit() const {
  const TimePoint now = clock_->now();
  if (timeoutInterval_ > Duration::zero() && now - lastActivity_ >= timeoutInterval_) {
    return fmt::format("The request timed out. (no data for {} seconds)", secondsOf(timeoutInterval_));
  }
  if (totalTimeLimit_ && now - started_ >= *totalTimeLimit_) {
    return fmt::format("The request timed out. (it took longer than the allowed {} seconds)",
                       secondsOf(*totalTimeLimit_));
  }
  return std::nullopt;
}

void Transfer::end(std::string failure) {
  isFinished_ = true;
  if (!failure.empty()) failure_ = std::move(failure);
  if (isAttached_) {
    curl_multi_remove_handle(multi_.get(), easy_.get());
    isAttached_ = false;
  }
}

void Transfer::step() {
  if (isFinished_) return;
  if (isCancellationRequested()) {
    end("cancelled");
    return;
  }
  receivedSomething_ = false;
  int running = 0;
  const CURLMcode performed = curl_multi_perform(multi_.get(), &running);
  if (performed != CURLM_OK) {
    end(fmt::format("The request failed. ({})", curl_multi_strerror(performed)));
    return;
  }
  int remaining = 0;
  while (CURLMsg* message = curl_multi_info_read(multi_.get(), &remaining)) {
    if (message->msg != CURLMSG_DONE || message->easy_handle != easy_.get()) continue;
    const CURLcode result = message->data.result;
    if (result == CURLE_OK) {
      isHeadComplete_ = true;
      end({});
    } else if (callbackFailure_) {
      end(*callbackFailure_);
    } else {
      end(describeFailure(result, errorBuffer_.data()));
    }
    return;
  }
  if (callbackFailure_) {
    end(*callbackFailure_);
    return;
  }
  // Judged after curl took what had arrived, so a reader that comes back late does not take its own
  // absence for the server's silence.
  if (auto limit = passedTimeLimit()) {
    end(std::move(*limit));
    return;
  }
  if (!receivedSomething_) {
    curl_multi_poll(multi_.get(), nullptr, 0, kPollIntervalMilliseconds, nullptr);
  }
}

void Transfer::throwIfFailed() const {
  if (failure_) throw TextError(*failure_);
}

HTTPURLResponse Transfer::awaitResponse() {
  while (!isHeadComplete_ && !isFinished_) step();
  // A failure after the head (a connection lost mid-body) belongs to the body: the lines that arrived
  // before it are still read, then the failure is thrown.
  if (!isHeadComplete_) throwIfFailed();
  if (statusCode_ == 0) {
    long code = 0;
    curl_easy_getinfo(easy_.get(), CURLINFO_RESPONSE_CODE, &code);
    statusCode_ = static_cast<int>(code);
  }
  std::optional<URL> url;
  char* effective = nullptr;
  if (curl_easy_getinfo(easy_.get(), CURLINFO_EFFECTIVE_URL, &effective) == CURLE_OK &&
      effective != nullptr) {
    url = URL::parse(effective);
  }
  return HTTPURLResponse{url.value_or(originalURL_), statusCode_, headerFields_};
}

std::optional<std::string> Transfer::nextLine(std::stop_token cancellation) {
  const std::stop_callback wakeOnStop(cancellation, WakeOnStop{this});
  while (true) {
    if (auto line = splitter_.nextLine()) return line;
    if (isFinished_) {
      throwIfFailed();
      return splitter_.finish();
    }
    step();
  }
}

std::string Transfer::readToEnd() {
  while (!isFinished_) step();
  throwIfFailed();
  return std::move(body_);
}

}  // namespace detail

URLByteStream::URLByteStream(std::unique_ptr<detail::Transfer> transfer) : transfer_(std::move(transfer)) {}

URLByteStream::~URLByteStream() = default;

std::optional<std::string> URLByteStream::nextLine(std::stop_token cancellation) {
  return transfer_->nextLine(std::move(cancellation));
}

void URLByteStream::cancel() { transfer_->cancel(); }

bool URLByteStream::isCancelled() const { return transfer_->isCancelled(); }

URLSession::URLSession(std::shared_ptr<Clock> clock) : clock_(std::move(clock)) {}

std::shared_ptr<URLSession> URLSession::shared() {
  static const auto session = std::make_shared<URLSession>();
  return session;
}

URLDataResult URLSession::data(const URLRequest& request, std::stop_token cancellation) const {
  detail::Transfer transfer(request, clock_ ? clock_ : currentClock(), std::move(cancellation),
                            detail::Transfer::BodyMode::whole);
  HTTPURLResponse response = transfer.awaitResponse();
  std::string body = transfer.readToEnd();
  return URLDataResult{std::move(body), std::move(response)};
}

URLDataResult URLSession::data(const URL& url, std::stop_token cancellation) const {
  return data(URLRequest(url), std::move(cancellation));
}

URLBytesResult URLSession::bytes(const URLRequest& request, std::stop_token cancellation) const {
  auto transfer = std::make_unique<detail::Transfer>(
      request, clock_ ? clock_ : currentClock(), std::move(cancellation), detail::Transfer::BodyMode::lines);
  HTTPURLResponse response = transfer->awaitResponse();
  return URLBytesResult{std::make_shared<URLByteStream>(std::move(transfer)), std::move(response)};
}

}  // namespace foundation
