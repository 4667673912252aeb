#include "platform/appkit/event.h"

#include <array>
#include <utility>

#include "platform/foundation/utf16.h"  // unicodeScalars, utf8

namespace appkit {
namespace {

constexpr std::array<std::pair<EventType, std::string_view>, 16> kEventTypeNames{{
    {EventType::leftMouseDown, "leftMouseDown"},
    {EventType::leftMouseUp, "leftMouseUp"},
    {EventType::rightMouseDown, "rightMouseDown"},
    {EventType::rightMouseUp, "rightMouseUp"},
    {EventType::mouseMoved, "mouseMoved"},
    {EventType::leftMouseDragged, "leftMouseDragged"},
    {EventType::rightMouseDragged, "rightMouseDragged"},
    {EventType::mouseEntered, "mouseEntered"},
    {EventType::mouseExited, "mouseExited"},
    {EventType::keyDown, "keyDown"},
    {EventType::keyUp, "keyUp"},
    {EventType::flagsChanged, "flagsChanged"},
    {EventType::scrollWheel, "scrollWheel"},
    {EventType::otherMouseDown, "otherMouseDown"},
    {EventType::otherMouseUp, "otherMouseUp"},
    {EventType::otherMouseDragged, "otherMouseDragged"},
}};

}  // namespace

std::string_view eventTypeName(EventType type) {
  for (const auto& [candidate, name] : kEventTypeNames) {
    if (candidate == type) return name;
  }
  return {};
}

std::optional<EventType> eventTypeFromName(std::string_view name) {
  for (const auto& [type, candidate] : kEventTypeNames) {
    if (candidate == name) return type;
  }
  if (name == "mouseDown") return EventType::leftMouseDown;
  if (name == "mouseUp") return EventType::leftMouseUp;
  if (name == "mouseDragged") return EventType::leftMouseDragged;
  return std::nullopt;
}

std::optional<SpecialKey> SpecialKey::fromCharacter(char32_t character) {
  switch (character) {
    case 0x03:
    case 0x08:
    case 0x09:
    case 0x0A:
    case 0x0D:
    case 0x19:
    case 0x7F:
      return SpecialKey{character};
    default:
      break;
  }
  // The platform reserves U+F700 to U+F8FF for keys without a character of their own.
  if (character >= 0xF700 && character <= 0xF8FF) return SpecialKey{character};
  return std::nullopt;
}

std::string SpecialKey::characters() const { return foundation::utf8(rawValue); }

Event Event::keyEvent(EventType type, std::uint16_t keyCode, ModifierFlags modifierFlags,
                      std::string characters, std::optional<std::string> charactersIgnoringModifiers) {
  Event event;
  event.type_ = type;
  event.keyCode_ = keyCode;
  event.modifierFlags_ = modifierFlags;
  event.charactersIgnoringModifiers_ = charactersIgnoringModifiers.value_or(characters);
  event.characters_ = std::move(characters);
  return event;
}

Event Event::mouseEvent(EventType type, foundation::Point locationInWindow, ModifierFlags modifierFlags,
                        int windowNumber) {
  Event event;
  event.type_ = type;
  event.modifierFlags_ = modifierFlags;
  event.locationInWindow_ = locationInWindow;
  event.windowNumber_ = windowNumber;
  return event;
}

std::optional<Event> Event::fromInputEvent(const desktop::InputEvent& input) {
  const auto type = eventTypeFromName(input.type);
  if (!type) return std::nullopt;
  Event event;
  event.type_ = *type;
  event.modifierFlags_ = ModifierFlags{input.modifierFlags};
  if (event.isKeyEvent()) {
    event.keyCode_ = input.keyCode;
    event.characters_ = input.characters;
    event.charactersIgnoringModifiers_ = input.characters;
  } else {
    event.locationInWindow_ = input.location;
  }
  return event;
}

bool Event::isKeyEvent() const {
  return type_ == EventType::keyDown || type_ == EventType::keyUp || type_ == EventType::flagsChanged;
}

std::optional<SpecialKey> Event::specialKey() const {
  if (type_ != EventType::keyDown && type_ != EventType::keyUp) return std::nullopt;
  const auto scalars = foundation::unicodeScalars(charactersIgnoringModifiers_);
  if (scalars.size() != 1) return std::nullopt;
  return SpecialKey::fromCharacter(scalars.front());
}

}  // namespace appkit
