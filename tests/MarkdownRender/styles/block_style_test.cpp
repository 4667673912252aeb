// Block styles draw a configuration as a view: pass-through labels, list and task markers, bullets sized
// to the text, and banded table rows.
#include "MarkdownRender/styles/block_style.h"

#include <gtest/gtest.h>

#include <string>

#include "MarkdownRender/styles/block_margin.h"
#include "MarkdownRender/styles/text_styles.h"
#include "platform/ui/image_modifiers.h"
#include "style_probe.h"

namespace {

using namespace MarkdownRender;
using ui::testing::Host;
using ui::testing::text;
using ui::testing::type;

std::string imageName(const Host& host) {
  return host.find(type("Image")).primitive<ui::detail::ImageSpec>()->name;
}

TEST(BlockStyle, PassThroughShowsTheLabelUnchanged) {
  const auto style = BlockStyle<BlockConfiguration>::passThrough();
  const ui::AnyView label = ui::Text("Hello").padding(3);
  Host host{style.render(BlockConfiguration{BlockLabel(label)})};
  const auto hello = host.find(text("Hello"));
  EXPECT_EQ(hello.padding(), (ui::EdgeInsets{3, 3, 3, 3}));
  // The label is the very view it holds: nothing stands between the style and its content.
  EXPECT_EQ(style.render(BlockConfiguration{BlockLabel(label)}).spec(), label.spec());
}

TEST(BlockStyle, StylesOfOneConfigurationShareOneTypeWhateverTheyDraw) {
  std::vector<BlockStyle<BlockConfiguration>> styles{
      BlockStyle<BlockConfiguration>::passThrough(),
      BlockStyle<BlockConfiguration>(
          [](const BlockConfiguration& c) { return ui::AnyView(c.label).padding(2); }),
      BlockStyle<BlockConfiguration>([](const BlockConfiguration&) { return ui::Text("replaced"); })};
  Host host{styles[2].render(BlockConfiguration{BlockLabel(ui::Text("label"))})};
  EXPECT_TRUE(host.exists(text("replaced")));
  EXPECT_FALSE(host.exists(text("label")));
  const BlockStyle<EmptyBlockConfiguration> rule([] { return ui::Divider(); });
  Host ruleHost{rule.render()};
  EXPECT_TRUE(ruleHost.exists(type("Divider")));
}

TEST(ListMarkers, NumbersAndNumerals) {
  struct Case {
    const BlockStyle<ListMarkerConfiguration>* style;
    int itemNumber;
    std::string shown;
  };
  const Case cases[] = {
      {&numeralMarker(), 4, "4."},
      {&uppercaseRomanMarker(), 4, "IV."},
      {&lowercaseRomanMarker(), 4, "iv."},
      {&numeralMarker(), 4000, "4000."},
      {&uppercaseRomanMarker(), 4000, "4000."},
      {&lowercaseRomanMarker(), 4000, "4000."},
      {&lowercaseRomanMarker(), 1994, "mcmxciv."},
      {&hyphenMarker(), 7, "-"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.shown);
    Host host{c.style->render(ListMarkerConfiguration{1, c.itemNumber})};
    EXPECT_TRUE(host.exists(text(c.shown)));
  }
  Host numeral{numeralMarker().render(ListMarkerConfiguration{1, 12})};
  EXPECT_TRUE(numeral.find(text("12.")).font().hasMonospacedDigits());
}

TEST(ListMarkers, MarkersSitInAFrameOneAndAHalfEmWide) {
  const BlockStyle<ListMarkerConfiguration>* styles[] = {&numeralMarker(), &uppercaseRomanMarker(),
                                                         &hyphenMarker(), &bulletByLevel()};
  for (const auto* style : styles) {
    Host host{style->render(ListMarkerConfiguration{1, 2})};
    const auto marker = host.exists(type("Image")) ? host.find(type("Image")) : host.find(type("Text"));
    const auto* frame = marker.modifier<ui::FrameModifier>();
    ASSERT_NE(frame, nullptr);
    EXPECT_EQ(frame->minWidth, 20);
    EXPECT_EQ(frame->alignment, ui::Alignment::trailing());
  }
  Host checkbox{checkboxMarker().render(TaskListMarkerConfiguration{true})};
  ASSERT_NE(checkbox.find(type("Image")).modifier<ui::FrameModifier>(), nullptr);
  EXPECT_EQ(checkbox.find(type("Image")).modifier<ui::FrameModifier>()->minWidth, 20);
}

TEST(ListMarkers, BulletsByLevel) {
  struct Case {
    int level;
    std::string symbol;
  };
  const Case cases[] = {
      {1, "circle.fill"}, {2, "circle"}, {3, "square.fill"}, {7, "square.fill"}, {0, "circle.fill"}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.level);
    Host host{bulletByLevel().render(ListMarkerConfiguration{c.level, 5})};
    EXPECT_EQ(imageName(host), c.symbol);
  }
}

TEST(ListMarkers, ABulletIsAThirdOfTheTextHeight) {
  Host plain{ListBullet("circle.fill")};
  EXPECT_EQ(plain.find(type("Image")).font(), ui::Font::system(4));
  Host large{textStyle(ui::AnyView(ListBullet("circle")), FontSize::relative(RelativeSize::em(2)))};
  EXPECT_EQ(large.find(type("Image")).font(), ui::Font::system(9));
}

TEST(TaskListMarkers, CheckboxShowsTheCompletionStateHierarchicallyAtTheSmallScale) {
  Host done{checkboxMarker().render(TaskListMarkerConfiguration{true})};
  EXPECT_EQ(imageName(done), "checkmark.square.fill");
  Host open{checkboxMarker().render(TaskListMarkerConfiguration{false})};
  EXPECT_EQ(imageName(open), "square");
  const auto& environment = open.find(type("Image")).environment();
  EXPECT_EQ(environment.get<ui::SymbolRenderingModeKey>(), ui::SymbolRenderingMode::hierarchical);
  EXPECT_EQ(environment.get<ui::ImageScaleKey>(), ui::ImageScale::small);
  EXPECT_EQ(environment.get<ui::SecondaryForegroundStyleKey>(), std::nullopt);  // colours of the text
}

TEST(TableBackgroundStyle, RowBands) {
  const ui::Color first = ui::Color::red(), second = ui::Color::blue(), header = ui::Color::green();
  const auto plain = TableBackgroundStyle::rowBands(first, second);
  const auto withHeader = TableBackgroundStyle::rowBands(first, second, header);
  const ui::Color withoutHeaderRows[] = {first, first, second, first, second};
  const ui::Color withHeaderRows[] = {header, first, second, first, second};
  for (int row = 0; row < 5; ++row) {
    SCOPED_TRACE(row);
    EXPECT_EQ(plain.background(row, 0), withoutHeaderRows[row]);
    EXPECT_EQ(plain.background(row, 3), withoutHeaderRows[row]);
    EXPECT_EQ(withHeader.background(row, 1), withHeaderRows[row]);
  }
  EXPECT_EQ(TableBackgroundStyle::transparent().background(2, 2), ui::Color::clear());
}

TEST(BlockMargins, EdgesMergeToTheLargerStatedValue) {
  using M = BlockMargin;
  EXPECT_EQ(M::unspecified().merged(M{std::nullopt, 4}), (M{std::nullopt, 4}));
  EXPECT_EQ((M{0, -3}).merged(M{-5, std::nullopt}), (M{0, -3}));
  EXPECT_EQ((M{2, 8}).merged(M{6, 1}), (M{6, 8}));
  EXPECT_EQ(markdown_styles_test::reportedMargins(blockMargins(ui::Text("a"), 24, 16)), (M{24, 16}));
  EXPECT_EQ(markdown_styles_test::reportedMargins(blockMargins(
                fontRelativeMargins(ui::Text("a"), RelativeSize::em(1.5), std::nullopt), std::nullopt, 3)),
            (M{20, 3}));
}

}  // namespace
