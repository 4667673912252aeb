#include "platform/accessibility/element_access.h"

#include <optional>
#include <utility>
#include <variant>

#include "platform/accessibility/attributes.h"
#include "platform/desktop/accessibility_service.h"
#include "platform/desktop/desktop.h"
#include "platform/desktop/permission_service.h"
#include "platform/desktop/workspace_service.h"
#include "platform/foundation/utf16.h"

namespace ax {
namespace {

using desktop::AccessibilityCall;
using desktop::AccessibleElement;

// An element found on the desktop, or the error that stops the call.
struct Reached {
  Error error = Error::success;
  desktop::Desktop* desktop = nullptr;
  AccessibleElement element;
};

desktop::Desktop* trustedDesktop() {
  desktop::Desktop* desktop = desktop::Desktop::current();
  if (desktop == nullptr || !desktop->permissions().isPermissionGranted(desktop::permission::accessibility)) {
    return nullptr;
  }
  return desktop;
}

// Finds an application's element and makes the call on it. Not for the system-wide element.
Reached reach(const Element& element, AccessibilityCall::Kind kind, std::string_view attribute) {
  Reached reached;
  reached.desktop = trustedDesktop();
  if (reached.desktop == nullptr) {
    reached.error = Error::apiDisabled;
    return reached;
  }
  const int pid = element.processIdentifier();
  const auto application = reached.desktop->workspace().application(pid);
  auto found =
      application
          ? reached.desktop->accessibility().reach({pid, element.elementId(), kind, std::string(attribute)})
          : std::nullopt;
  if (!found) {
    reached.error = Error::invalidUIElement;
    return reached;
  }
  if (found->failureOfEveryCall) {
    reached.error = errorFromRawValue(*found->failureOfEveryCall);
    return reached;
  }
  if (element.isApplication() && !found->title && !application->localizedName.empty()) {
    found->title = application->localizedName;
  }
  reached.element = std::move(*found);
  return reached;
}

CopyResult failed(Error error) { return {error, Object()}; }
CopyResult succeeded(Object value) { return {Error::success, std::move(value)}; }

Object objectOf(const desktop::AccessibleValue& value) {
  return std::visit(
      [](const auto& v) -> Object {
        using T = std::decay_t<decltype(v)>;
        if constexpr (std::is_same_v<T, double>) {
          return Object(Object::Number{v});
        } else {
          return Object(v);
        }
      },
      value);
}

// The value of one attribute of a reached element.
CopyResult readAttribute(const Element& handle, const AccessibleElement& element, std::string_view name) {
  if (const auto failing = element.failingAttributes.find(name); failing != element.failingAttributes.end()) {
    return failed(errorFromRawValue(failing->second));
  }
  if (name == attribute::role && !element.role.empty()) return succeeded(element.role);
  if (name == attribute::subrole)
    return element.subrole ? succeeded(*element.subrole) : failed(Error::noValue);
  if (name == attribute::title) return element.title ? succeeded(*element.title) : failed(Error::noValue);
  if (name == attribute::value) return element.value ? succeeded(*element.value) : failed(Error::noValue);
  if (name == attribute::position) {
    return element.position ? succeeded(Value(*element.position)) : failed(Error::noValue);
  }
  if (name == attribute::size) return element.size ? succeeded(Value(*element.size)) : failed(Error::noValue);
  if (name == attribute::selectedTextRange) {
    if (!element.selectedTextRange) return failed(Error::noValue);
    return succeeded(Value(Range{element.selectedTextRange->location, element.selectedTextRange->length}));
  }
  if (name == attribute::selectedText) {
    const auto& range = element.selectedTextRange;
    if (!element.value || !range || range->location < 0 || range->length < 0) return failed(Error::noValue);
    const foundation::Utf16Range units{static_cast<std::size_t>(range->location),
                                       static_cast<std::size_t>(range->length)};
    if (!foundation::isUtf16RangeWithin(units, foundation::utf16Length(*element.value))) {
      return failed(Error::noValue);
    }
    return succeeded(foundation::utf16Substring(*element.value, units));
  }
  if (name == attribute::numberOfCharacters && element.value) {
    return succeeded(Object::Number{static_cast<double>(foundation::utf16Length(*element.value))});
  }
  if (name == attribute::focusedUIElement && handle.isApplication()) {
    desktop::Desktop* desktop = desktop::Desktop::current();
    const auto focused =
        desktop ? desktop->accessibility().focusedElementId(handle.processIdentifier()) : std::nullopt;
    if (!focused) return failed(Error::noValue);
    return succeeded(Element::inApplication(handle.processIdentifier(), *focused));
  }
  if (const auto other = element.otherAttributes.find(name); other != element.otherAttributes.end()) {
    return succeeded(objectOf(other->second));
  }
  return failed(Error::attributeUnsupported);
}

// The system-wide element answers for the frontmost application.
CopyResult readSystemWideAttribute(std::string_view name) {
  desktop::Desktop* desktop = trustedDesktop();
  if (desktop == nullptr) return failed(Error::apiDisabled);
  desktop->accessibility().reach({0, 0, AccessibilityCall::Kind::read, std::string(name)});
  if (name == attribute::role) return succeeded(std::string(role::systemWide));
  if (name != attribute::focusedUIElement && name != attribute::focusedApplication) {
    return failed(Error::attributeUnsupported);
  }
  const auto frontmost = desktop->workspace().frontmostApplication();
  if (!frontmost) return failed(Error::noValue);
  const int pid = frontmost->processIdentifier;
  const auto application =
      desktop->accessibility().element(pid, desktop::AccessibilityService::kApplicationElementId);
  if (!application) return failed(Error::invalidUIElement);
  if (application->failureOfEveryCall) return failed(errorFromRawValue(*application->failureOfEveryCall));
  if (name == attribute::focusedApplication) return succeeded(Element::application(pid));
  const auto focused = desktop->accessibility().focusedElementId(pid);
  if (!focused) return failed(Error::noValue);
  return succeeded(Element::inApplication(pid, *focused));
}

std::vector<std::string> attributeNamesOf(const Element& handle, const AccessibleElement& element) {
  std::vector<std::string> names;
  if (!element.role.empty()) names.emplace_back(attribute::role);
  if (element.subrole) names.emplace_back(attribute::subrole);
  if (element.title) names.emplace_back(attribute::title);
  if (element.value) {
    names.emplace_back(attribute::value);
    names.emplace_back(attribute::numberOfCharacters);
  }
  if (element.selectedTextRange) {
    names.emplace_back(attribute::selectedTextRange);
    names.emplace_back(attribute::selectedText);
  }
  if (element.position) names.emplace_back(attribute::position);
  if (element.size) names.emplace_back(attribute::size);
  if (handle.isApplication()) names.emplace_back(attribute::focusedUIElement);
  for (const auto& [name, value] : element.otherAttributes) names.push_back(name);
  return names;
}

Object stringArray(const std::vector<std::string>& strings) {
  Object::Array array;
  for (const auto& s : strings) array.emplace_back(s);
  return Object(std::move(array));
}

}  // namespace

CopyResult copyAttributeValue(const Element& element, std::string_view attribute) {
  if (element.isSystemWide()) return readSystemWideAttribute(attribute);
  Reached reached = reach(element, AccessibilityCall::Kind::read, attribute);
  if (reached.error != Error::success) return failed(reached.error);
  return readAttribute(element, reached.element, attribute);
}

CopyResult copyMultipleAttributeValues(const Element& element, const std::vector<std::string>& attributes,
                                       CopyMultipleAttributeOptions options) {
  // A failure of the element as a whole (gone, or its application not answering) fails the call rather
  // than filling every slot with an error.
  if (!element.isSystemWide()) {
    desktop::Desktop* desktop = trustedDesktop();
    if (desktop == nullptr) return failed(Error::apiDisabled);
    const int pid = element.processIdentifier();
    const auto found = desktop->workspace().application(pid)
                           ? desktop->accessibility().element(pid, element.elementId())
                           : std::nullopt;
    if (!found) return failed(Error::invalidUIElement);
    if (found->failureOfEveryCall) return failed(errorFromRawValue(*found->failureOfEveryCall));
  }
  Object::Array values;
  for (const auto& name : attributes) {
    CopyResult one = copyAttributeValue(element, name);
    if (one.error == Error::success) {
      values.push_back(std::move(one.value));
    } else if (options == CopyMultipleAttributeOptions::stopOnError || one.error == Error::apiDisabled) {
      return failed(one.error);
    } else {
      values.emplace_back(Value(one.error));
    }
  }
  return succeeded(Object(std::move(values)));
}

CopyResult copyParameterizedAttributeValue(const Element& element, std::string_view attribute,
                                           const Object& parameter) {
  if (element.isSystemWide()) return failed(Error::parameterizedAttributeUnsupported);
  Reached reached = reach(element, AccessibilityCall::Kind::readParameterized, attribute);
  if (reached.error != Error::success) return failed(reached.error);
  const AccessibleElement& target = reached.element;
  if (const auto failing = target.failingAttributes.find(attribute);
      failing != target.failingAttributes.end()) {
    return failed(errorFromRawValue(failing->second));
  }
  if (attribute != attribute::boundsForRange || !target.isText()) {
    return failed(Error::parameterizedAttributeUnsupported);
  }
  const auto range = parameter.value() ? parameter.value()->get<Range>() : std::nullopt;
  if (!range) return failed(Error::illegalArgument);
  const auto bounds = reached.desktop->accessibility().boundsForRange(
      element.processIdentifier(), element.elementId(), {range->location, range->length});
  if (!bounds) return failed(Error::illegalArgument);
  return succeeded(Value(*bounds));
}

CopyResult copyActionNames(const Element& element) {
  if (element.isSystemWide()) return succeeded(Object(Object::Array{}));
  Reached reached = reach(element, AccessibilityCall::Kind::readActionNames, "");
  if (reached.error != Error::success) return failed(reached.error);
  return succeeded(stringArray(reached.element.actionNames));
}

CopyResult copyAttributeNames(const Element& element) {
  if (element.isSystemWide()) {
    return succeeded(
        stringArray({attribute::role, attribute::focusedUIElement, attribute::focusedApplication}));
  }
  Reached reached = reach(element, AccessibilityCall::Kind::readAttributeNames, "");
  if (reached.error != Error::success) return failed(reached.error);
  return succeeded(stringArray(attributeNamesOf(element, reached.element)));
}

Error setAttributeValue(const Element& element, std::string_view attribute, const Object& value) {
  if (element.isSystemWide()) return Error::attributeUnsupported;
  Reached reached = reach(element, AccessibilityCall::Kind::write, attribute);
  if (reached.error != Error::success) return reached.error;
  if (const auto failing = reached.element.failingAttributes.find(attribute);
      failing != reached.element.failingAttributes.end()) {
    return errorFromRawValue(failing->second);
  }
  std::optional<desktop::AccessibleValue> stored;
  if (const auto* s = value.string()) stored = *s;
  if (const auto b = value.boolean()) stored = *b;
  if (const auto n = value.number()) stored = *n;
  const auto range = value.value() ? value.value()->get<Range>() : std::nullopt;
  if (attribute == attribute::selectedTextRange && !range) return Error::illegalArgument;
  if (attribute != attribute::selectedTextRange && !stored) return Error::illegalArgument;
  if (attribute == attribute::value && !value.string()) return Error::illegalArgument;

  auto& accessibility = reached.desktop->accessibility();
  const int pid = element.processIdentifier();
  bool isWritten = false;
  if (attribute == attribute::value) {
    isWritten = accessibility.setValue(pid, element.elementId(), *value.string());
  } else if (attribute == attribute::selectedTextRange) {
    isWritten = accessibility.setSelectedTextRange(pid, element.elementId(),
                                                   desktop::AccessibleRange{range->location, range->length});
  } else {
    isWritten = accessibility.setAttribute(pid, element.elementId(), std::string(attribute), *stored);
  }
  return isWritten ? Error::success : Error::invalidUIElement;
}

bool isProcessTrusted() { return trustedDesktop() != nullptr; }

bool isProcessTrustedWithPrompt() {
  if (isProcessTrusted()) return true;
  if (auto* desktop = desktop::Desktop::current()) desktop->permissions().requestPermission(desktop::permission::accessibility);
  return false;
}

}  // namespace ax
