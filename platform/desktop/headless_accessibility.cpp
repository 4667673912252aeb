#include "platform/desktop/headless_accessibility.h"

#include <utility>

#include "platform/foundation/utf16.h"

namespace desktop {
namespace {

constexpr std::uint16_t kReturnKeyCode = 36;

}  // namespace

AccessibleElement HeadlessAccessibility::applicationElement(int processIdentifier) const {
  std::lock_guard lock(mutex_);
  const auto found = processes_.find(processIdentifier);
  if (found != processes_.end() && found->second.applicationElement) return *found->second.applicationElement;
  AccessibleElement element;
  element.role = "AXApplication";
  return element;
}

void HeadlessAccessibility::setApplicationElement(int processIdentifier, AccessibleElement element) {
  std::lock_guard lock(mutex_);
  processes_[processIdentifier].applicationElement = std::move(element);
}

int HeadlessAccessibility::addElement(int processIdentifier, AccessibleElement element) {
  std::lock_guard lock(mutex_);
  Process& process = processes_[processIdentifier];
  const int id = process.nextElementId++;
  process.elements.emplace(id, std::move(element));
  return id;
}

int HeadlessAccessibility::addFocusedElement(int processIdentifier, AccessibleElement element) {
  std::lock_guard lock(mutex_);
  Process& process = processes_[processIdentifier];
  const int id = process.nextElementId++;
  process.elements.emplace(id, std::move(element));
  process.focusedElementId = id;
  return id;
}

bool HeadlessAccessibility::setFocusedElement(int processIdentifier, std::optional<int> elementId) {
  std::lock_guard lock(mutex_);
  Process& process = processes_[processIdentifier];
  if (elementId && !process.elements.contains(*elementId)) return false;
  process.focusedElementId = elementId;
  return true;
}

std::optional<int> HeadlessAccessibility::focusedElementId(int processIdentifier) const {
  std::lock_guard lock(mutex_);
  const auto found = processes_.find(processIdentifier);
  if (found == processes_.end()) return std::nullopt;
  return found->second.focusedElementId;
}

AccessibleElement* HeadlessAccessibility::findElement(Process& process, int elementId) {
  if (elementId == kApplicationElementId) {
    if (!process.applicationElement) {
      process.applicationElement = AccessibleElement{};
      process.applicationElement->role = "AXApplication";
    }
    return &*process.applicationElement;
  }
  const auto found = process.elements.find(elementId);
  return found == process.elements.end() ? nullptr : &found->second;
}

std::optional<AccessibleElement> HeadlessAccessibility::element(int processIdentifier, int elementId) const {
  if (elementId == kApplicationElementId) return applicationElement(processIdentifier);
  std::lock_guard lock(mutex_);
  const auto process = processes_.find(processIdentifier);
  if (process == processes_.end()) return std::nullopt;
  const auto found = process->second.elements.find(elementId);
  if (found == process->second.elements.end()) return std::nullopt;
  return found->second;
}

bool HeadlessAccessibility::updateElement(int processIdentifier, int elementId,
                                          const std::function<void(AccessibleElement&)>& change) {
  std::lock_guard lock(mutex_);
  AccessibleElement* element = findElement(processes_[processIdentifier], elementId);
  if (element == nullptr) return false;
  change(*element);
  return true;
}

std::optional<AccessibleElement> HeadlessAccessibility::reach(const AccessibilityCall& call) {
  std::optional<AccessibleElement> found;
  if (call.processIdentifier == 0) {
    found = AccessibleElement{};
    found->role = "AXSystemWide";
  } else {
    found = element(call.processIdentifier, call.elementId);
  }
  if (!found) return std::nullopt;
  std::lock_guard lock(mutex_);
  calls_.push_back(call);
  return found;
}

std::optional<foundation::Rect> HeadlessAccessibility::boundsForRange(int processIdentifier, int elementId,
                                                                      AccessibleRange range) const {
  const auto found = element(processIdentifier, elementId);
  if (!found) return std::nullopt;
  return found->boundsForRange(range);
}

bool HeadlessAccessibility::setValue(int processIdentifier, int elementId, const std::string& text) {
  return updateElement(processIdentifier, elementId, [&](AccessibleElement& target) { target.value = text; });
}

bool HeadlessAccessibility::setSelectedTextRange(int processIdentifier, int elementId,
                                                 AccessibleRange range) {
  return updateElement(processIdentifier, elementId,
                       [&](AccessibleElement& target) { target.selectedTextRange = range; });
}

bool HeadlessAccessibility::setAttribute(int processIdentifier, int elementId, const std::string& name,
                                         const AccessibleValue& value) {
  return updateElement(processIdentifier, elementId, [&](AccessibleElement& target) {
    target.otherAttributes.insert_or_assign(name, value);
  });
}

std::vector<AccessibilityCall> HeadlessAccessibility::calls() const {
  std::lock_guard lock(mutex_);
  return calls_;
}

void HeadlessAccessibility::clearCalls() {
  std::lock_guard lock(mutex_);
  calls_.clear();
}

void HeadlessAccessibility::deliverKeyEvent(int processIdentifier, InputEvent event) {
  std::lock_guard lock(mutex_);
  Process& process = processes_[processIdentifier];
  process.receivedKeyEvents.push_back(event);
  if (event.type != "keyDown" || !process.focusedElementId) return;
  AccessibleElement* element = findElement(process, *process.focusedElementId);
  if (element == nullptr || !element->isText()) return;

  std::string inserted = event.characters;
  if (inserted.empty() && event.keyCode == kReturnKeyCode) inserted = "\n";
  if (inserted.empty()) return;

  std::string text = element->value.value_or("");
  const auto length = static_cast<std::int64_t>(foundation::utf16Length(text));
  // A selection that does not lie within the text puts the caret at the end, as a field does when it
  // gains the focus without one.
  AccessibleRange selection = element->selectedTextRange.value_or(AccessibleRange{length, 0});
  if (selection.location < 0 || selection.length < 0 || selection.location > length ||
      selection.length > length - selection.location) {
    selection = {length, 0};
  }
  const std::size_t start = foundation::utf8Offset(text, static_cast<std::size_t>(selection.location));
  const std::size_t end =
      foundation::utf8Offset(text, static_cast<std::size_t>(selection.location + selection.length));
  text.replace(start, end - start, inserted);
  element->value = std::move(text);
  element->selectedTextRange =
      AccessibleRange{selection.location + static_cast<std::int64_t>(foundation::utf16Length(inserted)), 0};
}

std::vector<InputEvent> HeadlessAccessibility::receivedKeyEvents(int processIdentifier) const {
  std::lock_guard lock(mutex_);
  const auto found = processes_.find(processIdentifier);
  if (found == processes_.end()) return {};
  return found->second.receivedKeyEvents;
}

}  // namespace desktop
