// Packed colours and colours with a light and a dark variant.
#include "MarkdownRender/styles/color_extensions.h"

#include <gtest/gtest.h>

#include "platform/ui/inspector.h"
#include "platform/ui/views.h"

namespace {

using MarkdownRender::colorFromPackedRGBA;
using MarkdownRender::colorWithVariants;
using ui::ColorScheme;
using ui::ResolvedColor;

TEST(PackedColor, BytesAreRedGreenBlueOpacity) {
  struct Case {
    std::uint32_t packed;
    ResolvedColor expected;
  };
  const double half = 128.0 / 255.0;
  const Case cases[] = {
      {0xFF0000FF, {1, 0, 0, 1}},
      {0x00000000, {0, 0, 0, 0}},
      {0x80808080, {half, half, half, half}},
      {0x0066CCFF, {0, 102.0 / 255, 204.0 / 255, 1}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.packed);
    const ui::Color color = colorFromPackedRGBA(c.packed);
    EXPECT_EQ(color.kind(), ui::Color::Kind::sRGB);
    EXPECT_EQ(color.resolved(ColorScheme::light), c.expected);
    EXPECT_EQ(color.resolved(ColorScheme::dark), c.expected);
  }
}

TEST(VariantColor, ShowsTheVariantOfTheAppearance) {
  const ui::Color color = colorWithVariants([] { return colorFromPackedRGBA(0x1D1D1FFF); },
                                            [] { return colorFromPackedRGBA(0xF5F5F7FF); });
  EXPECT_EQ(color.resolved(ColorScheme::light), colorFromPackedRGBA(0x1D1D1FFF).resolved(ColorScheme::light));
  EXPECT_EQ(color.resolved(ColorScheme::dark), colorFromPackedRGBA(0xF5F5F7FF).resolved(ColorScheme::dark));
  const ui::Color white =
      colorWithVariants([] { return ui::Color::white(); }, [] { return colorFromPackedRGBA(0x18191DFF); });
  EXPECT_EQ(white.lightColor(), ui::Color::white());
}

TEST(VariantColor, ADrawnColourFollowsASwitchOfAppearance) {
  const ui::Color color = colorWithVariants([] { return colorFromPackedRGBA(0x0066CCFF); },
                                            [] { return colorFromPackedRGBA(0x2997FFFF); });
  ui::testing::Host host{ui::Text("Link").foregroundStyle(color)};
  EXPECT_EQ(host.find(ui::testing::text("Link")).resolvedForegroundColor(),
            (ResolvedColor{0, 102.0 / 255, 204.0 / 255, 1}));
  host.setColorScheme(ColorScheme::dark);
  EXPECT_EQ(host.find(ui::testing::text("Link")).resolvedForegroundColor(),
            (ResolvedColor{41.0 / 255, 151.0 / 255, 1, 1}));
}

}  // namespace
