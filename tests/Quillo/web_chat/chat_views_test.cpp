// The popover's and the main window's web chats as views: the web view they show, its size and page.
#include <gtest/gtest.h>

#include <chrono>
#include <memory>
#include <string>

#include "Quillo/chat_model/settings_keys.h"
#include "Quillo/web_chat/chat_page_address.h"
#include "Quillo/web_chat/chat_view.h"
#include "Quillo/web_chat/main_chat_view.h"
#include "Quillo/web_chat/web_view_wrapper.h"
#include "platform/foundation/log.h"
#include "platform/foundation/user_defaults.h"
#include "platform/ui/window_host.h"
#include "platform/webkit/web_view.h"
#include "web_chat_environment.h"

namespace {

using namespace std::chrono_literals;
using ui::testing::WindowHost;
using webchattest::headlessPage;

const auto kWebView = ui::testing::type("WebViewWrapperRepresentable");

class ChatViews : public ::testing::Test {
 protected:
  ChatViews() { Defaults::removeAllStoredValues(*foundation::UserDefaults::standard()); }
  ~ChatViews() override { Defaults::removeAllStoredValues(*foundation::UserDefaults::standard()); }

  // The web view shown in the host.
  static std::shared_ptr<webkit::WebView> webView(WindowHost& host) {
    auto platformView = host.platformView(host.find(kWebView));
    if (!platformView || platformView->subviews().empty()) return nullptr;
    return std::dynamic_pointer_cast<webkit::WebView>(platformView->subviews().front());
  }
};

TEST_F(ChatViews, TheMainWindowShowsTheChatPageAtLeast600PointsHigh) {
  struct Case {
    ui::Size window;
    ui::Size webView;
  };
  const Case cases[] = {
      {{800, 400}, {800, 600}},
      {{700, 900}, {700, 900}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.window.height);
    WindowHost host(Quillo::MainChatView("https://chat.example/"), c.window);
    host.settle();
    EXPECT_EQ(host.frame(kWebView).size, c.webView);
    auto shown = webView(host);
    ASSERT_NE(shown, nullptr);
    EXPECT_EQ(shown->frame().size, c.webView);
    EXPECT_EQ(headlessPage(*shown)->currentURL(), "https://chat.example/");
  }
}

TEST_F(ChatViews, TheMainWindowOpensTheGPT4PageWhileTheSettingIsOn) {
  Defaults::set(Quillo::Keys::webDefaultToGPT4(), true);
  WindowHost host(Quillo::MainChatView(Quillo::chatPageAddress()));
  host.settle();
  EXPECT_EQ(host.desktop().web().lastPage()->currentURL(), "https://chat.openai.com/chat?model=gpt-4");
}

TEST_F(ChatViews, TheMainWindowKeepsItsFirstAddressWhileItKeepsItsIdentity) {
  WindowHost host(Quillo::MainChatView("https://chat.example/first"));
  host.settle();
  host.setRoot(Quillo::MainChatView("https://chat.example/second"));
  host.settle();
  ASSERT_EQ(host.desktop().web().pages().size(), 1u);
  EXPECT_EQ(host.desktop().web().lastPage()->loads().size(), 1u);
  EXPECT_EQ(host.desktop().web().lastPage()->currentURL(), "https://chat.example/first");
}

TEST_F(ChatViews, AnEnterKeyPressInThePageUpdatesTheWebViewWhileClickSendIsRaised) {
  WindowHost host(Quillo::MainChatView("https://chat.example/"));
  host.settle();
  foundation::LogCapture log;
  ASSERT_TRUE(host.desktop().web().lastPage()->postScriptMessage("userHitSend", "\"userHitSend\""));
  host.settle();
  const std::vector<std::string> lines{R"(<ScriptMessage name: "userHitSend" body: "userHitSend">)",
                                       "receive it!", "div:has(> textarea + button) button"};
  EXPECT_EQ(log.lines(), lines);
  host.advance(500ms);
  EXPECT_EQ(log.lines(), lines);                       // the update after the reset prints nothing
  EXPECT_EQ(host.desktop().web().pages().size(), 1u);  // the web view was never made again
}

TEST_F(ChatViews, ThePopoverFramesTheChatPageToItsWidthPreset) {
  struct Case {
    std::optional<std::int64_t> size;
    double width;
  };
  const Case cases[] = {{std::nullopt, 500}, {0, 400}, {1, 500}, {2, 600}, {-1, 600}, {9, 600}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.width);
    if (c.size) {
      foundation::UserDefaults::standard()->setObject(foundation::PlistValue(*c.size), "size");
    } else {
      foundation::UserDefaults::standard()->removeObject("size");
    }
    WindowHost host(Quillo::ChatView("https://chat.example/"), {800, 700});
    host.settle();
    EXPECT_EQ(host.frame(kWebView).size, ui::Size(c.width, 700));
    EXPECT_EQ(host.desktop().web().lastPage()->currentURL(), "https://chat.example/");
  }
}

TEST_F(ChatViews, ThePopoverFollowsAChangedWidthPresetAndKeepsItsPage) {
  WindowHost host(Quillo::ChatView("https://chat.example/"), {800, 700});
  host.settle();
  auto first = webView(host);
  foundation::UserDefaults::standard()->setObject(foundation::PlistValue(std::int64_t{0}), "size");
  host.settle();
  EXPECT_EQ(host.frame(kWebView).size.width, 400);
  EXPECT_EQ(webView(host), first);
}

}  // namespace
