// Choosing the desktop this program runs on when it starts: the kinds of desktop it was built with are
// tried in the order given, and the first that can serve the session is the one to install.
#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/desktop/desktop.h"

namespace desktop {

// Reads one variable of the process's environment; nothing when it is unset.
using EnvironmentReader = std::function<std::optional<std::string>(std::string_view name)>;

// The process's own environment.
EnvironmentReader processEnvironment();

// One kind of desktop this program was built with.
struct DesktopKind {
  // The name a person knows it by ("X11").
  std::string name;
  // Opens the desktop of this session. Throws (foundation::TextError) saying why when this kind cannot
  // serve it: no display is named, or the named one does not answer.
  std::function<std::unique_ptr<Desktop>(const EnvironmentReader& environment)> open;
};

struct DesktopChoice {
  // The desktop to install; null when no kind could serve the session.
  std::unique_ptr<Desktop> desktop;
  // The name of the kind chosen; empty when none was.
  std::string name;
  // One line for each kind that was tried and could not serve, in order: "X11: DISPLAY is not set".
  std::vector<std::string> refusals;
};

// Opens the first kind that can serve the session. Kinds after it are not tried.
DesktopChoice chooseDesktop(const std::vector<DesktopKind>& kinds, const EnvironmentReader& environment);

}  // namespace desktop
