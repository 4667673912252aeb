#include "platform/ui/image_modifiers.h"

#include <fmt/format.h>

#include <memory>
#include <string>
#include <utility>

#include "platform/ui/modifiers.h"

namespace ui {

namespace detail {
std::string describeColorValue(const Color& color);
}  // namespace detail

namespace {

AnyView environmentChange(const AnyView& view, std::string label, std::string description,
                          std::function<void(EnvironmentValues&)> transform) {
  auto m = std::make_shared<EnvironmentModifier>();
  m->label = std::move(label);
  m->description = std::move(description);
  m->transform = std::move(transform);
  return view.modifier(std::move(m));
}

}  // namespace

double symbolScaleFactor(ImageScale scale) {
  switch (scale) {
    case ImageScale::small:
      return 0.8;
    case ImageScale::medium:
      break;
    case ImageScale::large:
      return 1.25;
  }
  return 1;
}

AnyView symbolRenderingMode(const AnyView& view, SymbolRenderingMode mode) {
  static constexpr const char* names[] = {"monochrome", "hierarchical", "palette", "multicolor"};
  return environmentChange(
      view, "symbolRenderingMode", fmt::format("symbolRenderingMode({})", names[static_cast<int>(mode)]),
      [mode](EnvironmentValues& environment) { environment.set<SymbolRenderingModeKey>(mode); });
}

AnyView imageScale(const AnyView& view, ImageScale scale) {
  static constexpr const char* names[] = {"small", "medium", "large"};
  return environmentChange(
      view, "imageScale", fmt::format("imageScale({})", names[static_cast<int>(scale)]),
      [scale](EnvironmentValues& environment) { environment.set<ImageScaleKey>(scale); });
}

AnyView foregroundStyle(const AnyView& view, const Color& primary, const Color& secondary) {
  return environmentChange(view, "foregroundStyle",
                           fmt::format("foregroundStyle({}, {})", detail::describeColorValue(primary),
                                       detail::describeColorValue(secondary)),
                           [primary, secondary](EnvironmentValues& environment) {
                             environment.set<ForegroundStyleKey>(primary);
                             environment.set<SecondaryForegroundStyleKey>(secondary);
                           });
}

}  // namespace ui
