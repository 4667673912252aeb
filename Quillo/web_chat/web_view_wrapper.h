// The chat service's web page inside the application: a web view that loads a page address, injects two
// small scripts into every page, listens for the messages they post, reports load progress to its owner,
// answers the page's file inputs with an open panel and saves images offered as data: URLs.
#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "platform/foundation/url.h"
#include "platform/ui/app_storage.h"
#include "platform/ui/binding.h"
#include "platform/ui/state.h"
#include "platform/ui/view.h"
#include "platform/webkit/navigation_delegate.h"
#include "platform/webkit/script_message.h"
#include "platform/webkit/ui_delegate.h"
#include "platform/webkit/web_view.h"
#include "platform/webkit/web_view_configuration.h"

namespace Quillo {

// Something the page's injected scripts report to (an Enter key press in the page).
class ChatEventHandler {
 public:
  virtual ~ChatEventHandler() = default;
  virtual void handleChatEvent() = 0;
};

// Receives the page's script messages and reports each as a chat event, whatever its name or body.
class ScriptEventHandler final : public webkit::ScriptMessageHandler {
 public:
  explicit ScriptEventHandler(std::shared_ptr<ChatEventHandler> chatEventHandler)
      : chatEventHandler(std::move(chatEventHandler)) {}
  void userContentControllerDidReceiveScriptMessage(webkit::UserContentController& controller,
                                                    const webkit::ScriptMessage& message) override;

  std::shared_ptr<ChatEventHandler> chatEventHandler;
};

// Told true when a navigation commits, and false when it finishes or fails (with the error).
using LoadStatusChanged = std::function<void(bool isLoading, const std::optional<webkit::WebError>& error)>;

class WebViewWrapper final : public ui::View, public ChatEventHandler {
 public:
  // The user agent presented while "useCustomUserAgent" is on: a desktop Safari's.
  static constexpr const char* kCustomUserAgent =
      "Mozilla/5.0 (Macintosh; Intel Mac OS X 10_15_7) AppleWebKit/605.1.15 (KHTML, like Gecko) "
      "Version/16.1 Safari/605.1.15";
  // Reports an Enter key press (without Shift) anywhere in the page.
  static constexpr const char* kEnterKeyScript =
      "window.addEventListener('keydown', function(event) {\n"
      "   if (event.key == \"Enter\" && !event.shiftKey) {\n"
      "       window.webkit.messageHandlers.userHitSend.postMessage('userHitSend');\n"
      "   }\n"
      "});";
  // Reports a click on the page's attach button.
  static constexpr const char* kAttachButtonScript =
      "document.getElementById(\"Attach files\").addEventListener(\"click\", function() {\n"
      "    window.webkit.messageHandlers.buttonClicked.postMessage(null);\n"
      "});";
  // What the page may be asked to prove it is not the sign-in page shown when the service is full.
  static constexpr const char* kDocumentHTMLScript = "document.documentElement.outerHTML";

  // The web view's navigation and UI delegate, made once per web view for the wrapper as it was then.
  class Coordinator;

  WebViewWrapper(std::string urlString, ui::Binding<bool> resetThread, LoadStatusChanged loadStatusChanged,
                 ui::Binding<std::string> plusSignInLink);

  // The platform view's life: made once (with its coordinator), then updated after every change of the
  // wrapper's inputs or state.
  std::shared_ptr<Coordinator> makeCoordinator() const;
  std::shared_ptr<webkit::WebView> makeNSView(const std::shared_ptr<Coordinator>& coordinator) const;
  void updateNSView(webkit::WebView& webView) const;

  // An Enter key press in the page: `clickSend` is raised for half a second.
  void handleChatEvent() override;

  ui::AnyView body() const override;

  bool clickSend() const { return *clickSend_; }
  const std::string& urlString() const { return urlString_; }
  const ui::Binding<bool>& resetThread() const { return resetThread_; }
  bool useCustomUserAgent() const { return *useCustomUserAgent_; }
  const LoadStatusChanged& loadStatusChanged() const { return loadStatusChanged_; }
  const ui::Binding<std::string>& plusSignInLink() const { return plusSignInLink_; }

 private:
  std::shared_ptr<webkit::WebViewConfiguration> makeWebViewConfiguration() const;

  ui::State<bool> clickSend_{false};
  std::string urlString_;
  ui::Binding<bool> resetThread_;  // accepted from the owner, not read
  ui::AppStorage<bool> useCustomUserAgent_{"useCustomUserAgent", false};
  LoadStatusChanged loadStatusChanged_;
  ui::Binding<std::string> plusSignInLink_;  // accepted from the owner, not read
};

// The web view's navigation and UI delegate. `parent` is a copy of the wrapper as it was when the
// coordinator was made; later changes of the wrapper's inputs do not reach it.
class WebViewWrapper::Coordinator final : public webkit::NavigationDelegate, public webkit::UIDelegate {
 public:
  explicit Coordinator(WebViewWrapper parent) : parent(std::move(parent)) {}

  void didCommitNavigation(webkit::WebView& webView, const webkit::Navigation* navigation) override;
  void didFinishNavigation(webkit::WebView& webView, const webkit::Navigation* navigation) override;
  void didFailNavigation(webkit::WebView& webView, const webkit::Navigation* navigation,
                         const webkit::WebError& error) override;
  // data: URLs are offered to the person to save and never shown; everything else is allowed.
  void decidePolicyForNavigationAction(
      webkit::WebView& webView, const webkit::NavigationAction& action,
      std::function<void(webkit::NavigationActionPolicy)> decisionHandler) override;
  void navigationResponseDidBecomeDownload(webkit::WebView& webView,
                                           const webkit::NavigationResponse& response) override;
  // The page's file input: an open panel for files, several when the input allows it.
  void runOpenPanel(
      webkit::WebView& webView, const webkit::OpenPanelParameters& parameters, const webkit::FrameInfo& frame,
      std::function<void(std::optional<std::vector<foundation::URL>>)> completionHandler) override;

  // Prints "Over capacity" when the loaded page is the service's subscriber sign-in page.
  void probeSubscriberLoginPage(webkit::WebView& webView);
  // Offers the image of a Base64 data: URL in a save panel proposing "image.png"; anything that does
  // not decode is refused without asking.
  void saveDataURLImage(const foundation::URL& url);

  WebViewWrapper parent;
};

// Loads a page address in a web view: nothing for a text that is not a URL; otherwise a request with the
// protocol's cache policy and a 60-second time-out.
void loadURLString(webkit::WebView& webView, const std::string& urlString);

}  // namespace Quillo
