#include "syntax_highlighter/theme.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

namespace Glint {
namespace {

using Preset = Theme (*)(Font);

struct RGB {
  double red, green, blue;
};

struct PresetCase {
  const char* name;
  Preset preset;
  // plain text, background, keyword, string, type, call, number, comment, property, dot access,
  // preprocessing
  RGB colors[11];
};

const PresetCase presetCases[] = {
    {"charcoal",
     &Theme::charcoalPreset,
     {{0.66, 0.74, 0.74},
      {0.098, 0.098, 0.098},
      {0.91, 0.2, 0.54},
      {0.98, 0.39, 0.12},
      {0.51, 0.51, 0.79},
      {0.2, 0.56, 0.9},
      {0.86, 0.44, 0.34},
      {0.42, 0.54, 0.58},
      {0.13, 0.67, 0.62},
      {0.57, 0.7, 0.0},
      {0.71, 0.54, 0.0}}},
    {"neon",
     &Theme::neonPreset,
     {{1.0, 1.0, 1.0},
      {0.0, 0.0, 0.0},
      {0.828, 0.095, 0.583},
      {1.0, 0.171, 0.219},
      {0.137, 1.0, 0.512},
      {0.137, 1.0, 0.512},
      {0.469, 0.426, 1.0},
      {0.255, 0.801, 0.27},
      {0.431, 0.714, 0.533},
      {0.431, 0.714, 0.533},
      {0.896, 0.488, 0.284}}},
    {"slate",
     &Theme::slatePreset,
     {{0.84, 0.84, 0.84},
      {0.18, 0.19, 0.2},
      {0.992, 0.791, 0.45},
      {0.966, 0.517, 0.29},
      {0.431, 0.714, 0.533},
      {0.431, 0.714, 0.533},
      {0.559, 0.504, 0.745},
      {0.484, 0.483, 0.504},
      {0.431, 0.714, 0.533},
      {0.431, 0.714, 0.533},
      {0.992, 0.791, 0.45}}},
    {"graphite",
     &Theme::graphitePreset,
     {{1.0, 1.0, 1.0},
      {0.163, 0.163, 0.182},
      {0.948, 0.14, 0.547},
      {0.988, 0.273, 0.317},
      {0.584, 0.898, 0.361},
      {0.584, 0.898, 0.361},
      {0.587, 0.517, 0.974},
      {0.587, 0.475, 0.974},
      {0.584, 0.898, 0.361},
      {0.584, 0.898, 0.361},
      {0.952, 0.526, 0.229}}},
    {"cream",
     &Theme::creamPreset,
     {{0.0, 0.0, 0.0},
      {1.0, 0.99, 0.9},
      {0.161, 0.259, 0.467},
      {0.875, 0.027, 0.0},
      {0.706, 0.27, 0.0},
      {0.278, 0.415, 0.593},
      {0.161, 0.259, 0.467},
      {0.765, 0.455, 0.11},
      {0.278, 0.415, 0.593},
      {0.278, 0.415, 0.593},
      {0.392, 0.391, 0.52}}},
    {"paper",
     &Theme::paperPreset,
     {{0.0, 0.0, 0.0},
      {1.0, 1.0, 1.0},
      {0.706, 0.0, 0.384},
      {0.729, 0.0, 0.067},
      {0.267, 0.537, 0.576},
      {0.267, 0.537, 0.576},
      {0.0, 0.043, 1.0},
      {0.336, 0.376, 0.42},
      {0.267, 0.537, 0.576},
      {0.267, 0.537, 0.576},
      {0.431, 0.125, 0.051}}},
};

ui::Color color(const RGB& rgb) { return ui::Color(rgb.red, rgb.green, rgb.blue, 1.0); }

TEST(Theme, PresetsHoldTheirFixedColours) {
  for (const auto& c : presetCases) {
    SCOPED_TRACE(c.name);
    const Theme theme = c.preset(Font(Font::System{}, 16));
    EXPECT_EQ(theme.plainTextColor, color(c.colors[0]));
    EXPECT_EQ(theme.backgroundColor, color(c.colors[1]));
    ASSERT_EQ(theme.tokenColors.size(), 9u);
    for (std::size_t index = 0; index < fixedTokenTypes().size(); ++index) {
      SCOPED_TRACE(fixedTokenTypes()[index].stringValue());
      EXPECT_EQ(theme.color(fixedTokenTypes()[index]), color(c.colors[index + 2]));
    }
    EXPECT_FALSE(theme.color(TokenType::custom("keyword")));
  }
}

TEST(Theme, PresetsKeepTheFontTheyAreGiven) {
  const Font fonts[] = {Font(Font::System{}, 16), Font(Font::Path{"/fonts/a.ttf"}, 9.5),
                        Font(Font::Preloaded{ui::Font::custom("Menlo", 12)}, 12)};
  for (const auto& c : presetCases) {
    for (const auto& font : fonts) EXPECT_EQ(c.preset(font).font, font);
  }
}

TEST(Font, PathsExpandTheTilde) {
  const char* home = std::getenv("HOME");
  ASSERT_NE(home, nullptr);
  EXPECT_EQ(std::get<Font::Path>(Font("~/fonts/a.ttf", 12).resource).path,
            std::string(home) + "/fonts/a.ttf");
  EXPECT_EQ(std::get<Font::Path>(Font("~", 12).resource).path, home);
  EXPECT_EQ(std::get<Font::Path>(Font("/fonts/~a.ttf", 12).resource).path, "/fonts/~a.ttf");
  EXPECT_EQ(std::get<Font::Path>(Font("~no-such-user-here/a.ttf", 12).resource).path,
            "~no-such-user-here/a.ttf");
  EXPECT_DOUBLE_EQ(Font("a.ttf", 13.5).size, 13.5);
}

TEST(Font, LoadingFailsQuietlyForMissingAndNonFontFiles) {
  EXPECT_FALSE(Font::loadFont("/no/such/font.ttf", 12));
  EXPECT_FALSE(Font::loadFont(QUILLO_TEST_DIR "/fixtures/not-a-font.ttf", 12));
  EXPECT_FALSE(Font::loadFont(QUILLO_TEST_DIR "/fixtures", 12));
  EXPECT_FALSE(Font::loadFont("", 12));
  EXPECT_FALSE(Font::loadFont("/dev/zero", 12));  // never read: not a regular file
}

TEST(Font, LoadsAnInstalledFontFile) {
  const std::string path = "/usr/share/fonts/truetype/dejavu/DejaVuSansMono.ttf";
  if (!std::filesystem::exists(path)) GTEST_SKIP() << "no DejaVu font installed";
  const auto font = Font::loadFont(path, 15);
  ASSERT_TRUE(font);
  EXPECT_EQ(font->kind(), ui::Font::Kind::file);
  EXPECT_EQ(font->path(), path);
  EXPECT_EQ(font->name(), "DejaVu Sans Mono");
  EXPECT_DOUBLE_EQ(font->size(), 15);
}

}  // namespace
}  // namespace Glint
