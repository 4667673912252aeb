// The built-in theme with checkboxes and fixed sizes: a 16-point page with its own colours, margins in
// points, underlined top headings, quotes with a bar, tinted code and checkbox task markers.
#include <gtest/gtest.h>

#include <string>

#include "MarkdownRender/styles/color_extensions.h"
#include "MarkdownRender/styles/table_border_style.h"
#include "MarkdownRender/styles/text_styles.h"
#include "MarkdownRender/styles/theme.h"
#include "platform/ui/image_modifiers.h"
#include "style_probe.h"

namespace {

using namespace MarkdownRender;
using markdown_styles_test::attributesProbe;
using markdown_styles_test::labelled;
using markdown_styles_test::packed;
using markdown_styles_test::reportedMargins;
using ui::ColorScheme;
using ui::testing::Host;
using ui::testing::identifier;
using ui::testing::text;
using ui::testing::type;

ui::AttributeContainer appliedToRoot(std::initializer_list<const AnyTextStyle*> styles) {
  ui::AttributeContainer attributes;
  FontProperties().applyAttributes(attributes);
  for (const auto* style : styles) style->applyAttributes(attributes);
  return attributes;
}

TEST(CheckboxTheme, TextIsSixteenPointsOnThePageColour) {
  const Theme theme = Theme::checkboxTheme();
  const auto attributes = appliedToRoot({&theme.text});
  EXPECT_EQ(fontProperties(attributes)->effectiveSize(), 16);
  EXPECT_EQ(attributes.foregroundColor->resolved(ColorScheme::light), packed(0x060606FF));
  EXPECT_EQ(attributes.foregroundColor->resolved(ColorScheme::dark), packed(0xFBFBFCFF));
  EXPECT_EQ(attributes.backgroundColor->resolved(ColorScheme::light),
            ui::Color::white().resolved(ColorScheme::light));
  EXPECT_EQ(attributes.backgroundColor->resolved(ColorScheme::dark), packed(0x18191DFF));

  const auto code = appliedToRoot({&theme.text, &theme.code});
  EXPECT_EQ(fontProperties(code)->effectiveSize(), 14);
  EXPECT_EQ(fontProperties(code)->familyVariant, FontProperties::FamilyVariant::monospaced);
  EXPECT_EQ(code.backgroundColor->resolved(ColorScheme::light), packed(0xF7F7F9FF));
  EXPECT_EQ(code.backgroundColor->resolved(ColorScheme::dark), packed(0x25262AFF));

  const auto link = appliedToRoot({&theme.text, &theme.link});
  EXPECT_EQ(link.foregroundColor->resolved(ColorScheme::dark), packed(0x4C8EF8FF));
  EXPECT_EQ(fontProperties(appliedToRoot({&theme.strong}))->weight, ui::FontWeight::semibold);
}

TEST(CheckboxTheme, TopHeadingsAreUnderlinedAndAllUsePointMargins) {
  const Theme theme = Theme::checkboxTheme();
  struct Case {
    int level;
    std::string probe;
    bool hasDivider;
  };
  const Case cases[] = {{1, "26 semibold", true},  {2, "20 semibold", true},  {3, "16 semibold", false},
                        {4, "13 semibold", false}, {5, "11 semibold", false}, {6, "11 semibold", false}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.level);
    const auto& style = theme.headings[static_cast<std::size_t>(c.level - 1)];
    Host host{style.render(labelled(attributesProbe("heading")))};
    const auto heading = host.find(identifier("heading"));
    EXPECT_EQ(heading.text(), c.probe);
    EXPECT_EQ(host.exists(type("Divider")), c.hasDivider);
    EXPECT_EQ(reportedMargins(style.render(labelled(ui::Text("h")))), (BlockMargin{24, 16}));
  }
  Host level1{theme.headings[0].render(labelled(ui::Text("Title")))};
  // 0.3 em of the heading's own 26 points.
  EXPECT_EQ(level1.find(text("Title")).padding(), (ui::EdgeInsets{0, 0, 8, 0}));

  auto foreground = std::make_shared<std::optional<ui::Color>>();
  const ui::AnyView probe = TextStyleAttributesReader([foreground](const ui::AttributeContainer& attributes) {
    *foreground = attributes.foregroundColor;
    return ui::Text("small");
  });
  Host level6{theme.headings[5].render(labelled(probe))};
  ASSERT_TRUE(foreground->has_value());
  EXPECT_EQ((*foreground)->resolved(ColorScheme::light), packed(0x6B6E7BFF));
  EXPECT_EQ((*foreground)->resolved(ColorScheme::dark), packed(0x6D707DFF));
}

TEST(CheckboxTheme, BlocksAreSpacedInPoints) {
  const Theme theme = Theme::checkboxTheme();
  const auto paragraph = reportedMargins(theme.paragraph.render(labelled(ui::Text("p"))));
  const auto heading = reportedMargins(theme.headings[2].render(labelled(ui::Text("h"))));
  EXPECT_EQ(paragraph, (BlockMargin{0, 16}));
  EXPECT_EQ(std::max(*paragraph.bottom, *heading.top), 24);
  EXPECT_EQ(reportedMargins(theme.codeBlock.render(labelled(ui::Text("c")))), (BlockMargin{0, 16}));
  EXPECT_EQ(reportedMargins(theme.table.render(labelled(ui::Text("t")))), (BlockMargin{0, 16}));
  EXPECT_EQ(reportedMargins(theme.thematicBreak.render()), (BlockMargin{24, 24}));
  EXPECT_EQ(reportedMargins(theme.listItem.render(labelled(ui::Text("i")))), (BlockMargin{3, std::nullopt}));
  EXPECT_EQ(reportedMargins(theme.blockquote.render(labelled(ui::Text("q")))), BlockMargin::unspecified());
}

TEST(CheckboxTheme, QuotesHaveABarAsTallAsTheirText) {
  const Theme theme = Theme::checkboxTheme();
  Host host{theme.blockquote.render(labelled(ui::Text("quote")))};
  const auto stack = host.find(type("HStack"));
  const auto* fixed = stack.modifier<ui::FixedSizeModifier>();
  ASSERT_NE(fixed, nullptr);
  EXPECT_FALSE(fixed->horizontal);
  EXPECT_TRUE(fixed->vertical);
  const auto bar = host.find(type("RoundedRectangle"));
  EXPECT_EQ(bar.modifier<ui::FrameModifier>()->width, 3);
  EXPECT_EQ(bar.modifier<ui::FrameModifier>()->height, std::nullopt);
  EXPECT_EQ(host.find(text("quote")).padding(), (ui::EdgeInsets{0, 13, 0, 13}));
}

TEST(CheckboxTheme, TaskItemsShowFixedColourCheckboxes) {
  const Theme theme = Theme::checkboxTheme();
  for (bool isCompleted : {true, false}) {
    for (ColorScheme scheme : ui::allColorSchemes) {
      Host host{theme.taskListMarker.render(TaskListMarkerConfiguration{isCompleted}), scheme};
      const auto image = host.find(type("Image"));
      EXPECT_EQ(image.primitive<ui::detail::ImageSpec>()->name,
                isCompleted ? "checkmark.square.fill" : "square");
      // Two layers in the fixed checkbox colours, rendered hierarchically at the small scale.
      EXPECT_EQ(image.resolvedForegroundColor(), packed(0xB9B9BBFF));
      const auto& environment = image.environment();
      ASSERT_TRUE(environment.get<ui::SecondaryForegroundStyleKey>().has_value());
      EXPECT_EQ(environment.get<ui::SecondaryForegroundStyleKey>()->resolved(scheme), packed(0xEEEEEFFF));
      EXPECT_EQ(environment.get<ui::SymbolRenderingModeKey>(), ui::SymbolRenderingMode::hierarchical);
      EXPECT_EQ(environment.get<ui::ImageScaleKey>(), ui::ImageScale::small);
      EXPECT_EQ(image.modifier<ui::FrameModifier>()->minWidth, 20);
    }
  }
}

TEST(CheckboxTheme, TableCellsClearThePageBackground) {
  const Theme theme = Theme::checkboxTheme();
  for (int row : {0, 2}) {
    SCOPED_TRACE(row);
    auto background = std::make_shared<std::optional<ui::Color>>();
    const ui::AnyView probe =
        TextStyleAttributesReader([background](const ui::AttributeContainer& attributes) {
          *background = attributes.backgroundColor;
          return ui::Text("cell");
        });
    Host host{
        textStyle(theme.tableCell.render(TableCellConfiguration{row, 0, BlockLabel(probe)}), theme.text)};
    EXPECT_EQ(*background, std::nullopt);
    EXPECT_EQ(host.find(text("cell")).padding(), (ui::EdgeInsets{6, 13, 6, 13}));
    EXPECT_EQ(host.find(text("cell")).environment().get<ui::LineSpacingKey>(), 4);
  }
}

TEST(CheckboxTheme, CodeBlocksAndRules) {
  const Theme theme = Theme::checkboxTheme();
  Host code{theme.codeBlock.render(labelled(attributesProbe("code")))};
  EXPECT_EQ(code.find(identifier("code")).text(), "11 monospaced");
  EXPECT_EQ(code.find(identifier("code")).padding(), (ui::EdgeInsets{16, 16, 16, 16}));
  EXPECT_EQ(code.find(type("ScrollView")).clipShape(),
            (ui::ShapeOutline{ui::ShapeOutline::Kind::roundedRectangle, 6, ui::CornerStyle::continuous}));
  Host rule{theme.thematicBreak.render()};
  EXPECT_EQ(rule.find(type("Divider")).modifier<ui::FrameModifier>()->height, 3);
}

}  // namespace

namespace {

using namespace MarkdownRender;

// Shows the background of each of five rows as the table background style in force gives it.
class RowBackgrounds final : public ui::View {
 public:
  ui::AnyView body() const override {
    std::vector<ui::AnyView> rows;
    for (int row = 0; row < 5; ++row) {
      const bool isPage = style_->background(row, 1) == style_->background(0, 0);
      rows.push_back(ui::Text::verbatim(isPage ? "page" : "code"));
    }
    return ui::VStack(ui::HorizontalAlignment::leading, 0, rows);
  }

 private:
  ui::Environment<TableBackgroundStyleKey> style_;
};

TEST(CheckboxTheme, TablesHaveTheFullGridInTheBorderColour) {
  const Theme theme = Theme::checkboxTheme();
  for (ColorScheme scheme : ui::allColorSchemes) {
    ui::testing::Host host{theme.table.render(BlockConfiguration{BlockLabel(ui::Text("t"))}), scheme};
    const auto style = host.find(ui::testing::text("t")).environment().get<TableBorderStyleKey>();
    EXPECT_EQ(style.color.resolved(scheme),
              scheme == ColorScheme::light ? packed(0xE4E4E8FF) : packed(0x42444EFF));
    EXPECT_EQ(style.strokeStyle, StrokeStyle());
    // The full grid: the inner lines of a 2 by 2 table and its outline.
    const TableBounds bounds = markdown_styles_test::twoByTwoTable();
    EXPECT_EQ(style.visibleBorders.rectangles(bounds, 1),
              TableBorderSelector::everyLine().rectangles(bounds, 1));
  }
}

TEST(CheckboxTheme, TableRowsAreStriped) {
  const Theme theme = Theme::checkboxTheme();
  ui::testing::Host host{theme.table.render(BlockConfiguration{BlockLabel(RowBackgrounds())})};
  std::string bands;
  for (const auto& row : host.findAll(ui::testing::type("Text"))) bands += row.text() + " ";
  EXPECT_EQ(bands, "page page code page code ");

  ui::testing::Host plain{RowBackgrounds()};
  std::string defaultBands;
  for (const auto& row : plain.findAll(ui::testing::type("Text"))) defaultBands += row.text() + " ";
  EXPECT_EQ(defaultBands, "page page page page page ");
  EXPECT_EQ(TableBackgroundStyleKey::defaultValue().background(3, 3), ui::Color::clear());
}

}  // namespace
