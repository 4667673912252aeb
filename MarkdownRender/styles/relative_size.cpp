#include "MarkdownRender/styles/relative_size.h"

#include <cmath>

namespace MarkdownRender {

double RelativeSize::resolved(const std::optional<FontProperties>& fontProperties) const {
  const FontProperties properties = fontProperties.value_or(FontProperties());
  const double base = unit == Unit::rem ? properties.size : properties.effectiveSize();
  // std::round takes halves away from zero, as every size the renderer derives from a font does.
  return std::round(base * value);
}

}  // namespace MarkdownRender
