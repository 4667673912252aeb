// The shared workspace: the applications running on the desktop, the frontmost one, and the notification
// centre on which the workspace announces application activations.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "platform/foundation/notification_center.h"
#include "platform/foundation/url.h"

namespace desktop {
class WorkspaceService;
}

namespace appkit {

// A running application as the workspace describes it. A plain value: it names the process, it does not
// keep it alive.
class RunningApplication {
 public:
  RunningApplication(int processIdentifier, std::optional<std::string> bundleIdentifier,
                     std::optional<std::string> localizedName)
      : processIdentifier_(processIdentifier),
        bundleIdentifier_(std::move(bundleIdentifier)),
        localizedName_(std::move(localizedName)) {}

  int processIdentifier() const { return processIdentifier_; }
  // Nothing for an application without a bundle (a bare executable).
  const std::optional<std::string>& bundleIdentifier() const { return bundleIdentifier_; }
  const std::optional<std::string>& localizedName() const { return localizedName_; }

  // Makes the application frontmost and, when it was not frontmost already, announces its activation on
  // the workspace's notification centre. False when the application is no longer running.
  bool activate() const;

  bool operator==(const RunningApplication&) const = default;

 private:
  int processIdentifier_;
  std::optional<std::string> bundleIdentifier_;
  std::optional<std::string> localizedName_;
};

class Workspace {
 public:
  // Posted on the workspace's notification centre when an application becomes active; its user info holds
  // the application (a RunningApplication) under applicationUserInfoKey.
  static constexpr const char* didActivateApplicationNotification =
      "NSWorkspaceDidActivateApplicationNotification";
  static constexpr const char* applicationUserInfoKey = "NSWorkspaceApplicationKey";

  static Workspace& shared();

  // While alive, announces on the notification centre, from the main queue, every activation of another
  // application that the desktop reports (the person bringing another window forward), except one that
  // this program's own activate() announced already. A live desktop reports activations; whoever installs
  // one keeps an announcer for the desktop's life (the headless desktop's tests make one where they need
  // it).
  class ActivationAnnouncer {
   public:
    explicit ActivationAnnouncer(desktop::WorkspaceService& workspace);
    ~ActivationAnnouncer();
    ActivationAnnouncer(const ActivationAnnouncer&) = delete;
    ActivationAnnouncer& operator=(const ActivationAnnouncer&) = delete;

   private:
    desktop::WorkspaceService& workspace_;
    std::size_t token_;
  };

  // The workspace's own notification centre (not the default centre).
  foundation::NotificationCenter& notificationCenter() { return notificationCenter_; }

  std::vector<RunningApplication> runningApplications() const;
  // Nothing when no other application is frontmost.
  std::optional<RunningApplication> frontmostApplication() const;
  std::optional<RunningApplication> runningApplication(int processIdentifier) const;

  // Opens a URL in the application the user chose for it (a web page in the browser, "mailto:" in the
  // mail program). False when the desktop could not open it.
  bool open(const foundation::URL& url);

 private:
  Workspace() = default;
  foundation::NotificationCenter notificationCenter_;
};

}  // namespace appkit
