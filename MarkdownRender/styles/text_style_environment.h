// The text style in force for a subtree of views: its environment key, the modifier that adds a style
// for the views below, and the view that reads the resulting attributes.
#pragma once

#include <functional>
#include <memory>
#include <utility>

#include "MarkdownRender/styles/font_properties.h"
#include "MarkdownRender/styles/text_style.h"
#include "MarkdownRender/styles/text_style_builder.h"
#include "platform/ui/environment.h"
#include "platform/ui/modifiers.h"
#include "platform/ui/view.h"

namespace MarkdownRender {

// The text style in force. Where no view set one it is the default font record (size 13, scale 1), so
// every container the renderer builds starts with a record.
struct TextStyleKey {
  using Value = AnyTextStyle;
  static const AnyTextStyle& defaultValue();
};

// The attributes every style in force gives an empty container, kept as a style. The environment carries
// its text style in this form: each `textStyle` modifier resolves its style once, against what it
// inherits, rather than every reader below running the whole chain of styles again; and two resolved
// styles compare by their attributes, so views below whose styles did not change keep their subtrees.
class ResolvedTextStyle final : public TextStyle {
 public:
  explicit ResolvedTextStyle(ui::AttributeContainer attributes) : attributes_(std::move(attributes)) {}

  // Only readers of the environment's style apply it, always to an empty container.
  void applyAttributes(ui::AttributeContainer& attributes) const override {
    attributes = attributes.merging(attributes_);
  }
  bool isSameStyle(const TextStyle& other) const override {
    const auto* resolved = dynamic_cast<const ResolvedTextStyle*>(&other);
    return resolved && resolved->attributes_ == attributes_;
  }
  const ui::AttributeContainer& attributes() const { return attributes_; }

 private:
  ui::AttributeContainer attributes_;
};

// The attributes as a resolved style. Views side by side mostly resolve to the same few styles (all the
// body cells of a table to one): a style made lately on this thread with the same attributes is handed
// out again, so they share it.
AnyTextStyle resolvedTextStyle(ui::AttributeContainer attributes);

// The view with the environment's text style replaced, for it and the views below, by the inherited style
// followed by `style`: where both set an attribute, the added style wins.
template <TextStyleValue S>
ui::AnyView textStyle(const ui::AnyView& view, S style) {
  // A style that sets nothing leaves the view seeing the style it inherits, with no modifier to show it
  // (the body cells of a table, which take the header's style only in the header row, are many).
  if (TextStyleBuilder::isEmpty(style)) return view;
  auto modifier = std::make_shared<ui::EnvironmentModifier>();
  modifier->label = "textStyle";
  modifier->description = "textStyle";
  modifier->transform = [style = std::move(style)](ui::EnvironmentValues& environment) {
    ui::AttributeContainer attributes;
    environment.get<TextStyleKey>().applyAttributes(attributes);
    style.applyAttributes(attributes);
    environment.set<TextStyleKey>(resolvedTextStyle(std::move(attributes)));
  };
  return view.modifier(std::move(modifier));
}

// The same with a builder closure, called once.
template <TextStyleBuilderClosure F>
ui::AnyView textStyle(const ui::AnyView& view, const F& builder) {
  return textStyle(view, builder());
}

// Applies the environment's text style to an empty container each time it is drawn and shows what its
// content function makes of the container.
class TextStyleAttributesReader final : public ui::View {
 public:
  using Content = std::function<ui::AnyView(const ui::AttributeContainer&)>;

  explicit TextStyleAttributesReader(Content content)
      : content_(std::make_shared<const Content>(std::move(content))) {}
  ui::AnyView body() const override;

 private:
  // Shared by the copies of the view (its description and the one its node keeps): a table's cells
  // read their style through one each.
  std::shared_ptr<const Content> content_;
  ui::Environment<TextStyleKey> textStyle_;
};

}  // namespace MarkdownRender
