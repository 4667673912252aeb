// Drawing the native chat in a window of the popover's size (400 x 650) holding a 20 KB Markdown reply, and
// laying it out and drawing it again after one more streamed piece of the reply: the work of one frame.
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
#include "platform/foundation/run_loop.h"
#include "platform/foundation/user_defaults.h"
#include "platform/render/canvas.h"
#include "platform/render/pango_text_measurer.h"
#include "platform/render/renderer.h"
#include "platform/ui/hosting.h"
#include "platform/ui/views.h"
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
  render::Canvas canvas{static_cast<int>(kWidth), static_cast<int>(kHeight)};
  void draw(const render::Renderer& renderer, const appkit::Window& window) {
    cairo_t* cr = cairo_create(canvas.surface());
    renderer.draw(window, cr);
    cairo_destroy(cr);
    cairo_surface_flush(canvas.surface());
  }
};

// A view in a window of the popover's size, shown again whenever its content changes.
struct Scene {
  explicit Scene(ui::AnyView view)
      : hosting(ui::HostingView::make(std::move(view), {0, 0, kWidth, kHeight},
                                      std::make_shared<render::PangoTextMeasurer>())) {
    window->setContentView(hosting);
  }
  // Evaluated, laid out and brought up to date as after every piece of a streamed reply.
  void show(ui::AnyView view, foundation::ScopedMainRunLoop& loop) {
    hosting->graph().setRoot(std::move(view));
    loop.loop().runUntilIdle();
  }
  std::shared_ptr<appkit::Window> window =
      std::make_shared<appkit::Window>(foundation::Rect(0, 0, kWidth, kHeight));
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
  std::shared_ptr<Quillo::Conversation> conversation = std::make_shared<Quillo::Conversation>();
};

// The Markdown view alone, scrolled: the reply as the renderer draws it.
struct Reply {
  ui::AnyView view() const {
    return ui::ScrollView(ui::AnyView(MarkdownRender::Markdown(markdown)).padding(12));
  }
  void appendPiece() { markdown += " and one more piece of the reply"; }
  std::string markdown = longReply();
};

// Draws a frame of the content at every iteration; with `streams`, first appends a piece to it and shows it
// again, as for every piece of a streamed reply.
template <class Content>
void measureFrames(benchmark::State& state, bool streams) {
  foundation::ScopedMainRunLoop loop;
  Settings settings;
  pinFonts();
  Content content;
  Scene scene(content.view());
  loop.loop().runUntilIdle();
  render::Renderer renderer;
  Frame frame;
  frame.draw(renderer, *scene.window);
  for (auto _ : state) {
    if (streams) {
      content.appendPiece();
      scene.show(content.view(), loop);
    }
    frame.draw(renderer, *scene.window);
  }
}

template <class Content>
void drawEveryFrame(benchmark::State& state) {
  measureFrames<Content>(state, false);
}

template <class Content>
void relayoutAndRedrawAfterEveryPiece(benchmark::State& state) {
  measureFrames<Content>(state, true);
}

BENCHMARK(drawEveryFrame<Chat>)->Name("BM_DrawNativeChatWithLongReply")->Unit(benchmark::kMillisecond);
BENCHMARK(relayoutAndRedrawAfterEveryPiece<Chat>)
    ->Name("BM_RelayoutAndRedrawAfterOneStreamedPiece")
    ->Unit(benchmark::kMillisecond);
BENCHMARK(drawEveryFrame<Reply>)->Name("BM_DrawMarkdownReply")->Unit(benchmark::kMillisecond);
BENCHMARK(relayoutAndRedrawAfterEveryPiece<Reply>)
    ->Name("BM_RelayoutAndRedrawMarkdownAfterOneStreamedPiece")
    ->Unit(benchmark::kMillisecond);

}  // namespace
