// Calls on accessibility elements: reading attributes (one, several, parameterized), action and attribute
// names, writing attributes, and whether this program may use accessibility at all.
//
// The elements are those of the current desktop's accessibility service (in tests, the ones the headless
// desktop scripts). Every call fails with Error::apiDisabled while no desktop is installed or the
// "accessibility" permission is not granted, and with Error::invalidUIElement for an element whose
// process or element is gone; every call that reaches an element is made on it exactly once.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/accessibility/element.h"
#include "platform/accessibility/error.h"
#include "platform/accessibility/object.h"

namespace ax {

// The outcome of a call that hands back a value: an error other than success comes with a null value.
struct CopyResult {
  Error error = Error::success;
  Object value;
  bool operator==(const CopyResult&) const = default;
};

// Options of copyMultipleAttributeValues, with the platform's bits.
enum class CopyMultipleAttributeOptions : std::uint32_t {
  none = 0,
  // Fail the whole call at the first attribute that cannot be read.
  stopOnError = 1,
};

CopyResult copyAttributeValue(const Element& element, std::string_view attribute);

// The values of several attributes as an array, one per name in the same order. Without stopOnError an
// attribute that cannot be read gives a boxed error value in its slot; the call itself fails only when
// the element cannot be reached.
CopyResult copyMultipleAttributeValues(const Element& element, const std::vector<std::string>& attributes,
                                       CopyMultipleAttributeOptions options);

CopyResult copyParameterizedAttributeValue(const Element& element, std::string_view attribute,
                                           const Object& parameter);

// An array of strings.
CopyResult copyActionNames(const Element& element);
CopyResult copyAttributeNames(const Element& element);

Error setAttributeValue(const Element& element, std::string_view attribute, const Object& value);

// Whether the user allowed this program to use accessibility.
bool isProcessTrusted();
// The same, and when the answer is no, the system prompts the user to allow it (the answer then arrives
// later, through the system's settings).
bool isProcessTrustedWithPrompt();

}  // namespace ax
