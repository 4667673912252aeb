// Switches on the accessibility support of Chromium-based and Electron applications whenever they become
// active, so that their focused text fields can be read, retrying for a few seconds until they answer.
#pragma once

#include <functional>

#include "platform/appkit/workspace.h"
#include "platform/foundation/notification_center.h"

namespace Quillo {

// Used on the main thread only: the activation observer is delivered on the main queue and the retries
// are scheduled there, on the current clock.
class AXEnablerService {
 public:
  AXEnablerService() = default;
  AXEnablerService(const AXEnablerService&) = delete;
  AXEnablerService& operator=(const AXEnablerService&) = delete;

  // True from the first activate() on.
  bool isActive() const { return isActive_; }

  // First call only: enables the frontmost application, then every application that becomes active while
  // this service lives.
  void activate();

  // Tries at once; when that fails, up to nine more times, 0.5 seconds apart.
  static void enableAccessibilityWithRetry(const appkit::RunningApplication& application);
  // Runs the action; when it fails and attempt + 1 < maxAttempts, runs attempt + 1 after the delay.
  static void retry(int maxAttempts, double delaySeconds, int attempt, std::function<bool()> action);

  // Pokes the application in the way its family needs and prints whether it answered. Applications of
  // neither family succeed at once, without any accessibility call.
  static bool enableAccessibility(const appkit::RunningApplication& application);
  // Sets "AXManualAccessibility" on the application, then reads its role; true when the role came back.
  static bool setManualAccessibility(const appkit::RunningApplication& application);

  // Family membership by exact bundle identifier; an application without one belongs to none.
  static bool isChromeApp(const appkit::RunningApplication& application);
  static bool isChromiumApp(const appkit::RunningApplication& application);
  static bool isElectronApp(const appkit::RunningApplication& application);

 private:
  bool isActive_ = false;
  foundation::ObserverToken activationObserver_;
};

}  // namespace Quillo
