// Speed of reading a streamed reply line by line: the splitter on an in-memory body cut into network-sized
// pieces, and the whole path through libcurl from a server on 127.0.0.1.
#include <benchmark/benchmark.h>
#include <httplib.h>

#include <string>
#include <string_view>
#include <thread>

#include "platform/foundation/http/line_splitter.h"
#include "platform/foundation/http/url_session.h"

namespace {

// About `size` bytes of event-stream lines shaped like a chat reply's chunks, with multi-byte text.
std::string streamedBody(std::size_t size) {
  const std::string line =
      "data: {\"id\":\"chatcmpl-1\",\"object\":\"chat.completion.chunk\",\"choices\":[{\"index\":0,"
      "\"delta\":{\"content\":\" h\xC3\xA9llo \xE4\xB8\x96\xE7\x95\x8C\"}}]}\r\n\r\n";
  std::string body;
  body.reserve(size + line.size());
  while (body.size() < size) body += line;
  return body;
}

void BM_SplitInMemoryBody(benchmark::State& state) {
  const std::string body = streamedBody(8 << 20);
  const auto pieceSize = static_cast<std::size_t>(state.range(0));
  std::size_t lines = 0;
  for (auto _ : state) {
    foundation::LineSplitter splitter;
    for (std::size_t offset = 0; offset < body.size(); offset += pieceSize) {
      splitter.append(std::string_view(body).substr(offset, pieceSize));
      while (auto line = splitter.nextLine()) {
        benchmark::DoNotOptimize(line->data());
        ++lines;
      }
    }
    while (auto line = splitter.finish()) ++lines;
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * body.size()));
  state.counters["lines"] = static_cast<double>(lines) / static_cast<double>(state.iterations());
}
BENCHMARK(BM_SplitInMemoryBody)->Arg(7)->Arg(1 << 10)->Arg(16 << 10)->Unit(benchmark::kMillisecond);

void BM_StreamLinesFromLoopbackServer(benchmark::State& state) {
  const std::string body = streamedBody(32 << 20);
  httplib::Server server;
  server.Get("/stream", [&body](const httplib::Request&, httplib::Response& response) {
    response.set_chunked_content_provider(
        "text/event-stream", [&body](std::size_t offset, httplib::DataSink& sink) {
          const std::size_t piece = std::min<std::size_t>(16 << 10, body.size() - offset);
          if (piece > 0 && !sink.write(body.data() + offset, piece)) return false;
          if (offset + piece == body.size()) sink.done();
          return true;
        });
  });
  const int port = server.bind_to_any_port("127.0.0.1");
  std::thread listener([&server] { server.listen_after_bind(); });
  while (!server.is_running()) std::this_thread::yield();

  foundation::URLSession session;
  const auto url = *foundation::URL::parse("http://127.0.0.1:" + std::to_string(port) + "/stream");
  for (auto _ : state) {
    auto result = session.bytes(foundation::URLRequest(url));
    std::size_t lines = 0;
    while (auto line = result.bytes->nextLine()) ++lines;
    benchmark::DoNotOptimize(lines);
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * body.size()));
  server.stop();
  listener.join();
}
BENCHMARK(BM_StreamLinesFromLoopbackServer)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
