// Web views on the live desktop through WebKitGTK: injected scripts around the page's own, messages and
// script results, the custom user agent, the page standing at the view's frame in its window, cookies kept
// across a restart of the engine, and one web process for the pages of several windows.
#include <gtk/gtk.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <set>
#include <sstream>

#include "platform/desktop/x11/web/webkit_web_engine.h"
#include "platform/foundation/log.h"
#include "platform/webkit/navigation_delegate.h"
#include "platform/webkit/user_content_controller.h"
#include "tests/platform/desktop/x11/web/live_web_fixture.h"
#include "tests/support/temporary_folder.h"

namespace {

using livewebtest::evaluated;
using livewebtest::LiveWebTest;
using livewebtest::PageServer;
using livewebtest::showWindow;
using livewebtest::webKitPage;
using testsupport::live::serveUntil;

// Every message a page posted to the handler it is registered as, in order.
class RecordingHandler final : public webkit::ScriptMessageHandler {
 public:
  void userContentControllerDidReceiveScriptMessage(webkit::UserContentController&,
                                                    const webkit::ScriptMessage& message) override {
    bodies.push_back(foundation::jsonText(message.body()));
  }
  std::vector<std::string> bodies;
};

// The navigation events of a web view, in order: "commit", "finish", "fail <code>".
class RecordingNavigation final : public webkit::NavigationDelegate {
 public:
  void didCommitNavigation(webkit::WebView&, const webkit::Navigation*) override {
    events.push_back("commit");
  }
  void didFinishNavigation(webkit::WebView&, const webkit::Navigation*) override {
    events.push_back("finish");
  }
  void didFailNavigation(webkit::WebView&, const webkit::Navigation*,
                         const webkit::WebError& error) override {
    events.push_back("fail " + std::to_string(error.code));
  }
  bool hasFinished() const { return std::find(events.begin(), events.end(), "finish") != events.end(); }
  std::vector<std::string> events;
};

std::shared_ptr<webkit::WebView> loadedWebView(
    const std::string& url, const std::shared_ptr<RecordingNavigation>& navigation,
    std::shared_ptr<webkit::WebViewConfiguration> configuration = {}) {
  auto view = webkit::WebView::make(foundation::Rect(0, 0, 400, 300), std::move(configuration));
  view->setNavigationDelegate(navigation);
  auto parsed = foundation::URL::parse(url);
  if (parsed) view->load(foundation::URLRequest(*parsed));
  return view;
}

TEST_F(LiveWebTest, InjectedScriptsRunAtDocumentStartAndEndAroundThePagesOwnAndPostTheirMessages) {
  PageServer server;
  server.page("/order",
              "<!doctype html><html><head><script>window.order.push('page');</script></head>"
              "<body><p>Hello</p></body></html>");
  auto configuration = std::make_shared<webkit::WebViewConfiguration>();
  auto& controller = *configuration->userContentController;
  controller.addUserScript(webkit::UserScript("window.order = ['start'];",
                                              webkit::UserScriptInjectionTime::atDocumentStart, true));
  controller.addUserScript(
      webkit::UserScript("window.order.push(document.querySelector('p') ? 'end' : 'too early');\n"
                         "window.webkit.messageHandlers.ready.postMessage(window.order);",
                         webkit::UserScriptInjectionTime::atDocumentEnd, false));
  auto handler = std::make_shared<RecordingHandler>();
  ASSERT_TRUE(controller.addScriptMessageHandler(handler, "ready"));
  auto navigation = std::make_shared<RecordingNavigation>();
  auto view = webkit::WebView::make(foundation::Rect(0, 0, 400, 300), configuration);
  view->setNavigationDelegate(navigation);
  view->setCustomUserAgent("QuilloTest/1.0 (the program's own)");
  auto window = showWindow(foundation::Rect(100, 300, 400, 300), view, "Scripts");
  view->load(foundation::URLRequest(*foundation::URL::parse(server.url("/order"))));

  ASSERT_TRUE(serveUntil([&] { return !handler->bodies.empty() && navigation->hasFinished(); }))
      << "messages " << handler->bodies.size();
  EXPECT_EQ(handler->bodies, std::vector<std::string>{R"(["start","page","end"])"});
  EXPECT_EQ(navigation->events, (std::vector<std::string>{"commit", "finish"}));
  EXPECT_EQ(evaluated(*view, "navigator.userAgent == \"QuilloTest/1.0 (the program's own)\""), "true");
  EXPECT_EQ(evaluated(*view, "({title: document.title, items: [1, 2.5, null]})"),
            R"({"items":[1,2.5,null],"title":""})");
  EXPECT_EQ(evaluated(*view, "undefined"), "null");
  EXPECT_EQ(evaluated(*view, "notDefinedAnywhere.property"), "");  // an error
  // A name the program has no handler for is no handler inside the page.
  EXPECT_EQ(evaluated(*view, "typeof window.webkit.messageHandlers.elsewhere"), "\"undefined\"");
}

TEST_F(LiveWebTest, ThePageStandsAtTheViewsFrameInItsWindowAndLeavesTheScreenWithIt) {
  PageServer server;
  server.page("/", "<!doctype html><body style='background: #0a0'>Placed</body>");
  auto navigation = std::make_shared<RecordingNavigation>();
  auto view = loadedWebView(server.url("/"), navigation);
  auto content = std::make_shared<appkit::View>(foundation::Rect(0, 0, 500, 400));
  content->addSubview(view);
  view->setFrame(foundation::Rect(20, 30, 300, 200));
  auto window = showWindow(foundation::Rect(100, 300, 500, 400), content, "Placement");
  auto page = webKitPage(*view);
  ASSERT_NE(page, nullptr);
  auto allocation = [&] {
    GtkAllocation box;
    gtk_widget_get_allocation(GTK_WIDGET(page->webView()), &box);
    return foundation::Rect(box.x, box.y, box.width, box.height);
  };
  ASSERT_TRUE(serveUntil([&] {
    return page->isShown() && allocation() == foundation::Rect(20, 30, 300, 200);
  })) << allocation().origin.x
      << "," << allocation().origin.y << " " << allocation().size.width << "x" << allocation().size.height;
  ASSERT_TRUE(serveUntil([&] { return navigation->hasFinished(); }));

  view->setFrame(foundation::Rect(60, 10, 240, 150));
  EXPECT_TRUE(serveUntil([&] { return allocation() == foundation::Rect(60, 10, 240, 150); }));

  // Off the screen with its window, and back at its place when the window is shown again.
  window->orderOut();
  EXPECT_TRUE(serveUntil([&] { return !page->isShown(); }));
  window->orderFront();
  EXPECT_TRUE(
      serveUntil([&] { return page->isShown() && allocation() == foundation::Rect(60, 10, 240, 150); }));

  // Taken out of the window, it is shown nowhere.
  view->removeFromSuperview();
  view->setFrame(foundation::Rect(60, 10, 240, 150));
  EXPECT_TRUE(serveUntil([&] { return !page->isShown(); }));
}

TEST_F(LiveWebTest, ACookieSetByThePageIsSentAgainAfterTheEngineRestartsOverTheSameDataFolder) {
  PageServer server;
  server.page("/sign-in", "<!doctype html><body>Signed in</body>",
              {{"Set-Cookie", "session=signed-in; Max-Age=86400; Path=/"}});
  server.page("/account", "<!doctype html><body>Your account</body>");
  testsupport::TemporaryFolder folder("quillo-web-data-");
  const auto data = folder.path() / "data";
  const auto cache = folder.path() / "cache";

  auto loadIn = [&](desktop::x11::WebKitWebEngine& engine, const std::string& path) {
    auto page = engine.openPage();
    bool isFinished = false;
    desktop::WebPageClient client;
    client.didFinishNavigation = [&] { isFinished = true; };
    page->setClient(client);
    page->load({server.url(path), 30.0}, {});
    EXPECT_TRUE(serveUntil([&] { return isFinished; })) << path;
    page->setClient({});
  };
  auto nowhere = [](std::uint64_t) -> GtkWidget* { return nullptr; };
  {
    desktop::x11::WebKitWebEngine first(data, cache, nowhere);
    loadIn(first, "/sign-in");
  }
  EXPECT_TRUE(std::filesystem::exists(data / "cookies.sqlite"));
  {
    desktop::x11::WebKitWebEngine second(data, cache, nowhere);
    loadIn(second, "/account");
  }
  const auto sent = server.cookiesSent("/account");
  ASSERT_EQ(sent.size(), 1u);
  EXPECT_EQ(sent.front(), "session=signed-in");
}

// The processes descending from this one whose command name starts with `name`, by process id.
std::set<pid_t> descendantsNamed(const std::string& name) {
  std::map<pid_t, pid_t> parents;
  std::map<pid_t, std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator("/proc")) {
    const auto file = entry.path().filename().string();
    if (file.find_first_not_of("0123456789") != std::string::npos) continue;
    std::ifstream stat(entry.path() / "stat");
    std::string line;
    if (!std::getline(stat, line)) continue;
    const auto open = line.find('('), close = line.rfind(')');
    if (open == std::string::npos || close == std::string::npos) continue;
    std::istringstream rest(line.substr(close + 2));
    char state = 0;
    pid_t parent = 0;
    rest >> state >> parent;
    const pid_t pid = std::stoi(file);
    parents[pid] = parent;
    names[pid] = line.substr(open + 1, close - open - 1);
  }
  std::set<pid_t> found;
  for (const auto& [pid, command] : names) {
    if (command.rfind(name, 0) != 0) continue;
    for (pid_t up = parents[pid]; up > 1; up = parents[up]) {
      if (up == getpid()) {
        found.insert(pid);
        break;
      }
    }
  }
  return found;
}

// A process's proportional share of memory (its own pages whole, shared ones divided), in kB.
long proportionalKB(pid_t pid) {
  std::ifstream rollup("/proc/" + std::to_string(pid) + "/smaps_rollup");
  std::string line;
  while (std::getline(rollup, line))
    if (line.rfind("Pss:", 0) == 0) return std::stol(line.substr(4));
  return 0;
}

TEST_F(LiveWebTest, ThePagesOfThePopoverMainWindowAndSidebarShareOneWebProcess) {
  PageServer server;
  server.page("/", "<!doctype html><body><h1>Chat</h1><textarea></textarea><button>Send</button></body>");
  const foundation::Rect frames[] = {{100, 500, 400, 500}, {520, 300, 600, 600}, {880, 0, 400, 1000}};
  std::vector<std::shared_ptr<appkit::StyledWindow>> windows;
  std::vector<std::shared_ptr<webkit::WebView>> views;
  std::vector<std::shared_ptr<RecordingNavigation>> navigations;
  long oneProcessKB = 0;
  const long ownBeforeKB = proportionalKB(getpid());
  for (const auto& frame : frames) {
    navigations.push_back(std::make_shared<RecordingNavigation>());
    views.push_back(loadedWebView(server.url("/"), navigations.back()));
    views.back()->setFrame(foundation::Rect({0, 0}, frame.size));
    windows.push_back(showWindow(frame, views.back(), "Page " + std::to_string(views.size())));
    ASSERT_TRUE(serveUntil([&] { return navigations.back()->hasFinished(); }));
    if (views.size() == 1) {
      for (pid_t pid : descendantsNamed("WebKit")) oneProcessKB += proportionalKB(pid);
    }
  }
  for (const auto& view : views) EXPECT_TRUE(serveUntil([&] { return webKitPage(*view)->isShown(); }));
  const auto webProcesses = descendantsNamed("WebKitWebProces");
  EXPECT_EQ(webProcesses.size(), 1u);
  long threePagesKB = 0;
  for (pid_t pid : descendantsNamed("WebKit")) threePagesKB += proportionalKB(pid);
  const long ownGrowthKB = proportionalKB(getpid()) - ownBeforeKB;
  RecordProperty("engine_processes_one_page_kB", std::to_string(oneProcessKB));
  RecordProperty("engine_processes_three_pages_kB", std::to_string(threePagesKB));
  RecordProperty("program_growth_three_pages_kB", std::to_string(ownGrowthKB));
  std::printf(
      "The engine's processes (web and network) take %ld MB for one page and %ld MB for three; "
      "the program itself grew by %ld MB.\n",
      oneProcessKB / 1024, threePagesKB / 1024, ownGrowthKB / 1024);
}

}  // namespace
