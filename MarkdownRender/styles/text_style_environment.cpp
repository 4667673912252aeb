#include "MarkdownRender/styles/text_style_environment.h"

namespace MarkdownRender {

const AnyTextStyle& TextStyleKey::defaultValue() {
  // Made once, on first use; the initialisation of a function's static is thread-safe.
  static const AnyTextStyle value{FontProperties()};
  return value;
}

ui::AnyView TextStyleAttributesReader::body() const {
  ui::AttributeContainer attributes;
  textStyle_->applyAttributes(attributes);
  return content_(attributes);
}

}  // namespace MarkdownRender
