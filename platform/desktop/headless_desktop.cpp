#include "platform/desktop/headless_desktop.h"

#include <algorithm>

namespace desktop {

HeadlessDesktop::HeadlessDesktop() : screens_{Screen(foundation::Rect(0, 0, 1440, 900))} {
  statusBar_.setScreenFrame(screens_.front().frame);
}

HeadlessDesktop::~HeadlessDesktop() { withdraw(); }

std::vector<Screen> HeadlessDesktop::screens() const {
  std::lock_guard lock(mutex_);
  return screens_;
}

Screen HeadlessDesktop::mainScreen() const {
  std::lock_guard lock(mutex_);
  return screens_.empty() ? Screen{} : screens_.front();
}

void HeadlessDesktop::removeAllScreens() {
  std::lock_guard lock(mutex_);
  screens_.clear();
}

void HeadlessDesktop::setScreens(std::vector<Screen> screens) {
  if (screens.empty()) return;
  statusBar_.setScreenFrame(screens.front().frame);
  std::lock_guard lock(mutex_);
  screens_ = std::move(screens);
}

void HeadlessDesktop::addScreen(const Screen& screen) {
  std::lock_guard lock(mutex_);
  screens_.push_back(screen);
}

void HeadlessDesktop::addApplication(const RunningApplication& application) {
  std::lock_guard lock(mutex_);
  const auto found = std::find_if(
      applications_.begin(), applications_.end(),
      [&](const RunningApplication& a) { return a.processIdentifier == application.processIdentifier; });
  if (found != applications_.end()) {
    *found = application;
  } else {
    applications_.push_back(application);
  }
  nextProcessIdentifier_ = std::max(nextProcessIdentifier_, application.processIdentifier + 1);
}

RunningApplication HeadlessDesktop::launchApplication(std::string bundleIdentifier,
                                                      std::string localizedName) {
  std::lock_guard lock(mutex_);
  RunningApplication application{nextProcessIdentifier_++, std::move(bundleIdentifier),
                                 std::move(localizedName)};
  applications_.push_back(application);
  return application;
}

bool HeadlessDesktop::removeApplication(int processIdentifier) {
  std::lock_guard lock(mutex_);
  const auto removed = std::erase_if(
      applications_, [&](const RunningApplication& a) { return a.processIdentifier == processIdentifier; });
  if (frontmostProcessIdentifier_ == processIdentifier) frontmostProcessIdentifier_.reset();
  return removed > 0;
}

std::vector<RunningApplication> HeadlessDesktop::applications() const {
  std::lock_guard lock(mutex_);
  return applications_;
}

std::optional<RunningApplication> HeadlessDesktop::application(int processIdentifier) const {
  std::lock_guard lock(mutex_);
  for (const auto& a : applications_) {
    if (a.processIdentifier == processIdentifier) return a;
  }
  return std::nullopt;
}

std::optional<RunningApplication> HeadlessDesktop::applicationWithBundleIdentifier(
    std::string_view bundleIdentifier) const {
  std::lock_guard lock(mutex_);
  for (const auto& a : applications_) {
    if (a.bundleIdentifier == bundleIdentifier) return a;
  }
  return std::nullopt;
}

std::optional<RunningApplication> HeadlessDesktop::frontmostApplication() const {
  std::optional<int> pid;
  {
    std::lock_guard lock(mutex_);
    pid = frontmostProcessIdentifier_;
  }
  if (!pid) return std::nullopt;
  return application(*pid);
}

bool HeadlessDesktop::setFrontmostApplication(std::optional<int> processIdentifier) {
  std::optional<RunningApplication> activated;
  {
    std::lock_guard lock(mutex_);
    if (!processIdentifier) {
      frontmostProcessIdentifier_.reset();
      return true;
    }
    const auto found =
        std::find_if(applications_.begin(), applications_.end(),
                     [&](const RunningApplication& a) { return a.processIdentifier == *processIdentifier; });
    if (found == applications_.end()) return false;
    if (frontmostProcessIdentifier_ != processIdentifier) activated = *found;
    frontmostProcessIdentifier_ = processIdentifier;
  }
  if (activated) activationObservers_.notify(*activated);
  return true;
}

bool HeadlessDesktop::activateApplication(int processIdentifier) {
  return setFrontmostApplication(processIdentifier);
}

std::size_t HeadlessDesktop::addActivationObserver(ActivationObserver observer) {
  return activationObservers_.add(std::move(observer));
}

void HeadlessDesktop::removeActivationObserver(std::size_t token) { activationObservers_.remove(token); }

void HeadlessDesktop::postEvent(InputEvent event) {
  event.origin = InputEvent::Origin::postedByApplication;
  appendEvent(std::move(event));
}

void HeadlessDesktop::injectEvent(InputEvent event) {
  event.origin = InputEvent::Origin::injected;
  appendEvent(std::move(event));
}

void HeadlessDesktop::appendEvent(InputEvent event) {
  {
    std::lock_guard lock(mutex_);
    events_.push_back(event);
  }
  // Outside the lock, so an observer may post further events or add and remove observers.
  eventObservers_.notify(event);
}

std::vector<InputEvent> HeadlessDesktop::events() const {
  std::lock_guard lock(mutex_);
  return events_;
}

void HeadlessDesktop::clearEvents() {
  std::lock_guard lock(mutex_);
  events_.clear();
}

std::size_t HeadlessDesktop::addEventObserver(EventObserver observer) {
  return eventObservers_.add(std::move(observer));
}

void HeadlessDesktop::removeEventObserver(std::size_t token) { eventObservers_.remove(token); }

bool HeadlessDesktop::postKeyboardEvent(int processIdentifier, const InputEvent& event) {
  if (!application(processIdentifier)) return false;
  InputEvent delivered = event;
  delivered.origin = InputEvent::Origin::postedByApplication;
  accessibility_.deliverKeyEvent(processIdentifier, std::move(delivered));
  return true;
}

bool HeadlessDesktop::isPermissionGranted(std::string_view permission) const {
  std::lock_guard lock(mutex_);
  const auto found = permissions_.find(permission);
  return found != permissions_.end() && found->second;
}

void HeadlessDesktop::setPermissionGranted(std::string_view permission, bool granted) {
  std::lock_guard lock(mutex_);
  permissions_.insert_or_assign(std::string(permission), granted);
}

void HeadlessDesktop::requestPermission(std::string_view permission) {
  std::lock_guard lock(mutex_);
  permissionRequests_.emplace_back(permission);
}

std::vector<std::string> HeadlessDesktop::permissionRequests() const {
  std::lock_guard lock(mutex_);
  return permissionRequests_;
}

bool HeadlessDesktop::openURL(const foundation::URL& url) {
  std::lock_guard lock(mutex_);
  openedURLs_.push_back(url);
  return true;
}

std::vector<foundation::URL> HeadlessDesktop::openedURLs() const {
  std::lock_guard lock(mutex_);
  return openedURLs_;
}

void HeadlessDesktop::click(foundation::Point location) {
  injectEvent(InputEvent::pointer("leftMouseDown", location));
  windowServer_.click(location);
  injectEvent(InputEvent::pointer("leftMouseUp", location));
}

}  // namespace desktop
