// The interface of text styles: small values that contribute attributes (colours, line styles, spacing,
// font changes) to the attribute container of the text the renderer draws.
#pragma once

#include <concepts>
#include <memory>
#include <type_traits>
#include <typeinfo>
#include <utility>

#include "platform/ui/attributed_string.h"

namespace MarkdownRender {

// A style writes into the container it is given and reads or changes nothing else. Styles never draw:
// the views that draw text read the container once every style in force has been applied to it.
class TextStyle {
 public:
  virtual ~TextStyle() = default;
  virtual void applyAttributes(ui::AttributeContainer& attributes) const = 0;
  // Whether `other` is known to contribute exactly what this style does. Styles that cannot tell (most
  // hold closures or other styles) say no, and are then equal only to themselves.
  virtual bool isSameStyle(const TextStyle& /*other*/) const { return false; }
};

// A concrete style type: a copyable value implementing TextStyle.
template <class S>
concept TextStyleValue = std::derived_from<S, TextStyle> && std::copy_constructible<S>;

// A style whose type is only known at run time (a member of a theme, an erased builder result). It keeps
// the concrete value it was made from; an empty one contributes nothing.
class AnyTextStyle final : public TextStyle {
 public:
  AnyTextStyle() = default;
  template <TextStyleValue S>
  requires(!std::same_as<S, AnyTextStyle>) AnyTextStyle(S style)  // NOLINT: every style erases implicitly
      : style_(std::make_shared<const S>(std::move(style))) {}

  void applyAttributes(ui::AttributeContainer& attributes) const override {
    if (style_) style_->applyAttributes(attributes);
  }

  // The concrete value, when it is of type S.
  template <class S>
  const S* as() const {
    return dynamic_cast<const S*>(style_.get());
  }
  bool isEmpty() const { return style_ == nullptr; }

  bool operator==(const AnyTextStyle& other) const {
    return style_ == other.style_ || (style_ && other.style_ && style_->isSameStyle(*other.style_));
  }

 private:
  // Shared because the value is immutable: copies of an erased style cost one reference count.
  std::shared_ptr<const TextStyle> style_;
};

}  // namespace MarkdownRender
