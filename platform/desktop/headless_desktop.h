// The world outside the application, scripted and deterministic, for tests: every desktop service, with
// screens, other running applications, the input event stream, synthetic input, permissions and opened
// URLs kept here and the other services in objects of their own. Tests install it (Desktop::Scope) and
// script it through this class; the platform layers reach it only as a Desktop.
#pragma once

#include <cstddef>
#include <functional>
#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/desktop/desktop.h"
#include "platform/desktop/headless_accessibility.h"
#include "platform/desktop/headless_alerts.h"
#include "platform/desktop/headless_file_panels.h"
#include "platform/desktop/headless_hot_keys.h"
#include "platform/desktop/headless_pasteboard.h"
#include "platform/desktop/headless_speech.h"
#include "platform/desktop/headless_status_bar.h"
#include "platform/desktop/headless_web.h"
#include "platform/desktop/headless_window_server.h"
#include "platform/desktop/input_event.h"
#include "platform/desktop/input_event_service.h"
#include "platform/desktop/observer_list.h"
#include "platform/desktop/permission_service.h"
#include "platform/desktop/running_application.h"
#include "platform/desktop/screen.h"
#include "platform/desktop/synthetic_input_service.h"
#include "platform/desktop/url_opener_service.h"
#include "platform/desktop/workspace_service.h"
#include "platform/foundation/url.h"

namespace desktop {

// Every member is safe to call from any thread: one mutex guards the state, readers get copies, and
// observers are called outside the lock on the calling thread.
class HeadlessDesktop final : public Desktop,
                              public WorkspaceService,
                              public InputEventService,
                              public SyntheticInputService,
                              public PermissionService,
                              public URLOpenerService {
 public:
  // A desktop with one 1440 x 900 screen at the origin, no other applications, no events, no permissions
  // granted and no opened URLs.
  HeadlessDesktop();
  ~HeadlessDesktop() override;

  // The services. Those kept in objects of their own are handed out as their headless classes, so a
  // test scripts them through the same accessors.
  WorkspaceService& workspace() override { return *this; }
  InputEventService& inputEvents() override { return *this; }
  SyntheticInputService& syntheticInput() override { return *this; }
  PermissionService& permissions() override { return *this; }
  URLOpenerService& urlOpener() override { return *this; }
  // The system's global hot-key service and the keyboard layout (thread-safe on its own).
  HeadlessHotKeys& hotKeys() override { return hotKeys_; }
  // Other applications' elements as accessibility sees them (thread-safe on its own).
  HeadlessAccessibility& accessibility() override { return accessibility_; }
  // Web pages of the program's web views, and the file panels it shows (thread-safe on its own).
  HeadlessWeb& web() override { return web_; }
  // The file panels, the same as web().filePanels().
  HeadlessFilePanels& filePanels() override { return web_.filePanels(); }
  // The alerts and beeps the application asked for, and the answers to coming alerts (thread-safe on
  // its own).
  HeadlessAlerts& alerts() override { return alerts_; }
  // Speech recognition, the microphone and the loudspeaker (thread-safe on its own).
  HeadlessSpeech& speech() override { return speech_; }
  // The general pasteboard (thread-safe on its own).
  HeadlessPasteboard& pasteboard() override { return pasteboard_; }

  // Screens: the first one is the main screen; there is one at first.
  std::vector<Screen> screens() const override;
  // The main screen, or a default one while the desktop has none.
  Screen mainScreen() const;
  // Replaces the screens; an empty list is ignored (the desktop keeps its screens).
  void setScreens(std::vector<Screen> screens);
  // The display reports no screen at all (every output gone), until setScreens gives it some again.
  void removeAllScreens();
  void addScreen(const Screen& screen);

  // Other applications. Adding an application whose process identifier is already known replaces it.
  void addApplication(const RunningApplication& application);
  // Adds an application with the next free process identifier (from 1000 upwards) and returns it.
  RunningApplication launchApplication(std::string bundleIdentifier, std::string localizedName);
  // Removes an application; it stops being frontmost. Returns whether it was there.
  bool removeApplication(int processIdentifier);
  std::vector<RunningApplication> applications() const override;
  std::optional<RunningApplication> application(int processIdentifier) const override;
  std::optional<RunningApplication> applicationWithBundleIdentifier(std::string_view bundleIdentifier) const;
  // The frontmost application, nothing when none is (or this program itself is frontmost).
  std::optional<RunningApplication> frontmostApplication() const override;
  // Makes a known application frontmost (returns false for an unknown one); nothing makes none frontmost.
  bool setFrontmostApplication(std::optional<int> processIdentifier);
  // The program brings an application to the front: the same as setFrontmostApplication.
  bool activateApplication(int processIdentifier) override;
  // Observers hear of every change of the frontmost application to another known one.
  std::size_t addActivationObserver(ActivationObserver observer) override;
  void removeActivationObserver(std::size_t token) override;

  // The input event stream, oldest first. Posting (by this program) and injecting (by a test) both append
  // and then tell the observers.
  void postEvent(InputEvent event);
  void injectEvent(InputEvent event);
  std::vector<InputEvent> events() const;
  void clearEvents();
  // Calls the observer for every later event; the returned token removes it.
  std::size_t addEventObserver(EventObserver observer) override;
  void removeEventObserver(std::size_t token) override;

  // A key event this program sends to a running process goes to that process's accessibility elements
  // (HeadlessAccessibility::deliverKeyEvent), not into the input event stream.
  bool postKeyboardEvent(int processIdentifier, const InputEvent& event) override;

  // Permissions by name (see desktop::permission); unknown ones are not granted.
  bool isPermissionGranted(std::string_view permission) const override;
  void setPermissionGranted(std::string_view permission, bool granted);
  // The program asks the system to prompt the user for a permission; the user's answer arrives later
  // through setPermissionGranted. The names asked for, oldest first.
  void requestPermission(std::string_view permission) override;
  std::vector<std::string> permissionRequests() const;

  // URLs this program asked the desktop to open, oldest first. Opening always succeeds headless.
  bool openURL(const foundation::URL& url) override;
  std::vector<foundation::URL> openedURLs() const;

  // The program's windows on screen (thread-safe on its own).
  HeadlessWindowServer& windowServer() override { return windowServer_; }

  // The status area of the menu bar on the main screen (thread-safe on its own).
  HeadlessStatusBar& statusBar() override { return statusBar_; }

  // The user presses the pointer at a global location: the event joins the input stream and the
  // program's windows hear whether it was on them.
  void click(foundation::Point location);

 private:
  void appendEvent(InputEvent event);

  mutable std::mutex mutex_;
  std::vector<Screen> screens_;
  std::vector<RunningApplication> applications_;
  std::optional<int> frontmostProcessIdentifier_;
  int nextProcessIdentifier_ = 1000;
  std::vector<InputEvent> events_;
  ObserverList<const InputEvent&> eventObservers_;
  ObserverList<const RunningApplication&> activationObservers_;
  std::map<std::string, bool, std::less<>> permissions_;
  std::vector<std::string> permissionRequests_;
  std::vector<foundation::URL> openedURLs_;
  HeadlessHotKeys hotKeys_;
  HeadlessAccessibility accessibility_;
  HeadlessAlerts alerts_;
  HeadlessSpeech speech_;
  HeadlessPasteboard pasteboard_;
  HeadlessWeb web_;
  HeadlessWindowServer windowServer_;
  HeadlessStatusBar statusBar_;
};

}  // namespace desktop
