// What a web view tells the object that follows its navigations, and asks it before each one.
#pragma once

#include <functional>

#include "platform/webkit/navigation.h"

namespace webkit {

class WebView;

// Every callback runs on the main thread and does nothing unless overridden; an unanswered policy
// question is allowed.
class NavigationDelegate {
 public:
  virtual ~NavigationDelegate() = default;

  // The page started receiving the document.
  virtual void didCommitNavigation(WebView& webView, const Navigation* navigation);
  // The document finished loading.
  virtual void didFinishNavigation(WebView& webView, const Navigation* navigation);
  // The document failed after it was committed.
  virtual void didFailNavigation(WebView& webView, const Navigation* navigation, const WebError& error);
  // Whether the page may go where the action asks; `decisionHandler` must be called exactly once, now or
  // later.
  virtual void decidePolicyForNavigationAction(WebView& webView, const NavigationAction& action,
                                               std::function<void(NavigationActionPolicy)> decisionHandler);
  // A response the page cannot show was handed over as a download.
  virtual void navigationResponseDidBecomeDownload(WebView& webView, const NavigationResponse& response);
};

}  // namespace webkit
