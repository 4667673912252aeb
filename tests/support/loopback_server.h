// A small HTTP server on 127.0.0.1 for tests: scripted replies (whole, in pieces released by the test, or
// cut off mid-body), custom handlers for a scripted service, and a record of every request it received.
#pragma once

#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace testsupport {

using namespace std::chrono_literals;

// How long any wait of the server or of a test helper lasts at most, so a broken test fails instead of
// hanging.
inline constexpr std::chrono::milliseconds kLoopbackWaitLimit = 10s;

// One request as the server received it.
struct RecordedRequest {
  std::string method;
  std::string path;   // as sent, without the query
  std::string query;  // as sent, without "?"; empty when there is none
  std::vector<std::pair<std::string, std::string>> headers;
  std::string body;

  // The first header of that name (compared regardless of case), or nothing.
  std::optional<std::string> header(std::string_view name) const;
};

// Lets a test decide when each piece of a reply goes out: the server writes a piece only after the test
// released it. Thread-safe (one mutex guards the counts; waiters wake on every change).
class PieceGate {
 public:
  // Lets `count` more pieces go out.
  void release(std::size_t count = 1);
  // Lets every remaining piece go out, now and later.
  void open();
  // Blocks until `count` pieces have been written to the connection in total; false after the wait limit.
  bool waitUntilWritten(std::size_t count) const;
  std::size_t writtenCount() const;

  // Server side: waits for the next release; false when the wait limit passed or the server stops.
  bool awaitRelease(const std::function<bool()>& isStopping);
  void markWritten();
  // Wakes the server side so it sees that the server stops.
  void wake();

 private:
  mutable std::mutex mutex_;
  mutable std::condition_variable changed_;
  std::size_t released_ = 0;
  std::size_t taken_ = 0;
  std::size_t written_ = 0;
  bool isOpen_ = false;
};

// A reply the server gives to a request.
struct ScriptedReply {
  enum class Framing {
    contentLength,  // a declared length (the sum of the pieces; more when the connection drops)
    chunked,        // chunked transfer encoding
  };

  int status = 200;
  std::vector<std::pair<std::string, std::string>> headers;
  std::string contentType = "text/plain";
  // The body, written one piece after the other.
  std::vector<std::string> pieces;
  Framing framing = Framing::contentLength;
  // After the last piece the connection closes with the body incomplete: a declared length longer than
  // what was sent, or no terminating chunk.
  bool dropsConnection = false;
  // When set, each piece (the first one too) waits until the test releases it; the head goes out at once.
  std::shared_ptr<PieceGate> gate;

  // A whole body in one piece.
  static ScriptedReply text(std::string body, int status = 200, std::string contentType = "text/plain");
  static ScriptedReply json(std::string body, int status = 200);
  // A body written in the given pieces, each released through `gate`.
  static ScriptedReply inPieces(std::vector<std::string> pieces, std::shared_ptr<PieceGate> gate,
                                Framing framing = Framing::chunked);
};

// Splits a text into the pieces around the given byte offsets (ascending), e.g. to cut a reply inside a
// line or a multi-byte character.
std::vector<std::string> splitAt(std::string_view text, const std::vector<std::size_t>& offsets);

// The server. It listens on an OS-chosen port from construction until destruction; the destructor lets
// every held reply go (cut off) and stops. Replies are chosen by method and path (the query is
// ignored); a request that matches nothing gets 404 "Not Found". Thread-safe: routes and records are
// guarded by one mutex; handlers run on the server's threads.
class LoopbackServer {
 public:
  using Handler = std::function<ScriptedReply(const RecordedRequest&)>;

  // PEM files of the certificate and private key an HTTPS server presents.
  struct TLSIdentity {
    std::string certificatePath;
    std::string privateKeyPath;
  };

  // A plain HTTP server, or an HTTPS one presenting `tls`.
  explicit LoopbackServer(std::optional<TLSIdentity> tls = std::nullopt);
  ~LoopbackServer();
  LoopbackServer(const LoopbackServer&) = delete;
  LoopbackServer& operator=(const LoopbackServer&) = delete;

  int port() const { return port_; }
  // "http://127.0.0.1:<port>" ("https" when the server has a TLS identity)
  std::string baseURL() const;
  // baseURL() followed by the path (which starts with "/").
  std::string url(std::string_view path) const;

  // Every request with this method and path gets this reply (a later call for the same route replaces it).
  void reply(std::string method, std::string path, ScriptedReply reply);
  // Every request with this method and path gets what the handler returns (it runs on a server thread).
  void handle(std::string method, std::string path, Handler handler);

  std::vector<RecordedRequest> requests() const;
  // Blocks until at least `count` requests have been received; false after the wait limit.
  bool waitForRequests(std::size_t count) const;

  struct Implementation;

 private:
  std::unique_ptr<Implementation> implementation_;
  int port_ = 0;
  bool isSecure_ = false;
};

// A port on 127.0.0.1 on which nothing listens, for refused connections: it stays reserved (bound, not
// listening) until the test program ends.
int unusedLoopbackPort();

}  // namespace testsupport
