#include <utility>

#include "platform/webkit/navigation_delegate.h"
#include "platform/webkit/ui_delegate.h"

namespace webkit {

void NavigationDelegate::didCommitNavigation(WebView&, const Navigation*) {}
void NavigationDelegate::didFinishNavigation(WebView&, const Navigation*) {}
void NavigationDelegate::didFailNavigation(WebView&, const Navigation*, const WebError&) {}
void NavigationDelegate::decidePolicyForNavigationAction(
    WebView&, const NavigationAction&, std::function<void(NavigationActionPolicy)> decisionHandler) {
  decisionHandler(NavigationActionPolicy::allow);
}
void NavigationDelegate::navigationResponseDidBecomeDownload(WebView&, const NavigationResponse&) {}

void UIDelegate::runOpenPanel(
    WebView&, const OpenPanelParameters&, const FrameInfo&,
    std::function<void(std::optional<std::vector<foundation::URL>>)> completionHandler) {
  completionHandler(std::nullopt);
}

}  // namespace webkit
