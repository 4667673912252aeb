// How highlighted code becomes output: a format makes a fresh builder per highlighting call, and the
// builder receives typed tokens, untyped text and whitespace in the order of the code.
#pragma once

#include <concepts>
#include <string>

#include "syntax_highlighter/token_type.h"

namespace Glint {

template <typename Builder>
concept OutputBuilder = requires(Builder builder, const std::string& text, const TokenType& type) {
  typename Builder::Output;
  builder.appendToken(text, type);
  builder.appendPlainText(text);
  builder.appendWhitespace(text);
  { builder.buildOutput() } -> std::convertible_to<typename Builder::Output>;
};

template <typename Format>
concept OutputFormat = requires(const Format format) {
  typename Format::Builder;
  requires OutputBuilder<typename Format::Builder>;
  { format.makeOutputBuilder() } -> std::same_as<typename Format::Builder>;
};

}  // namespace Glint
