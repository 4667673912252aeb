// Drawing the popover, and the native chat in a window of 400 x 650, holding a 20 KB Markdown reply, and
// laying them out and drawing them again after one more streamed piece of the reply: the work of one frame.
// Text is set in the pinned fonts of the drawing tests, so figures compare across machines of a kind.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <filesystem>
#include <memory>
#include <string>

#include "MarkdownRender/views/markdown_view.h"
#include "Quillo/chat_model/conversation.h"
#include "Quillo/chat_model/settings_keys.h"
#include "Quillo/chat_views/main_chat.h"
#include "Quillo/config/config_manager.h"
#include "Quillo/popover/menu_container_view.h"
#include "platform/foundation/run_loop.h"
#include "platform/foundation/user_defaults.h"
#include "platform/render/canvas.h"
#include "platform/render/pango_text_measurer.h"
#include "platform/render/renderer.h"
#include "platform/ui/hosting.h"
#include "platform/ui/views.h"
#include "platform/updater/standard_updater_controller.h"
#include "settings_store/key.h"

namespace {

constexpr double kWidth = 400, kHeight = 650;

// A reply of about 20 KB: sections with a heading, running text with inline code and emphasis, a list, a
// Swift code block and a table, repeated.
std::string longReply() {
  std::string reply;
  for (int section = 1; reply.size() < 20'000; ++section) {
    const auto n = std::to_string(section);
    reply += "## Step " + n + ": sorting the records\n\n";
    reply +=
        "Records are kept in an array and sorted with `sort(by:)`, which is **stable** and runs in "
        "*O(n log n)* time; the comparison reads each record's key once.\n\n";
    reply += "- read the records from the file\n- sort them by date, newest first\n- write the first " + n +
             " back\n\n";
    reply +=
        "```swift\nvar records = try load(from: url)\nrecords.sort { $0.date > $1.date }\n"
        "try save(records.prefix(" +
        n + "), to: url)\n```\n\n";
    reply +=
        "| Method | Mutates | Returns |\n|:--|:-:|--:|\n| `sort()` | yes | nothing |\n"
        "| `sorted()` | no | a copy |\n\n";
  }
  return reply;
}

// The standard settings live in a folder of their own while the benchmarks run.
struct Settings {
  Settings() {
    folder = std::filesystem::temp_directory_path() / ("quillo-render-bench-" + std::to_string(::getpid()));
    foundation::UserDefaults::setStandard(foundation::UserDefaults::suite("standard", folder));
    Defaults::set(Quillo::Keys::apiKey(), std::string("sk-benchmark"));
    Defaults::set(Quillo::Keys::enableMarkdown(), true);
  }
  ~Settings() {
    foundation::UserDefaults::setStandard(nullptr);
    std::filesystem::remove_all(folder);
  }
  std::filesystem::path folder;
};

void pinFonts() {
  static const bool pinned = [] {
    render::TextEngine::shared().pinFonts(std::filesystem::path(QUILLO_SOURCE_DIR) /
                                          "tests/platform/render/fixtures/fonts.conf");
    return true;
  }();
  (void)pinned;
}

// The window's surface, kept from frame to frame as a window on screen keeps it.
struct Frame {
  explicit Frame(foundation::Size size)
      : canvas(static_cast<int>(size.width), static_cast<int>(size.height)) {}
  render::Canvas canvas;
  void draw(const render::Renderer& renderer, const appkit::Window& window) {
    cairo_t* cr = cairo_create(canvas.surface());
    renderer.draw(window, cr);
    cairo_destroy(cr);
    cairo_surface_flush(canvas.surface());
  }
};

// A view in a window of `size`, shown again whenever its content changes.
struct Scene {
  Scene(ui::AnyView view, foundation::Size size)
      : window(std::make_shared<appkit::Window>(foundation::Rect(0, 0, size.width, size.height))),
        hosting(ui::HostingView::make(std::move(view), {0, 0, size.width, size.height},
                                      std::make_shared<render::PangoTextMeasurer>())) {
    window->setContentView(hosting);
  }
  // Evaluated, laid out and brought up to date as after every piece of a streamed reply.
  void show(ui::AnyView view, foundation::ScopedMainRunLoop& loop) {
    hosting->graph().setRoot(std::move(view));
    loop.loop().runUntilIdle();
  }
  std::shared_ptr<appkit::Window> window;
  std::shared_ptr<ui::HostingView> hosting;
};

// The native chat over a conversation whose last message is the long reply.
struct Chat {
  Chat() {
    conversation->messages = {Quillo::Message(Quillo::Role::user, "How do I keep only the newest records?"),
                              Quillo::Message(Quillo::Role::assistant, longReply())};
  }
  ui::AnyView view() const {
    ui::Binding<std::shared_ptr<Quillo::ChatGPTAPI>> api([] { return std::shared_ptr<Quillo::ChatGPTAPI>(); },
                                                         [](const std::shared_ptr<Quillo::ChatGPTAPI>&) {});
    ui::Binding<Quillo::Conversation> shown(
        [conversation = conversation] { return *conversation; },
        [conversation = conversation](const Quillo::Conversation& changed) { *conversation = changed; });
    return Quillo::MainChat(api, shown);
  }
  void appendPiece() { conversation->messages.back().content += " and one more piece of the reply"; }
  foundation::Size size() const { return {kWidth, kHeight}; }
  static constexpr bool isObserved = false;  // shown again as a new root after every piece
  std::shared_ptr<Quillo::Conversation> conversation = std::make_shared<Quillo::Conversation>();
};

// The status item's popover (header and native chat, at the width of the "size" preset) over the
// application state's conversation, whose last message is the long reply.
struct Popover {
  Popover() {
    Defaults::set(Quillo::Keys::showNative(), true);
    state = Quillo::AppState::make();
    auto conversation = state->mainConversations.get();
    conversation.messages = {Quillo::Message(Quillo::Role::user, "How do I keep only the newest records?"),
                             Quillo::Message(Quillo::Role::assistant, longReply())};
    state->mainConversations.set(conversation);
  }
  ui::AnyView view() const {
    return ui::AnyView(Quillo::MenuContainerView(config, updater)).environmentObject(state);
  }
  void appendPiece() {
    auto conversation = state->mainConversations.get();
    conversation.messages.back().content += " and one more piece of the reply";
    state->mainConversations.set(conversation);
  }
  foundation::Size size() const { return {500, Quillo::kPopoverHeight}; }
  // The popover watches the application state, as it does in the program: a piece stored there is shown
  // by the update it sets off, without the hosted root being replaced.
  static constexpr bool isObserved = true;
  std::shared_ptr<Quillo::AppState> state;
  // A version gate that fetches nothing.
  std::shared_ptr<Quillo::ConfigManager> config = Quillo::ConfigManager::make("not a URL");
  std::shared_ptr<updater::StandardUpdaterController> updater =
      std::make_shared<updater::StandardUpdaterController>(
          false, *foundation::URL::parse("https://quillo.app/download"));
};

// The Markdown view alone, scrolled: the reply as the renderer draws it.
struct Reply {
  ui::AnyView view() const {
    return ui::ScrollView(ui::AnyView(MarkdownRender::Markdown(markdown)).padding(12));
  }
  void appendPiece() { markdown += " and one more piece of the reply"; }
  foundation::Size size() const { return {kWidth, kHeight}; }
  static constexpr bool isObserved = false;  // shown again as a new root after every piece
  std::string markdown = longReply();
};

// What an iteration does beyond drawing a frame of the content.
enum class Streaming {
  none,   // nothing: the content stays as it is
  timed,  // appends a piece to the content and shows it again, as for every piece of a streamed reply
  outsideTheTimer  // the same, with only the drawing timed: the renderer's share of a piece
};

// Draws a frame of the content at every iteration, after streaming a piece into it as `streaming` says.
template <class Content>
void measureFrames(benchmark::State& state, Streaming streaming) {
  foundation::ScopedMainRunLoop loop;
  Settings settings;
  pinFonts();
  Content content;
  Scene scene(content.view(), content.size());
  loop.loop().runUntilIdle();
  render::Renderer renderer;
  Frame frame(content.size());
  frame.draw(renderer, *scene.window);
  for (auto _ : state) {
    if (streaming == Streaming::outsideTheTimer) state.PauseTiming();
    if (streaming != Streaming::none) {
      content.appendPiece();
      if (content.isObserved) {
        loop.loop().runUntilIdle();
      } else {
        scene.show(content.view(), loop);
      }
    }
    if (streaming == Streaming::outsideTheTimer) state.ResumeTiming();
    frame.draw(renderer, *scene.window);
  }
}

template <class Content>
void drawEveryFrame(benchmark::State& state) {
  measureFrames<Content>(state, Streaming::none);
}

template <class Content>
void relayoutAndRedrawAfterEveryPiece(benchmark::State& state) {
  measureFrames<Content>(state, Streaming::timed);
}

template <class Content>
void redrawAfterEveryPiece(benchmark::State& state) {
  measureFrames<Content>(state, Streaming::outsideTheTimer);
}

BENCHMARK(drawEveryFrame<Popover>)->Name("BM_DrawPopoverWithLongReply")->Unit(benchmark::kMillisecond);
// A fixed number of pieces, so that every piece is measured on a reply of about the size named: left to
// itself, the benchmark would stream pieces until they had filled its time, and the reply (its last
// paragraph above all, which every piece lays out again) would grow with the time it was given. Where the
// timer sees only the drawing, that would be far beyond the size measured.
BENCHMARK(relayoutAndRedrawAfterEveryPiece<Popover>)
    ->Name("BM_RelayoutAndRedrawPopoverAfterOneStreamedPiece")
    ->Unit(benchmark::kMillisecond)
    ->Iterations(20);
BENCHMARK(redrawAfterEveryPiece<Popover>)
    ->Name("BM_RedrawPopoverAfterOneStreamedPiece")
    ->Unit(benchmark::kMillisecond)
    ->Iterations(20);
BENCHMARK(drawEveryFrame<Chat>)->Name("BM_DrawNativeChatWithLongReply")->Unit(benchmark::kMillisecond);
BENCHMARK(relayoutAndRedrawAfterEveryPiece<Chat>)
    ->Name("BM_RelayoutAndRedrawAfterOneStreamedPiece")
    ->Unit(benchmark::kMillisecond)
    ->Iterations(20);
BENCHMARK(redrawAfterEveryPiece<Chat>)
    ->Name("BM_RedrawAfterOneStreamedPiece")
    ->Unit(benchmark::kMillisecond)
    ->Iterations(20);
BENCHMARK(drawEveryFrame<Reply>)->Name("BM_DrawMarkdownReply")->Unit(benchmark::kMillisecond);
BENCHMARK(relayoutAndRedrawAfterEveryPiece<Reply>)
    ->Name("BM_RelayoutAndRedrawMarkdownAfterOneStreamedPiece")
    ->Unit(benchmark::kMillisecond)
    ->Iterations(20);
BENCHMARK(redrawAfterEveryPiece<Reply>)
    ->Name("BM_RedrawMarkdownAfterOneStreamedPiece")
    ->Unit(benchmark::kMillisecond)
    ->Iterations(20);

}  // namespace
