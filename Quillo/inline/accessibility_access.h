// Typed reads of accessibility attributes, the bounds of a text range, boxing and unboxing of geometry
// values, and the conversion of accessibility rectangles to window-system coordinates. Every call is
// synchronous on the caller's thread, never retries and never prints.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "platform/accessibility/element.h"
#include "platform/accessibility/error.h"
#include "platform/accessibility/object.h"
#include "platform/accessibility/value.h"
#include "platform/foundation/geometry.h"

namespace Quillo {

// A single-attribute read: an accessibility error, or success with a value that is none when the
// attribute holds a value of another type.
template <class T>
struct AttributeRead {
  ax::Error error = ax::Error::success;
  std::optional<T> value;

  bool succeeded() const { return error == ax::Error::success; }
  bool operator==(const AttributeRead&) const = default;
};

AttributeRead<std::string> copyStringAttribute(const ax::Element& element, std::string_view attribute);
AttributeRead<ax::Range> copyRangeAttribute(const ax::Element& element, std::string_view attribute);
AttributeRead<ax::Element> copyElementAttribute(const ax::Element& element, std::string_view attribute);

// The screen bounds, in accessibility coordinates, of a text range of the element; none on an error or
// when the answer is not a rectangle.
std::optional<foundation::Rect> copyBoundsForRange(const ax::Element& element, ax::Range range);

// A value as the rest of the program uses it: an element, a point, a size, a rectangle, a range or an
// error taken out of their boxes; any other object as it came.
using AXPlainValue = std::variant<ax::Object, ax::Element, foundation::Point, foundation::Size,
                                  foundation::Rect, ax::Range, ax::Error>;

AXPlainValue unpackAXValue(const ax::Object& object);

// Values that can be handed to the accessibility API: geometry is boxed, a boolean or a string passed
// as the matching object.
using AXPackableValue =
    std::variant<ax::Range, foundation::Point, foundation::Rect, foundation::Size, bool, std::string>;

ax::Object packAXValue(const AXPackableValue& value);
// A string literal would otherwise be packed as a boolean.
ax::Object packAXValue(const char* text) = delete;

// The values of several attributes in one call, one per name in the same order, each unpacked; an
// attribute that cannot be read gives an ax::Error in its slot. None when the call itself fails.
std::optional<std::vector<AXPlainValue>> copyMultipleAttributeValues(
    const ax::Element& element, const std::vector<std::string>& attributes);

// The element's action names; none on an error or when any entry is not a string.
std::optional<std::vector<std::string>> copyActionNames(const ax::Element& element);

// A rectangle in accessibility coordinates (origin at the top left of the first screen, y down) in the
// window system's coordinates (origin at the bottom left of the first screen, y up). None when no screen
// is attached, since there is then nothing to measure against.
std::optional<foundation::Rect> flipToScreenCoordinates(foundation::Rect rect);

}  // namespace Quillo
