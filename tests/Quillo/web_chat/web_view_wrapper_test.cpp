// The web chat's wrapper around the web view: what it injects and loads, how the page's events reach its
// owner, and the file panels for file inputs and data: URL images.
#include "Quillo/web_chat/web_view_wrapper.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "Quillo/chat_model/settings_keys.h"
#include "Quillo/web_chat/chat_page_address.h"
#include "platform/foundation/log.h"
#include "platform/foundation/user_defaults.h"
#include "web_chat_environment.h"

namespace {

using namespace std::chrono_literals;
using webchattest::headlessPage;
using webchattest::TemporaryDirectory;

struct LoadStatus {
  bool isLoading;
  std::optional<webkit::WebError> error;
  bool operator==(const LoadStatus&) const = default;
};

std::string fileContents(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

class WebChat : public webchattest::WebChatTest {
 protected:
  // A wrapper for `address` whose load-status reports go to `statuses`.
  Quillo::WebViewWrapper wrapper(std::string address = "https://chat.example/") {
    return Quillo::WebViewWrapper(
        std::move(address), ui::Binding<bool>::constant(false),
        [statuses = statuses_](bool isLoading, const std::optional<webkit::WebError>& error) {
          statuses->push_back({isLoading, error});
        },
        ui::Binding<std::string>::constant(""));
  }
  // Makes the web view as the view layer does, and lets its first load happen.
  std::shared_ptr<webkit::WebView> show(const Quillo::WebViewWrapper& wrapper) {
    coordinator_ = wrapper.makeCoordinator();
    auto webView = wrapper.makeNSView(coordinator_);
    settle();
    return webView;
  }
  std::vector<LoadStatus>& statuses() { return *statuses_; }

 private:
  std::shared_ptr<std::vector<LoadStatus>> statuses_ = std::make_shared<std::vector<LoadStatus>>();
  std::shared_ptr<Quillo::WebViewWrapper::Coordinator> coordinator_;
};

TEST_F(WebChat, InjectsTheEnterKeyAndAttachButtonScriptsAtDocumentEndInAllFrames) {
  const std::string enterKey = Quillo::WebViewWrapper::kEnterKeyScript;
  const std::string attach = Quillo::WebViewWrapper::kAttachButtonScript;
  EXPECT_EQ(enterKey.size(), 188u);
  EXPECT_EQ(attach.size(), 149u);
  EXPECT_EQ(enterKey,
            "window.addEventListener('keydown', function(event) {\n"
            "   if (event.key == \"Enter\" && !event.shiftKey) {\n"
            "       window.webkit.messageHandlers.userHitSend.postMessage('userHitSend');\n"
            "   }\n"
            "});");

  auto webView = show(wrapper());
  const std::vector<desktop::InjectedScript> expected{{enterKey, true, false}, {attach, true, false}};
  EXPECT_EQ(headlessPage(*webView)->injectedScripts(), expected);
  const std::vector<std::string> handlers{"userHitSend", "attachImage"};
  EXPECT_EQ(webView->configuration()->userContentController->scriptMessageHandlerNames(), handlers);
}

TEST_F(WebChat, PresentsTheDesktopSafariUserAgentOnlyWhileTheSettingIsOn) {
  struct Case {
    std::optional<bool> stored;
    std::string userAgent;
  };
  const Case cases[] = {
      {std::nullopt, desktop::HeadlessWebPage::kDefaultUserAgent},
      {false, desktop::HeadlessWebPage::kDefaultUserAgent},
      {true,
       "Mozilla/5.0 (Macintosh; Intel Mac OS X 10_15_7) AppleWebKit/605.1.15 (KHTML, like Gecko) "
       "Version/16.1 "
       "Safari/605.1.15"},
  };
  auto& suite = *foundation::UserDefaults::standard();
  for (const auto& c : cases) {
    SCOPED_TRACE(c.userAgent);
    if (c.stored) {
      suite.setObject(foundation::PlistValue(*c.stored), "useCustomUserAgent");
    } else {
      suite.removeObject("useCustomUserAgent");
    }
    auto webView = show(wrapper());
    EXPECT_EQ(headlessPage(*webView)->userAgent(), c.userAgent);
  }
}

TEST_F(WebChat, TurningTheUserAgentSettingOnChangesOnlyWebViewsMadeAfterwards) {
  auto before = show(wrapper());
  foundation::UserDefaults::standard()->setObject(foundation::PlistValue(true), "useCustomUserAgent");
  auto after = show(wrapper());
  EXPECT_FALSE(before->customUserAgent().has_value());
  EXPECT_EQ(after->customUserAgent(), Quillo::WebViewWrapper::kCustomUserAgent);
}

TEST_F(WebChat, OpensTheRootPageOrTheGPT4PageOfTheChatService) {
  EXPECT_EQ(Quillo::chatPageAddress(), "https://chat.openai.com");
  Defaults::set(Quillo::Keys::webDefaultToGPT4(), true);
  EXPECT_EQ(Quillo::chatPageAddress(), "https://chat.openai.com/chat?model=gpt-4");

  auto webView = show(wrapper(Quillo::chatPageAddress()));
  const std::vector<desktop::PageLoad> loads{{"https://chat.openai.com/chat?model=gpt-4", 60.0}};
  EXPECT_EQ(headlessPage(*webView)->loads(), loads);
}

TEST_F(WebChat, LoadsThePageOnTheNextTurnOfTheMainQueue) {
  auto w = wrapper("https://chat.example/c/1");
  auto coordinator = w.makeCoordinator();
  auto webView = w.makeNSView(coordinator);
  EXPECT_TRUE(headlessPage(*webView)->loads().empty());
  settle();
  EXPECT_EQ(headlessPage(*webView)->currentURL(), "https://chat.example/c/1");
}

TEST_F(WebChat, AnAddressThatIsNotAURLLoadsNothingAndReportsNothing) {
  for (const std::string address : {"", "not a url", "chat.example/path", "https://exa mple.com/"}) {
    SCOPED_TRACE(address);
    auto webView = show(wrapper(address));
    EXPECT_TRUE(headlessPage(*webView)->loads().empty());
  }
  EXPECT_TRUE(statuses().empty());
}

TEST_F(WebChat, ReportsCommitAsLoadingAndFinishOrFailureAsDone) {
  auto webView = show(wrapper());
  headlessPage(*webView)->commitNavigation();
  headlessPage(*webView)->finishNavigation();
  headlessPage(*webView)->commitNavigation();
  headlessPage(*webView)->failNavigation(-1001, "The request timed out.");
  const std::vector<LoadStatus> expected{
      {true, std::nullopt},
      {false, std::nullopt},
      {true, std::nullopt},
      {false, webkit::WebError{"NSURLErrorDomain", -1001, "The request timed out."}},
  };
  EXPECT_EQ(statuses(), expected);
}

TEST_F(WebChat, NavigationsWithoutALoadStatusCallbackAreFine) {
  Quillo::WebViewWrapper w("https://chat.example/", ui::Binding<bool>::constant(false), nullptr,
                           ui::Binding<std::string>::constant(""));
  auto webView = show(w);
  headlessPage(*webView)->commitNavigation();
  headlessPage(*webView)->finishNavigation();
  headlessPage(*webView)->failNavigation(1, "failed");
  settle();
}

TEST_F(WebChat, AnEnterKeyPressRaisesClickSendForHalfASecond) {
  auto w = wrapper();
  auto webView = show(w);
  foundation::LogCapture log;
  ASSERT_TRUE(headlessPage(*webView)->postScriptMessage("userHitSend", "\"userHitSend\""));
  EXPECT_TRUE(w.clickSend());
  w.updateNSView(*webView);
  const std::vector<std::string> lines{R"(<ScriptMessage name: "userHitSend" body: "userHitSend">)",
                                       "receive it!", "div:has(> textarea + button) button"};
  EXPECT_EQ(log.lines(), lines);

  advance(499ms);
  EXPECT_TRUE(w.clickSend());
  advance(1ms);
  EXPECT_FALSE(w.clickSend());
  w.updateNSView(*webView);
  EXPECT_EQ(log.lines().size(), 3u);  // nothing printed while the flag is down
}

TEST_F(WebChat, TheFirstResetEndsTheRaisedPeriodOfTwoQuickPresses) {
  auto w = wrapper();
  auto webView = show(w);
  foundation::LogCapture log;
  headlessPage(*webView)->postScriptMessage("userHitSend", "\"userHitSend\"");
  advance(300ms);
  headlessPage(*webView)->postScriptMessage("userHitSend", "\"userHitSend\"");
  advance(200ms);
  EXPECT_FALSE(w.clickSend());
  advance(300ms);
  EXPECT_FALSE(w.clickSend());
}

TEST_F(WebChat, EveryRegisteredMessageNameCountsAsAChatEventAndOthersReachNothing) {
  struct Case {
    std::string name;
    std::string body;
    bool received;
  };
  const Case cases[] = {
      {"userHitSend", "\"userHitSend\"", true},
      {"attachImage", R"({"name":"photo.png"})", true},
      {"buttonClicked", "null", false},  // the attach script posts here; nothing listens
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    auto w = wrapper();
    auto webView = show(w);
    foundation::LogCapture log;
    EXPECT_EQ(headlessPage(*webView)->postScriptMessage(c.name, c.body), c.received);
    EXPECT_EQ(w.clickSend(), c.received);
    EXPECT_EQ(log.contains("receive it!"), c.received);
    advance(1s);
  }
}

TEST_F(WebChat, TheCoordinatorKeepsTheWrapperAsItWasWhenMade) {
  auto w = wrapper("https://chat.example/first");
  auto coordinator = w.makeCoordinator();
  w = wrapper("https://chat.example/second");
  EXPECT_EQ(coordinator->parent.urlString(), "https://chat.example/first");
}

TEST_F(WebChat, SaysOverCapacityOncePerFinishedLoadOfTheSubscriberSignInPage) {
  struct Case {
    std::string html;
    bool isSignInPage;
  };
  const Case cases[] = {
      {"<html><h1>ChatGPT Plus Subscriber Login</h1></html>", true},
      {"<html>CHATGPT PLUS SUBSCRIBER LOGIN</html>", true},
      {"<html>chatgpt plus subscriber  login</html>", false},
      {"<html>Welcome back</html>", false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.html);
    auto webView = show(wrapper());
    headlessPage(*webView)->setDocumentHTML(c.html);
    foundation::LogCapture log;
    headlessPage(*webView)->finishNavigation();
    headlessPage(*webView)->finishNavigation();
    settle();
    const auto lines = log.lines();
    EXPECT_EQ(std::count(lines.begin(), lines.end(), "Over capacity"), c.isSignInPage ? 2 : 0);
    EXPECT_EQ(headlessPage(*webView)->evaluatedScripts(),
              (std::vector<std::string>{"document.documentElement.outerHTML",
                                        "document.documentElement.outerHTML"}));
  }
}

TEST_F(WebChat, AFileInputIsAnsweredWithTheFilesChosenInAnOpenPanel) {
  struct Case {
    bool allowsMultipleSelection;
    std::optional<std::vector<std::string>> chosen;
    std::optional<std::vector<std::string>> handedToPage;
  };
  const Case cases[] = {
      {false, std::vector<std::string>{"/photos/cat.png"},
       std::vector<std::string>{"file:///photos/cat.png"}},
      {true, std::vector<std::string>{"/photos/a.png", "/photos/b.png"},
       std::vector<std::string>{"file:///photos/a.png", "file:///photos/b.png"}},
      {false, std::vector<std::string>{"/photos/a.png", "/photos/b.png"},
       std::vector<std::string>{"file:///photos/a.png"}},
      {true, std::nullopt, std::nullopt},  // cancelled
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.allowsMultipleSelection);
    auto webView = show(wrapper());
    desktop().web().filePanels().answerNextOpenPanel(c.chosen);
    headlessPage(*webView)->clickFileInput(c.allowsMultipleSelection);
    settle();
    ASSERT_EQ(headlessPage(*webView)->fileChoices().size(), 1u);
    EXPECT_EQ(headlessPage(*webView)->fileChoices()[0], c.handedToPage);
    const auto shown = desktop().web().filePanels().shownPanels().back();
    EXPECT_EQ(shown.kind, desktop::FilePanelRequest::Kind::open);
    EXPECT_TRUE(shown.canChooseFiles);
    EXPECT_EQ(shown.allowsMultipleSelection, c.allowsMultipleSelection);
  }
}

TEST_F(WebChat, ADataURLImageIsSavedThroughASavePanelAndNeverShown) {
  TemporaryDirectory directory;
  const auto destination = directory.path() / "saved image.png";
  auto webView = show(wrapper());
  desktop().web().filePanels().answerNextSavePanel(destination.string());

  headlessPage(*webView)->followLink("data:image/png;base64,iVBORw0KGgo=");
  settle();

  ASSERT_EQ(headlessPage(*webView)->navigationDecisions().size(), 1u);
  EXPECT_EQ(headlessPage(*webView)->navigationDecisions()[0].allowed, false);
  EXPECT_EQ(headlessPage(*webView)->loads().size(), 1u);  // only the chat page itself
  ASSERT_EQ(desktop().web().filePanels().shownPanels().size(), 1u);
  EXPECT_EQ(desktop().web().filePanels().shownPanels()[0].kind, desktop::FilePanelRequest::Kind::save);
  EXPECT_EQ(desktop().web().filePanels().shownPanels()[0].nameFieldStringValue, "image.png");
  EXPECT_EQ(fileContents(destination), std::string("\x89PNG\r\n\x1a\n"));
}

TEST_F(WebChat, ASavedImageReplacesAnExistingFileWhole) {
  TemporaryDirectory directory;
  const auto destination = directory.path() / "image.png";
  std::ofstream(destination) << "an older, longer file that must not leave a tail behind";
  auto webView = show(wrapper());
  desktop().web().filePanels().answerNextSavePanel(destination.string());
  headlessPage(*webView)->followLink("data:image/png;base64,TWFu");
  settle();
  EXPECT_EQ(fileContents(destination), "Man");
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(directory.path()), {}), 1);  // no leftovers
}

TEST_F(WebChat, AMalformedDataURLIsCancelledWithoutAskingOrSaving) {
  desktop().web().filePanels().answerNextSavePanel("/nonexistent/should-not-be-used.png");
  for (const std::string url : {
           "data:image/png;base64",                             // no comma: the address itself is no Base64
           "data:image/png;base64,",                            // nothing to save
           "data:image/png;base64,%69VBORw0KGgo=",              // percent-encoded
           "data:image/png;base64,iVBORw0KGgo=,TWFu",           // a second comma
           "data:text/html,%3Cscript%3Ealert(1)%3C/script%3E",  // not Base64 at all
           "DATA:image/png;base64,****",                        // the scheme in capitals is still data:
       }) {
    SCOPED_TRACE(url);
    auto webView = show(wrapper());
    headlessPage(*webView)->followLink(url);
    settle();
    EXPECT_EQ(headlessPage(*webView)->navigationDecisions().back().allowed, false);
    EXPECT_EQ(headlessPage(*webView)->loads().size(), 1u);
    EXPECT_TRUE(desktop().web().filePanels().shownPanels().empty());
    EXPECT_EQ(desktop().web().filePanels().pendingAnswerCount(), 1u);
  }
}

TEST_F(WebChat, ACancelledSavePanelSavesNothing) {
  TemporaryDirectory directory;
  auto webView = show(wrapper());
  desktop().web().filePanels().answerNextSavePanel(std::nullopt);
  headlessPage(*webView)->followLink("data:image/png;base64,TWFu");
  settle();
  EXPECT_EQ(desktop().web().filePanels().shownPanels().size(), 1u);
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(directory.path()), {}), 0);
}

TEST_F(WebChat, AFailedWriteIsReportedAndLeavesNothingBehind) {
  TemporaryDirectory directory;
  auto webView = show(wrapper());
  desktop().web().filePanels().answerNextSavePanel((directory.path() / "missing" / "image.png").string());
  foundation::LogCapture log;
  headlessPage(*webView)->followLink("data:image/png;base64,TWFu");
  settle();
  ASSERT_EQ(log.lines().size(), 1u);
  EXPECT_EQ(log.lines()[0].rfind("Error saving the file: ", 0), 0u) << log.lines()[0];
  EXPECT_FALSE(std::filesystem::exists(directory.path() / "missing"));
}

TEST_F(WebChat, OtherLinksAreAllowed) {
  auto webView = show(wrapper());
  headlessPage(*webView)->followLink("https://chat.example/c/2");
  headlessPage(*webView)->followLink("mailto:someone@example.com");
  settle();
  for (const auto& decision : headlessPage(*webView)->navigationDecisions())
    EXPECT_EQ(decision.allowed, true);
  EXPECT_TRUE(desktop().web().filePanels().shownPanels().empty());
}

TEST_F(WebChat, ADownloadIsOnlyPrinted) {
  auto webView = show(wrapper());
  foundation::LogCapture log;
  headlessPage(*webView)->receiveDownload("https://chat.example/file.zip");
  EXPECT_EQ(log.lines(), std::vector<std::string>{"<URLResponse URL: https://chat.example/file.zip>"});
}

}  // namespace
