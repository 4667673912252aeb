// Streamed replies through the whole chat client: request, transfer over loopback, line splitting, chunk
// decoding, the stream to the consumer and the recorded exchange. Reported as chunks per second.
#include <benchmark/benchmark.h>
#include <httplib.h>

#include <memory>
#include <nlohmann/json.hpp>
#include <stdexcept>
#include <string>
#include <thread>

#include "Quillo/chat_client/chat_gpt_api.h"

namespace {

constexpr const char* kPath = "/v1/chat/completions";

// A reply of `count` chunks of a few words each, as the service streams them, then the end marker.
std::string streamedReply(int count) {
  const char* const words[] = {"The ",  "quick ", "brown ", "fox ",  "jumps ",
                               "over ", "the ",   "lazy ",  "dög. ", "```swift\nlet x = 1\n```\n"};
  std::string body;
  for (int i = 0; i < count; ++i) {
    nlohmann::json chunk = {
        {"id", "chatcmpl-bench"},
        {"object", "chat.completion.chunk"},
        {"created", 1700000000},
        {"model", "gpt-3.5-turbo"},
        {"choices", {{{"index", 0}, {"delta", {{"content", words[i % 10]}}}, {"finish_reason", nullptr}}}}};
    body += "data: " + chunk.dump() + "\n\n";
  }
  body += "data: [DONE]\n\n";
  return body;
}

// The service on 127.0.0.1, answering every request with the same streamed reply of `count` chunks.
class LoopbackService {
 public:
  explicit LoopbackService(int count) : body_(streamedReply(count)) {
    server_.Post(kPath, [this](const httplib::Request&, httplib::Response& response) {
      response.set_content(body_, "text/event-stream");
    });
    port_ = server_.bind_to_any_port("127.0.0.1");
    if (port_ <= 0) throw std::runtime_error("no loopback port");
    thread_ = std::thread([this] { server_.listen_after_bind(); });
    while (!server_.is_running()) std::this_thread::yield();
  }
  ~LoopbackService() {
    server_.stop();
    thread_.join();
  }

  std::string url() const { return "http://127.0.0.1:" + std::to_string(port_) + kPath; }

 private:
  std::string body_;
  httplib::Server server_;
  int port_ = 0;
  std::thread thread_;
};

void BM_StreamedReplyThroughTheClient(benchmark::State& state) {
  const int count = static_cast<int>(state.range(0));
  LoopbackService service(count);
  // No token counter: the history is emptied before each reply, so there is nothing to trim.
  Quillo::ChatGPTAPI client("sk-bench", service.url(), nullptr);
  std::size_t bytes = 0;
  for (auto _ : state) {
    client.setHistoryList({});
    auto stream =
        client.streamReply("Tell me a story", Quillo::Model::turbo, "You're a helpful assistant", 0.5);
    int pieces = 0;
    while (auto piece = stream.next()) {
      bytes += piece->size();
      ++pieces;
    }
    client.waitUntilRepliesEnd();
    if (pieces != count) state.SkipWithError("the reply lost pieces");
  }
  state.SetItemsProcessed(state.iterations() * count);
  state.counters["chunks/s"] =
      benchmark::Counter(static_cast<double>(state.iterations() * count), benchmark::Counter::kIsRate);
  state.counters["reply bytes"] = static_cast<double>(bytes / state.iterations());
}
BENCHMARK(BM_StreamedReplyThroughTheClient)
    ->Arg(500)
    ->Arg(4000)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

}  // namespace
