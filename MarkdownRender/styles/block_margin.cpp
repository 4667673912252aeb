#include "MarkdownRender/styles/block_margin.h"

#include <algorithm>

#include "MarkdownRender/styles/text_style_environment.h"

namespace MarkdownRender {
namespace {

std::optional<double> larger(const std::optional<double>& a, const std::optional<double>& b) {
  if (a && b) return std::max(*a, *b);
  return a ? a : b;
}

}  // namespace

BlockMargin BlockMargin::merged(const BlockMargin& other) const {
  return {larger(top, other.top), larger(bottom, other.bottom)};
}

ui::AnyView blockMargins(const ui::AnyView& view, std::optional<double> top, std::optional<double> bottom) {
  const BlockMargin margin{top, bottom};
  return view.transformPreference<BlockMarginsPreference>(
      [margin](BlockMargin& reported) { reported = reported.merged(margin); });
}

ui::AnyView fontRelativeMargins(const ui::AnyView& view, std::optional<RelativeSize> top,
                                std::optional<RelativeSize> bottom) {
  return TextStyleAttributesReader([=](const ui::AttributeContainer& attributes) {
    const auto properties = fontProperties(attributes);
    const auto resolve = [&](const std::optional<RelativeSize>& size) -> std::optional<double> {
      if (!size) return std::nullopt;
      return size->resolved(properties);
    };
    return blockMargins(view, resolve(top), resolve(bottom));
  });
}

}  // namespace MarkdownRender
