#include "platform/appkit/application.h"

#include <algorithm>
#include <utility>

#include "platform/appkit/styled_window.h"
#include "platform/foundation/run_loop.h"

namespace appkit {

Application& Application::shared() {
  static Application* application = new Application();  // never destroyed: windows may outlive exit
  return *application;
}

void Application::finishLaunching() {
  foundation::assertMainThread();
  if (isLaunched_) return;
  isLaunched_ = true;
  const foundation::Notification notification{didFinishLaunchingNotification, this, {}};
  foundation::NotificationCenter::defaultCenter().post(notification);
  // The delegate may replace itself while launching; the one asked stays alive for the call.
  if (auto delegate = delegate_) delegate->applicationDidFinishLaunching(notification);
}

void Application::run() {
  finishLaunching();
  if (isTerminating_) return;
  foundation::RunLoop::main().run();
}

void Application::terminate() {
  foundation::assertMainThread();
  if (isTerminating_) return;
  isTerminating_ = true;
  const foundation::Notification notification{willTerminateNotification, this, {}};
  foundation::NotificationCenter::defaultCenter().post(notification);
  if (auto delegate = delegate_) delegate->applicationWillTerminate(notification);
  foundation::RunLoop::main().stop();
}

std::vector<std::shared_ptr<StyledWindow>> Application::windows() const { return windows_; }

void Application::windowDidShow(const std::shared_ptr<StyledWindow>& window) {
  if (!window || std::find(windows_.begin(), windows_.end(), window) != windows_.end()) return;
  windows_.push_back(window);
}

void Application::windowDidClose(const StyledWindow& window) {
  // Released after the list is consistent again: the window's destructor may reach back here.
  std::vector<std::shared_ptr<StyledWindow>> closed;
  for (auto it = windows_.begin(); it != windows_.end();) {
    if (it->get() == &window) {
      closed.push_back(std::move(*it));
      it = windows_.erase(it);
    } else {
      ++it;
    }
  }
}

void Application::activate(bool) { isActive_ = true; }

void Application::deactivate() { isActive_ = false; }

void Application::reopen() {
  const bool hasVisibleWindows = std::any_of(windows_.begin(), windows_.end(), [](const auto& window) {
    return window->isVisible() && !window->letsClicksThrough();
  });
  bool shouldHandle = true;
  if (auto delegate = delegate_)
    shouldHandle = delegate->applicationShouldHandleReopen(*this, hasVisibleWindows);
  if (shouldHandle && reopenHandler_) reopenHandler_(hasVisibleWindows);
}

bool Application::sendAction(std::string_view action) {
  if (auto found = actionHandlers_.find(action); found != actionHandlers_.end()) {
    auto handler = found->second;  // a copy: the handler may replace itself
    handler();
    return true;
  }
  if (auto delegate = delegate_) return delegate->performAction(action);
  return false;
}

void Application::setActionHandler(std::string action, ActionHandler handler) {
  if (handler) {
    actionHandlers_.insert_or_assign(std::move(action), std::move(handler));
  } else {
    actionHandlers_.erase(action);
  }
}

void Application::resetForTesting() {
  auto windows = std::move(windows_);
  windows_.clear();
  auto delegate = std::move(delegate_);
  delegate_.reset();
  auto handlers = std::move(actionHandlers_);
  actionHandlers_.clear();
  auto reopenHandler = std::move(reopenHandler_);
  reopenHandler_ = nullptr;
  activationPolicy_ = ActivationPolicy::regular;
  isActive_ = false;
  isLaunched_ = false;
  isTerminating_ = false;
  // What was held goes last, with the application already fresh.
}

}  // namespace appkit
