// The application delegate: it owns the status item in the menu bar and its popover, the app-wide state,
// the Global window's controller while one is open and the sidebar window, and does the application's own
// start-up work once launching has finished.
#pragma once

#include <memory>
#include <string_view>
#include <vector>

#include "Quillo/app/app_state.h"
#include "platform/appkit/application.h"
#include "platform/appkit/popover.h"
#include "platform/appkit/status_bar.h"
#include "platform/appkit/styled_window.h"
#include "platform/appkit/window.h"
#include "platform/appkit/window_controller.h"
#include "platform/concurrency/cancellable.h"
#include "platform/foundation/notification_center.h"
#include "platform/ui/hosting_controller.h"

namespace Quillo {

// The action message of the status item's button.
inline constexpr const char* kTogglePopoverAction = "togglePopover";
// The tooltip of the status item once its icon is shown.
inline constexpr const char* kStatusItemToolTip = "Open Quillo";

// Made once by the application entry, which installs it as the application's delegate; it lives as long
// as the application. Main thread only.
class StatusBarDelegate final : public appkit::ApplicationDelegate,
                                public appkit::WindowDelegate,
                                public std::enable_shared_from_this<StatusBarDelegate> {
 public:
  StatusBarDelegate();
  ~StatusBarDelegate() override;

  // The running application's delegate: set when launching finishes, never cleared while it lives.
  static std::shared_ptr<StatusBarDelegate> shared();

  // Start-up, in this order: remembers itself as shared(); sizes the popover to 400 x 650, transient and
  // animated, with menuHostingController() as content; sets up the status item; registers the hot keys;
  // starts the accessibility poll; adds the notification observers; creates the sidebar window.
  void applicationDidFinishLaunching(const foundation::Notification&) override;
  // Without a visible window prints "has no visible windows"; with one, brings every window titled
  // "Quillo" to the front. Returns true either way, so the application's own reopen handling runs too.
  bool applicationShouldHandleReopen(appkit::Application& application, bool hasVisibleWindows) override;
  // The conversation is stored now: a change made less than half a second before quitting is kept.
  void applicationWillTerminate(const foundation::Notification&) override;
  // Answers "togglePopover" and "updateMenu".
  bool performAction(std::string_view action) override;

  // Shows the popover below the status item's button, or closes it when it is shown. A popover that lost
  // its content gets a new one first. Once shown, its window's level is one below the floating level.
  void togglePopover();
  // The "updateMenu" notification: reloads the status item's icon.
  void updateMenu();
  // The popover's content, built anew at each call: MenuContainerView with the state, the shared
  // ConfigManager and an updater controller of its own (started), asking for its content's size.
  std::shared_ptr<ui::HostingController> menuHostingController();
  // Loads the image named by `menubarIconName`; when there is one, shows it as a template image at the
  // title-2 text style, small scale, with the tooltip "Open Quillo". A missing image changes nothing.
  void updateStatusItemIcon();
  // The icon, the image on the leading side, and "togglePopover" as the button's action (no target).
  void setupStatusItem();
  // "window became main" for every window that becomes main; "updateMenu"; and keepWindowOnScreen for
  // every change of a window's occlusion state, on the main queue. They live as long as the delegate.
  void addObservers();

  // The hot keys, the Global window, the sidebar window and the Inline switch.
  void registerHotKeys();
  void toggleSpotlightWindow();
  void openSpotlightWindow();
  // Closes the Global window, if one is open, and forgets its controller (the window's own close action,
  // Escape, comes here through shared()).
  void closeSpotlightWindow();
  void windowDidResignKey(const foundation::Notification& notification) override;
  void showSidebarWindow();
  void createSidebarWindow();
  void startAccessibilityPolling();
  void accessibilityGranted();

  // The status item, made on first use with variable length.
  const std::shared_ptr<appkit::StatusItem>& statusBarItem();

  std::shared_ptr<appkit::Popover> popover;
  std::shared_ptr<appkit::WindowController> spotlightWindowController;
  std::shared_ptr<AppState> state;
  std::shared_ptr<appkit::StyledWindow> sidebarWindow;

 private:
  std::shared_ptr<appkit::StatusItem> statusBarItem_;
  std::vector<foundation::ObserverToken> observers_;

  // The Inline switch: each value of `isNativeGPTEnabled`, the current one first, starts the Inline engine
  // (once the permission is marked) or stops it. The watch lasts as long as the delegate.
  void observeInlineEnabled();
  concurrency::AnyCancellable inlineEnabledObservation_;
};

// For one occlusion change: an untitled window (the popover's) that has just become visible on a screen
// and reaches past that screen's right edge is moved left by the excess, keeping its top edge. Windows
// with a title, in another occlusion state or on no screen are left alone; so is a notification whose
// object is not one of the application's windows.
void keepWindowOnScreen(const foundation::Notification& notification);

}  // namespace Quillo
