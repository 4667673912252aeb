// Loading URLs over HTTP and HTTPS (libcurl): whole bodies, and bodies read line by line as they arrive.
#pragma once

#include <memory>
#include <optional>
#include <stop_token>
#include <string>

#include "platform/foundation/clock.h"
#include "platform/foundation/http/http_url_response.h"
#include "platform/foundation/http/url_request.h"
#include "platform/foundation/url.h"

namespace foundation {

namespace detail {
class Transfer;
}

// The body of a streamed response, read line by line while the transfer runs. One thread reads at a
// time (nextLine); cancel() may be called from any thread. Dropping the last reference aborts an
// unfinished transfer.
class URLByteStream {
 public:
  explicit URLByteStream(std::unique_ptr<detail::Transfer> transfer);
  ~URLByteStream();
  URLByteStream(const URLByteStream&) = delete;
  URLByteStream& operator=(const URLByteStream&) = delete;

  // Blocks until the next line (without its LF or CR LF terminator) has arrived; nothing at the normal
  // end of the body. Throws TextError when the transfer fails (connection lost mid-body, timeout,
  // cancellation, size limit). A stop requested on `cancellation` (e.g. the reading task's stop token)
  // cancels the transfer.
  std::optional<std::string> nextLine(std::stop_token cancellation = {});
  // Aborts the transfer: a reader blocked in nextLine wakes with a "cancelled" TextError.
  void cancel();
  bool isCancelled() const;

 private:
  std::unique_ptr<detail::Transfer> transfer_;
};

// A whole response: its head and its body bytes.
struct URLDataResult {
  std::string data;
  HTTPURLResponse response;
};

// A streamed response: its head, available as soon as the headers arrived, and its body.
struct URLBytesResult {
  std::shared_ptr<URLByteStream> bytes;
  HTTPURLResponse response;
};

// Runs HTTP transfers. Calls block the calling thread (run them on a worker task); each transfer has its
// own connection state, so one session serves any number of threads at once. TLS peers are always
// verified. Failures of the transport are thrown as TextError with a readable description; an HTTP
// status of any value is a response, not a failure. Cancellation comes in as a stop token; a task of
// platform/concurrency passes its own (concurrency::currentStopToken()) so that cancelling the task
// aborts its transfer.
class URLSession {
 public:
  // A session measuring timeouts on `clock`, or on the process-wide current clock (read at the start of
  // each transfer) when none is given.
  explicit URLSession(std::shared_ptr<Clock> clock = nullptr);

  // The process-wide session.
  static std::shared_ptr<URLSession> shared();

  // Loads the whole body. A stop requested on `cancellation` aborts the transfer ("cancelled").
  URLDataResult data(const URLRequest& request, std::stop_token cancellation = {}) const;
  // A GET of the URL with the default limits.
  URLDataResult data(const URL& url, std::stop_token cancellation = {}) const;

  // Starts the transfer and returns once the response headers have arrived; the body is then read from
  // the stream. `cancellation` keeps applying while the body is read.
  URLBytesResult bytes(const URLRequest& request, std::stop_token cancellation = {}) const;

 private:
  std::shared_ptr<Clock> clock_;
};

}  // namespace foundation
