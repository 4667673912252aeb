// The web chat on the live desktop, used as a person would through the X server: a chat page served on
// 127.0.0.1 shown in the main window's web chat, its send button clicked and Return pressed in its text
// area (the injected Enter-key script) reaching the application as "userHitSend", an image the page
// offers as a data: URL saved through the save panel, and its file input answered through the open panel.
#include <gtk/gtk.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>

#include "Quillo/web_chat/main_chat_view.h"
#include "platform/foundation/log.h"
#include "platform/render/pango_text_measurer.h"
#include "platform/ui/hosting.h"
#include "tests/platform/desktop/x11/web/live_web_fixture.h"
#include "tests/support/temporary_folder.h"

// Xlib's macros (None, Bool, Status) clash with names above: it comes last.
#include <X11/keysym.h>

namespace {

using livewebtest::evaluated;
using livewebtest::LiveWebTest;
using livewebtest::onDisplay;
using livewebtest::PageServer;
using livewebtest::showWindow;
using livewebtest::webKitPage;
using testsupport::live::serveUntil;

// A one-pixel PNG image.
constexpr const char* kImageBase64 =
    "iVBORw0KGgoAAAANSUhEUgAAAAEAAAABCAYAAAAfFcSJAAAADUlEQVR42mNk+M9QDwADhgGAWjR9awAAAABJRU5ErkJggg==";

// The chat page: a text area, a send button that reports itself as the service's page does, a link to
// an image as a data: URL and a file input, each at a fixed place.
std::string chatPage() {
  return std::string(
             "<!doctype html><html><head><title>Chat</title></head><body style='margin: 0'>"
             "<textarea id='prompt' style='position: absolute; left: 10px; top: 10px; width: 200px; "
             "height: 60px'></textarea>"
             "<button id='send' style='position: absolute; left: 10px; top: 100px; width: 120px; height: "
             "40px' "
             "onclick=\"window.webkit.messageHandlers.userHitSend.postMessage('userHitSend')\">Send</button>"
             "<a id='image' style='position: absolute; left: 10px; top: 160px; width: 120px; height: 40px; "
             "display: block' href='data:image/png;base64,") +
         kImageBase64 +
         "'>Image</a><input type='file' id='file' style='position: absolute; left: 10px; top: 220px; "
         "width: 200px; height: 30px'><div id='Attach files'>Attach</div></body></html>";
}

// The file chooser dialog on screen (the last one listed when there are several), or null.
GtkWidget* shownFileChooser() {
  GtkWidget* dialog = nullptr;
  GList* windows = gtk_window_list_toplevels();
  for (GList* item = windows; item != nullptr; item = item->next)
    if (GTK_IS_FILE_CHOOSER_DIALOG(item->data) && gtk_widget_get_mapped(GTK_WIDGET(item->data)))
      dialog = GTK_WIDGET(item->data);
  g_list_free(windows);
  return dialog;
}

std::shared_ptr<webkit::WebView> findWebView(const std::shared_ptr<appkit::View>& view) {
  if (!view) return nullptr;
  if (auto found = std::dynamic_pointer_cast<webkit::WebView>(view)) return found;
  for (const auto& subview : view->subviews())
    if (auto found = findWebView(subview)) return found;
  return nullptr;
}

class LiveWebChat : public LiveWebTest {
 protected:
  // Shows the main window's web chat for the served page and waits until the page is shown and complete.
  void showChat() {
    server.page("/", chatPage());
    auto hosting = ui::HostingView::make(ui::AnyView(Quillo::MainChatView(server.url("/"))),
                                         foundation::Rect(0, 0, 500, 650),
                                         std::make_shared<render::PangoTextMeasurer>());
    window = showWindow(foundation::Rect(100, 200, 500, 650), hosting, "Quillo");
    ASSERT_TRUE(serveUntil([&] { return (webView = findWebView(window->contentView())) != nullptr; }));
    ASSERT_TRUE(serveUntil([&] { return webKitPage(*webView)->isShown(); }));
    ASSERT_TRUE(serveUntil([&] { return evaluated(*webView, "document.readyState") == "\"complete\""; }));
  }

  void clickInPage(foundation::Point inPage) {
    const auto point = onDisplay(*webView, inPage);
    testsupport::live::clickAt(static_cast<int>(point.x), static_cast<int>(point.y));
  }

  PageServer server;
  std::shared_ptr<appkit::StyledWindow> window;
  std::shared_ptr<webkit::WebView> webView;
};

TEST_F(LiveWebChat, SendAndReturnReachTheApplicationAsUserHitSendAndImagesAndFilesGoThroughThePanels) {
  foundation::LogCapture log;
  showChat();
  if (HasFatalFailure()) return;
  const std::string received = R"(<ScriptMessage name: "userHitSend" body: "userHitSend">)";

  clickInPage({70, 120});  // the send button
  ASSERT_TRUE(serveUntil([&] { return log.contains("receive it!"); }));
  EXPECT_TRUE(log.contains(received));

  // Return typed into the page's text area is seen by the injected Enter-key script; Shift-Return is not.
  clickInPage({100, 40});
  ASSERT_TRUE(serveUntil([&] { return evaluated(*webView, "document.activeElement.id") == "\"prompt\""; }));
  testsupport::live::pressKey(XK_Return, testsupport::live::HeldKey::shift);
  testsupport::live::pressKey(XK_Return);
  auto countReceived = [&] {
    const auto lines = log.lines();
    return std::count(lines.begin(), lines.end(), received);
  };
  EXPECT_TRUE(serveUntil([&] { return countReceived() == 2; })) << countReceived();
  EXPECT_EQ(evaluated(*webView, "document.getElementById('prompt').value"), "\"\\n\\n\"");
  EXPECT_EQ(countReceived(), 2);

  // An image the page offers as a data: URL is saved through the save panel.
  testsupport::TemporaryFolder folder("quillo-web-save-");

  // The person answers the save panel: a folder of the test's, a name of their own, Save once the
  // chooser shows that folder.
  struct Answer {
    std::string folder;
    std::optional<std::string> proposedName;
    int ticksSinceSave = -1;
  } answer{folder.path().string(), std::nullopt};
  const guint answering = g_timeout_add(
      50,
      +[](gpointer data) -> gboolean {
        auto& answer = *static_cast<Answer*>(data);
        GtkWidget* dialog = shownFileChooser();
        if (dialog == nullptr) return answer.proposedName ? G_SOURCE_REMOVE : G_SOURCE_CONTINUE;
        auto* chooser = GTK_FILE_CHOOSER(dialog);
        if (!answer.proposedName) {
          gchar* proposed = gtk_file_chooser_get_current_name(chooser);
          answer.proposedName = proposed != nullptr ? proposed : "";
          g_free(proposed);
          gtk_file_chooser_set_current_folder(chooser, answer.folder.c_str());
          gtk_file_chooser_set_current_name(chooser, "saved.png");
          return G_SOURCE_CONTINUE;
        }
        gchar* shown = gtk_file_chooser_get_current_folder(chooser);
        const bool isThere = shown != nullptr && answer.folder == shown;
        g_free(shown);
        // Pressed again now and then: the chooser checks the name before it takes a press.
        if (isThere && (answer.ticksSinceSave < 0 || ++answer.ticksSinceSave % 10 == 0)) {
          answer.ticksSinceSave = 0;
          gtk_dialog_response(GTK_DIALOG(dialog), GTK_RESPONSE_ACCEPT);
        }
        return G_SOURCE_CONTINUE;
      },
      &answer);

  clickInPage({70, 180});  // the image link
  const auto saved = folder.path() / "saved.png";
  const bool isSaved = serveUntil([&] { return std::filesystem::exists(saved); });
  if (GSource* source = g_main_context_find_source_by_id(nullptr, answering)) g_source_destroy(source);
  ASSERT_TRUE(isSaved);
  EXPECT_EQ(answer.proposedName, "image.png");
  gsize length = 0;
  guchar* expected = g_base64_decode(kImageBase64, &length);
  std::ifstream file(saved, std::ios::binary);
  const std::string bytes((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
  EXPECT_EQ(bytes, std::string(reinterpret_cast<const char*>(expected), length));
  g_free(expected);
  // The navigation itself never happens: the chat page stays.
  EXPECT_EQ(evaluated(*webView, "document.title"), "\"Chat\"");

  // The page's file input opens the open panel; the file chosen there is the input's.
  const auto attachment = folder.path() / "attachment.txt";
  std::ofstream(attachment) << "attached";
  struct Choice {
    std::string path;
    bool isChosen = false;
    int ticks = 0;
  } choice{attachment.string()};
  const guint choosing = g_timeout_add(
      50,
      +[](gpointer data) -> gboolean {
        auto& choice = *static_cast<Choice*>(data);
        GtkWidget* dialog = shownFileChooser();
        if (dialog == nullptr) return choice.isChosen ? G_SOURCE_REMOVE : G_SOURCE_CONTINUE;
        auto* chooser = GTK_FILE_CHOOSER(dialog);
        if (!choice.isChosen) {
          choice.isChosen = true;
          gtk_file_chooser_set_filename(chooser, choice.path.c_str());
          return G_SOURCE_CONTINUE;
        }
        gchar* selected = gtk_file_chooser_get_filename(chooser);
        const bool isSelected = selected != nullptr && choice.path == selected;
        g_free(selected);
        // Pressed again now and then, as the chooser may still be reading the folder.
        if (isSelected && choice.ticks++ % 10 == 0)
          gtk_dialog_response(GTK_DIALOG(dialog), GTK_RESPONSE_ACCEPT);
        return G_SOURCE_CONTINUE;
      },
      &choice);
  clickInPage({110, 235});
  const std::string chosenName =
      "document.getElementById('file').files.length ? "
      "document.getElementById('file').files[0].name : ''";
  EXPECT_TRUE(serveUntil([&] { return evaluated(*webView, chosenName) == "\"attachment.txt\""; }))
      << evaluated(*webView, chosenName);
  if (GSource* source = g_main_context_find_source_by_id(nullptr, choosing)) g_source_destroy(source);
}

}  // namespace
