// One input event as the desktop describes it: a key or pointer event, made by the person (or a test
// playing them), another application, or this program.
#pragma once

#include <cstdint>
#include <string>
#include <utility>

#include "platform/foundation/geometry.h"

namespace desktop {

struct InputEvent {
  // Who made the event: this program, or anyone outside it (the person, another application, a test).
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

  // A key event ("keyDown", "keyUp", "flagsChanged").
  static InputEvent key(std::string type, std::uint16_t keyCode, std::uint64_t modifierFlags = 0,
                        std::string characters = {}) {
    InputEvent event;
    event.type = std::move(type);
    event.keyCode = keyCode;
    event.modifierFlags = modifierFlags;
    event.characters = std::move(characters);
    return event;
  }
  // A pointer event ("mouseDown", "mouseUp", "mouseMoved", ...) at a global location.
  static InputEvent pointer(std::string type, foundation::Point location, std::uint64_t modifierFlags = 0) {
    InputEvent event;
    event.type = std::move(type);
    event.location = location;
    event.modifierFlags = modifierFlags;
    return event;
  }

  bool operator==(const InputEvent&) const = default;
};

}  // namespace desktop
