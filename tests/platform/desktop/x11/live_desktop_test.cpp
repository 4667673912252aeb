// The live desktop's services on a real (virtual) X display: choosing it, its main loop, the screens, the
// clipboard shared with other programs, dialogs a person answers, and the appearance followed live.
#include <gtk/gtk.h>

#include <filesystem>
#include <fstream>
#include <thread>
#include <utility>

#include "platform/appkit/pasteboard.h"
#include "platform/desktop/alert_service.h"
#include "platform/desktop/file_panel_service.h"
#include "platform/desktop/pasteboard_service.h"
#include "platform/desktop/workspace_service.h"
#include "tests/platform/desktop/x11/live_desktop_fixture.h"

namespace {

using desktop::x11::X11Desktop;
using testsupport::live::FixtureProgram;
using testsupport::live::LiveDesktopTest;
using testsupport::live::serveUntil;

desktop::EnvironmentReader environmentWith(std::map<std::string, std::string> values) {
  return [values](std::string_view name) -> std::optional<std::string> {
    auto found = values.find(std::string(name));
    if (found == values.end()) return std::nullopt;
    return found->second;
  };
}

TEST(X11DesktopChoice, IsChosenWhereADisplayAnswersAndSaysWhyNotElsewhere) {
  QUILLO_REQUIRE_LIVE_SESSION();
  auto refused = desktop::chooseDesktop({X11Desktop::kind()}, environmentWith({}));
  EXPECT_EQ(refused.desktop, nullptr);
  EXPECT_EQ(refused.refusals, std::vector<std::string>{"X11: DISPLAY is not set"});

  auto chosen = desktop::chooseDesktop({X11Desktop::kind()}, desktop::processEnvironment());
  ASSERT_NE(chosen.desktop, nullptr) << ::testing::PrintToString(chosen.refusals);
  EXPECT_EQ(chosen.name, "X11");
}

TEST(X11DesktopChoice, ADisplayThatDoesNotAnswerIsRefused) {
  QUILLO_REQUIRE_LIVE_SESSION();
  auto refused = desktop::chooseDesktop({X11Desktop::kind()}, environmentWith({{"DISPLAY", ":4999"}}));
  EXPECT_EQ(refused.desktop, nullptr);
  EXPECT_EQ(refused.refusals, std::vector<std::string>{"X11: the X display \":4999\" does not answer"});
}

TEST(X11DesktopChoice, AWaylandSessionIsToldWhatIsNotAvailable) {
  EXPECT_EQ(desktop::x11::waylandLimitations(environmentWith({{"DISPLAY", ":0"}})), "");
  const auto notice = desktop::x11::waylandLimitations(environmentWith({{"WAYLAND_DISPLAY", "wayland-0"}}));
  EXPECT_NE(notice.find("XWayland"), std::string::npos);
  EXPECT_NE(notice.find("hot keys"), std::string::npos);
}

using X11MainLoop = LiveDesktopTest;

TEST_F(X11MainLoop, RunsTheMainQueueItsTimersAndGtksOwnSourcesUntilStopped) {
  auto& loop = foundation::RunLoop::main();
  std::vector<std::string> ran;
  loop.asyncAfter(std::chrono::milliseconds(20), [&] {
    ran.push_back("timer");
    // GTK's own sources run in the same loop, and may stop it.
    g_idle_add(
        [](gpointer data) -> gboolean {
          static_cast<std::vector<std::string>*>(data)->push_back("GTK idle");
          foundation::RunLoop::main().stop();
          return G_SOURCE_REMOVE;
        },
        &ran);
  });
  std::thread other([&] { loop.async([&] { ran.push_back("from another thread"); }); });
  other.join();
  loop.run();
  EXPECT_EQ(ran, (std::vector<std::string>{"from another thread", "timer", "GTK idle"}));
}

using X11Workspace = LiveDesktopTest;

TEST_F(X11Workspace, TheScreenIsTheDisplaysWithOtherProgramsFoundByTheirWindows) {
  auto screens = live->workspace().screens();
  ASSERT_EQ(screens.size(), 1u);
  EXPECT_EQ(screens[0].frame, foundation::Rect(0, 0, 1280, 1024));

  auto& workspace = live->workspace();
  FixtureProgram windowless({QUILLO_FIXTURE_CLIPBOARD_TOOL, "set", "no window"});
  FixtureProgram first({QUILLO_FIXTURE_CLIPBOARD_TOOL, "window", "First"});
  FixtureProgram second({QUILLO_FIXTURE_CLIPBOARD_TOOL, "window", "Second"});
  ASSERT_TRUE(windowless.waitForOutput("ready"));
  ASSERT_TRUE(first.waitForOutput("ready"));
  ASSERT_TRUE(second.waitForOutput("ready"));
  ASSERT_TRUE(serveUntil([&] { return workspace.application(second.pid()).has_value(); }));
  const auto found = workspace.application(first.pid());
  ASSERT_TRUE(found.has_value());
  EXPECT_EQ(found->localizedName, "Clipboard-tool");                 // the class of its windows
  EXPECT_EQ(workspace.application(windowless.pid()), std::nullopt);  // a program is known by its windows
  for (const auto& application : workspace.applications()) EXPECT_NE(application.processIdentifier, getpid());

  EXPECT_TRUE(workspace.activateApplication(first.pid()));
  EXPECT_TRUE(serveUntil([&] {
    auto frontmost = workspace.frontmostApplication();
    return frontmost && frontmost->processIdentifier == first.pid();
  }));
  EXPECT_FALSE(workspace.activateApplication(windowless.pid()));
}

using X11Pasteboard = LiveDesktopTest;

TEST_F(X11Pasteboard, TextCopiedHereIsPastedByAnotherProgramAndTheOtherWayRound) {
  auto& pasteboard = live->pasteboard();
  const auto first = pasteboard.declareTypes({appkit::pasteboardTypeString});
  ASSERT_TRUE(pasteboard.setString("Grüße, 世界", appkit::pasteboardTypeString));
  {
    FixtureProgram reader({QUILLO_FIXTURE_CLIPBOARD_TOOL, "get"});
    // The reader asks this program, which answers while it serves its loop.
    EXPECT_TRUE(serveUntil([&] { return reader.output().find('\n') != std::string::npos; }));
    EXPECT_EQ(reader.output(), "text:Grüße, 世界\n");
  }
  FixtureProgram writer({QUILLO_FIXTURE_CLIPBOARD_TOOL, "set", "from another program"});
  ASSERT_TRUE(writer.waitForOutput("ready"));
  EXPECT_TRUE(serveUntil([&] {
    return pasteboard.string(appkit::pasteboardTypeString) ==
           std::optional<std::string>("from another program");
  }));
  EXPECT_GT(pasteboard.declareTypes({"com.example.private"}), first + 1);  // the other program's copy counted
}

TEST_F(X11Pasteboard, OnlyDeclaredTypesAreStoredAndPrivateTypesStayInThisProgram) {
  auto& pasteboard = live->pasteboard();
  pasteboard.declareTypes({"com.example.private"});
  EXPECT_FALSE(pasteboard.setString("text", appkit::pasteboardTypeString));
  EXPECT_TRUE(pasteboard.setString("mine", "com.example.private"));
  EXPECT_EQ(pasteboard.string("com.example.private"), "mine");
  EXPECT_EQ(pasteboard.string(appkit::pasteboardTypeString), std::nullopt);  // the former text is gone
}

// Acts on the next dialog of GTK's type `type` to be shown once it appears, and again at every tick while
// it stays (a file chooser answers only once it has loaded the folder of the file chosen in it).
void answerWhenShown(GType type, std::function<void(GtkDialog*)> answer) {
  struct Pending {
    GType type;
    std::function<void(GtkDialog*)> answer;
    GtkDialog* dialog = nullptr;  // weak: null again once it is destroyed
    bool wasShown = false;
  };
  g_timeout_add(
      10,
      [](gpointer data) -> gboolean {
        auto* pending = static_cast<Pending*>(data);
        if (!pending->wasShown) {
          GList* windows = gtk_window_list_toplevels();
          for (GList* item = windows; item != nullptr; item = item->next)
            if (G_TYPE_CHECK_INSTANCE_TYPE(item->data, pending->type) &&
                gtk_widget_get_mapped(GTK_WIDGET(item->data)))
              pending->dialog = GTK_DIALOG(item->data);
          g_list_free(windows);
          if (pending->dialog == nullptr) return G_SOURCE_CONTINUE;
          pending->wasShown = true;
          g_object_add_weak_pointer(G_OBJECT(pending->dialog), reinterpret_cast<gpointer*>(&pending->dialog));
        }
        if (pending->dialog == nullptr) {
          delete pending;
          return G_SOURCE_REMOVE;
        }
        pending->answer(pending->dialog);
        return G_SOURCE_CONTINUE;
      },
      new Pending{type, std::move(answer)});
}

using X11FilePanels = LiveDesktopTest;

TEST_F(X11FilePanels, AnOpenPanelGivesTheChosenFileAndNothingWhenCancelled) {
  const auto home = std::filesystem::path(std::getenv("HOME"));
  std::ofstream(home / "notes.txt") << "notes";
  bool isChosen = false;
  answerWhenShown(GTK_TYPE_FILE_CHOOSER_DIALOG, [&](GtkDialog* dialog) {
    if (!std::exchange(isChosen, true))
      gtk_file_chooser_set_filename(GTK_FILE_CHOOSER(dialog), (home / "notes.txt").c_str());
    gtk_dialog_response(dialog, GTK_RESPONSE_ACCEPT);
  });
  EXPECT_EQ(live->filePanels().runOpenPanel({}), std::vector<std::string>{(home / "notes.txt").string()});

  answerWhenShown(GTK_TYPE_FILE_CHOOSER_DIALOG,
                  [](GtkDialog* dialog) { gtk_dialog_response(dialog, GTK_RESPONSE_CANCEL); });
  EXPECT_EQ(live->filePanels().runOpenPanel({}), std::nullopt);
}

TEST_F(X11FilePanels, ASavePanelProposesTheNameAndGivesThePathInTheChosenFolder) {
  const auto home = std::filesystem::path(std::getenv("HOME"));
  std::string proposed;
  answerWhenShown(GTK_TYPE_FILE_CHOOSER_DIALOG, [&](GtkDialog* dialog) {
    auto* chooser = GTK_FILE_CHOOSER(dialog);
    if (proposed.empty()) {
      gchar* name = gtk_file_chooser_get_current_name(chooser);
      proposed = name;
      g_free(name);
      gtk_file_chooser_set_current_folder(chooser, home.c_str());
    }
    gtk_dialog_response(dialog, GTK_RESPONSE_ACCEPT);
  });
  desktop::FilePanelRequest request;
  request.kind = desktop::FilePanelRequest::Kind::save;
  request.nameFieldStringValue = "Chat export.md";
  EXPECT_EQ(live->filePanels().runSavePanel(request), (home / "Chat export.md").string());
  EXPECT_EQ(proposed, "Chat export.md");
}

using X11Alerts = LiveDesktopTest;

TEST_F(X11Alerts, TheButtonPressedIsTheAnswerAndClosingAnswersOnlyWithCancel) {
  desktop::AlertRequest request;
  request.messageText = "Delete the chat?";
  request.buttonTitles = {"Delete", "Cancel"};
  std::vector<std::size_t> answers;
  live->alerts().present(request, [&](std::size_t index) { answers.push_back(index); });
  answerWhenShown(GTK_TYPE_MESSAGE_DIALOG, [](GtkDialog* dialog) { gtk_dialog_response(dialog, 0); });
  ASSERT_TRUE(serveUntil([&] { return !answers.empty(); }));
  answerWhenShown(GTK_TYPE_MESSAGE_DIALOG,
                  [](GtkDialog* dialog) { gtk_dialog_response(dialog, GTK_RESPONSE_DELETE_EVENT); });
  live->alerts().present(request, [&](std::size_t index) { answers.push_back(index); });
  ASSERT_TRUE(serveUntil([&] { return answers.size() == 2; }));
  EXPECT_EQ(answers, (std::vector<std::size_t>{0, 1}));

  // Without a Cancel button, closing leaves the alert waiting for a button.
  request.buttonTitles = {"Save_As", "Discard"};
  GtkDialog* shown = nullptr;
  answerWhenShown(GTK_TYPE_MESSAGE_DIALOG, [&](GtkDialog* dialog) {
    shown = dialog;
    gtk_dialog_response(dialog, GTK_RESPONSE_DELETE_EVENT);
  });
  live->alerts().present(request, [&](std::size_t index) { answers.push_back(index); });
  ASSERT_TRUE(serveUntil([&] { return shown != nullptr; }));
  EXPECT_EQ(answers.size(), 2u);
  GtkWidget* first = gtk_dialog_get_widget_for_response(shown, 0);
  EXPECT_STREQ(gtk_button_get_label(GTK_BUTTON(first)), "Save__As");  // shown as written, not as a mnemonic
  gtk_dialog_response(shown, 1);
  EXPECT_EQ(answers.back(), 1u);
}

using X11Appearance = LiveDesktopTest;

TEST_F(X11Appearance, FollowsTheDesktopsThemeWhileRunning) {
  GtkSettings* settings = gtk_settings_get_default();
  g_object_set(settings, "gtk-theme-name", "Adwaita", "gtk-application-prefer-dark-theme", FALSE, nullptr);
  auto& appearance = live->appearance();
  std::vector<ui::ColorScheme> seen;
  appearance.addObserver([&](ui::ColorScheme scheme) { seen.push_back(scheme); });
  EXPECT_EQ(appearance.colorScheme(), ui::ColorScheme::light);
  g_object_set(settings, "gtk-theme-name", "Adwaita-dark", nullptr);
  EXPECT_EQ(appearance.colorScheme(), ui::ColorScheme::dark);
  g_object_set(settings, "gtk-theme-name", "Adwaita", nullptr);
  g_object_set(settings, "gtk-application-prefer-dark-theme", TRUE, nullptr);
  EXPECT_EQ(seen, (std::vector<ui::ColorScheme>{ui::ColorScheme::dark, ui::ColorScheme::light,
                                                ui::ColorScheme::dark}));
}

}  // namespace
