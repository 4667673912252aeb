// One element of another application's user interface as accessibility describes it: role, text,
// selection, geometry, actions and further attributes, and how reading them fails.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <variant>
#include <vector>

#include "platform/foundation/geometry.h"

namespace desktop {

// A range of text in UTF-16 code units, as accessibility reports it. Signed, because the platform marks a
// missing position with −1.
struct AccessibleRange {
  std::int64_t location = 0;
  std::int64_t length = 0;
  bool operator==(const AccessibleRange&) const = default;
};

// A plain attribute value that is neither text nor geometry: a boolean, a number or a string.
using AccessibleValue = std::variant<bool, double, std::string>;

// One element of another application as accessibility describes it at one moment: the answer to a call.
struct AccessibleElement {
  std::string role;  // "AXTextArea", "AXButton", "AXApplication", ...
  std::optional<std::string> subrole;
  std::optional<std::string> title;
  // The element's text (UTF-8).
  std::optional<std::string> value;
  std::optional<AccessibleRange> selectedTextRange;
  // Top-left corner in accessibility coordinates (origin at the top left of the first screen, y down).
  std::optional<foundation::Point> position;
  std::optional<foundation::Size> size;
  std::vector<std::string> actionNames;
  // Further readable attributes (on the headless desktop also every value this program wrote).
  std::map<std::string, AccessibleValue, std::less<>> otherAttributes;
  // Attributes whose reads and writes fail, with the accessibility error code each gives.
  std::map<std::string, int, std::less<>> failingAttributes;
  // When set, every call on the element fails with this error code.
  std::optional<int> failureOfEveryCall;
  // The text layout of a desktop that lays text out itself (the headless one), for the bounds of a text
  // range: fixed-height lines of fixed-width UTF-16 code units, the first line at `position`.
  double lineHeight = 20;
  double characterWidth = 8;

  // A text element of the given role with its text and selection.
  static AccessibleElement text(std::string role, std::string text, AccessibleRange selection,
                                foundation::Point position = {100, 100}, foundation::Size size = {400, 200});

  // Whether the element edits text (a text area, a text field or a combo box).
  bool isText() const;
  // The screen bounds, in accessibility coordinates, of a text range under the layout above: from the
  // range's start to its end when both are on one line, else the whole width of the element from the
  // start's line to the end's line. Nothing when the range does not lie within the text.
  std::optional<foundation::Rect> boundsForRange(AccessibleRange range) const;
};

}  // namespace desktop
