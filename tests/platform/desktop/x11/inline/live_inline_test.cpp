// Inline and the global hot keys on the live desktop the application runs on (its X11Desktop), used as a
// person would through the X server: a trigger line typed into another program's text view and sent with
// Shift-Return is answered in that view by the Inline engine, with the loopback chat service's reply, read
// back through accessibility; a click in that program stops a long answer; a password field is never
// read; a recorded shortcut fires where the person presses it.
#include <gtk/gtk.h>

#include <algorithm>
#include <cstdlib>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "KeyboardShortcuts/key.h"
#include "KeyboardShortcuts/registry.h"
#include "KeyboardShortcuts/shortcut.h"
#include "Quillo/app/shortcut_names.h"
#include "Quillo/chat_client/chat_gpt_api.h"
#include "Quillo/chat_model/settings_keys.h"
#include "Quillo/inline/native_gpt_engine.h"
#include "platform/desktop/alert_service.h"
#include "platform/desktop/hot_key_service.h"
#include "platform/desktop/input_event_service.h"
#include "platform/desktop/permission_service.h"
#include "platform/desktop/synthetic_input_service.h"
#include "platform/desktop/x11/global_input/own_synthetic_input.h"
#include "platform/foundation/log.h"
#include "platform/foundation/user_defaults.h"
#include "platform/render/pango_text_measurer.h"
#include "settings_store/key.h"
#include "tests/platform/desktop/x11/inline/person_at_keyboard.h"
#include "tests/platform/desktop/x11/live_desktop_fixture.h"
#include "tests/support/chat_stream.h"
#include "tests/support/loopback_server.h"
#include "tests/support/program_run.h"
#include "tests/support/temporary_settings_suite.h"

// Fontconfig keeps the patterns of the fonts it matched for as long as the process runs, without a way to
// release them that Pango's font map would not use again: not a leak of ours.
extern "C" const char* __lsan_default_suppressions() { return "leak:libfontconfig.so\n"; }

namespace {

using live_inline_test::clickAt;
using live_inline_test::pressCombination;
using live_inline_test::typeAsPerson;
using testsupport::live::FixtureProgram;
using testsupport::live::LiveDesktopTest;
using testsupport::live::serveUntil;

[[maybe_unused]] const auto* const kSuite =
    ::testing::AddGlobalTestEnvironment(new testsupport::TemporaryStandardSuite("quillo-live-inline-"));

constexpr const char* kCompletionsPath = "/v1/chat/completions";
constexpr const char* kKey = "sk-live-inline-0123456789";

// The text the editor printed last for its focused field ("text: ..." lines, line breaks as "\n").
std::string lastPrintedText(const FixtureProgram& editor) {
  const std::string output = editor.output();
  const auto at = output.rfind("text: ");
  if (at == std::string::npos) return "";
  const auto end = output.find('\n', at);
  return output.substr(at + 6, end == std::string::npos ? std::string::npos : end - at - 6);
}

class LiveInline : public LiveDesktopTest {
 protected:
  void SetUp() override {
    LiveDesktopTest::SetUp();
    if (IsSkipped()) return;
    render::installPangoTextMeasurer();
    Defaults::removeAllStoredValues(*foundation::UserDefaults::standard());
    Defaults::set(Quillo::Keys::apiKey(), std::string(kKey));
    Defaults::set(Quillo::Keys::inlineTrigger(), Quillo::InlineTrigger::shiftReturn);
    engine = Quillo::NativeGPTEngine::make([this](const std::string& apiKey) {
      return std::make_shared<Quillo::ChatGPTAPI>(apiKey, server.url(kCompletionsPath), nullptr);
    });
    engine->start();
  }

  void TearDown() override {
    if (engine) {
      engine->stop();
      if (const auto task = engine->task(); task.isValid()) task.value();
      if (const auto client = engine->api()) client->waitUntilRepliesEnd();
      engine.reset();
    }
    KeyboardShortcuts::removeAllHandlers();
    foundation::RunLoop::main().runUntilIdle();
    LiveDesktopTest::TearDown();
  }

  // Starts the text editor with its view focused and waits until the engine has seen it come forward
  // and accessibility finds its focused element.
  std::unique_ptr<FixtureProgram> startEditor(std::vector<std::string> arguments = {"--focus", "view"}) {
    arguments.insert(arguments.begin(), QUILLO_FIXTURE_TEXT_EDITOR);
    auto editor = std::make_unique<FixtureProgram>(arguments);
    EXPECT_TRUE(editor->waitForOutput("ready")) << editor->output();
    EXPECT_TRUE(serveUntil([&] { return engine->frontmostPid() == editor->pid(); }))
        << "the engine never saw the editor come forward";
    EXPECT_TRUE(serveUntil(
        [&] { return (focused = live->accessibility().focusedElementId(editor->pid())).has_value(); }));
    return editor;
  }

  // The text of the editor's focused field as accessibility reads it.
  std::string readBack(const FixtureProgram& editor) {
    if (!focused) return "";
    const auto element = live->accessibility().element(editor.pid(), *focused);
    return element ? element->value.value_or("") : "";
  }

  // The person types the trigger line into the editor's view and sends it with Shift-Return.
  void typeTriggerLine(const FixtureProgram& editor, const std::string& line) {
    ASSERT_TRUE(typeAsPerson(line, [&](const std::string& typed) {
      return serveUntil([&] { return lastPrintedText(editor) == typed; });
    })) << editor.output();
    pressCombination({"Shift_L"}, "Return");
  }

  void replyWith(const std::vector<std::string>& pieces) {
    server.reply(
        "POST", kCompletionsPath,
        testsupport::ScriptedReply::text(testsupport::streamedBody(pieces), 200, "text/event-stream"));
  }

  std::shared_ptr<testsupport::PieceGate> replyGatedWith(const std::vector<std::string>& pieces) {
    auto gate = std::make_shared<testsupport::PieceGate>();
    std::vector<std::string> body;
    for (const auto& piece : pieces) body.push_back(testsupport::chunkLine(piece));
    body.back() += "data: [DONE]\n\n";
    auto reply = testsupport::ScriptedReply::inPieces(body, gate);
    reply.contentType = "text/event-stream";
    server.reply("POST", kCompletionsPath, reply);
    return gate;
  }

  // Standard output as a desktop session has it: not a terminal, but the system journal.
  foundation::LogCapture log{foundation::LogCapture::Output::notTerminal};
  testsupport::LoopbackServer server;
  std::shared_ptr<Quillo::NativeGPTEngine> engine;
  std::optional<int> focused;
};

TEST_F(LiveInline, TheAnswerToATriggerLineIsTypedIntoTheOtherProgramNonAsciiIncluded) {
  replyWith({"Four: é, ü, ", "日本 😀", "\nThat is all."});
  const auto editor = startEditor();
  ASSERT_TRUE(focused);

  typeTriggerLine(*editor, "+gpt what is 2+2?");

  const std::string expected = "+gpt what is 2+2?\nFour: é, ü, 日本 😀\nThat is all.";
  EXPECT_TRUE(serveUntil([&] { return readBack(*editor) == expected; }))
      << "read back: " << readBack(*editor) << "\n"
      << editor->output();
  EXPECT_TRUE(serveUntil([&] { return !engine->isWriting(); }));
  ASSERT_EQ(server.requests().size(), 1u);
  EXPECT_NE(server.requests().front().body.find("what is 2+2?"), std::string::npos);
  // What was read from the other program never reaches the journal.
  EXPECT_TRUE(log.contains("Querying..."));
  for (const auto& line : log.lines()) EXPECT_EQ(line.find("2+2"), std::string::npos) << line;
}

TEST_F(LiveInline, AClickInTheOtherProgramStopsALongAnswer) {
  const auto gate = replyGatedWith({"One ", "two ", "three ", "four ", "five"});
  const auto editor = startEditor();
  ASSERT_TRUE(focused);

  typeTriggerLine(*editor, "+gpt count to five");
  gate->release();
  ASSERT_TRUE(serveUntil([&] { return readBack(*editor) == "+gpt count to five\nOne "; }))
      << readBack(*editor) << "\n"
      << editor->output();
  ASSERT_TRUE(engine->isWriting());

  // The keys this program typed count as its own for a moment; the person's click comes after them.
  ASSERT_TRUE(serveUntil([] { return !desktop::x11::isTypingSyntheticInput(); }));
  const auto bounds = live->accessibility().boundsForRange(editor->pid(), *focused, {0, 1});
  ASSERT_TRUE(bounds);
  clickAt(bounds->midX(), bounds->midY());
  EXPECT_TRUE(serveUntil([&] { return !engine->isWriting(); }));
  EXPECT_TRUE(log.contains("Stop writing..."));

  // What the service sends after the click is never typed.
  gate->open();
  if (const auto client = engine->api()) client->waitUntilRepliesEnd();
  foundation::RunLoop::main().runUntilIdle();
  EXPECT_EQ(readBack(*editor), "+gpt count to five\nOne ");
  EXPECT_EQ(editor->output().find("two"), std::string::npos) << editor->output();
}

TEST_F(LiveInline, APasswordFieldIsNeverRead) {
  replyWith({"leaked"});
  const auto editor = startEditor({"--focus", "password", "--text", "+gpt hunter2"});
  ASSERT_TRUE(focused);
  const auto element = live->accessibility().element(editor->pid(), *focused);
  ASSERT_TRUE(element);
  EXPECT_EQ(element->role, "AXSecureTextField");
  EXPECT_FALSE(element->value);

  pressCombination({"Shift_L"}, "Return");
  EXPECT_TRUE(serveUntil([&] { return log.contains("Focused element is not a text field."); }));
  EXPECT_FALSE(engine->isWriting());
  EXPECT_TRUE(server.requests().empty());
  for (const auto& line : log.lines()) EXPECT_EQ(line.find("hunter2"), std::string::npos) << line;
}

TEST_F(LiveInline, AShortcutRecordedForTheApplicationFiresWhereThePersonPressesIt) {
  // Recorded as Command-Option-K: Super and Alt on this desktop.
  const KeyboardShortcuts::Shortcut shortcut(KeyboardShortcuts::Key::k,
                                             appkit::ModifierFlags::command | appkit::ModifierFlags::option);
  int presses = 0;
  KeyboardShortcuts::addKeyDownHandler(Quillo::ShortcutNames::showSpotlight, [&] { ++presses; });
  KeyboardShortcuts::storeShortcut(shortcut, Quillo::ShortcutNames::showSpotlight);
  ASSERT_TRUE(KeyboardShortcuts::registeredShortcuts().contains(shortcut));
  const auto editor = startEditor();

  pressCombination({"Super_L", "Alt_L"}, "k");
  EXPECT_TRUE(serveUntil([&] { return presses == 1; }));
  // The combination is the application's: the editor never sees it.
  EXPECT_EQ(editor->output().find("text: k"), std::string::npos) << editor->output();
}

TEST_F(LiveInline, TheRecorderShowsTheCharactersOfTheKeyboardLayoutInUse) {
  const KeyboardShortcuts::Shortcut shortcut(KeyboardShortcuts::Key::z, appkit::ModifierFlags::command);
  EXPECT_EQ(shortcut.description(), "⌘Z");
  // The key a US keyboard has Z on types Y on a German one.
  ASSERT_EQ(testsupport::runProgram({"setxkbmap", "de"}).exitStatus, 0);
  EXPECT_TRUE(serveUntil([&] { return shortcut.description() == "⌘Y"; })) << shortcut.description();
}

// The desktop in a Wayland session, where the program runs through XWayland.
class LiveInlineUnderWayland : public ::testing::Test {
 protected:
  foundation::ScopedMainRunLoop mainLoop;
  foundation::LogCapture log;
};

TEST_F(LiveInlineUnderWayland, SaysOnceWhatIsNotAvailableAndTheRestWorks) {
  QUILLO_REQUIRE_LIVE_SESSION();
  ::setenv("WAYLAND_DISPLAY", "wayland-quillo-test", 1);
  auto live = desktop::x11::X11Desktop::open(desktop::processEnvironment());
  desktop::Desktop::Scope scope(*live);
  const auto notice = desktop::x11::waylandLimitations(desktop::processEnvironment());
  const auto lines = log.lines();
  EXPECT_EQ(std::count(lines.begin(), lines.end(), notice), 1) << ::testing::PrintToString(lines);
  EXPECT_EQ(lines.size(), 1u) << ::testing::PrintToString(lines);

  EXPECT_NE(live->hotKeys().registerHotKey(40, 0x100, {0x51756C6C, 1}, 0).status,
            desktop::hot_key_status::noErr);
  EXPECT_FALSE(live->syntheticInput().postKeyboardEvent(1, desktop::InputEvent::key("keyDown", 0, 0, "x")));
  EXPECT_NE(live->inputEvents().addEventObserver([](const desktop::InputEvent&) {}), 0u);
  EXPECT_TRUE(live->workspace().applications().empty());
  // The rest works: the screen, the clipboard.
  EXPECT_FALSE(live->workspace().screens().empty());
  live->pasteboard();
  ::unsetenv("WAYLAND_DISPLAY");
}

// Accessibility is this desktop's to grant only where the session's accessibility bus answers.
TEST(LiveInlineAccessibility, IsGrantedWhereTheAccessibilityBusAnswers) {
  QUILLO_REQUIRE_LIVE_SESSION();
  foundation::ScopedMainRunLoop mainLoop;
  auto live = desktop::x11::X11Desktop::open(desktop::processEnvironment());
  EXPECT_TRUE(live->permissions().isPermissionGranted(desktop::permission::accessibility));
}

TEST(LiveInlineAccessibility, AskedForWithoutTheBusItSaysOnceHowToTurnItOn) {
  QUILLO_REQUIRE_LIVE_SESSION();
  // A session without a bus: no session bus to ask for the accessibility bus, and GTK's own accessibility
  // bridge kept from looking for one.
  ::unsetenv("DBUS_SESSION_BUS_ADDRESS");
  ::unsetenv("AT_SPI_BUS_ADDRESS");
  ::setenv("NO_AT_BRIDGE", "1", 1);
  foundation::ScopedMainRunLoop mainLoop;
  foundation::LogCapture log;
  auto live = desktop::x11::X11Desktop::open(desktop::processEnvironment());
  desktop::Desktop::Scope scope(*live);
  auto& permissions = live->permissions();
  EXPECT_FALSE(permissions.isPermissionGranted(desktop::permission::accessibility));

  permissions.requestPermission(desktop::permission::accessibility);
  permissions.requestPermission(desktop::permission::accessibility);
  const auto lines = log.lines();
  EXPECT_EQ(std::count(lines.begin(), lines.end(), desktop::x11::accessibilityAdvice()), 1);
  EXPECT_NE(desktop::x11::accessibilityAdvice().find("toolkit-accessibility"), std::string::npos);

  // The person sees it too, in an alert.
  GtkWidget* alert = nullptr;
  EXPECT_TRUE(serveUntil([&] {
    GList* windows = gtk_window_list_toplevels();
    for (GList* item = windows; item != nullptr; item = item->next)
      if (GTK_IS_MESSAGE_DIALOG(item->data) && gtk_widget_get_visible(GTK_WIDGET(item->data)))
        alert = GTK_WIDGET(item->data);
    g_list_free(windows);
    return alert != nullptr;
  }));
  if (alert != nullptr) {
    gchar* text = nullptr;
    g_object_get(alert, "text", &text, nullptr);
    EXPECT_STREQ(text, "Accessibility is turned off");
    g_free(text);
    gtk_widget_destroy(alert);
  }
}

}  // namespace
