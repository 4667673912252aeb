// Result codes of accessibility calls, with the platform's numbers.
#pragma once

#include <cstdint>
#include <string_view>

namespace ax {

enum class Error : std::int32_t {
  success = 0,
  failure = -25200,
  illegalArgument = -25201,
  invalidUIElement = -25202,
  invalidUIElementObserver = -25203,
  cannotComplete = -25204,
  attributeUnsupported = -25205,
  actionUnsupported = -25206,
  notificationUnsupported = -25207,
  notImplemented = -25208,
  notificationAlreadyRegistered = -25209,
  notificationNotRegistered = -25210,
  apiDisabled = -25211,
  noValue = -25212,
  parameterizedAttributeUnsupported = -25213,
  notEnoughPrecision = -25214,
};

constexpr std::int32_t rawValue(Error error) { return static_cast<std::int32_t>(error); }
// Any code, including ones this list does not name.
constexpr Error errorFromRawValue(std::int32_t code) { return static_cast<Error>(code); }

}  // namespace ax
