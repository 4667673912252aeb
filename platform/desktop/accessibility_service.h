// Other applications' user-interface elements as accessibility reaches them: reading an element, its
// focus and the bounds of its text, and writing its text, selection and attributes.
#pragma once

#include <optional>
#include <string>

#include "platform/desktop/accessible_element.h"
#include "platform/foundation/geometry.h"

namespace desktop {

// One call this program makes on an element: the element, what kind of request it is and the attribute it
// names ("" when it names none). Process 0 stands for the system-wide element.
struct AccessibilityCall {
  enum class Kind { read, readParameterized, readActionNames, readAttributeNames, write };
  int processIdentifier = 0;
  int elementId = 0;
  Kind kind = Kind::read;
  std::string attribute;
  bool operator==(const AccessibilityCall&) const = default;
};

// Elements are named by their process and a number within it; number 0 is the process's application
// element.
class AccessibilityService {
 public:
  static constexpr int kApplicationElementId = 0;

  virtual ~AccessibilityService() = default;

  // Makes a call on an element and answers it with the element as it is now; nothing, and no call made,
  // when the element is gone. Each call of this program on an element goes through here exactly once:
  // an application sees the calls it receives (some switch their own accessibility on when called), and a
  // desktop may fetch only what the call names.
  virtual std::optional<AccessibleElement> reach(const AccessibilityCall& call) = 0;

  // The element as it is now, for a check that belongs to a call made through reach(); nothing when it
  // is gone.
  virtual std::optional<AccessibleElement> element(int processIdentifier, int elementId) const = 0;
  // The element that has the keyboard focus within a process, if any.
  virtual std::optional<int> focusedElementId(int processIdentifier) const = 0;
  // The screen bounds, in accessibility coordinates (origin at the top left of the first screen, y down),
  // of a range of the element's text; nothing when the range does not lie within the text or the element
  // is gone.
  virtual std::optional<foundation::Rect> boundsForRange(int processIdentifier, int elementId,
                                                         AccessibleRange range) const = 0;

  // Writes replace the element's text, its selection, or another attribute; false when the element is
  // gone.
  virtual bool setValue(int processIdentifier, int elementId, const std::string& text) = 0;
  virtual bool setSelectedTextRange(int processIdentifier, int elementId, AccessibleRange range) = 0;
  virtual bool setAttribute(int processIdentifier, int elementId, const std::string& name,
                            const AccessibleValue& value) = 0;
};

}  // namespace desktop
