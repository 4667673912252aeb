// The web view on the headless desktop: what it loads and injects, how the page's events reach the
// delegates and handlers, and the file panels.
#include "platform/webkit/web_view.h"

#include <gtest/gtest.h>

#include <chrono>
#include <memory>
#include <string>
#include <vector>

#include "platform/appkit/application.h"
#include "platform/appkit/open_panel.h"
#include "platform/appkit/save_panel.h"
#include "platform/appkit/styled_window.h"
#include "platform/foundation/log.h"
#include "web_chat_environment.h"

namespace {

using namespace std::chrono_literals;
using webchattest::headlessPage;
using webchattest::WebChatTest;

class RecordingHandler final : public webkit::ScriptMessageHandler {
 public:
  void userContentControllerDidReceiveScriptMessage(webkit::UserContentController&,
                                                    const webkit::ScriptMessage& message) override {
    received.push_back(message.name() + " " + foundation::jsonText(message.body()));
  }
  std::vector<std::string> received;
};

class RecordingDelegate final : public webkit::NavigationDelegate, public webkit::UIDelegate {
 public:
  void didCommitNavigation(webkit::WebView&, const webkit::Navigation* navigation) override {
    events.push_back("commit " + std::to_string(navigation ? navigation->identifier() : 0));
  }
  void didFinishNavigation(webkit::WebView&, const webkit::Navigation*) override {
    events.push_back("finish");
  }
  void didFailNavigation(webkit::WebView&, const webkit::Navigation*,
                         const webkit::WebError& error) override {
    events.push_back("fail " + error.description());
  }
  void decidePolicyForNavigationAction(webkit::WebView&, const webkit::NavigationAction& action,
                                       std::function<void(webkit::NavigationActionPolicy)> decide) override {
    events.push_back("decide " +
                     (action.requestURL ? action.requestURL->absoluteString() : std::string("none")));
    pendingDecision = decide;
  }
  void runOpenPanel(webkit::WebView&, const webkit::OpenPanelParameters& parameters, const webkit::FrameInfo&,
                    std::function<void(std::optional<std::vector<foundation::URL>>)> completion) override {
    events.push_back(std::string("open panel ") +
                     (parameters.allowsMultipleSelection ? "multiple" : "single"));
    completion(std::vector<foundation::URL>{foundation::URL::fileURL("/tmp/a.txt")});
  }
  std::vector<std::string> events;
  std::function<void(webkit::NavigationActionPolicy)> pendingDecision;
};

foundation::URLRequest requestFor(const std::string& text) {
  return foundation::URLRequest(*foundation::URL::parse(text));
}

using WebView = WebChatTest;

TEST_F(WebView, LoadsRequestsWithTheirTimeOutAndInjectsTheUserScripts) {
  auto configuration = std::make_shared<webkit::WebViewConfiguration>();
  configuration->userContentController->addUserScript(
      webkit::UserScript("one()", webkit::UserScriptInjectionTime::atDocumentStart, true));
  configuration->userContentController->addUserScript(
      webkit::UserScript("two()", webkit::UserScriptInjectionTime::atDocumentEnd, false));
  auto view = webkit::WebView::make({}, configuration);
  ASSERT_EQ(desktop().web().lastPage(), view->page());

  auto request = requestFor("https://example.com/page?x=1");
  request.timeoutInterval = 15s;
  view->load(request);

  ASSERT_TRUE(view->url());
  EXPECT_EQ(view->url()->absoluteString(), "https://example.com/page?x=1");
  const std::vector<desktop::PageLoad> loads{{"https://example.com/page?x=1", 15.0}};
  EXPECT_EQ(headlessPage(*view)->loads(), loads);
  const std::vector<desktop::InjectedScript> scripts{{"one()", false, true}, {"two()", true, false}};
  EXPECT_EQ(headlessPage(*view)->injectedScripts(), scripts);
}

TEST_F(WebView, PresentsTheCustomUserAgentOnlyWhileOneIsSet) {
  auto view = webkit::WebView::make({}, nullptr);
  EXPECT_EQ(headlessPage(*view)->userAgent(), desktop::HeadlessWebPage::kDefaultUserAgent);
  view->setCustomUserAgent("Agent/1.0");
  EXPECT_EQ(headlessPage(*view)->userAgent(), "Agent/1.0");
  view->setCustomUserAgent(std::nullopt);
  EXPECT_EQ(headlessPage(*view)->userAgent(), desktop::HeadlessWebPage::kDefaultUserAgent);
}

TEST_F(WebView, HandsScriptMessagesToTheHandlerOfTheirNameOnly) {
  auto configuration = std::make_shared<webkit::WebViewConfiguration>();
  auto handler = std::make_shared<RecordingHandler>();
  EXPECT_TRUE(configuration->userContentController->addScriptMessageHandler(handler, "first"));
  EXPECT_FALSE(configuration->userContentController->addScriptMessageHandler(handler, "first"));
  EXPECT_FALSE(configuration->userContentController->addScriptMessageHandler(nullptr, "second"));
  auto view = webkit::WebView::make({}, configuration);

  EXPECT_TRUE(headlessPage(*view)->postScriptMessage("first", R"({"a":[1,2]})"));
  EXPECT_TRUE(headlessPage(*view)->postScriptMessage("first", "not json"));
  EXPECT_FALSE(headlessPage(*view)->postScriptMessage("second", "null"));
  configuration->userContentController->removeScriptMessageHandler("first");
  EXPECT_FALSE(headlessPage(*view)->postScriptMessage("first", "1"));

  const std::vector<std::string> expected{R"(first {"a":[1,2]})", "first null"};
  EXPECT_EQ(handler->received, expected);
}

TEST_F(WebView, DeclaresItsHandlerNamesToThePageWithEachLoad) {
  auto configuration = std::make_shared<webkit::WebViewConfiguration>();
  auto handler = std::make_shared<RecordingHandler>();
  configuration->userContentController->addScriptMessageHandler(handler, "userHitSend");
  configuration->userContentController->addScriptMessageHandler(handler, "attachImage");
  auto view = webkit::WebView::make({}, configuration);
  view->load(requestFor("https://example.com/"));
  EXPECT_EQ(headlessPage(*view)->scriptMessageHandlerNames(),
            (std::vector<std::string>{"userHitSend", "attachImage"}));
  configuration->userContentController->removeScriptMessageHandler("attachImage");
  view->load(requestFor("https://example.com/again"));
  EXPECT_EQ(headlessPage(*view)->scriptMessageHandlerNames(), std::vector<std::string>{"userHitSend"});
}

TEST_F(WebView, ShowsItsPageAtItsFrameInItsWindowWhileTheWindowIsOnScreen) {
  using Style = appkit::StyledWindow::StyleMask;
  auto window =
      std::make_shared<appkit::StyledWindow>(foundation::Rect(100, 100, 500, 400), Style::titled,
                                             appkit::StyledWindow::BackingStoreType::buffered, false);
  auto content = std::make_shared<appkit::View>(foundation::Rect(0, 0, 500, 400));
  auto box = std::make_shared<appkit::View>(foundation::Rect(10, 20, 400, 300));
  content->addSubview(box);
  auto view = webkit::WebView::make(foundation::Rect(5, 6, 200, 100), nullptr);
  box->addSubview(view);
  window->setContentView(content);
  auto page = headlessPage(*view);
  settle();
  EXPECT_EQ(page->placement(), std::nullopt);  // the window is not on screen yet

  window->orderFront();
  settle();
  const auto number = window->windowNumber();
  EXPECT_EQ(page->placement(), (desktop::PagePlacement{number, foundation::Rect(15, 26, 200, 100)}));

  // A new frame is told once the turn is over; the same frame again tells nothing new.
  view->setFrame(foundation::Rect(0, 0, 300, 250));
  view->setFrame(foundation::Rect(1, 2, 300, 250));
  settle();
  view->setFrame(foundation::Rect(1, 2, 300, 250));
  settle();
  EXPECT_EQ(page->placement(), (desktop::PagePlacement{number, foundation::Rect(11, 22, 300, 250)}));

  window->orderOut();
  settle();
  EXPECT_EQ(page->placement(), std::nullopt);
  window->orderFront();
  settle();
  EXPECT_EQ(page->placement(), (desktop::PagePlacement{number, foundation::Rect(11, 22, 300, 250)}));

  // Hidden, or without an area, it is shown nowhere.
  box->setHidden(true);
  view->setFrame(foundation::Rect(1, 2, 300, 250));
  settle();
  EXPECT_EQ(page->placement(), std::nullopt);
  box->setHidden(false);
  view->setFrame(foundation::Rect(1, 2, 0, 250));
  settle();
  EXPECT_EQ(page->placement(), std::nullopt);

  const std::vector<std::optional<desktop::PagePlacement>> told{
      desktop::PagePlacement{number, foundation::Rect(15, 26, 200, 100)},
      desktop::PagePlacement{number, foundation::Rect(11, 22, 300, 250)}, std::nullopt,
      desktop::PagePlacement{number, foundation::Rect(11, 22, 300, 250)}, std::nullopt};
  EXPECT_EQ(page->placements(), told);
  appkit::Application::shared().resetForTesting();
}

TEST_F(WebView, ReportsNavigationsToItsDelegate) {
  auto delegate = std::make_shared<RecordingDelegate>();
  auto view = webkit::WebView::make({}, nullptr);
  view->setNavigationDelegate(delegate);
  view->load(requestFor("https://example.com/"));
  headlessPage(*view)->commitNavigation();
  headlessPage(*view)->finishNavigation();
  headlessPage(*view)->failNavigation(-1009, "The Internet connection appears to be offline.");
  const std::vector<std::string> expected{
      "commit 1", "finish",
      R"(fail Error Domain=NSURLErrorDomain Code=-1009 "The Internet connection appears to be offline.")"};
  EXPECT_EQ(delegate->events, expected);
}

TEST_F(WebView, AsksBeforeFollowingALinkAndGoesOnlyWhenAllowed) {
  auto delegate = std::make_shared<RecordingDelegate>();
  auto view = webkit::WebView::make({}, nullptr);
  view->setNavigationDelegate(delegate);

  headlessPage(*view)->followLink("https://example.com/a");
  ASSERT_TRUE(delegate->pendingDecision);
  EXPECT_FALSE(headlessPage(*view)->navigationDecisions().at(0).allowed.has_value());
  delegate->pendingDecision(webkit::NavigationActionPolicy::allow);
  delegate->pendingDecision(webkit::NavigationActionPolicy::cancel);  // a second answer is dropped
  EXPECT_EQ(headlessPage(*view)->navigationDecisions().at(0).allowed, true);

  headlessPage(*view)->followLink("https://example.com/b");
  delegate->pendingDecision(webkit::NavigationActionPolicy::cancel);
  EXPECT_EQ(headlessPage(*view)->navigationDecisions().at(1).allowed, false);

  const std::vector<desktop::PageLoad> loads{{"https://example.com/a", std::nullopt}};
  EXPECT_EQ(headlessPage(*view)->loads(), loads);
}

TEST_F(WebView, WithoutDelegatesAllowsNavigationsAndCancelsFileChoices) {
  auto view = webkit::WebView::make({}, nullptr);
  headlessPage(*view)->followLink("https://example.com/a");
  headlessPage(*view)->clickFileInput(true);
  EXPECT_EQ(headlessPage(*view)->navigationDecisions().at(0).allowed, true);
  ASSERT_EQ(headlessPage(*view)->fileChoices().size(), 1u);
  EXPECT_FALSE(headlessPage(*view)->fileChoices()[0].has_value());
}

TEST_F(WebView, AsksItsUIDelegateForTheFilesOfAFileInput) {
  auto delegate = std::make_shared<RecordingDelegate>();
  auto view = webkit::WebView::make({}, nullptr);
  view->setUIDelegate(delegate);
  headlessPage(*view)->clickFileInput(false);
  EXPECT_EQ(delegate->events, std::vector<std::string>{"open panel single"});
  const std::vector<std::optional<std::vector<std::string>>> expected{
      std::vector<std::string>{"file:///tmp/a.txt"}};
  EXPECT_EQ(headlessPage(*view)->fileChoices(), expected);
}

TEST_F(WebView, DelegatesAreHeldWeakly) {
  auto view = webkit::WebView::make({}, nullptr);
  {
    auto delegate = std::make_shared<RecordingDelegate>();
    view->setNavigationDelegate(delegate);
  }
  EXPECT_EQ(view->navigationDelegate(), nullptr);
  headlessPage(*view)->commitNavigation();  // nobody to tell; nothing happens
  headlessPage(*view)->followLink("https://example.com/");
  EXPECT_EQ(headlessPage(*view)->navigationDecisions().at(0).allowed, true);
}

TEST_F(WebView, EvaluatesScriptsLaterOnTheMainQueue) {
  auto view = webkit::WebView::make({}, nullptr);
  headlessPage(*view)->setDocumentHTML("<html>\"quoted\"\n</html>");
  std::vector<std::string> results;
  view->evaluateJavaScript(
      "document.documentElement.outerHTML",
      [&](const std::optional<foundation::Json>& result, const std::optional<webkit::WebError>& error) {
        results.push_back(result ? result->get<std::string>() : "error " + error->localizedDescription);
      });
  view->evaluateJavaScript("window.alert(1)", [&](const std::optional<foundation::Json>& result,
                                                  const std::optional<webkit::WebError>& error) {
    results.push_back(result ? "value" : "error " + std::to_string(error->code));
  });
  EXPECT_TRUE(results.empty());
  settle();
  const std::vector<std::string> expected{"<html>\"quoted\"\n</html>", "error 4"};
  EXPECT_EQ(results, expected);
}

TEST_F(WebView, AViewDestroyedBeforeTheLinkIsAnsweredLeavesThePageIntact) {
  auto delegate = std::make_shared<RecordingDelegate>();
  auto view = webkit::WebView::make({}, nullptr);
  view->setNavigationDelegate(delegate);
  auto page = headlessPage(*view);
  page->followLink("https://example.com/");
  view.reset();
  delegate->pendingDecision(webkit::NavigationActionPolicy::allow);
  EXPECT_EQ(page->navigationDecisions().at(0).allowed, true);
  page->commitNavigation();  // the view is gone; nothing to tell
}

TEST(WebViewWithoutDesktop, RecordsTheAddressAndShowsNothing) {
  foundation::ScopedMainRunLoop loop;
  auto view = webkit::WebView::make({}, nullptr);
  EXPECT_EQ(view->page(), nullptr);
  view->load(requestFor("https://example.com/"));
  EXPECT_EQ(view->url()->absoluteString(), "https://example.com/");
  std::optional<webkit::WebError> failure;
  view->evaluateJavaScript(
      "1", [&](const auto&, const std::optional<webkit::WebError>& error) { failure = error; });
  loop.loop().runUntilIdle();
  EXPECT_TRUE(failure.has_value());
}

using FilePanels = WebChatTest;

TEST_F(FilePanels, OpenPanelsHandBackTheScriptedChoice) {
  struct Case {
    bool allowsMultipleSelection;
    std::optional<std::vector<std::string>> answer;
    appkit::ModalResponse response;
    std::vector<std::string> urls;
  };
  const Case cases[] = {
      {true,
       std::vector<std::string>{"/a/x.png", "/a/y z.png"},
       appkit::kModalResponseOK,
       {"file:///a/x.png", "file:///a/y%20z.png"}},
      {false,
       std::vector<std::string>{"/a/x.png", "/a/y.png"},
       appkit::kModalResponseOK,
       {"file:///a/x.png"}},
      {true, std::nullopt, appkit::kModalResponseCancel, {}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.allowsMultipleSelection);
    desktop().web().filePanels().answerNextOpenPanel(c.answer);
    auto panel = appkit::OpenPanel::openPanel();
    panel->setAllowsMultipleSelection(c.allowsMultipleSelection);
    EXPECT_EQ(panel->runModal(), c.response);
    std::vector<std::string> urls;
    for (const auto& url : panel->urls()) urls.push_back(url.absoluteString());
    EXPECT_EQ(urls, c.urls);
  }
  EXPECT_EQ(desktop().web().filePanels().shownPanels().size(), 3u);
}

TEST_F(FilePanels, APanelWithNoAnswerScriptedIsCancelled) {
  auto panel = appkit::SavePanel::savePanel();
  panel->setNameFieldStringValue("report.txt");
  std::optional<appkit::ModalResponse> response;
  panel->begin([&](appkit::ModalResponse r) { response = r; });
  EXPECT_FALSE(response.has_value());  // the panel answers on a later turn of the main queue
  settle();
  EXPECT_EQ(response, appkit::kModalResponseCancel);
  EXPECT_FALSE(panel->url().has_value());
  ASSERT_EQ(desktop().web().filePanels().shownPanels().size(), 1u);
  EXPECT_EQ(desktop().web().filePanels().shownPanels()[0].kind, desktop::FilePanelRequest::Kind::save);
  EXPECT_EQ(desktop().web().filePanels().shownPanels()[0].nameFieldStringValue, "report.txt");
}

TEST_F(FilePanels, SavePanelsHandBackTheScriptedFile) {
  desktop().web().filePanels().answerNextSavePanel("/home/me/image.png");
  auto panel = appkit::SavePanel::savePanel();
  EXPECT_EQ(panel->runModal(), appkit::kModalResponseOK);
  ASSERT_TRUE(panel->url());
  EXPECT_EQ(panel->url()->absoluteString(), "file:///home/me/image.png");
}

}  // namespace
