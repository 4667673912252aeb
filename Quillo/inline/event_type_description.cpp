#include "Quillo/inline/event_type_description.h"

#include <fmt/format.h>

namespace Quillo {

std::string eventTypeDescription(appkit::EventType type) {
  switch (type) {
    case appkit::EventType::leftMouseDown:
      return "leftMouseDown";
    case appkit::EventType::rightMouseDown:
      return "rightMouseDown";
    case appkit::EventType::keyDown:
      return "keyDown";
    default:
      return fmt::format("rawValue={}", appkit::rawValue(type));
  }
}

}  // namespace Quillo
