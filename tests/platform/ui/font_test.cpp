#include "platform/ui/font.h"

#include <gtest/gtest.h>

#include <unordered_set>

namespace ui {
namespace {

TEST(Font, RecipesKeepWhatTheyWereMadeFrom) {
  const Font system = Font::system(16, FontWeight::semibold, FontDesign::rounded);
  EXPECT_EQ(system.kind(), Font::Kind::system);
  EXPECT_DOUBLE_EQ(system.size(), 16);
  EXPECT_EQ(system.weight(), FontWeight::semibold);
  EXPECT_EQ(system.design(), FontDesign::rounded);

  const Font custom = Font::custom("Menlo", 12);
  EXPECT_EQ(custom.name(), "Menlo");
  EXPECT_DOUBLE_EQ(custom.size(), 12);

  const Font file = Font::file("/fonts/Mono.ttf", 14, "Mono");
  EXPECT_EQ(file.kind(), Font::Kind::file);
  EXPECT_EQ(file.path(), "/fonts/Mono.ttf");
  EXPECT_EQ(file.name(), "Mono");
}

TEST(Font, TextStylesTakeThePlatformSizes) {
  EXPECT_EQ(Font(), Font::body());
  EXPECT_EQ(Font::title().textStyleValue(), TextStyle::title);
  EXPECT_GT(Font::largeTitle().size(), Font::body().size());
  EXPECT_GT(Font::body().size(), Font::caption().size());
  EXPECT_EQ(Font::headline().weight(), FontWeight::bold);
  EXPECT_FALSE(Font::system(12).textStyleValue());
}

TEST(Font, ModifiersChangeOnlyTheirAttribute) {
  const Font base = Font::system(13);
  EXPECT_TRUE(base.monospaced().isMonospaced());
  EXPECT_FALSE(base.isMonospaced());
  EXPECT_EQ(base.bold().weight(), FontWeight::bold);
  EXPECT_TRUE(base.italic().isItalic());
  EXPECT_EQ(base.monospaced().size(), base.size());
  EXPECT_TRUE(Font::custom("Menlo", 11).monospaced().isMonospaced());
}

TEST(Font, EqualFontsHashAlike) {
  std::unordered_set<Font> fonts{Font::body(),     Font::body(),          Font::body().monospaced(),
                                 Font::system(13), Font::custom("A", 13), Font::custom("A", 13)};
  EXPECT_EQ(fonts.size(), 4u);
}

}  // namespace
}  // namespace ui
