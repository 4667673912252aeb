// The view settings the roadmap's views need beyond the view layer's built-ins: the text-size scale and
// the reduce-motion setting as environment values, and the view attributes the roadmap sets (scale
// factors, line limits, hints, list-row settings) kept as data on the view tree.
#pragma once

#include <array>
#include <memory>
#include <string>
#include <utility>

#include "platform/ui/binding.h"
#include "platform/ui/environment.h"
#include "platform/ui/view.h"

namespace Roadmap {

// The platform's text-size scale, smallest first; the last five are its accessibility sizes.
enum class DynamicTypeSize {
  xSmall,
  small,
  medium,
  large,
  xLarge,
  xxLarge,
  xxxLarge,
  accessibility1,
  accessibility2,
  accessibility3,
  accessibility4,
  accessibility5,
};

inline constexpr std::array<DynamicTypeSize, 12> allDynamicTypeSizes{
    DynamicTypeSize::xSmall,         DynamicTypeSize::small,          DynamicTypeSize::medium,
    DynamicTypeSize::large,          DynamicTypeSize::xLarge,         DynamicTypeSize::xxLarge,
    DynamicTypeSize::xxxLarge,       DynamicTypeSize::accessibility1, DynamicTypeSize::accessibility2,
    DynamicTypeSize::accessibility3, DynamicTypeSize::accessibility4, DynamicTypeSize::accessibility5};

constexpr bool isAccessibilitySize(DynamicTypeSize size) { return size >= DynamicTypeSize::accessibility1; }

// The user's text size; the platform's default size when nothing set it.
struct DynamicTypeSizeKey {
  using Value = DynamicTypeSize;
  static DynamicTypeSize defaultValue() { return DynamicTypeSize::large; }
};

// Whether the user asked the system to reduce motion; off when nothing set it.
struct AccessibilityReduceMotionKey {
  using Value = bool;
  static bool defaultValue() { return false; }
};

// A view attribute the view layer keeps as data: its name and its value as text, e.g.
// ("minimumScaleFactor", "0.75"). The inspector reads them back from the view tree.
struct ViewAttribute final : ui::detail::Modifier {
  ViewAttribute(std::string attributeName, std::string attributeValue)
      : attributeName(std::move(attributeName)), attributeValue(std::move(attributeValue)) {}
  std::string attributeName;
  std::string attributeValue;
  std::string name() const override { return attributeName; }
  std::string describe() const override { return attributeName + "(" + attributeValue + ")"; }
};

inline ui::AnyView withAttribute(const ui::AnyView& view, std::string name, std::string value) {
  return view.modifier(std::make_shared<ViewAttribute>(std::move(name), std::move(value)));
}

}  // namespace Roadmap

template <>
struct ui::EnvironmentKeyFor<Roadmap::DynamicTypeSize> {
  using type = Roadmap::DynamicTypeSizeKey;
};
