// Highlighting speed: a long Swift file (lines per second) and a chat-sized block (time per call).
#include <benchmark/benchmark.h>

#include <fstream>
#include <string>
#include <string_view>

#include "syntax_highlighter/attributed_string_output_format.h"
#include "syntax_highlighter/html_output_format.h"
#include "syntax_highlighter/swift_grammar.h"
#include "syntax_highlighter/syntax_highlighter.h"

namespace {

// Twenty-five lines of everyday Swift; repeated with changing names to make inputs of any length.
std::string swiftChunk(int index) {
  const std::string n = std::to_string(index);
  return "/// A model object number " + n +
         " with <generic> storage.\n"
         "@MainActor\n"
         "final class Store" +
         n +
         "<Element: Equatable>: ObservableObject {\n"
         "  @Published private(set) var items: [Element] = []\n"
         "  private let limit = 1_000\n"
         "\n"
         "  init(items: [Element]) {\n"
         "    self.items = items\n"
         "  }\n"
         "\n"
         "  func add(_ item: Element) async throws -> Bool {\n"
         "    guard items.count < limit else { return false }\n"
         "    if !items.contains(where: { $0 == item }) && limit > 0 {\n"
         "      items.append(item)\n"
         "    }\n"
         "    let message = \"Added \\(item) to store " +
         n +
         "\"\n"
         "    print(message, 3.14, #line)\n"
         "    /* keep the order\n"
         "       stable */\n"
         "    return items.map { $0 }.isEmpty == false\n"
         "  }\n"
         "\n"
         "  #if DEBUG\n"
         "  var debugName: String { \"Store\" + String(describing: Element.self) }\n"
         "  #endif\n"
         "}\n";
}

std::string swiftCode(int lineCount) {
  std::string code;
  for (int index = 0; index * 25 < lineCount; ++index) code += swiftChunk(index);
  return code;
}

std::size_t lineCount(const std::string& code) {
  std::size_t lines = 0;
  for (char c : code) lines += c == '\n' ? 1 : 0;
  return lines;
}

// The argument is the number of lines; lines per second stay level as files grow, since no segment
// copies the tokens before it.
void BM_HighlightLongFileAsHTML(benchmark::State& state) {
  const std::string code = swiftCode(static_cast<int>(state.range(0)));
  const Glint::SyntaxHighlighter<Glint::HTMLOutputFormat> highlighter(Glint::HTMLOutputFormat("s-"),
                                                                      Glint::SwiftGrammar());
  for (auto _ : state) benchmark::DoNotOptimize(highlighter.highlightedOutput(code));
  state.counters["lines/s"] = benchmark::Counter(static_cast<double>(lineCount(code)) * state.iterations(),
                                                 benchmark::Counter::kIsRate);
  state.SetBytesProcessed(static_cast<int64_t>(code.size()) * state.iterations());
}
BENCHMARK(BM_HighlightLongFileAsHTML)->Arg(2000)->Arg(8000)->Unit(benchmark::kMillisecond);

void BM_HighlightLongFileAsAttributedString(benchmark::State& state) {
  const std::string code = swiftCode(2000);
  const Glint::SyntaxHighlighter<Glint::AttributedStringOutputFormat> highlighter(
      Glint::AttributedStringOutputFormat(Glint::Theme::slatePreset(Glint::Font(Glint::Font::System{}, 16))),
      Glint::SwiftGrammar());
  for (auto _ : state) benchmark::DoNotOptimize(highlighter.highlightedOutput(code));
  state.counters["lines/s"] = benchmark::Counter(static_cast<double>(lineCount(code)) * state.iterations(),
                                                 benchmark::Counter::kIsRate);
}
BENCHMARK(BM_HighlightLongFileAsAttributedString)->Unit(benchmark::kMillisecond);

// One long line of minified Swift (the argument is its length in characters): every rule that looks back
// over the tokens of the line must stay linear.
std::string swiftLine(std::size_t length) {
  std::string line;
  for (int index = 0; line.size() < length; ++index) {
    const std::string n = std::to_string(index);
    line += "if !items.isEmpty && limit > " + n + " { items.append(Store" + n + "(name: \"item \\(" + n +
            ")\", weight: 3.14)); total += values[" + n + "] * 2 }; let key" + n + " = \\Store.items.count; ";
  }
  line.resize(length);
  return line;
}

void BM_HighlightLongLine(benchmark::State& state) {
  const std::string code = swiftLine(static_cast<std::size_t>(state.range(0)));
  const Glint::SyntaxHighlighter<Glint::HTMLOutputFormat> highlighter(Glint::HTMLOutputFormat("s-"),
                                                                      Glint::SwiftGrammar());
  for (auto _ : state) benchmark::DoNotOptimize(highlighter.highlightedOutput(code));
  state.SetBytesProcessed(static_cast<int64_t>(code.size()) * state.iterations());
}
BENCHMARK(BM_HighlightLongLine)->Arg(20000)->Arg(40000)->Unit(benchmark::kMillisecond);

void BM_HighlightChatBlock(benchmark::State& state) {
  const std::string code = swiftCode(50);
  const Glint::SyntaxHighlighter<Glint::HTMLOutputFormat> highlighter(Glint::HTMLOutputFormat("s-"),
                                                                      Glint::SwiftGrammar());
  for (auto _ : state) benchmark::DoNotOptimize(highlighter.highlightedOutput(code));
  state.counters["lines"] = static_cast<double>(lineCount(code));
}
BENCHMARK(BM_HighlightChatBlock)->Unit(benchmark::kMicrosecond);

}  // namespace

// `--swift-file=PATH` writes the long file of BM_HighlightLongFileAsHTML/2000 to PATH instead of running
// the benchmarks, so that another highlighter can be timed on the same text.
int main(int argc, char** argv) {
  const std::string_view option = "--swift-file=";
  for (int i = 1; i < argc; ++i) {
    const std::string_view argument = argv[i];
    if (argument.substr(0, option.size()) != option) continue;
    std::ofstream file(std::string(argument.substr(option.size())), std::ios::binary | std::ios::trunc);
    file << swiftCode(2000);
    return file ? 0 : 1;
  }
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
