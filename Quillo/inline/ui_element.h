// A snapshot of one accessibility element of another application: its role, subrole and frame, and what
// the Inline assistant learns about it later (its text, actions and the bounds of the trigger line).
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/accessibility/element.h"
#include "platform/accessibility/value.h"
#include "platform/foundation/geometry.h"

namespace Quillo {

// Used on the main thread only; every field may be changed after construction.
class UIElement {
 public:
  UIElement(std::string id, std::optional<ax::Element> ref, std::string role,
            std::optional<std::string> subrole, foundation::Point position, foundation::Size size,
            std::optional<std::string> title, std::optional<std::string> value,
            std::optional<std::string> description, std::optional<std::string> help,
            std::optional<std::string> roleDescription, std::optional<std::string> placeholderValue,
            std::optional<bool> enabled, std::optional<std::vector<std::string>> actions,
            std::optional<std::vector<std::string>> attributes);

  // Reads role, position, size and subrole of the element in one call. Null when the call fails or the
  // role is not a string, the position not a point or the size not a size; a subrole that is not a string
  // is none. The snapshot gets a fresh identifier and keeps the element.
  static std::shared_ptr<UIElement> fromElement(const ax::Element& element);

  // One line: id, role, subrole, frame, title, description, value, attributes and actions.
  std::string debugDescription() const;

  std::string id;
  std::optional<ax::Element> ref;
  std::string role;
  std::optional<std::string> subrole;
  // Top-left corner in accessibility coordinates.
  foundation::Point position;
  foundation::Size size;
  std::optional<std::string> title;
  std::optional<std::string> value;
  std::optional<std::string> description;
  std::optional<std::string> help;
  std::optional<std::string> roleDescription;
  std::optional<std::string> placeholderValue;
  std::optional<bool> enabled;
  std::optional<std::vector<std::string>> actions;
  std::optional<std::vector<std::string>> attributes;
  std::optional<std::vector<std::string>> parameterizedAttributes;
  std::optional<ax::Range> selectedTextRange;
  std::optional<std::string> selectedText;
  // The bounds, in accessibility coordinates, of the line that held the trigger word, when it was the
  // line before the caret's.
  std::optional<foundation::Rect> selectedTextBounds;
};

}  // namespace Quillo
