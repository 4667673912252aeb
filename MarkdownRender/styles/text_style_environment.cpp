#include "MarkdownRender/styles/text_style_environment.h"

#include <array>
#include <cstddef>

namespace MarkdownRender {

const AnyTextStyle& TextStyleKey::defaultValue() {
  // Made once, on first use; the initialisation of a function's static is thread-safe.
  static const AnyTextStyle value{FontProperties()};
  return value;
}

AnyTextStyle resolvedTextStyle(ui::AttributeContainer attributes) {
  // Per thread, so no lock is needed; the styles themselves are immutable and may be shared freely.
  thread_local std::array<AnyTextStyle, 4> recent;
  thread_local std::size_t next = 0;
  for (const auto& style : recent) {
    const auto* resolved = style.as<ResolvedTextStyle>();
    if (resolved && resolved->attributes() == attributes) return style;
  }
  AnyTextStyle made(ResolvedTextStyle(std::move(attributes)));
  recent[next] = made;
  next = (next + 1) % recent.size();
  return made;
}

ui::AnyView TextStyleAttributesReader::body() const {
  ui::AttributeContainer attributes;
  textStyle_->applyAttributes(attributes);
  return (*content_)(attributes);
}

}  // namespace MarkdownRender
