// Other applications' user-interface elements as accessibility sees them, scripted by tests: each process
// has an application element and elements of its own, one of which may be focused; a focused text element
// receives the keyboard events posted to its process.
#pragma once

#include <functional>
#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "platform/desktop/accessibility_service.h"
#include "platform/desktop/accessible_element.h"
#include "platform/desktop/input_event.h"
#include "platform/foundation/geometry.h"

namespace desktop {

// Thread-safe: one mutex guards every member's state; readers get copies.
class HeadlessAccessibility final : public AccessibilityService {
 public:
  // A process's application element: role "AXApplication" unless a test replaced it.
  AccessibleElement applicationElement(int processIdentifier) const;
  void setApplicationElement(int processIdentifier, AccessibleElement element);

  // Adds an element to a process and returns its identifier (from 1 upwards, per process).
  int addElement(int processIdentifier, AccessibleElement element);
  // Adds an element and makes it the process's focused element; returns its identifier.
  int addFocusedElement(int processIdentifier, AccessibleElement element);
  // Makes a known element (or none) the focused one; false for an unknown element.
  bool setFocusedElement(int processIdentifier, std::optional<int> elementId);
  std::optional<int> focusedElementId(int processIdentifier) const override;
  // The element (the application element for kApplicationElementId), or nothing for an unknown one.
  std::optional<AccessibleElement> element(int processIdentifier, int elementId) const override;
  // Changes a known element in place; false for an unknown one.
  bool updateElement(int processIdentifier, int elementId,
                     const std::function<void(AccessibleElement&)>& change);

  // The program's side: a call that finds its element is kept in the log below. A call on the
  // system-wide element (process 0) is always answered, with an element of role "AXSystemWide".
  std::optional<AccessibleElement> reach(const AccessibilityCall& call) override;
  // Under the element's own text layout (AccessibleElement::boundsForRange).
  std::optional<foundation::Rect> boundsForRange(int processIdentifier, int elementId,
                                                 AccessibleRange range) const override;
  // A written attribute other than the text and the selection is kept among the element's other
  // attributes.
  bool setValue(int processIdentifier, int elementId, const std::string& text) override;
  bool setSelectedTextRange(int processIdentifier, int elementId, AccessibleRange range) override;
  bool setAttribute(int processIdentifier, int elementId, const std::string& name,
                    const AccessibleValue& value) override;

  // Calls made by this program, oldest first.
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
