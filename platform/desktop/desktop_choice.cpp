#include "platform/desktop/desktop_choice.h"

#include <cstdlib>
#include <exception>
#include <utility>

namespace desktop {

EnvironmentReader processEnvironment() {
  return [](std::string_view name) -> std::optional<std::string> {
    const char* value = std::getenv(std::string(name).c_str());
    if (value == nullptr) return std::nullopt;
    return std::string(value);
  };
}

DesktopChoice chooseDesktop(const std::vector<DesktopKind>& kinds, const EnvironmentReader& environment) {
  DesktopChoice choice;
  for (const auto& kind : kinds) {
    std::string refusal;
    try {
      if (!kind.open) {
        refusal = "it cannot be opened";
      } else if (auto desktop = kind.open(environment)) {
        choice.desktop = std::move(desktop);
        choice.name = kind.name;
        return choice;
      } else {
        refusal = "it did not open";
      }
    } catch (const std::exception& error) {
      refusal = error.what();
    } catch (...) {
      refusal = "it failed to open";
    }
    choice.refusals.push_back(kind.name + ": " + refusal);
  }
  return choice;
}

}  // namespace desktop
