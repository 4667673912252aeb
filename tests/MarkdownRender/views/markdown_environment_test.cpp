#include "MarkdownRender/views/markdown_environment.h"

#include <gtest/gtest.h>

#include "MarkdownRender/styles/font_properties.h"
#include "MarkdownRender/styles/text_style_environment.h"
#include "MarkdownRender/styles/text_styles.h"
#include "MarkdownRender/views/markdown_view.h"
#include "platform/ui/inspector.h"
#include "platform/ui/views.h"

namespace MarkdownRender {
namespace {

using ui::testing::Host;
using ui::testing::text;

TEST(MarkdownEnvironment, ViewsOutsideAnyDocumentSeeTheDefaults) {
  Host host(ui::Text::verbatim("probe"));
  const auto& environment = host.find(text("probe")).environment();
  EXPECT_FALSE(environment.get<BaseURLKey>().has_value());
  EXPECT_FALSE(environment.get<ImageBaseURLKey>().has_value());
  EXPECT_EQ(environment.get<ListLevelKey>(), 0);
  EXPECT_FALSE(environment.get<TightSpacingEnabledKey>());
  ui::AttributeContainer attributes;
  environment.get<TextStyleKey>().applyAttributes(attributes);
  EXPECT_EQ(fontProperties(attributes), FontProperties());
  EXPECT_NE(environment.get<CodeSyntaxHighlighterKey>(), nullptr);
}

TEST(MarkdownEnvironment, TextStyleFontSetsTheFontOfTheStyleInForce) {
  auto probe = textStyleFont(ui::Text::verbatim("probe"));
  Host host(textStyle(probe, FontSize::points(20)));
  FontProperties expected;
  expected.size = 20;
  EXPECT_EQ(host.find(text("probe")).environment().font(), makeFont(expected));
}

TEST(MarkdownEnvironment, TextStyleFontWithoutARecordGivesThePlatformDefaultNotTheEnclosingFont) {
  auto probe = textStyleFont(ui::Text::verbatim("probe"));
  Host host(probe.environment<TextStyleKey>(AnyTextStyle()).font(ui::Font::system(30)));
  EXPECT_EQ(host.find(text("probe")).environment().font(), std::nullopt);
}

TEST(MarkdownEnvironment, MarkerModifiersReplaceOnlyTheirMember) {
  auto probe = ui::AnyView(ui::Text::verbatim("probe"));
  auto bullets = BlockStyle<ListMarkerConfiguration>([](const ListMarkerConfiguration& c) {
    return ui::Text::verbatim("b" + std::to_string(c.itemNumber));
  });
  auto numbers = BlockStyle<ListMarkerConfiguration>([](const ListMarkerConfiguration& c) {
    return ui::Text::verbatim("n" + std::to_string(c.itemNumber));
  });
  auto tasks = BlockStyle<TaskListMarkerConfiguration>(
      [](const TaskListMarkerConfiguration& c) { return ui::Text::verbatim(c.isCompleted ? "x" : "o"); });
  Host host(taskListMarker(numberedListMarker(bulletedListMarker(probe, bullets), numbers), tasks));
  const auto theme = host.find(text("probe")).environment().get<ThemeKey>();
  Host shown(ui::VStack(theme.bulletedListMarker.render({1, 2}), theme.numberedListMarker.render({1, 3}),
                        theme.taskListMarker.render({true})));
  EXPECT_TRUE(shown.exists(text("b2")));
  EXPECT_TRUE(shown.exists(text("n3")));
  EXPECT_TRUE(shown.exists(text("x")));
}

TEST(MarkdownEnvironment, ThemeCodeStyleChangesInlineCodeOnly) {
  Host host(themeTextStyle(Markdown("*a* `b` c"), &Theme::code, ForegroundColor(ui::Color::red())));
  auto* spec = host.find(text("a b c")).primitive<ui::detail::TextSpec>();
  ASSERT_NE(spec, nullptr);
  const auto shown = spec->attributedString();
  for (const auto& run : shown.runs()) {
    SCOPED_TRACE(std::string(shown.text(run)));
    const bool isCode = shown.text(run) == "b";
    EXPECT_EQ(shown.attributes(run).foregroundColor == ui::Color::red(), isCode);
  }
}

}  // namespace
}  // namespace MarkdownRender
