// Composition of text styles: sequences, two-way choices and optional styles, each one value that keeps
// the concrete types of its parts.
#pragma once

#include <concepts>
#include <optional>
#include <type_traits>
#include <utility>
#include <variant>

#include "MarkdownRender/styles/text_style.h"
#include "MarkdownRender/styles/text_styles.h"

namespace MarkdownRender {
namespace TextStyleBuilder {

// Two styles applied one after the other to the same container: s0, then s1.
template <TextStyleValue S0, TextStyleValue S1>
class Pair final : public TextStyle {
 public:
  Pair(S0 s0, S1 s1) : s0(std::move(s0)), s1(std::move(s1)) {}
  void applyAttributes(ui::AttributeContainer& attributes) const override {
    s0.applyAttributes(attributes);
    s1.applyAttributes(attributes);
  }
  S0 s0;
  S1 s1;
};

// The style of the branch of a two-way choice that was taken.
template <TextStyleValue First, TextStyleValue Second>
class Conditional final : public TextStyle {
 public:
  using Storage = std::variant<First, Second>;
  explicit Conditional(Storage storage) : storage(std::move(storage)) {}
  void applyAttributes(ui::AttributeContainer& attributes) const override {
    std::visit([&](const auto& style) { style.applyAttributes(attributes); }, storage);
  }
  bool isFirst() const { return storage.index() == 0; }
  Storage storage;
};

// The style of a branch that may not have run; contributes nothing when it did not.
template <TextStyleValue S>
class Optional final : public TextStyle {
 public:
  explicit Optional(std::optional<S> wrapped) : wrapped(std::move(wrapped)) {}
  void applyAttributes(ui::AttributeContainer& attributes) const override {
    if (wrapped) wrapped->applyAttributes(attributes);
  }
  std::optional<S> wrapped;
};

inline EmptyTextStyle empty() { return {}; }

// Whether a style sets nothing whatever it is applied to: the empty style, or a composition whose parts
// in force are all empty.
template <TextStyleValue S>
bool isEmpty(const S&) {
  return std::is_same_v<S, EmptyTextStyle>;
}

template <TextStyleValue S0, TextStyleValue S1>
bool isEmpty(const Pair<S0, S1>& style) {
  return isEmpty(style.s0) && isEmpty(style.s1);
}

template <TextStyleValue First, TextStyleValue Second>
bool isEmpty(const Conditional<First, Second>& style) {
  return std::visit([](const auto& taken) { return isEmpty(taken); }, style.storage);
}

template <TextStyleValue S>
bool isEmpty(const Optional<S>& style) {
  return !style.wrapped || isEmpty(*style.wrapped);
}

template <TextStyleValue S>
S single(S style) {
  return style;
}

template <TextStyleValue S0, TextStyleValue S1>
Pair<S0, S1> combine(S0 soFar, S1 next) {
  return Pair<S0, S1>(std::move(soFar), std::move(next));
}

template <TextStyleValue First, TextStyleValue Second>
Conditional<First, Second> chooseFirst(First style) {
  return Conditional<First, Second>(
      typename Conditional<First, Second>::Storage(std::in_place_index<0>, std::move(style)));
}

template <TextStyleValue First, TextStyleValue Second>
Conditional<First, Second> chooseSecond(Second style) {
  return Conditional<First, Second>(
      typename Conditional<First, Second>::Storage(std::in_place_index<1>, std::move(style)));
}

template <TextStyleValue S>
Optional<S> optional(std::optional<S> style) {
  return Optional<S>(std::move(style));
}

template <TextStyleValue S>
AnyTextStyle erase(S style) {
  return AnyTextStyle(std::move(style));
}

namespace detail {
template <TextStyleValue S>
S sequence(S first) {
  return single(std::move(first));
}
template <TextStyleValue S0, TextStyleValue S1, TextStyleValue... Rest>
auto sequence(S0 first, S1 second, Rest... rest) {
  return sequence(combine(std::move(first), std::move(second)), std::move(rest)...);
}
}  // namespace detail

// The styles written one after another in a builder body: none gives the empty style, one gives itself,
// and a, b, c give the pair of (the pair of a and b) and c, so they apply in the order written.
template <TextStyleValue... Styles>
auto build(Styles... styles) {
  if constexpr (sizeof...(Styles) == 0) {
    return empty();
  } else {
    return detail::sequence(std::move(styles)...);
  }
}

}  // namespace TextStyleBuilder

// What a place that takes a text style accepts: a builder closure, called once, that returns a style.
template <class F>
concept TextStyleBuilderClosure = std::invocable<const F&> && TextStyleValue<std::invoke_result_t<const F&>>;

}  // namespace MarkdownRender
