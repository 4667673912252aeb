#include "tests/support/loopback_server.h"

#include <httplib.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cctype>
#include <map>
#include <mutex>
#include <stdexcept>
#include <thread>
#include <vector>

namespace testsupport {

namespace {

bool isSameName(std::string_view a, std::string_view b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
           return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
         });
}

// Bytes a declared length promises beyond what a dropping reply sends.
constexpr std::size_t kMissingBytesOfDroppedReply = 64;

}  // namespace

std::optional<std::string> RecordedRequest::header(std::string_view name) const {
  for (const auto& [key, value] : headers) {
    if (isSameName(key, name)) return value;
  }
  return std::nullopt;
}

void PieceGate::release(std::size_t count) {
  {
    std::lock_guard lock(mutex_);
    released_ += count;
  }
  changed_.notify_all();
}

void PieceGate::open() {
  {
    std::lock_guard lock(mutex_);
    isOpen_ = true;
  }
  changed_.notify_all();
}

bool PieceGate::waitUntilWritten(std::size_t count) const {
  std::unique_lock lock(mutex_);
  return changed_.wait_for(lock, kLoopbackWaitLimit, [&] { return written_ >= count; });
}

std::size_t PieceGate::writtenCount() const {
  std::lock_guard lock(mutex_);
  return written_;
}

bool PieceGate::awaitRelease(const std::function<bool()>& isStopping) {
  std::unique_lock lock(mutex_);
  const bool released = changed_.wait_for(lock, kLoopbackWaitLimit,
                                          [&] { return isStopping() || isOpen_ || released_ > taken_; });
  if (!released || isStopping()) return false;
  ++taken_;
  return true;
}

void PieceGate::markWritten() {
  {
    std::lock_guard lock(mutex_);
    ++written_;
  }
  changed_.notify_all();
}

void PieceGate::wake() {
  // Taking the lock orders the caller's stop flag before the waiters re-check it.
  { std::lock_guard lock(mutex_); }
  changed_.notify_all();
}

ScriptedReply ScriptedReply::text(std::string body, int status, std::string contentType) {
  ScriptedReply reply;
  reply.status = status;
  reply.contentType = std::move(contentType);
  reply.pieces.push_back(std::move(body));
  return reply;
}

ScriptedReply ScriptedReply::json(std::string body, int status) {
  return text(std::move(body), status, "application/json");
}

ScriptedReply ScriptedReply::inPieces(std::vector<std::string> pieces, std::shared_ptr<PieceGate> gate,
                                      Framing framing) {
  ScriptedReply reply;
  reply.pieces = std::move(pieces);
  reply.gate = std::move(gate);
  reply.framing = framing;
  return reply;
}

std::vector<std::string> splitAt(std::string_view text, const std::vector<std::size_t>& offsets) {
  std::vector<std::string> pieces;
  std::size_t start = 0;
  for (std::size_t offset : offsets) {
    offset = std::clamp(offset, start, text.size());
    pieces.emplace_back(text.substr(start, offset - start));
    start = offset;
  }
  pieces.emplace_back(text.substr(start));
  return pieces;
}

struct LoopbackServer::Implementation {
  std::unique_ptr<httplib::Server> server;
  std::thread listener;
  std::atomic<bool> isStopping{false};

  // Guards routes, requests and gates; `requestArrived` signals a new record.
  mutable std::mutex mutex;
  mutable std::condition_variable requestArrived;
  std::map<std::pair<std::string, std::string>, Handler> routes;
  std::vector<RecordedRequest> requests;
  std::vector<std::shared_ptr<PieceGate>> gates;

  void serve(const httplib::Request& request, httplib::Response& response);
  // Writes the pieces in order, each after its release; false when the reply is to be cut off.
  bool writePieces(const ScriptedReply& reply, httplib::DataSink& sink);
};

void LoopbackServer::Implementation::serve(const httplib::Request& request, httplib::Response& response) {
  RecordedRequest record;
  record.method = request.method;
  const std::string& target = request.target.empty() ? request.path : request.target;
  const auto question = target.find('?');
  record.path = target.substr(0, question);
  if (question != std::string::npos) record.query = target.substr(question + 1);
  for (const auto& [name, value] : request.headers) {
    // httplib adds the peer's address as a pseudo-header; it is not something the client sent.
    if (name == "REMOTE_ADDR" || name == "REMOTE_PORT" || name == "LOCAL_ADDR" || name == "LOCAL_PORT")
      continue;
    record.headers.emplace_back(name, value);
  }
  record.body = request.body;

  Handler handler;
  {
    std::lock_guard lock(mutex);
    requests.push_back(record);
    // HEAD is answered like GET, without the body.
    const std::string method = record.method == "HEAD" ? "GET" : record.method;
    if (auto route = routes.find({method, record.path}); route != routes.end()) handler = route->second;
  }
  requestArrived.notify_all();

  ScriptedReply reply = handler ? handler(record) : ScriptedReply::text("Not Found", 404);
  if (reply.gate) {
    std::lock_guard lock(mutex);
    gates.push_back(reply.gate);
  }
  response.status = reply.status;
  for (const auto& [name, value] : reply.headers) response.set_header(name, value);

  const bool isWhole =
      !reply.gate && !reply.dropsConnection && reply.framing == ScriptedReply::Framing::contentLength;
  if (isWhole) {
    std::string body;
    for (const auto& piece : reply.pieces) body += piece;
    response.set_content(body, reply.contentType);
    return;
  }
  auto shared = std::make_shared<ScriptedReply>(std::move(reply));
  if (shared->framing == ScriptedReply::Framing::chunked) {
    response.set_chunked_content_provider(shared->contentType,
                                          [this, shared](std::size_t, httplib::DataSink& sink) {
                                            if (!writePieces(*shared, sink) || shared->dropsConnection) {
                                              return false;
                                            }
                                            sink.done();
                                            return true;
                                          });
    return;
  }
  std::size_t length = 0;
  for (const auto& piece : shared->pieces) length += piece.size();
  if (shared->dropsConnection) length += kMissingBytesOfDroppedReply;
  response.set_content_provider(length, shared->contentType,
                                [this, shared](std::size_t, std::size_t, httplib::DataSink& sink) {
                                  return writePieces(*shared, sink) && !shared->dropsConnection;
                                });
}

bool LoopbackServer::Implementation::writePieces(const ScriptedReply& reply, httplib::DataSink& sink) {
  for (const auto& piece : reply.pieces) {
    if (reply.gate && !reply.gate->awaitRelease([this] { return isStopping.load(); })) return false;
    if (isStopping.load()) return false;
    if (!piece.empty() && !sink.write(piece.data(), piece.size())) return false;
    if (reply.gate) reply.gate->markWritten();
  }
  return true;
}

LoopbackServer::LoopbackServer(std::optional<TLSIdentity> tls)
    : implementation_(std::make_unique<Implementation>()), isSecure_(tls.has_value()) {
  if (tls) {
    auto secure =
        std::make_unique<httplib::SSLServer>(tls->certificatePath.c_str(), tls->privateKeyPath.c_str());
    if (!secure->is_valid()) throw std::runtime_error("the loopback server could not load its TLS identity");
    implementation_->server = std::move(secure);
  } else {
    implementation_->server = std::make_unique<httplib::Server>();
  }
  httplib::Server& server = *implementation_->server;
  server.set_tcp_nodelay(true);
  // Replies are read promptly by the client under test; a short keep-alive lets stop() finish quickly.
  server.set_keep_alive_timeout(1);
  const auto serve = [implementation = implementation_.get()](const httplib::Request& request,
                                                              httplib::Response& response) {
    implementation->serve(request, response);
  };
  server.Get(".*", serve);
  server.Post(".*", serve);
  server.Put(".*", serve);
  server.Patch(".*", serve);
  server.Delete(".*", serve);
  server.Options(".*", serve);
  port_ = server.bind_to_any_port("127.0.0.1");
  if (port_ <= 0) throw std::runtime_error("the loopback server could not bind a port");
  // The socket already listens once bound: connections wait in its backlog until the loop accepts them.
  implementation_->listener = std::thread([&server] { server.listen_after_bind(); });
  // stop() does nothing until the loop runs, so the destructor could otherwise miss it and wait forever.
  const auto deadline = std::chrono::steady_clock::now() + kLoopbackWaitLimit;
  while (!server.is_running() && std::chrono::steady_clock::now() < deadline) std::this_thread::yield();
}

LoopbackServer::~LoopbackServer() {
  implementation_->isStopping.store(true);
  {
    std::lock_guard lock(implementation_->mutex);
    for (const auto& gate : implementation_->gates) gate->wake();
  }
  implementation_->server->stop();
  if (implementation_->listener.joinable()) implementation_->listener.join();
}

std::string LoopbackServer::baseURL() const {
  return (isSecure_ ? "https://127.0.0.1:" : "http://127.0.0.1:") + std::to_string(port_);
}

std::string LoopbackServer::url(std::string_view path) const { return baseURL() + std::string(path); }

void LoopbackServer::reply(std::string method, std::string path, ScriptedReply reply) {
  handle(std::move(method), std::move(path),
         [reply = std::move(reply)](const RecordedRequest&) { return reply; });
}

void LoopbackServer::handle(std::string method, std::string path, Handler handler) {
  std::lock_guard lock(implementation_->mutex);
  implementation_->routes[{std::move(method), std::move(path)}] = std::move(handler);
}

std::vector<RecordedRequest> LoopbackServer::requests() const {
  std::lock_guard lock(implementation_->mutex);
  return implementation_->requests;
}

bool LoopbackServer::waitForRequests(std::size_t count) const {
  std::unique_lock lock(implementation_->mutex);
  return implementation_->requestArrived.wait_for(lock, kLoopbackWaitLimit,
                                                  [&] { return implementation_->requests.size() >= count; });
}

int unusedLoopbackPort() {
  const int descriptor = ::socket(AF_INET, SOCK_STREAM, 0);
  if (descriptor < 0) throw std::runtime_error("no socket for a free port");
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  address.sin_port = 0;
  socklen_t size = sizeof(address);
  int port = 0;
  if (::bind(descriptor, reinterpret_cast<sockaddr*>(&address), sizeof(address)) == 0 &&
      ::getsockname(descriptor, reinterpret_cast<sockaddr*>(&address), &size) == 0) {
    port = ntohs(address.sin_port);
  }
  if (port == 0) {
    ::close(descriptor);
    throw std::runtime_error("no free loopback port");
  }
  // The socket stays bound, without listening, until the test program ends: the port cannot be handed
  // to a server started by a test running in parallel, and a connection to it is refused at once.
  static std::mutex mutex;
  static std::vector<int> reservedDescriptors;
  std::lock_guard lock(mutex);
  reservedDescriptors.push_back(descriptor);
  return port;
}

}  // namespace testsupport
