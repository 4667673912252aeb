#include "platform/webkit/web_view.h"

#include <atomic>
#include <exception>
#include <utility>
#include <vector>

#include "platform/appkit/styled_window.h"
#include "platform/desktop/desktop.h"
#include "platform/foundation/log.h"
#include "platform/foundation/run_loop.h"

namespace webkit {
namespace {

// The policy and file-choice answers must reach the page exactly once; a delegate that answers twice is
// a programming error that the page must survive, so later answers are dropped with a diagnostic.
template <class F>
auto once(F answer, const char* what) {
  auto used = std::make_shared<std::atomic<bool>>(false);
  return [answer = std::move(answer), used, what](auto&&... args) {
    if (used->exchange(true)) {
      foundation::log(std::string("WebView: ") + what +
                      " answered more than once; the later answer is dropped");
      return;
    }
    answer(std::forward<decltype(args)>(args)...);
  };
}

// Delegate callbacks come from the page's events; an exception thrown by one must not unwind into the
// engine that raised the event.
template <class F>
void guarded(const char* what, F&& call) {
  try {
    call();
  } catch (const std::exception& error) {
    foundation::log(std::string("WebView: ") + what + " failed: " + error.what());
  } catch (...) {
    foundation::log(std::string("WebView: ") + what + " failed");
  }
}

}  // namespace

std::shared_ptr<WebView> WebView::make(foundation::Rect frame,
                                       std::shared_ptr<WebViewConfiguration> configuration) {
  auto view = std::make_shared<WebView>(Token{}, frame, std::move(configuration));
  view->connectPage();
  return view;
}

WebView::WebView(Token, foundation::Rect frame, std::shared_ptr<WebViewConfiguration> configuration)
    : appkit::View(frame),
      configuration_(configuration ? std::move(configuration) : std::make_shared<WebViewConfiguration>()) {}

WebView::~WebView() {
  if (page_) page_->setClient({});
}

void WebView::connectPage() {
  auto* desktop = desktop::Desktop::current();
  if (!desktop) return;
  page_ = desktop->web().openPage();
  if (!page_) return;
  std::weak_ptr<WebView> weakSelf = std::static_pointer_cast<WebView>(shared_from_this());
  desktop::WebPageClient client;
  client.didCommitNavigation = [weakSelf] {
    auto self = weakSelf.lock();
    if (!self) return;
    if (auto delegate = self->navigationDelegate()) {
      guarded("didCommitNavigation",
              [&] { delegate->didCommitNavigation(*self, self->currentNavigation_.get()); });
    }
  };
  client.didFinishNavigation = [weakSelf] {
    auto self = weakSelf.lock();
    if (!self) return;
    if (auto delegate = self->navigationDelegate()) {
      guarded("didFinishNavigation",
              [&] { delegate->didFinishNavigation(*self, self->currentNavigation_.get()); });
    }
  };
  client.didFailNavigation = [weakSelf](int code, const std::string& description) {
    auto self = weakSelf.lock();
    if (!self) return;
    if (auto delegate = self->navigationDelegate()) {
      const WebError error{"NSURLErrorDomain", code, description};
      guarded("didFailNavigation",
              [&] { delegate->didFailNavigation(*self, self->currentNavigation_.get(), error); });
    }
  };
  client.didReceiveScriptMessage = [weakSelf](const std::string& name, const std::string& bodyJSON) {
    auto self = weakSelf.lock();
    if (!self) return false;
    // A body that is not JSON cannot come from a script; it is taken as undefined (null).
    ScriptMessage message(name, foundation::parseJsonIfValid(bodyJSON).value_or(foundation::Json()));
    bool delivered = false;
    auto controller = self->configuration_->userContentController;
    guarded("script message handler", [&] { delivered = controller->deliver(message); });
    return delivered;
  };
  client.decidePolicyForNavigation = [weakSelf](const std::string& url, std::function<void(bool)> decide) {
    auto self = weakSelf.lock();
    auto delegate = self ? self->navigationDelegate() : nullptr;
    if (!delegate) {
      decide(true);
      return;
    }
    NavigationAction action{foundation::URL::parse(url)};
    auto handler =
        once([decide](NavigationActionPolicy policy) { decide(policy == NavigationActionPolicy::allow); },
             "navigation policy");
    guarded("decidePolicyForNavigationAction",
            [&] { delegate->decidePolicyForNavigationAction(*self, action, handler); });
  };
  client.runOpenPanel = [weakSelf](bool allowsMultipleSelection,
                                   std::function<void(std::optional<std::vector<std::string>>)> choose) {
    auto self = weakSelf.lock();
    auto delegate = self ? self->uiDelegate() : nullptr;
    if (!delegate) {
      choose(std::nullopt);
      return;
    }
    auto handler = once(
        [choose](std::optional<std::vector<foundation::URL>> urls) {
          if (!urls) return choose(std::nullopt);
          std::vector<std::string> texts;
          for (const auto& url : *urls) texts.push_back(url.absoluteString());
          choose(std::move(texts));
        },
        "file choice");
    OpenPanelParameters parameters;
    parameters.allowsMultipleSelection = allowsMultipleSelection;
    guarded("runOpenPanel", [&] { delegate->runOpenPanel(*self, parameters, FrameInfo{}, handler); });
  };
  client.didBecomeDownload = [weakSelf](const std::string& url) {
    auto self = weakSelf.lock();
    if (!self) return;
    auto parsed = foundation::URL::parse(url);
    auto delegate = self->navigationDelegate();
    if (!parsed || !delegate) return;
    guarded("navigationResponseDidBecomeDownload",
            [&] { delegate->navigationResponseDidBecomeDownload(*self, NavigationResponse{*parsed}); });
  };
  page_->setClient(std::move(client));
  windowVisibilityObserver_ = foundation::NotificationCenter::defaultCenter().addObserver(
      appkit::StyledWindow::didChangeOcclusionStateNotification, nullptr, nullptr,
      [weakSelf](const foundation::Notification&) {
        if (auto self = weakSelf.lock()) self->setNeedsPlacement();
      });
}

void WebView::setFrame(foundation::Rect frame) {
  appkit::View::setFrame(frame);
  setNeedsPlacement();
}

void WebView::setNeedsPlacement() {
  if (!page_ || isPlacementQueued_) return;
  isPlacementQueued_ = true;
  std::weak_ptr<WebView> weakSelf = std::static_pointer_cast<WebView>(shared_from_this());
  foundation::RunLoop::main().async([weakSelf] {
    auto self = weakSelf.lock();
    if (!self) return;
    self->isPlacementQueued_ = false;
    self->updatePlacement();
  });
}

std::optional<desktop::PagePlacement> WebView::placement() const {
  auto window = std::dynamic_pointer_cast<appkit::StyledWindow>(this->window());
  if (!window || !window->isVisible() || window->windowNumber() == 0) return std::nullopt;
  if (isHiddenOrHasHiddenAncestor() || frame().size.width <= 0 || frame().size.height <= 0)
    return std::nullopt;
  return desktop::PagePlacement{window->windowNumber(), convertRectToView(bounds(), nullptr)};
}

void WebView::updatePlacement() {
  if (!page_) return;
  auto now = placement();
  if (now == toldPlacement_) return;
  toldPlacement_ = now;
  page_->setPlacement(std::move(now));
}

void WebView::setCustomUserAgent(std::optional<std::string> userAgent) {
  customUserAgent_ = std::move(userAgent);
  if (page_) page_->setCustomUserAgent(customUserAgent_);
}

std::shared_ptr<Navigation> WebView::load(const foundation::URLRequest& request) {
  url_ = request.url;
  currentNavigation_ = std::make_shared<Navigation>(nextNavigationIdentifier_++);
  if (page_) {
    page_->setScriptMessageHandlerNames(configuration_->userContentController->scriptMessageHandlerNames());
    std::vector<desktop::InjectedScript> scripts;
    for (const auto& script : configuration_->userContentController->userScripts()) {
      scripts.push_back({script.source(), script.injectionTime() == UserScriptInjectionTime::atDocumentEnd,
                         script.isForMainFrameOnly()});
    }
    page_->load({request.url.absoluteString(), foundation::secondsOf(request.timeoutInterval)},
                std::move(scripts));
  }
  return currentNavigation_;
}

void WebView::evaluateJavaScript(
    const std::string& script,
    std::function<void(const std::optional<foundation::Json>&, const std::optional<WebError>&)>
        completionHandler) {
  // The outcome reaches the handler through the main queue, never within this call.
  auto finish = [completionHandler = std::move(completionHandler)](std::optional<foundation::Json> result,
                                                                   std::optional<WebError> error) {
    if (!completionHandler) return;
    foundation::RunLoop::main().async([completionHandler, result = std::move(result),
                                       error = std::move(error)] { completionHandler(result, error); });
  };
  if (!page_) {
    finish(std::nullopt, WebError{"WKErrorDomain", 1, "No web content to evaluate the script in"});
    return;
  }
  page_->evaluateScript(script, [finish](desktop::ScriptEvaluation evaluation) {
    std::optional<foundation::Json> result;
    if (evaluation.resultJSON) result = foundation::parseJsonIfValid(*evaluation.resultJSON);
    std::optional<WebError> error;
    if (!result) {
      error = WebError{"WKErrorDomain", 4,
                       evaluation.errorDescription.value_or("A JavaScript exception occurred")};
    }
    finish(std::move(result), std::move(error));
  });
}

}  // namespace webkit
