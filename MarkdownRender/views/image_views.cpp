#include "MarkdownRender/views/image_views.h"

#include <cmath>
#include <utility>

#include "MarkdownRender/styles/font_properties.h"
#include "MarkdownRender/styles/text_style_environment.h"
#include "MarkdownRender/views/block_view.h"
#include "MarkdownRender/views/flow_layout.h"
#include "platform/ui/layout/layout.h"
#include "platform/ui/views.h"

namespace MarkdownRender {

ui::AnyView LinkModifier::body(ui::AnyView content) const {
  if (!destination_) return content;
  const auto url = foundation::URL::parse(*destination_, *baseURL_);
  if (!url) return content;
  // Resolved now: a click opens what was resolved at the last evaluation.
  return ui::Button([open = *openURL_, url = *url] { open(url); }, content)
      .buttonStyle(ui::ButtonStyle::plain);
}

std::optional<ImageView> ImageView::fromInlines(const std::vector<Inline>& inlines) {
  if (inlines.size() != 1) return std::nullopt;
  auto image = Inline::Image::from(inlines.front());
  if (!image) return std::nullopt;
  return ImageView(image->source, image->alt, image->destination);
}

ui::AnyView ImageView::body() const {
  std::optional<foundation::URL> url;
  if (source_) url = foundation::URL::parse(*source_, *baseURL_);
  ui::AnyView picture = imageProvider_->imageView(url).modifier(LinkModifier(destination_));
  return ui::AnyView(
             ApplyBlockStyle<BlockConfiguration>(&Theme::image, BlockConfiguration{BlockLabel(picture)}))
      .accessibilityLabel(alt_);
}

std::optional<ImageFlow> ImageFlow::fromInlines(const std::vector<Inline>& inlines) {
  std::vector<Indexed<Item>> items;
  for (const auto& node : inlines) {
    switch (node.kind()) {
      case Inline::Kind::text:
        if (!node.as<Inline::Text>()->content.empty()) return std::nullopt;
        break;
      case Inline::Kind::softBreak:
        break;
      case Inline::Kind::lineBreak:
        items.push_back({static_cast<std::int64_t>(items.size()), Item{Item::Kind::lineBreak, {}}});
        break;
      case Inline::Kind::image:
      case Inline::Kind::link: {
        // A link qualifies only around exactly one image.
        auto image = Inline::Image::from(node);
        if (!image) return std::nullopt;
        items.push_back({static_cast<std::int64_t>(items.size()), Item{Item::Kind::image, *image}});
        break;
      }
      default:
        return std::nullopt;
    }
  }
  return ImageFlow(std::move(items));
}

double imageFlowSpacing(double fontSize) { return std::round(0.25 * fontSize); }

ui::AnyView ImageFlow::body() const {
  return TextStyleAttributesReader([items = items_](const ui::AttributeContainer& attributes) {
    const auto record = fontProperties(attributes).value_or(FontProperties());
    const double spacing = imageFlowSpacing(record.size);
    std::vector<ui::AnyView> views;
    views.reserve(items.size());
    for (const auto& item : items) {
      if (item.value.kind == Item::Kind::lineBreak) {
        views.push_back(ui::Spacer());
      } else {
        const auto& image = item.value.image;
        views.push_back(ImageView(image.source, image.alt, image.destination));
      }
    }
    return ui::LayoutView(FlowLayout(spacing, spacing), views);
  });
}

}  // namespace MarkdownRender
