// The application object: its delegate, the list of its windows, its activation policy, the run of its
// main loop from launch to termination, and action messages sent without a target.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/appkit/styled_window.h"
#include "platform/foundation/notification_center.h"

namespace appkit {

class Application;

// How the application appears on the desktop, with the platform's raw values: a regular application
// with a Dock icon and a menu bar, an accessory without either, or one that may not show itself.
enum class ActivationPolicy : std::int64_t { regular = 0, accessory = 1, prohibited = 2 };

// The application's delegate: the place where the program's own start-up and shut-down work lives, and
// the end of the chain that action messages without a target travel. Main thread only.
class ApplicationDelegate {
 public:
  virtual ~ApplicationDelegate() = default;

  // Launching has finished: the main loop is about to run. Called once.
  virtual void applicationDidFinishLaunching(const foundation::Notification&) {}
  // The user asked to reopen the running application (a click on its Dock icon). Returning true lets the
  // application's own reopen handling run as well.
  virtual bool applicationShouldHandleReopen(Application&, bool /*hasVisibleWindows*/) { return true; }
  // The application is about to end; work still waiting must be done now.
  virtual void applicationWillTerminate(const foundation::Notification&) {}
  // Performs an action message that reached the delegate and returns true, or returns false when the
  // delegate does not answer to `action`.
  virtual bool performAction(std::string_view /*action*/) { return false; }
};

// The one application of the program. Main thread only.
class Application {
 public:
  // Posted on the default notification centre with the application as object.
  static constexpr const char* didFinishLaunchingNotification = "NSApplicationDidFinishLaunchingNotification";
  static constexpr const char* willTerminateNotification = "NSApplicationWillTerminateNotification";

  using ActionHandler = std::function<void()>;

  static Application& shared();
  Application(const Application&) = delete;
  Application& operator=(const Application&) = delete;

  // The application keeps its delegate alive until another one is set.
  const std::shared_ptr<ApplicationDelegate>& delegate() const { return delegate_; }
  void setDelegate(std::shared_ptr<ApplicationDelegate> delegate) { delegate_ = std::move(delegate); }

  // Finishes launching: posts didFinishLaunchingNotification and tells the delegate, once; later calls do
  // nothing.
  void finishLaunching();
  bool isLaunched() const { return isLaunched_; }
  // Finishes launching and runs the main loop until terminate(); returns then.
  void run();
  // Ends the application: posts willTerminateNotification, lets the delegate finish its work, closes
  // nothing, and stops the main loop (run() returns after the current item). Later calls do nothing.
  void terminate();
  bool isTerminating() const { return isTerminating_; }

  // The windows shown so far and not closed, in the order they were first shown.
  std::vector<std::shared_ptr<StyledWindow>> windows() const;
  // Called by windows: a shown window joins the list (once), a closed one leaves it.
  void windowDidShow(const std::shared_ptr<StyledWindow>& window);
  void windowDidClose(const StyledWindow& window);

  ActivationPolicy activationPolicy() const { return activationPolicy_; }
  void setActivationPolicy(ActivationPolicy policy) { activationPolicy_ = policy; }
  // Makes this application the active one (its windows in front of other applications').
  void activate(bool ignoringOtherApps = true);
  void deactivate();
  bool isActive() const { return isActive_; }

  // The user asks to reopen the running application: the delegate is asked with whether any window is
  // visible; when it agrees, the reopen handler runs with the same answer. A transparent overlay that
  // lets clicks through (a screen-sized window showing only a few buttons) is not a window the person
  // could bring back, so it does not count as visible.
  void reopen();
  void setReopenHandler(std::function<void(bool hasVisibleWindows)> handler) {
    reopenHandler_ = std::move(handler);
  }

  // Sends an action message without a target: the application's own handler for it runs when there is
  // one, otherwise the delegate is asked. Returns whether someone performed it.
  bool sendAction(std::string_view action);
  // The application's own handler for an action message (an empty handler removes it).
  void setActionHandler(std::string action, ActionHandler handler);

  // Forgets the windows, the delegate, the handlers and the launch, and restores the regular, inactive
  // application (a fresh application for each test).
  void resetForTesting();

 private:
  Application() = default;

  std::shared_ptr<ApplicationDelegate> delegate_;
  std::vector<std::shared_ptr<StyledWindow>> windows_;
  ActivationPolicy activationPolicy_ = ActivationPolicy::regular;
  bool isActive_ = false;
  bool isLaunched_ = false;
  bool isTerminating_ = false;
  std::function<void(bool)> reopenHandler_;
  std::map<std::string, ActionHandler, std::less<>> actionHandlers_;
};

}  // namespace appkit
