#include "Quillo/inline/ax_enabler_service.h"

#include <algorithm>
#include <array>
#include <string_view>
#include <utility>

#include "Quillo/inline/accessibility_access.h"
#include "platform/accessibility/attributes.h"
#include "platform/accessibility/element_access.h"
#include "platform/foundation/clock.h"
#include "platform/foundation/log.h"
#include "platform/foundation/run_loop.h"

namespace Quillo {
namespace {

constexpr std::array<std::string_view, 4> kChromeFamily = {"com.google.Chrome", "com.google.Chrome.canary",
                                                           "com.google.Chrome.beta", "com.google.Chrome.dev"};

constexpr std::array<std::string_view, 10> kOtherChromiumApps = {
    "com.microsoft.VSCode",        "com.microsoft.VSCodeInsiders", "com.brave.Browser",
    "com.brave.Browser.beta",      "com.brave.Browser.nightly",    "company.thebrowser.Browser",
    "com.microsoft.edgemac",       "com.microsoft.edgemac.Beta",   "com.microsoft.edgemac.Dev",
    "com.microsoft.edgemac.Canary"};

constexpr std::array<std::string_view, 9> kElectronFamily = {"notion.id",
                                                             "md.obsidian",
                                                             "com.tinyspeck.slackmacgap",
                                                             "com.hnc.Discord",
                                                             "com.1password.1password",
                                                             "org.whispersystems.signal-desktop",
                                                             "org.whispersystems.signal-desktop-beta",
                                                             "com.microsoft.teams",
                                                             "desktop.WhatsApp"};

constexpr int kMaxAttempts = 10;
constexpr double kRetryDelaySeconds = 0.5;

template <std::size_t N>
bool isListed(const appkit::RunningApplication& application, const std::array<std::string_view, N>& family) {
  const auto& identifier = application.bundleIdentifier();
  return identifier && std::find(family.begin(), family.end(), *identifier) != family.end();
}

// Whether the application's element answers a read of its role with a string.
bool answersRoleRead(const appkit::RunningApplication& application) {
  const auto role =
      copyStringAttribute(ax::Element::application(application.processIdentifier()), ax::attribute::role);
  return role.succeeded() && role.value.has_value();
}

}  // namespace

void AXEnablerService::activate() {
  if (isActive_) return;
  isActive_ = true;
  if (const auto frontmost = appkit::Workspace::shared().frontmostApplication()) {
    enableAccessibilityWithRetry(*frontmost);
  }
  // The block needs nothing of this object, so it stays safe should a delivery already be queued when the
  // service goes away.
  activationObserver_ = appkit::Workspace::shared().notificationCenter().addObserver(
      appkit::Workspace::didActivateApplicationNotification, nullptr, &foundation::RunLoop::main(),
      [](const foundation::Notification& notification) {
        const auto application =
            notification.userInfoValue<appkit::RunningApplication>(appkit::Workspace::applicationUserInfoKey);
        if (application) enableAccessibilityWithRetry(*application);
      });
}

void AXEnablerService::enableAccessibilityWithRetry(const appkit::RunningApplication& application) {
  if (enableAccessibility(application)) return;
  foundation::RunLoop::main().asyncAfter(foundation::durationFromSeconds(kRetryDelaySeconds), [application] {
    retry(kMaxAttempts, kRetryDelaySeconds, 1, [application] { return enableAccessibility(application); });
  });
}

void AXEnablerService::retry(int maxAttempts, double delaySeconds, int attempt,
                             std::function<bool()> action) {
  if (action()) return;
  if (attempt + 1 >= maxAttempts) return;
  foundation::RunLoop::main().asyncAfter(
      foundation::durationFromSeconds(delaySeconds),
      [maxAttempts, delaySeconds, attempt, action = std::move(action)]() mutable {
        retry(maxAttempts, delaySeconds, attempt + 1, std::move(action));
      });
}

bool AXEnablerService::enableAccessibility(const appkit::RunningApplication& application) {
  bool succeeded;
  if (isChromiumApp(application)) {
    succeeded = answersRoleRead(application);
  } else if (isElectronApp(application)) {
    succeeded = setManualAccessibility(application);
  } else {
    return true;
  }
  foundation::log(std::string("AXEnablerService: ") + (succeeded ? "enabled" : "failed to enable") +
                  " AX on " + application.bundleIdentifier().value_or("<nil>"));
  return succeeded;
}

bool AXEnablerService::setManualAccessibility(const appkit::RunningApplication& application) {
  // Whether the write was accepted says nothing: the role read after it is the test.
  ax::setAttributeValue(ax::Element::application(application.processIdentifier()),
                        ax::attribute::manualAccessibility, packAXValue(true));
  return answersRoleRead(application);
}

bool AXEnablerService::isChromeApp(const appkit::RunningApplication& application) {
  return isListed(application, kChromeFamily);
}

bool AXEnablerService::isChromiumApp(const appkit::RunningApplication& application) {
  return isChromeApp(application) || isListed(application, kOtherChromiumApps);
}

bool AXEnablerService::isElectronApp(const appkit::RunningApplication& application) {
  return isListed(application, kElectronFamily);
}

}  // namespace Quillo
