#include "platform/appkit/workspace.h"

#include <atomic>

#include "platform/desktop/desktop.h"
#include "platform/desktop/url_opener_service.h"
#include "platform/desktop/workspace_service.h"
#include "platform/foundation/run_loop.h"

namespace appkit {
namespace {

// The process whose activation was announced last, so that the desktop's report of an activation this
// program announced itself is not announced twice. Written and read on the main thread only.
std::atomic<int> lastAnnouncedProcess{0};

void announceActivation(const RunningApplication& application) {
  lastAnnouncedProcess = application.processIdentifier();
  Workspace::shared().notificationCenter().post(Workspace::didActivateApplicationNotification, nullptr,
                                                {{Workspace::applicationUserInfoKey, application}});
}

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
  announceActivation(fromDesktop(*current));
  return true;
}

Workspace::ActivationAnnouncer::ActivationAnnouncer(desktop::WorkspaceService& workspace)
    : workspace_(workspace),
      token_(workspace.addActivationObserver([](const desktop::RunningApplication& activated) {
        foundation::RunLoop::main().async([application = fromDesktop(activated)] {
          if (lastAnnouncedProcess != application.processIdentifier()) announceActivation(application);
        });
      })) {}

Workspace::ActivationAnnouncer::~ActivationAnnouncer() { workspace_.removeActivationObserver(token_); }

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
