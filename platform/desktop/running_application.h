// Another application running on the desktop, as the desktop describes it.
#pragma once

#include <string>

namespace desktop {

struct RunningApplication {
  int processIdentifier = 0;
  std::string bundleIdentifier;
  std::string localizedName;

  bool operator==(const RunningApplication&) const = default;
};

}  // namespace desktop
