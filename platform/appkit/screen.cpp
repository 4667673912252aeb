#include "platform/appkit/screen.h"

#include "platform/desktop/headless_desktop.h"

namespace appkit {

std::vector<Screen> Screen::screens() {
  std::vector<Screen> result;
  if (desktop::HeadlessDesktop* desktop = desktop::HeadlessDesktop::current()) {
    for (const auto& screen : desktop->screens()) {
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
