#include "platform/appkit/workspace.h"

#include "platform/desktop/desktop.h"
#include "platform/desktop/url_opener_service.h"
#include "platform/desktop/workspace_service.h"

namespace appkit {
namespace {

RunningApplication fromDesktop(const desktop::RunningApplication& application) {
  auto textOrNothing = [](const std::string& text) -> std::optional<std::string> {
    if (text.empty()) return std::nullopt;
    return text;
  };
  return RunningApplication(application.processIdentifier, textOrNothing(application.bundleIdentifier),
                            textOrNothing(application.localizedName));
}

}  // namespace

bool RunningApplication::activate() const {
  desktop::Desktop* desktop = desktop::Desktop::current();
  if (desktop == nullptr) return false;
  auto& workspace = desktop->workspace();
  const auto current = workspace.application(processIdentifier_);
  if (!current) return false;
  const auto frontmost = workspace.frontmostApplication();
  if (!workspace.activateApplication(processIdentifier_)) return false;
  if (frontmost && frontmost->processIdentifier == processIdentifier_) return true;
  Workspace::shared().notificationCenter().post(Workspace::didActivateApplicationNotification, nullptr,
                                                {{Workspace::applicationUserInfoKey, fromDesktop(*current)}});
  return true;
}

Workspace& Workspace::shared() {
  static Workspace* const workspace = new Workspace();  // never destroyed: observers may outlive main
  return *workspace;
}

std::vector<RunningApplication> Workspace::runningApplications() const {
  std::vector<RunningApplication> result;
  if (desktop::Desktop* desktop = desktop::Desktop::current()) {
    for (const auto& application : desktop->workspace().applications()) {
      result.push_back(fromDesktop(application));
    }
  }
  return result;
}

std::optional<RunningApplication> Workspace::frontmostApplication() const {
  desktop::Desktop* desktop = desktop::Desktop::current();
  if (desktop == nullptr) return std::nullopt;
  const auto application = desktop->workspace().frontmostApplication();
  if (!application) return std::nullopt;
  return fromDesktop(*application);
}

std::optional<RunningApplication> Workspace::runningApplication(int processIdentifier) const {
  desktop::Desktop* desktop = desktop::Desktop::current();
  if (desktop == nullptr) return std::nullopt;
  const auto application = desktop->workspace().application(processIdentifier);
  if (!application) return std::nullopt;
  return fromDesktop(*application);
}

bool Workspace::open(const foundation::URL& url) {
  desktop::Desktop* desktop = desktop::Desktop::current();
  return desktop != nullptr && desktop->urlOpener().openURL(url);
}

}  // namespace appkit
