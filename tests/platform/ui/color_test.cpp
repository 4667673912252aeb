#include "platform/ui/color.h"

#include <gtest/gtest.h>

#include <unordered_set>

namespace ui {
namespace {

TEST(Color, FixedColoursResolveToTheirComponentsInBothSchemes) {
  const Color color(0.2, 0.4, 0.6, 0.8);
  for (auto scheme : allColorSchemes) {
    EXPECT_EQ(color.resolved(scheme), (ResolvedColor{0.2, 0.4, 0.6, 0.8}));
  }
  EXPECT_EQ(color.kind(), Color::Kind::sRGB);
  EXPECT_EQ(color.colorSpaceComponents(), (ColorSpaceComponents{ColorSpaceName::sRGB, {0.2, 0.4, 0.6, 0.8}}));
}

TEST(Color, OpacityMultipliesWhateverTheKind) {
  EXPECT_EQ(Color(1, 0, 0).opacity(0.5).resolved(ColorScheme::light), (ResolvedColor{1, 0, 0, 0.5}));
  EXPECT_DOUBLE_EQ(Color::gray().opacity(0.1).resolved(ColorScheme::dark).opacity, 0.1);
  EXPECT_DOUBLE_EQ(Color::primary().opacity(0.5).opacity(0.5).opacityFactor(), 0.25);
  EXPECT_DOUBLE_EQ(Color(1, 1, 1).opacity(7).resolved(ColorScheme::light).opacity, 1.0);
}

TEST(Color, DynamicPairsFollowTheScheme) {
  const Color pair = Color::dynamic(Color(1, 1, 1), Color(0, 0, 0));
  EXPECT_EQ(pair.resolved(ColorScheme::light), (ResolvedColor{1, 1, 1, 1}));
  EXPECT_EQ(pair.resolved(ColorScheme::dark), (ResolvedColor{0, 0, 0, 1}));
  EXPECT_EQ(pair.kind(), Color::Kind::dynamic);
  EXPECT_EQ(pair.lightColor(), Color(1, 1, 1));
  EXPECT_FALSE(pair.colorSpaceComponents());
  EXPECT_NE(Color::labelColor().resolved(ColorScheme::light),
            Color::labelColor().resolved(ColorScheme::dark));
}

TEST(Color, ColourSpaceColoursNeedAKnownSpaceAndFittingComponents) {
  struct Case {
    std::string space;
    std::vector<double> components;
    bool isValid;
  };
  const Case cases[] = {
      {ColorSpaceName::sRGB, {1, 0, 0, 1}, true},
      {ColorSpaceName::extendedSRGB, {1.2, -0.1, 0, 1}, true},
      {ColorSpaceName::displayP3, {0, 1, 0, 1}, true},
      {ColorSpaceName::genericGray, {0.5, 1}, true},
      {ColorSpaceName::deviceRGB, {0, 0, 1, 1}, true},
      {ColorSpaceName::sRGB, {1, 0, 0}, false},
      {ColorSpaceName::genericGray, {0.5, 1, 1, 1}, false},
      {"no such space", {1, 0, 0, 1}, false},
      {ColorSpaceName::sRGB, {}, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.space);
    const auto color = Color::inColorSpace(c.space, c.components);
    ASSERT_EQ(color.has_value(), c.isValid);
    if (color) {
      EXPECT_EQ(color->colorSpaceComponents(), (ColorSpaceComponents{c.space, c.components}));
    }
  }
  EXPECT_EQ(Color::inColorSpace(ColorSpaceName::genericGray, {0.5, 1})->resolved(ColorScheme::light),
            (ResolvedColor{0.5, 0.5, 0.5, 1}));
  const auto p3Green =
      Color::inColorSpace(ColorSpaceName::displayP3, {0, 1, 0, 1})->resolved(ColorScheme::light);
  EXPECT_LT(p3Green.red, 0);  // wider than sRGB
  EXPECT_GT(p3Green.green, 1);
}

TEST(Color, CatalogueAndSystemColoursKeepTheirNames) {
  const Color control = Color::controlBackgroundColor();
  EXPECT_EQ(control.kind(), Color::Kind::catalog);
  EXPECT_EQ(control.catalogName(), "System");
  EXPECT_EQ(control.colorName(), "controlBackgroundColor");
  EXPECT_EQ(Color::teal().systemColor(), SystemColor::teal);
  for (auto system : allSystemColors) EXPECT_EQ(systemColorFromName(systemColorName(system)), system);
  EXPECT_EQ(Color::named("Assets", "emptyBG").resolved(ColorScheme::light).opacity, 0);
}

TEST(Color, EqualColoursHashAlike) {
  std::unordered_set<Color> set{Color::teal(),
                                Color::teal(),
                                Color(0, 0, 0),
                                Color::dynamic(Color::red(), Color::blue()),
                                Color::dynamic(Color::red(), Color::blue()),
                                Color::teal().opacity(0.5)};
  EXPECT_EQ(set.size(), 4u);
  EXPECT_NE(Color::teal(), Color::teal().opacity(0.5));
  EXPECT_NE(Color::named("System", "a"), Color::named("System", "b"));
}

}  // namespace
}  // namespace ui
