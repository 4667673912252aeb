// A view that shows web content: loads requests, injects its configuration's user scripts, hands the
// pages' script messages to their handlers, reports navigations to its navigation delegate and asks its
// UI delegate for files. The content itself is run by the desktop's web engine (the headless desktop's
// pages in tests), which shows it where the view stands in its window while that window is on screen;
// without one the view records what it is asked and shows nothing.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "platform/appkit/view.h"
#include "platform/desktop/web_engine_service.h"
#include "platform/foundation/geometry.h"
#include "platform/foundation/http/url_request.h"
#include "platform/foundation/json_text.h"  // Json
#include "platform/foundation/notification_center.h"
#include "platform/foundation/url.h"
#include "platform/webkit/navigation.h"
#include "platform/webkit/navigation_delegate.h"
#include "platform/webkit/ui_delegate.h"
#include "platform/webkit/web_view_configuration.h"

namespace webkit {

// A view of the platform hierarchy. Delegates are held weakly, as their owners keep them. Main thread
// only: every delegate callback and script-message handler runs there.
class WebView final : public appkit::View {
  struct Token {};

 public:
  static std::shared_ptr<WebView> make(foundation::Rect frame,
                                       std::shared_ptr<WebViewConfiguration> configuration);
  WebView(Token, foundation::Rect frame, std::shared_ptr<WebViewConfiguration> configuration);
  ~WebView() override;

  // The page follows the view's frame: it is placed again once the current turn of the main queue is over,
  // when the hierarchy the frame belongs to is complete.
  void setFrame(foundation::Rect frame) override;
  // Where the view shows its page now: in its window, at its frame there, while the window is on screen
  // and the view and its ancestors are not hidden and it has an area; nothing otherwise.
  std::optional<desktop::PagePlacement> placement() const;
  // Tells the page where it is shown when that changed since the page was last told.
  void updatePlacement();

  const std::shared_ptr<WebViewConfiguration>& configuration() const { return configuration_; }

  std::shared_ptr<NavigationDelegate> navigationDelegate() const { return navigationDelegate_.lock(); }
  void setNavigationDelegate(std::weak_ptr<NavigationDelegate> delegate) {
    navigationDelegate_ = std::move(delegate);
  }
  std::shared_ptr<UIDelegate> uiDelegate() const { return uiDelegate_.lock(); }
  void setUIDelegate(std::weak_ptr<UIDelegate> delegate) { uiDelegate_ = std::move(delegate); }

  // The user agent presented instead of the engine's own; nothing: the engine's own.
  const std::optional<std::string>& customUserAgent() const { return customUserAgent_; }
  void setCustomUserAgent(std::optional<std::string> userAgent);

  // Starts loading a request (its time-out applies), injecting the configuration's user scripts into
  // the document. Returns the navigation the delegate callbacks will name.
  std::shared_ptr<Navigation> load(const foundation::URLRequest& request);
  // The address of the document loaded last, if any.
  const std::optional<foundation::URL>& url() const { return url_; }

  // Evaluates a script in the current document; the completion handler runs later on the main queue
  // with the script's value, or with an error.
  void evaluateJavaScript(
      const std::string& script,
      std::function<void(const std::optional<foundation::Json>& result, const std::optional<WebError>& error)>
          completionHandler);

  // The desktop's page behind this view (nothing without a desktop web engine).
  const std::shared_ptr<desktop::WebPage>& page() const { return page_; }

 private:
  void connectPage();
  void setNeedsPlacement();

  std::shared_ptr<WebViewConfiguration> configuration_;
  std::weak_ptr<NavigationDelegate> navigationDelegate_;
  std::weak_ptr<UIDelegate> uiDelegate_;
  std::optional<std::string> customUserAgent_;
  std::optional<foundation::URL> url_;
  std::shared_ptr<Navigation> currentNavigation_;
  std::uint64_t nextNavigationIdentifier_ = 1;
  std::shared_ptr<desktop::WebPage> page_;
  // What the page was told last (nothing: nowhere, as a new page is), and whether an update is queued.
  std::optional<desktop::PagePlacement> toldPlacement_;
  bool isPlacementQueued_ = false;
  // Windows coming on screen and leaving it (their occlusion state changes) move the page with them.
  foundation::ObserverToken windowVisibilityObserver_;
};

}  // namespace webkit
