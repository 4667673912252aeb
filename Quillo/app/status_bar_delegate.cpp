#include "Quillo/app/status_bar_delegate.h"

#include <chrono>
#include <string>
#include <utility>

#include "KeyboardShortcuts/registry.h"
#include "Quillo/app/main_window_rules.h"
#include "Quillo/app/shortcut_names.h"
#include "Quillo/chat_model/settings_keys.h"
#include "Quillo/common/borderless_window.h"
#include "Quillo/config/config_manager.h"
#include "Quillo/config/update_notices.h"
#include "Quillo/global/spotlight_window_controller.h"
#include "Quillo/inline/native_gpt_engine.h"
#include "Quillo/popover/menu_container_view.h"
#include "Quillo/settings_panes/menu_bar_settings_pane.h"
#include "Quillo/sidebar/overlay_hosting_view.h"
#include "Quillo/sidebar/overlay_view.h"
#include "platform/accessibility/element_access.h"
#include "platform/appkit/image.h"
#include "platform/appkit/screen.h"
#include "platform/foundation/log.h"
#include "platform/foundation/run_loop.h"
#include "platform/foundation/timer.h"
#include "settings_store/change_stream.h"

namespace Quillo {
namespace {

// Main-thread state: the delegate is stored when launching finishes. Held weakly: the application owns
// its delegate, and a delegate that is gone (a test's) must not be found.
std::weak_ptr<StatusBarDelegate>& sharedDelegate() {
  static std::weak_ptr<StatusBarDelegate> delegate;
  return delegate;
}

constexpr foundation::Size kPopoverContentSize{400, 650};
constexpr const char* kSidebarWindowTitle = "Quillo Sidebar";

}  // namespace

StatusBarDelegate::StatusBarDelegate() : popover(appkit::Popover::make()), state(AppState::make()) {}

StatusBarDelegate::~StatusBarDelegate() = default;

std::shared_ptr<StatusBarDelegate> StatusBarDelegate::shared() { return sharedDelegate().lock(); }

const std::shared_ptr<appkit::StatusItem>& StatusBarDelegate::statusBarItem() {
  if (!statusBarItem_)
    statusBarItem_ = appkit::StatusBar::system().statusItem(appkit::StatusItem::variableLength);
  return statusBarItem_;
}

void StatusBarDelegate::applicationDidFinishLaunching(const foundation::Notification&) {
  sharedDelegate() = weak_from_this();
  popover->setContentSize(kPopoverContentSize);
  popover->setBehavior(appkit::Popover::Behavior::transient);
  popover->setAnimates(true);
  popover->setContentViewController(menuHostingController());
  setupStatusItem();
  registerHotKeys();
  startAccessibilityPolling();
  addObservers();
  createSidebarWindow();
}

bool StatusBarDelegate::applicationShouldHandleReopen(appkit::Application& application,
                                                      bool hasVisibleWindows) {
  if (!hasVisibleWindows) {
    foundation::log("has no visible windows");
    return true;
  }
  for (const auto& window : application.windows()) {
    if (window->title() == kMainWindowTitle) window->makeKeyAndOrderFront();
  }
  return true;
}

void StatusBarDelegate::applicationWillTerminate(const foundation::Notification&) {
  state->saveMainConversation();
}

bool StatusBarDelegate::performAction(std::string_view action) {
  if (action == kTogglePopoverAction) {
    togglePopover();
    return true;
  }
  if (action == kUpdateMenuNotification) {
    updateMenu();
    return true;
  }
  return false;
}

std::shared_ptr<ui::HostingController> StatusBarDelegate::menuHostingController() {
  auto config = ConfigManager::shared();
  auto updaterController = makeStandardUpdaterController();
  auto controller = ui::HostingController::make(
      ui::AnyView(MenuContainerView(std::move(config), std::move(updaterController)))
          .environmentObject(state));
  controller->setSizingOptions(ui::HostingController::SizingOptions::preferredContentSize);
  return controller;
}

void StatusBarDelegate::togglePopover() {
  const auto& button = statusBarItem()->button();
  if (!button) return;
  if (!popover->contentViewController()) popover->setContentViewController(menuHostingController());
  if (popover->isShown()) {
    popover->performClose();
    return;
  }
  popover->show(button->bounds(), *button, appkit::RectEdge::minY);
  if (auto window = popover->contentViewController()->view()->window()) {
    if (auto styled = std::dynamic_pointer_cast<appkit::StyledWindow>(window)) {
      styled->setLevel(appkit::StyledWindow::Level::floating - 1);
    }
  }
}

void StatusBarDelegate::updateMenu() { updateStatusItemIcon(); }

void StatusBarDelegate::updateStatusItemIcon() {
  auto image = appkit::Image::named(Defaults::get(Keys::menubarIconName()));
  if (!image) return;
  image->setTemplate(true);
  const appkit::SymbolConfiguration configuration{appkit::SymbolConfiguration::TextStyle::title2,
                                                  appkit::SymbolConfiguration::Scale::small};
  const auto& button = statusBarItem()->button();
  if (button) button->setImage(image->withSymbolConfiguration(configuration));
  if (button) button->setToolTip(std::string(kStatusItemToolTip));
}

void StatusBarDelegate::setupStatusItem() {
  updateStatusItemIcon();
  const auto& button = statusBarItem()->button();
  if (!button) return;
  button->setImagePosition(appkit::StatusBarButton::ImagePosition::imageLeading);
  button->setAction(kTogglePopoverAction);
}

void StatusBarDelegate::addObservers() {
  auto& center = foundation::NotificationCenter::defaultCenter();
  observers_.push_back(
      center.addObserver(appkit::Window::didBecomeMainNotification, nullptr, nullptr,
                         [](const foundation::Notification&) { foundation::log("window became main"); }));
  std::weak_ptr<StatusBarDelegate> weak = weak_from_this();
  observers_.push_back(
      center.addObserver(kUpdateMenuNotification, nullptr, nullptr, [weak](const foundation::Notification&) {
        if (auto self = weak.lock()) self->updateMenu();
      }));
  observers_.push_back(center.addObserver(appkit::StyledWindow::didChangeOcclusionStateNotification, nullptr,
                                          &foundation::RunLoop::main(), keepWindowOnScreen));
}

void keepWindowOnScreen(const foundation::Notification& notification) {
  std::shared_ptr<appkit::StyledWindow> window;
  for (const auto& candidate : appkit::Application::shared().windows()) {
    if (candidate.get() == notification.object) window = candidate;
  }
  if (!window) return;
  constexpr std::uint64_t kVisibleOnScreen =
      appkit::StyledWindow::OcclusionState::visible | appkit::StyledWindow::OcclusionState::tracked;
  if (window->occlusionState() != kVisibleOnScreen || !window->title().empty()) return;
  const auto screen = window->screen();
  if (!screen) return;
  // Measured against the screen's right edge, not its width: a screen whose origin is not 0 (one to the
  // right of the main screen) must not push its windows left onto another screen.
  const foundation::Rect frame = window->frame();
  const double excess = frame.maxX() - screen->frame().maxX();
  if (excess > 0) window->setFrameTopLeftPoint({frame.minX() - excess, frame.maxY()});
}

// The operations below belong with the hot keys, the Global window, the sidebar window and the Inline
// switch; start-up calls them in its fixed order.

void StatusBarDelegate::registerHotKeys() {
  // Each handler holds the delegate weakly and does nothing once it is gone.
  auto callIfDelegateAlive = [weak = weak_from_this()](void (StatusBarDelegate::*action)()) {
    return [weak, action] {
      if (auto self = weak.lock()) ((*self).*action)();
    };
  };
  KeyboardShortcuts::addKeyUpHandler(ShortcutNames::openChat,
                                     callIfDelegateAlive(&StatusBarDelegate::togglePopover));
  KeyboardShortcuts::addKeyUpHandler(ShortcutNames::showSpotlight,
                                     callIfDelegateAlive(&StatusBarDelegate::toggleSpotlightWindow));
  KeyboardShortcuts::addKeyUpHandler(ShortcutNames::showSidebar,
                                     callIfDelegateAlive(&StatusBarDelegate::showSidebarWindow));
}

void StatusBarDelegate::toggleSpotlightWindow() {
  if (spotlightWindowController) {
    closeSpotlightWindow();
    return;
  }
  openSpotlightWindow();
}

void StatusBarDelegate::openSpotlightWindow() {
  closeSpotlightWindow();
  spotlightWindowController = std::make_shared<SpotlightWindowController>();
  const auto& window = spotlightWindowController->window();
  if (!window) return;
  window->setDelegate(shared_from_this());
  window->center();
  // The panel does not activate the application: the application the person came from stays in front.
  window->makeKeyAndOrderFront();
}

void StatusBarDelegate::closeSpotlightWindow() {
  // Forgotten before closing: closing takes key status from the window, and the notice of that must
  // find no Global window left to close.
  auto controller = std::move(spotlightWindowController);
  spotlightWindowController = nullptr;
  if (controller) controller->close();
}

void StatusBarDelegate::windowDidResignKey(const foundation::Notification& notification) {
  if (!spotlightWindowController || !spotlightWindowController->window()) return;
  const appkit::Window* window = spotlightWindowController->window().get();
  if (notification.object != window) return;
  closeSpotlightWindow();
}

void StatusBarDelegate::showSidebarWindow() {
  foundation::NotificationCenter::defaultCenter().post(kToggleSidebarNotification);
  // Without a screen at start-up there is no sidebar window to bring forward.
  if (!sidebarWindow) return;
  // Both directions of the toggle leave the sidebar window key, so the page takes the typing at once.
  // Making it key is all there is to becoming the key window and first responder here.
  sidebarWindow->makeKeyAndOrderFront();
}

void StatusBarDelegate::createSidebarWindow() {
  OverlayView contentView;
  // The first screen holds the menu bar.
  const auto screens = appkit::Screen::screens();
  if (screens.empty()) {
    foundation::log("No screen: the sidebar window is not made");
    return;
  }
  const foundation::Size size = screens.front().frame().size;
  using Style = appkit::StyledWindow;
  auto window = std::make_shared<BorderlessWindow>(foundation::Rect{{0, 0}, size},
                                                   Style::StyleMask::fullSizeContentView,
                                                   Style::BackingStoreType::buffered, false);
  sidebarWindow = window;
  // Transparent everywhere but where the sidebar draws; there, and only there, it takes the clicks.
  window->setBackgroundColor(appkit::Color::clear());
  window->setHasShadow(false);
  // Views are drawn into the window's one surface here: there is no layer for the content view to want.
  window->setOpaque(false);
  window->setAlphaValue(1.0);
  window->setTitle(kSidebarWindowTitle);
  window->setLevel(Style::Level::screenSaver);
  window->setCollectionBehavior(Style::CollectionBehavior::canJoinAllSpaces |
                                Style::CollectionBehavior::stationary);
  window->setTitleVisibility(Style::TitleVisibility::hidden);
  window->setTitlebarAppearsTransparent(true);
  window->setStyleMask(Style::StyleMask::nonactivatingPanel);
  window->setMovableByWindowBackground(false);
  window->setContentView(OverlayHostingView::make(std::move(contentView)));
  window->makeKeyAndOrderFront();
}

void StatusBarDelegate::startAccessibilityPolling() {
  // The timer holds the delegate weakly (it lives as long as the application anyway) and ends with it.
  std::weak_ptr<StatusBarDelegate> weak = weak_from_this();
  foundation::Timer::scheduled(std::chrono::seconds(1), true, [weak](foundation::Timer& timer) {
    auto self = weak.lock();
    if (!self) {
      timer.invalidate();
      return;
    }
    if (!ax::isProcessTrusted()) return;
    timer.invalidate();
    self->accessibilityGranted();
  });
  observeInlineEnabled();
}

void StatusBarDelegate::accessibilityGranted() {
  state->isAccessibilityGranted.set(true);
  foundation::log("Accessibility permission granted!");
  if (Defaults::get(Keys::isNativeGPTEnabled())) NativeGPTEngine::shared()->start();
}

void StatusBarDelegate::observeInlineEnabled() {
  std::weak_ptr<StatusBarDelegate> weak = weak_from_this();
  // Values are waited for off the main thread and handled on it, so the engine starts and stops there.
  // The current value arrives on the main queue's next turn, before the permission timer's first tick.
  inlineEnabledObservation_ =
      Defaults::changeStream(Keys::isNativeGPTEnabled(), true).forEachOnMain([weak](bool isEnabled) {
        auto self = weak.lock();
        if (!self) return;
        foundation::log(std::string("Is Inline Enabled:  ") + (isEnabled ? "true" : "false"));
        if (!isEnabled) {
          NativeGPTEngine::shared()->stop();
        } else if (self->state->isAccessibilityGranted.get()) {
          NativeGPTEngine::shared()->start();
        }
      });
}

}  // namespace Quillo
