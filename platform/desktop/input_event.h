// One event of the desktop's input stream: posted by this program or injected by a test.
#pragma once

#include <cstdint>
#include <string>

#include "platform/foundation/geometry.h"

namespace desktop {

struct InputEvent {
  // Who put the event into the stream.
  enum class Origin { postedByApplication, injected };

  // The kind of event ("keyDown", "keyUp", "flagsChanged", "mouseDown", ...); layers above define the kinds
  // they use.
  std::string type;
  // The virtual key code of a key event (the platform's numbers), 0 otherwise.
  std::uint16_t keyCode = 0;
  // The platform's modifier-flag bits.
  std::uint64_t modifierFlags = 0;
  // The text the event types (UTF-8), for key events.
  std::string characters;
  // The pointer location in global coordinates, for pointer events.
  foundation::Point location;
  Origin origin = Origin::injected;

  bool operator==(const InputEvent&) const = default;
};

}  // namespace desktop
