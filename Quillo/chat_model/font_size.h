// The text size of the chat bubbles (not the Markdown renderer's text style of the same short name).
#pragma once

#include <array>
#include <optional>
#include <string>
#include <type_traits>

namespace Quillo {

enum class FontSize { small, medium, large, xLarge };

inline constexpr std::array<FontSize, 4> allFontSizes = {FontSize::small, FontSize::medium, FontSize::large,
                                                         FontSize::xLarge};

// The case name ("small", "medium", "large", "xLarge"); also the identity in lists. As a setting it is
// stored as this plain string. It has no JSON coding of its own.
std::string rawValue(FontSize size);
std::optional<FontSize> fromRawValue(std::type_identity<FontSize>, const std::string& raw);

}  // namespace Quillo
