// Themes: the values of a plain theme, builder methods that replace one member, the built-in standard
// theme, and the theme in force for a subtree of views.
#include "MarkdownRender/styles/theme.h"

#include <gtest/gtest.h>

#include <string>

#include "MarkdownRender/styles/text_styles.h"
#include "MarkdownRender/styles/theme_environment.h"
#include "style_probe.h"

namespace {

using namespace MarkdownRender;
using markdown_styles_test::attributesProbe;
using markdown_styles_test::reportedMargins;
using ui::testing::Host;
using ui::testing::identifier;
using ui::testing::text;
using ui::testing::type;

// What a text style adds on top of the root style, shown as the probe shows it.
std::string describe(const AnyTextStyle& style) {
  Host host{textStyle(attributesProbe("probe"), style)};
  return host.find(identifier("probe")).text();
}

BlockConfiguration labelled(const ui::AnyView& content) { return BlockConfiguration{BlockLabel(content)}; }

// Whether the style shows a label as it is, with nothing around it.
bool passesThrough(const Theme::BlockStyleOfBlock& style) {
  const ui::AnyView label = ui::Text("label");
  return style.render(labelled(label)).spec() == label.spec();
}

TEST(Theme, APlainThemeStylesOnlyInlineRuns) {
  const Theme theme;
  EXPECT_EQ(describe(theme.text), "13");
  EXPECT_EQ(describe(theme.code), "13 monospaced");
  EXPECT_EQ(describe(theme.emphasis), "13 italic");
  EXPECT_EQ(describe(theme.strong), "13 semibold");
  EXPECT_EQ(describe(theme.link), "13");
  ui::AttributeContainer struck;
  theme.strikethrough.applyAttributes(struck);
  EXPECT_EQ(struck.strikethrough, true);
  EXPECT_EQ(struck.strikethroughStyle, ui::LineStyle::single());
  EXPECT_NE(theme.text.as<EmptyTextStyle>(), nullptr);

  for (const auto& heading : theme.headings) EXPECT_TRUE(passesThrough(heading));
  for (const auto* style : {&theme.paragraph, &theme.blockquote, &theme.codeBlock, &theme.image, &theme.list,
                            &theme.listItem, &theme.table}) {
    EXPECT_TRUE(passesThrough(*style));
  }
  Host cell{theme.tableCell.render(TableCellConfiguration{0, 2, BlockLabel(ui::Text("cell"))})};
  EXPECT_TRUE(cell.exists(text("cell")));
  EXPECT_EQ(
      reportedMargins(theme.tableCell.render(TableCellConfiguration{0, 2, BlockLabel(ui::Text("cell"))})),
      BlockMargin::unspecified());
  Host rule{theme.thematicBreak.render()};
  EXPECT_EQ(rule.root().typeName(), "Divider");

  Host bullet{theme.bulletedListMarker.render(ListMarkerConfiguration{2, 1})};
  EXPECT_EQ(bullet.find(type("Image")).primitive<ui::detail::ImageSpec>()->name, "circle");
  Host number{theme.numberedListMarker.render(ListMarkerConfiguration{1, 3})};
  EXPECT_TRUE(number.exists(text("3.")));
  Host task{theme.taskListMarker.render(TaskListMarkerConfiguration{true})};
  EXPECT_EQ(task.find(type("Image")).primitive<ui::detail::ImageSpec>()->name, "checkmark.square.fill");
}

TEST(Theme, ABuilderMethodReplacesOneMemberOfACopy) {
  const Theme original;
  const Theme changed =
      original.withHeadingLevel3([](const BlockConfiguration& c) { return ui::AnyView(c.label).padding(7); });
  for (std::size_t level = 0; level < 6; ++level) {
    SCOPED_TRACE(level + 1);
    EXPECT_TRUE(passesThrough(original.headings[level]));
    EXPECT_EQ(passesThrough(changed.headings[level]), level != 2);
  }
  EXPECT_TRUE(passesThrough(changed.paragraph));
  EXPECT_EQ(describe(changed.code), "13 monospaced");

  int calls = 0;
  const Theme chained = Theme()
                            .withText([&calls] {
                              ++calls;
                              return ForegroundColor(ui::Color::red());
                            })
                            .withLink(ForegroundColor(ui::Color::blue()))
                            .withStrong(TextStyleBuilder::build(FontWeight(ui::FontWeight::semibold),
                                                                FontSize::relative(RelativeSize::em(2))));
  EXPECT_EQ(calls, 1);
  EXPECT_EQ(describe(chained.text), "13 red");
  EXPECT_EQ(describe(chained.link), "13 blue");
  EXPECT_EQ(describe(chained.strong), "26 semibold");
  EXPECT_NE(chained.text.as<ForegroundColor>(), nullptr);
}

TEST(Theme, EveryMemberHasABuilderMethod) {
  const auto padded = [](const BlockConfiguration& c) { return ui::AnyView(c.label).padding(1); };
  const Theme theme =
      Theme()
          .withHeadingLevel1(padded)
          .withHeadingLevel2(padded)
          .withHeadingLevel4(padded)
          .withHeadingLevel5(padded)
          .withHeadingLevel6(padded)
          .withParagraph(padded)
          .withBlockquote(padded)
          .withCodeBlock(padded)
          .withImage(padded)
          .withList(padded)
          .withListItem(padded)
          .withTable(padded)
          .withEmphasis(EmptyTextStyle())
          .withStrikethrough(EmptyTextStyle())
          .withCode(EmptyTextStyle())
          .withTaskListMarker([](const TaskListMarkerConfiguration&) { return ui::Text("task"); })
          .withBulletedListMarker(hyphenMarker())
          .withNumberedListMarker(uppercaseRomanMarker())
          .withTableCell([](const TableCellConfiguration& c) {
            return ui::Text::verbatim(std::to_string(c.row) + "," + std::to_string(c.column));
          })
          .withThematicBreak([] { return ui::Text("rule"); });
  for (std::size_t level : {0, 1, 3, 4, 5}) EXPECT_FALSE(passesThrough(theme.headings[level]));
  EXPECT_TRUE(passesThrough(theme.headings[2]));
  for (const auto* style : {&theme.paragraph, &theme.blockquote, &theme.codeBlock, &theme.image, &theme.list,
                            &theme.listItem, &theme.table}) {
    EXPECT_FALSE(passesThrough(*style));
  }
  EXPECT_EQ(describe(theme.emphasis), "13");
  EXPECT_EQ(describe(theme.code), "13");
  Host task{theme.taskListMarker.render(TaskListMarkerConfiguration{false})};
  EXPECT_TRUE(task.exists(text("task")));
  Host bullet{theme.bulletedListMarker.render(ListMarkerConfiguration{1, 1})};
  EXPECT_TRUE(bullet.exists(text("-")));
  Host number{theme.numberedListMarker.render(ListMarkerConfiguration{1, 9})};
  EXPECT_TRUE(number.exists(text("IX.")));
  Host cell{theme.tableCell.render(TableCellConfiguration{2, 3, BlockLabel(ui::Text("x"))})};
  EXPECT_TRUE(cell.exists(text("2,3")));
  Host rule{theme.thematicBreak.render()};
  EXPECT_TRUE(rule.exists(text("rule")));
}

TEST(Theme, HeadingLevelsReadAndWriteTheirEntry) {
  Theme theme;
  EXPECT_TRUE(passesThrough(theme.headingLevel1()));
  theme.setHeadingLevel1(Theme::BlockStyleOfBlock([](const BlockConfiguration&) { return ui::Text("one"); }));
  Host host{theme.headings[0].render(labelled(ui::Text("label")))};
  EXPECT_TRUE(host.exists(text("one")));
  EXPECT_TRUE(passesThrough(theme.headingLevel2()));
}

TEST(Theme, ReadsOfABuiltInThemeAreIndependentCopies) {
  Theme first = Theme::standardTheme();
  first.code = AnyTextStyle(EmptyTextStyle());
  first.paragraph = Theme::BlockStyleOfBlock::passThrough();
  const Theme second = Theme::standardTheme();
  EXPECT_EQ(describe(second.code), "12 monospaced");
  EXPECT_FALSE(passesThrough(second.paragraph));
  EXPECT_EQ(describe(first.code), "13");
}

// Draws inline code, a code block, a paragraph and a level-2 heading with the theme in force.
class ThemeReader final : public ui::View {
 public:
  explicit ThemeReader(std::string prefix) : prefix_(std::move(prefix)) {}
  ui::AnyView body() const override {
    const Theme& theme = *theme_;
    return ui::VStack(textStyle(attributesProbe(prefix_ + "code"), theme.code),
                      theme.codeBlock.render(labelled(ui::Text::verbatim(prefix_ + "block"))),
                      theme.paragraph.render(labelled(ui::Text::verbatim(prefix_ + "paragraph"))),
                      theme.headingLevel2().render(labelled(ui::Text::verbatim(prefix_ + "heading"))));
  }

 private:
  std::string prefix_;
  ui::Environment<ThemeKey> theme_;
};

TEST(ThemeEnvironment, OverridesFromSeveralLevelsCombine) {
  const auto inner =
      themeBlockStyle(ui::AnyView(ThemeReader("inner ")), &Theme::codeBlock,
                      [](const BlockConfiguration& c) { return ui::AnyView(c.label).padding(5); });
  const auto heading = themeBlockStyle<BlockConfiguration>(
      ui::AnyView(ThemeReader("heading ")), headingLevelPath(2),
      [](const BlockConfiguration& c) { return ui::AnyView(c.label).padding(ui::Edges::top, 4); });
  Host host{ui::VStack(ThemeReader("outside "), themeTextStyle(ui::VStack(inner, heading), &Theme::code,
                                                               ForegroundColor(ui::Color::red())))};

  EXPECT_EQ(host.find(identifier("outside code")).text(), "12 monospaced");
  EXPECT_EQ(host.find(text("outside block")).padding().top, 0);

  EXPECT_EQ(host.find(identifier("inner code")).text(), "13 red");
  EXPECT_EQ(host.find(text("inner block")).padding(), (ui::EdgeInsets{5, 5, 5, 5}));
  // Members nobody replaced keep the standard theme's values.
  EXPECT_EQ(host.find(text("inner paragraph")).environment().get<ui::LineSpacingKey>(), 2);
  EXPECT_EQ(host.find(text("heading heading")).padding(), (ui::EdgeInsets{4, 0, 0, 0}));
  EXPECT_EQ(host.find(text("inner heading")).padding(), (ui::EdgeInsets{}));
  EXPECT_EQ(host.find(identifier("heading code")).text(), "13 red");
}

TEST(ThemeEnvironment, TheDefaultThemeIsTheStandardTheme) {
  EXPECT_EQ(describe(ThemeKey::defaultValue().code), "12 monospaced");
  EXPECT_EQ(describe(ThemeKey::defaultValue().strong), "13 semibold");
}

}  // namespace
