#include "Quillo/web_chat/web_view_wrapper.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <utility>
#include <vector>

#include "Quillo/web_chat/data_url.h"
#include "platform/appkit/open_panel.h"
#include "platform/appkit/save_panel.h"
#include "platform/foundation/http/url_request.h"
#include "platform/foundation/log.h"
#include "platform/foundation/run_loop.h"
#include "platform/ui/representable.h"

namespace Quillo {
namespace {

using namespace std::chrono_literals;

bool containsSubscriberLogin(const std::string& html) {
  std::string lower = html;
  for (auto& c : lower) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return lower.find("chatgpt plus subscriber login") != std::string::npos;
}

// Writes `bytes` to a file by way of a temporary file beside it and a rename, so the destination holds
// either its old contents or all of the new ones, never a part. Returns a description of the failure.
std::optional<std::string> writeFileAtomically(const std::filesystem::path& path, const std::string& bytes) {
  const auto directory = path.parent_path().empty() ? std::filesystem::path(".") : path.parent_path();
  std::string temporary = (directory / ("." + path.filename().string() + ".XXXXXX")).string();
  const int fd = ::mkstemp(temporary.data());
  if (fd < 0)
    return std::string("cannot create a file in ") + directory.string() + ": " + std::strerror(errno);
  std::size_t written = 0;
  while (written < bytes.size()) {
    const auto n = ::write(fd, bytes.data() + written, bytes.size() - written);
    if (n < 0) {
      if (errno == EINTR) continue;
      const std::string reason = std::strerror(errno);
      ::close(fd);
      ::unlink(temporary.c_str());
      return "cannot write " + path.string() + ": " + reason;
    }
    written += static_cast<std::size_t>(n);
  }
  if (::fsync(fd) != 0 || ::close(fd) != 0) {
    const std::string reason = std::strerror(errno);
    ::unlink(temporary.c_str());
    return "cannot write " + path.string() + ": " + reason;
  }
  // The temporary file is private (0600); the saved image gets the usual permissions.
  const mode_t mask = ::umask(0);
  ::umask(mask);
  ::chmod(temporary.c_str(), 0666 & ~mask);
  if (std::rename(temporary.c_str(), path.c_str()) != 0) {
    const std::string reason = std::strerror(errno);
    ::unlink(temporary.c_str());
    return "cannot write " + path.string() + ": " + reason;
  }
  return std::nullopt;
}

}  // namespace

void ScriptEventHandler::userContentControllerDidReceiveScriptMessage(webkit::UserContentController&,
                                                                      const webkit::ScriptMessage& message) {
  foundation::log(message.description());
  if (chatEventHandler) chatEventHandler->handleChatEvent();
}

WebViewWrapper::WebViewWrapper(std::string urlString, ui::Binding<bool> resetThread,
                               LoadStatusChanged loadStatusChanged, ui::Binding<std::string> plusSignInLink)
    : urlString_(std::move(urlString)),
      resetThread_(std::move(resetThread)),
      loadStatusChanged_(std::move(loadStatusChanged)),
      plusSignInLink_(std::move(plusSignInLink)) {}

std::shared_ptr<WebViewWrapper::Coordinator> WebViewWrapper::makeCoordinator() const {
  return std::make_shared<Coordinator>(*this);
}

std::shared_ptr<webkit::WebViewConfiguration> WebViewWrapper::makeWebViewConfiguration() const {
  auto configuration = std::make_shared<webkit::WebViewConfiguration>();
  auto& controller = *configuration->userContentController;
  controller.addUserScript(
      webkit::UserScript(kEnterKeyScript, webkit::UserScriptInjectionTime::atDocumentEnd, false));
  controller.addScriptMessageHandler(
      std::make_shared<ScriptEventHandler>(std::make_shared<WebViewWrapper>(*this)), "userHitSend");
  controller.addUserScript(
      webkit::UserScript(kAttachButtonScript, webkit::UserScriptInjectionTime::atDocumentEnd, false));
  controller.addScriptMessageHandler(
      std::make_shared<ScriptEventHandler>(std::make_shared<WebViewWrapper>(*this)), "attachImage");
  return configuration;
}

std::shared_ptr<webkit::WebView> WebViewWrapper::makeNSView(
    const std::shared_ptr<Coordinator>& coordinator) const {
  auto webView = webkit::WebView::make(foundation::Rect{}, makeWebViewConfiguration());
  webView->setNavigationDelegate(coordinator);
  webView->setUIDelegate(coordinator);
  if (*useCustomUserAgent_) webView->setCustomUserAgent(std::string(kCustomUserAgent));
  // The first load waits for the next turn of the main queue, when the web view is in its hierarchy.
  std::weak_ptr<webkit::WebView> weakWebView = webView;
  foundation::RunLoop::main().async([weakWebView, urlString = urlString_] {
    if (auto webView = weakWebView.lock()) loadURLString(*webView, urlString);
  });
  return webView;
}

void WebViewWrapper::updateNSView(webkit::WebView&) const {
  if (*clickSend_) foundation::log("div:has(> textarea + button) button");
}

void WebViewWrapper::handleChatEvent() {
  foundation::log("receive it!");
  clickSend_.set(true);
  // Each press schedules its own reset; the first one due ends the raised period.
  foundation::RunLoop::main().asyncAfter(500ms, [clickSend = clickSend_] { clickSend.set(false); });
}

// The wrapper's platform view: the web view, filling it, together with the web view's coordinator, which
// lives as long as the web view is shown (the web view holds its delegates weakly).
class WebViewWrapperHostView final : public appkit::View {
 public:
  WebViewWrapperHostView(std::shared_ptr<WebViewWrapper::Coordinator> coordinator,
                         std::shared_ptr<webkit::WebView> webView)
      : coordinator_(std::move(coordinator)), webView_(std::move(webView)) {}
  void setFrame(foundation::Rect frame) override {
    appkit::View::setFrame(frame);
    webView_->setFrame(foundation::Rect({0, 0}, frame.size));
  }
  webkit::WebView& webView() const { return *webView_; }

 private:
  std::shared_ptr<WebViewWrapper::Coordinator> coordinator_;
  std::shared_ptr<webkit::WebView> webView_;
};

// Makes the web view once per identity of the wrapper and brings it up to date after every evaluation.
class WebViewWrapperRepresentable final : public ui::ViewRepresentable {
 public:
  explicit WebViewWrapperRepresentable(WebViewWrapper wrapper) : wrapper_(std::move(wrapper)) {}
  std::shared_ptr<appkit::View> makeView(const ui::RepresentableContext&) const override {
    auto coordinator = wrapper_.makeCoordinator();
    auto webView = wrapper_.makeNSView(coordinator);
    auto host = std::make_shared<WebViewWrapperHostView>(std::move(coordinator), webView);
    host->addSubview(webView);
    return host;
  }
  void updateView(appkit::View& view, const ui::RepresentableContext&) const override {
    if (auto* host = dynamic_cast<WebViewWrapperHostView*>(&view)) wrapper_.updateNSView(host->webView());
  }

 private:
  WebViewWrapper wrapper_;
};

ui::AnyView WebViewWrapper::body() const { return ui::Representable(WebViewWrapperRepresentable(*this)); }

void loadURLString(webkit::WebView& webView, const std::string& urlString) {
  auto url = foundation::URL::parse(urlString);
  if (!url || !url->isAbsolute()) return;
  foundation::URLRequest request(*url);
  request.timeoutInterval = 60s;
  webView.load(request);
}

void WebViewWrapper::Coordinator::didCommitNavigation(webkit::WebView&, const webkit::Navigation*) {
  if (parent.loadStatusChanged()) parent.loadStatusChanged()(true, std::nullopt);
}

void WebViewWrapper::Coordinator::didFinishNavigation(webkit::WebView& webView, const webkit::Navigation*) {
  probeSubscriberLoginPage(webView);
  if (parent.loadStatusChanged()) parent.loadStatusChanged()(false, std::nullopt);
}

void WebViewWrapper::Coordinator::didFailNavigation(webkit::WebView&, const webkit::Navigation*,
                                                    const webkit::WebError& error) {
  if (parent.loadStatusChanged()) parent.loadStatusChanged()(false, error);
}

void WebViewWrapper::Coordinator::decidePolicyForNavigationAction(
    webkit::WebView&, const webkit::NavigationAction& action,
    std::function<void(webkit::NavigationActionPolicy)> decisionHandler) {
  if (!action.requestURL) return decisionHandler(webkit::NavigationActionPolicy::allow);
  const auto& scheme = action.requestURL->scheme();
  // Schemes compare without regard to letter case, so "DATA:" cannot slip past.
  std::string lowerScheme = scheme.value_or("");
  for (auto& c : lowerScheme) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  if (lowerScheme == "data") {
    saveDataURLImage(*action.requestURL);
    return decisionHandler(webkit::NavigationActionPolicy::cancel);
  }
  decisionHandler(webkit::NavigationActionPolicy::allow);
}

void WebViewWrapper::Coordinator::navigationResponseDidBecomeDownload(
    webkit::WebView&, const webkit::NavigationResponse& response) {
  foundation::log(response.description());
}

void WebViewWrapper::Coordinator::runOpenPanel(
    webkit::WebView&, const webkit::OpenPanelParameters& parameters, const webkit::FrameInfo&,
    std::function<void(std::optional<std::vector<foundation::URL>>)> completionHandler) {
  auto panel = appkit::OpenPanel::openPanel();
  panel->setCanChooseFiles(true);
  panel->setAllowsMultipleSelection(parameters.allowsMultipleSelection);
  std::weak_ptr<appkit::OpenPanel> weakPanel = panel;
  panel->begin([weakPanel, completionHandler = std::move(completionHandler)](appkit::ModalResponse response) {
    auto panel = weakPanel.lock();
    if (response == appkit::kModalResponseOK && panel) {
      completionHandler(panel->urls());
    } else {
      completionHandler(std::nullopt);
    }
  });
}

void WebViewWrapper::Coordinator::probeSubscriberLoginPage(webkit::WebView& webView) {
  webView.evaluateJavaScript(kDocumentHTMLScript, [](const std::optional<foundation::Json>& result,
                                                     const std::optional<webkit::WebError>&) {
    if (result && result->is_string() && containsSubscriberLogin(result->get<std::string>())) {
      foundation::log("Over capacity");
    }
  });
}

void WebViewWrapper::Coordinator::saveDataURLImage(const foundation::URL& url) {
  auto payload = decodedDataURL(url.absoluteString());
  if (!payload) return;
  auto panel = appkit::SavePanel::savePanel();
  panel->setNameFieldStringValue("image.png");
  std::weak_ptr<appkit::SavePanel> weakPanel = panel;
  panel->begin([weakPanel, bytes = std::move(payload->bytes)](appkit::ModalResponse response) {
    auto panel = weakPanel.lock();
    if (response != appkit::kModalResponseOK || !panel || !panel->url()) return;
    const auto& destination = *panel->url();
    if (!destination.isFileURL()) {
      foundation::log("Error saving the file: " + destination.absoluteString() + " is not a file address");
      return;
    }
    if (auto failure = writeFileAtomically(destination.path(), bytes)) {
      foundation::log("Error saving the file: " + *failure);
    }
  });
}

}  // namespace Quillo
