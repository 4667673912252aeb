#include "syntax_highlighter/theme.h"

#include <array>

namespace Glint {
namespace {

struct RGB {
  double red, green, blue;
};

// plain text, background, then the nine fixed token types in declaration order.
using Palette = std::array<RGB, 11>;

Theme makeTheme(Font font, const Palette& palette) {
  auto color = [](const RGB& rgb) { return ui::Color(rgb.red, rgb.green, rgb.blue, 1.0); };
  Theme theme{std::move(font), color(palette[0]), color(palette[1]), {}};
  for (std::size_t index = 0; index < fixedTokenTypes().size(); ++index) {
    theme.tokenColors.emplace(fixedTokenTypes()[index], color(palette[index + 2]));
  }
  return theme;
}

}  // namespace

std::optional<ui::Color> Theme::color(const TokenType& type) const {
  const auto found = tokenColors.find(type);
  if (found == tokenColors.end()) return std::nullopt;
  return found->second;
}

// Order in each palette: plain text, background, keyword, string, type, call, number, comment, property,
// dot access, preprocessing.
Theme Theme::charcoalPreset(Font font) {
  return makeTheme(std::move(font), {{{0.66, 0.74, 0.74},
                                      {0.098, 0.098, 0.098},
                                      {0.91, 0.2, 0.54},
                                      {0.98, 0.39, 0.12},
                                      {0.51, 0.51, 0.79},
                                      {0.2, 0.56, 0.9},
                                      {0.86, 0.44, 0.34},
                                      {0.42, 0.54, 0.58},
                                      {0.13, 0.67, 0.62},
                                      {0.57, 0.7, 0.0},
                                      {0.71, 0.54, 0.0}}});
}

Theme Theme::neonPreset(Font font) {
  return makeTheme(std::move(font), {{{1.0, 1.0, 1.0},
                                      {0.0, 0.0, 0.0},
                                      {0.828, 0.095, 0.583},
                                      {1.0, 0.171, 0.219},
                                      {0.137, 1.0, 0.512},
                                      {0.137, 1.0, 0.512},
                                      {0.469, 0.426, 1.0},
                                      {0.255, 0.801, 0.27},
                                      {0.431, 0.714, 0.533},
                                      {0.431, 0.714, 0.533},
                                      {0.896, 0.488, 0.284}}});
}

Theme Theme::slatePreset(Font font) {
  return makeTheme(std::move(font), {{{0.84, 0.84, 0.84},
                                      {0.18, 0.19, 0.2},
                                      {0.992, 0.791, 0.45},
                                      {0.966, 0.517, 0.29},
                                      {0.431, 0.714, 0.533},
                                      {0.431, 0.714, 0.533},
                                      {0.559, 0.504, 0.745},
                                      {0.484, 0.483, 0.504},
                                      {0.431, 0.714, 0.533},
                                      {0.431, 0.714, 0.533},
                                      {0.992, 0.791, 0.45}}});
}

Theme Theme::graphitePreset(Font font) {
  return makeTheme(std::move(font), {{{1.0, 1.0, 1.0},
                                      {0.163, 0.163, 0.182},
                                      {0.948, 0.14, 0.547},
                                      {0.988, 0.273, 0.317},
                                      {0.584, 0.898, 0.361},
                                      {0.584, 0.898, 0.361},
                                      {0.587, 0.517, 0.974},
                                      {0.587, 0.475, 0.974},
                                      {0.584, 0.898, 0.361},
                                      {0.584, 0.898, 0.361},
                                      {0.952, 0.526, 0.229}}});
}

Theme Theme::creamPreset(Font font) {
  return makeTheme(std::move(font), {{{0.0, 0.0, 0.0},
                                      {1.0, 0.99, 0.9},
                                      {0.161, 0.259, 0.467},
                                      {0.875, 0.027, 0.0},
                                      {0.706, 0.27, 0.0},
                                      {0.278, 0.415, 0.593},
                                      {0.161, 0.259, 0.467},
                                      {0.765, 0.455, 0.11},
                                      {0.278, 0.415, 0.593},
                                      {0.278, 0.415, 0.593},
                                      {0.392, 0.391, 0.52}}});
}

Theme Theme::paperPreset(Font font) {
  return makeTheme(std::move(font), {{{0.0, 0.0, 0.0},
                                      {1.0, 1.0, 1.0},
                                      {0.706, 0.0, 0.384},
                                      {0.729, 0.0, 0.067},
                                      {0.267, 0.537, 0.576},
                                      {0.267, 0.537, 0.576},
                                      {0.0, 0.043, 1.0},
                                      {0.336, 0.376, 0.42},
                                      {0.267, 0.537, 0.576},
                                      {0.267, 0.537, 0.576},
                                      {0.431, 0.125, 0.051}}});
}

}  // namespace Glint
