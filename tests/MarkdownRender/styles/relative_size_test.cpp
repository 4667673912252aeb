// Lengths in em and rem become whole points against the font in force, also through the view modifiers
// that take them.
#include "MarkdownRender/styles/relative_size.h"

#include <gtest/gtest.h>

#include <unordered_set>

#include "MarkdownRender/styles/font_relative_modifiers.h"
#include "MarkdownRender/styles/text_style_environment.h"
#include "MarkdownRender/styles/text_styles.h"
#include "platform/ui/inspector.h"
#include "platform/ui/views.h"

namespace {

using MarkdownRender::FontProperties;
using MarkdownRender::RelativeSize;

FontProperties sized(double size, double scale) {
  FontProperties p;
  p.size = size;
  p.scale = scale;
  return p;
}

TEST(RelativeSize, ResolvesToWholePointsAgainstTheFont) {
  struct Case {
    const char* name;
    RelativeSize length;
    std::optional<FontProperties> font;
    double points;
  };
  const Case cases[] = {
      {"1.5 em, no font", RelativeSize::em(1.5), std::nullopt, 20},
      {"1.5 rem, no font", RelativeSize::rem(1.5), std::nullopt, 20},
      {"1 em at scale 2", RelativeSize::em(1), sized(13, 2), 26},
      {"1 rem at scale 2", RelativeSize::rem(1), sized(13, 2), 13},
      {"1 em at scale 1.5", RelativeSize::em(1), sized(13, 1.5), 20},
      {"1.5 em at scale 1.5: the effective size is rounded first", RelativeSize::em(1.5), sized(13, 1.5), 30},
      {"0.15 em", RelativeSize::em(0.15), sized(13, 1), 2},
      {"0.72 em", RelativeSize::em(0.72), sized(13, 1), 9},
      {"zero rem, no font", RelativeSize::zeroRem, std::nullopt, 0},
      {"zero rem, large font", RelativeSize::zeroRem, sized(40, 3), 0},
      {"negative half rounds away from zero", RelativeSize::em(-0.5), sized(13, 1), -7},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(c.length.resolved(c.font), c.points);
  }
}

TEST(RelativeSize, ComparesAndHashesByValueAndUnit) {
  EXPECT_EQ(RelativeSize::em(1), (RelativeSize{1, RelativeSize::Unit::em}));
  EXPECT_NE(RelativeSize::em(1), RelativeSize::rem(1));
  EXPECT_NE(RelativeSize::em(1), RelativeSize::em(2));
  EXPECT_EQ(RelativeSize::zeroRem, RelativeSize::rem(0));
  const std::unordered_set<RelativeSize> all{RelativeSize::em(1), RelativeSize::rem(1), RelativeSize::em(1)};
  EXPECT_EQ(all.size(), 2u);
}

// A text whose font record is changed by `style` before the modifier is applied inside it.
ui::AnyView inScaledText(const ui::AnyView& view, double scale) {
  return MarkdownRender::textStyle(view, MarkdownRender::FontSize::relative(RelativeSize::em(scale)));
}

TEST(FontRelativeModifiers, ResolveAgainstTheTextStyleInForce) {
  using ui::testing::Host;
  using ui::testing::identifier;
  Host host{ui::VStack(
      MarkdownRender::fontRelativePadding(ui::Text("plain").accessibilityIdentifier("plain"),
                                          ui::Edges::leading, RelativeSize::em(1.5)),
      inScaledText(MarkdownRender::fontRelativePadding(ui::Text("em").accessibilityIdentifier("em"),
                                                       ui::Edges::all, RelativeSize::em(1)),
                   2),
      inScaledText(MarkdownRender::fontRelativePadding(ui::Text("rem").accessibilityIdentifier("rem"),
                                                       ui::Edges::top, RelativeSize::rem(1)),
                   2))};
  EXPECT_EQ(host.find(identifier("plain")).padding(), (ui::EdgeInsets{0, 20, 0, 0}));
  EXPECT_EQ(host.find(identifier("em")).padding(), (ui::EdgeInsets{26, 26, 26, 26}));
  EXPECT_EQ(host.find(identifier("rem")).padding(), (ui::EdgeInsets{13, 0, 0, 0}));
}

TEST(FontRelativeModifiers, FramesAndLineSpacing) {
  using ui::testing::Host;
  using ui::testing::identifier;
  Host host{ui::VStack(
      MarkdownRender::fontRelativeFrame(ui::Text("marker").accessibilityIdentifier("marker"),
                                        RelativeSize::em(1.5), ui::Alignment::trailing()),
      MarkdownRender::fontRelativeFrame(ui::Text("bar").accessibilityIdentifier("bar"), RelativeSize::em(0.2),
                                        std::nullopt, ui::Alignment::center()),
      inScaledText(MarkdownRender::fontRelativeLineSpacing(ui::Text("lines").accessibilityIdentifier("lines"),
                                                           RelativeSize::em(0.25)),
                   2))};
  const auto* marker = host.find(identifier("marker")).modifier<ui::FrameModifier>();
  ASSERT_NE(marker, nullptr);
  EXPECT_EQ(marker->minWidth, 20);
  EXPECT_EQ(marker->width, std::nullopt);
  EXPECT_EQ(marker->maxWidth, std::nullopt);
  EXPECT_EQ(marker->minHeight, std::nullopt);
  EXPECT_EQ(marker->alignment, ui::Alignment::trailing());
  const auto* bar = host.find(identifier("bar")).modifier<ui::FrameModifier>();
  ASSERT_NE(bar, nullptr);
  EXPECT_EQ(bar->width, 3);
  EXPECT_EQ(bar->height, std::nullopt);
  EXPECT_EQ(host.find(identifier("lines")).environment().get<ui::LineSpacingKey>(), 7);
}

}  // namespace
