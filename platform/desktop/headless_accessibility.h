// Other applications' user-interface elements as accessibility sees them, scripted by tests: each process
// has an application element and elements of its own, one of which may be focused; a focused text element
// receives the keyboard events posted to its process.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "platform/desktop/input_event.h"
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

// One element of another application.
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
  // Further readable attributes, and every value this program wrote to the element.
  std::map<std::string, AccessibleValue, std::less<>> otherAttributes;
  // Attributes whose reads and writes fail, with the accessibility error code each gives.
  std::map<std::string, int, std::less<>> failingAttributes;
  // When set, every call on the element fails with this error code.
  std::optional<int> failureOfEveryCall;
  // The element's text layout, for the bounds of a text range: fixed-height lines of fixed-width UTF-16
  // code units, the first line at `position`.
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

// One accessibility call this program made, for tests that check what was asked.
struct AccessibilityCall {
  enum class Kind { read, readParameterized, readActionNames, readAttributeNames, write };
  int processIdentifier = 0;
  int elementId = 0;
  Kind kind = Kind::read;
  std::string attribute;
  bool operator==(const AccessibilityCall&) const = default;
};

// Thread-safe: one mutex guards every member's state; readers get copies.
class HeadlessAccessibility {
 public:
  // The identifier of every process's application element.
  static constexpr int kApplicationElementId = 0;

  // A process's application element: role "AXApplication" unless a test replaced it.
  AccessibleElement applicationElement(int processIdentifier) const;
  void setApplicationElement(int processIdentifier, AccessibleElement element);

  // Adds an element to a process and returns its identifier (from 1 upwards, per process).
  int addElement(int processIdentifier, AccessibleElement element);
  // Adds an element and makes it the process's focused element; returns its identifier.
  int addFocusedElement(int processIdentifier, AccessibleElement element);
  // Makes a known element (or none) the focused one; false for an unknown element.
  bool setFocusedElement(int processIdentifier, std::optional<int> elementId);
  std::optional<int> focusedElementId(int processIdentifier) const;
  // The element (the application element for kApplicationElementId), or nothing for an unknown one.
  std::optional<AccessibleElement> element(int processIdentifier, int elementId) const;
  // Changes a known element in place; false for an unknown one.
  bool updateElement(int processIdentifier, int elementId,
                     const std::function<void(AccessibleElement&)>& change);

  // Calls made by this program, oldest first.
  void recordCall(AccessibilityCall call);
  std::vector<AccessibilityCall> calls() const;
  void clearCalls();

  // A keyboard event posted to a process. On key down the focused text element replaces its selection with
  // the event's characters, or with a line break for Return (key code 36) when the event carries none, and
  // puts the caret after the insertion. Every event is kept, in order.
  void deliverKeyEvent(int processIdentifier, InputEvent event);
  std::vector<InputEvent> receivedKeyEvents(int processIdentifier) const;

 private:
  struct Process {
    std::optional<AccessibleElement> applicationElement;
    std::map<int, AccessibleElement> elements;
    int nextElementId = 1;
    std::optional<int> focusedElementId;
    std::vector<InputEvent> receivedKeyEvents;
  };
  AccessibleElement* findElement(Process& process, int elementId);

  mutable std::mutex mutex_;
  std::map<int, Process> processes_;
  std::vector<AccessibilityCall> calls_;
};

}  // namespace desktop
