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

// A builder names its `Result`, turns one listed component into a `Result` with `single`, and
// concatenates two results with `append`. Beyond components, every builder accepts:
// - `std::optional<Part>`: a part under a condition without an alternative; nothing gives an empty result.
// - `std::variant<Parts...>`: a part with alternatives; gives the result of the alternative it holds.
// - a range of parts (a `std::vector`, a `std::views::transform` over data, ...): a loop; the results of
//   its elements concatenated in order.
// Listed parts, one after another, give the concatenation of their results in order.

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

template <class Builder, class Part>
constexpr bool isPart();

template <class Builder, class Variant, std::size_t... I>
constexpr bool allAlternativesArePartsImpl(std::index_sequence<I...>) {
  return (isPart<Builder, std::variant_alternative_t<I, Variant>>() && ...);
}

// Whether a part can be listed in the builder.
template <class Builder, class Part>
constexpr bool isPart() {
  if constexpr (requires(const Part& part) { Builder::single(part); }) {
    return true;
  } else if constexpr (IsOptional<Part>::value) {
    return isPart<Builder, typename Part::value_type>();
  } else if constexpr (IsVariant<Part>::value) {
    return allAlternativesArePartsImpl<Builder, Part>(std::make_index_sequence<std::variant_size_v<Part>>{});
  } else if constexpr (std::ranges::input_range<const Part> && !StringLike<Part>) {
    return isPart<Builder, std::remove_cvref_t<std::ranges::range_reference_t<const Part>>>();
  } else {
    return false;
  }
}

template <class Builder, class... Parts>
concept PartsOf = (isPart<Builder, Parts>() && ...);

template <class Builder, class Part>
typename Builder::Result resultOf(const Part& part) {
  using Result = typename Builder::Result;
  if constexpr (requires { Builder::single(part); }) {
    return Builder::single(part);
  } else if constexpr (IsOptional<Part>::value) {
    return part ? resultOf<Builder>(*part) : Result{};
  } else if constexpr (IsVariant<Part>::value) {
    return std::visit([](const auto& alternative) { return resultOf<Builder>(alternative); }, part);
  } else {
    Result result{};
    for (const auto& element : part) Builder::append(result, resultOf<Builder>(element));
    return result;
  }
}

// The result of the listed parts, concatenated in order.
template <class Builder, class... Parts>
requires PartsOf<Builder, Parts...>
typename Builder::Result build(const Parts&... parts) {
  typename Builder::Result result{};
  (Builder::append(result, resultOf<Builder>(parts)), ...);
  return result;
}

// Concatenation for builders whose result is a vector.
template <class Vector>
void appendElements(Vector& result, Vector&& more) {
  result.insert(result.end(), std::make_move_iterator(more.begin()), std::make_move_iterator(more.end()));
}

}  // namespace MarkdownRender::detail
