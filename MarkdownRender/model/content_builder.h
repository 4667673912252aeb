// How a component list becomes one result: the rules every content builder shares.
#pragma once

#include <optional>
#include <ranges>
#include <string>
#include <string_view>
#include <type_traits>
#include <utility>
#include <variant>

namespace MarkdownRender::detail {

// A builder names its `Result`, turns one listed item (a string, where the builder takes strings, or a
// component) into a `Result` with `single`, and concatenates two results with `append`. Every builder also
// accepts:
// - `std::optional<Component>`: a component under a condition without an alternative; an empty optional
//   gives an empty result.
// - `std::variant<Components...>`: a component with alternatives; gives the result of the one it holds.
// - a range of components (a `std::vector`, a `std::views::transform` over data, ...): a loop; the results
//   of its elements concatenated in order.
// Components listed one after another give the concatenation of their results in order.

template <class T>
struct IsOptional : std::false_type {};
template <class T>
struct IsOptional<std::optional<T>> : std::true_type {};

template <class T>
struct IsVariant : std::false_type {};
template <class... Ts>
struct IsVariant<std::variant<Ts...>> : std::true_type {};

template <class T>
concept StringLike = std::is_convertible_v<const T&, std::string_view>;

template <class Builder, class Component>
constexpr bool isComponent();

template <class Builder, class Variant, std::size_t... I>
constexpr bool allAlternativesAreComponents(std::index_sequence<I...>) {
  return (isComponent<Builder, std::variant_alternative_t<I, Variant>>() && ...);
}

// Whether a component can be listed in the builder.
template <class Builder, class Component>
constexpr bool isComponent() {
  if constexpr (requires(const Component& component) { Builder::single(component); }) {
    return true;
  } else if constexpr (IsOptional<Component>::value) {
    return isComponent<Builder, typename Component::value_type>();
  } else if constexpr (IsVariant<Component>::value) {
    return allAlternativesAreComponents<Builder, Component>(
        std::make_index_sequence<std::variant_size_v<Component>>{});
  } else if constexpr (std::ranges::input_range<const Component> && !StringLike<Component>) {
    return isComponent<Builder, std::remove_cvref_t<std::ranges::range_reference_t<const Component>>>();
  } else {
    return false;
  }
}

template <class Builder, class... Components>
concept ComponentsOf = (isComponent<Builder, Components>() && ...);

template <class Builder, class Component>
typename Builder::Result resultOf(const Component& component) {
  using Result = typename Builder::Result;
  if constexpr (requires { Builder::single(component); }) {
    return Builder::single(component);
  } else if constexpr (IsOptional<Component>::value) {
    return component ? resultOf<Builder>(*component) : Result{};
  } else if constexpr (IsVariant<Component>::value) {
    return std::visit([](const auto& alternative) { return resultOf<Builder>(alternative); }, component);
  } else {
    Result result{};
    for (const auto& element : component) Builder::append(result, resultOf<Builder>(element));
    return result;
  }
}

// The result of the listed components, concatenated in order.
template <class Builder, class... Components>
requires ComponentsOf<Builder, Components...>
typename Builder::Result build(const Components&... components) {
  typename Builder::Result result{};
  (Builder::append(result, resultOf<Builder>(components)), ...);
  return result;
}

// Concatenation for builders whose result is a vector.
template <class Vector>
void appendElements(Vector& result, Vector&& more) {
  result.insert(result.end(), std::make_move_iterator(more.begin()), std::make_move_iterator(more.end()));
}

}  // namespace MarkdownRender::detail
