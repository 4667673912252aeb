#include "platform/appkit/screen.h"

#include "platform/desktop/desktop.h"
#include "platform/desktop/workspace_service.h"

namespace appkit {

std::vector<Screen> Screen::screens() {
  std::vector<Screen> result;
  if (desktop::Desktop* desktop = desktop::Desktop::current()) {
    for (const auto& screen : desktop->workspace().screens()) {
      result.emplace_back(screen.frame, screen.visibleFrame, screen.backingScaleFactor);
    }
  }
  return result;
}

std::optional<Screen> Screen::mainScreen() {
  auto all = screens();
  if (all.empty()) return std::nullopt;
  return all.front();
}

}  // namespace appkit
