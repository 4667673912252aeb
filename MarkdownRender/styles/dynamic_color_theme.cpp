// The built-in theme with its own colours, each following the appearance: rounded, bordered quote panels,
// code on a rounded background, blocks spaced by top margins.
#include <cstdint>
#include <limits>
#include <optional>

#include "MarkdownRender/styles/block_margin.h"
#include "MarkdownRender/styles/color_extensions.h"
#include "MarkdownRender/styles/font_relative_modifiers.h"
#include "MarkdownRender/styles/table_border_style.h"
#include "MarkdownRender/styles/text_style_environment.h"
#include "MarkdownRender/styles/text_styles.h"
#include "MarkdownRender/styles/theme.h"
#include "platform/ui/views.h"

namespace MarkdownRender {
namespace {

namespace B = TextStyleBuilder;

RelativeSize em(double value) { return RelativeSize::em(value); }
RelativeSize rem(double value) { return RelativeSize::rem(value); }

ui::Color variants(std::uint32_t light, std::uint32_t dark) {
  return colorWithVariants([light] { return colorFromPackedRGBA(light); },
                           [dark] { return colorFromPackedRGBA(dark); });
}

// Each colour is made once, on first use, and shared by every copy of the theme.
const ui::Color& textColor() {
  static const ui::Color color = variants(0x1D1D1FFF, 0xF5F5F7FF);
  return color;
}
const ui::Color& linkColor() {
  static const ui::Color color = variants(0x0066CCFF, 0x2997FFFF);
  return color;
}
const ui::Color& panelFill() {
  static const ui::Color color = variants(0xF5F5F7FF, 0x323232FF);
  return color;
}
const ui::Color& panelBorder() {
  static const ui::Color color = variants(0x696969FF, 0x9A9A9EFF);
  return color;
}
const ui::Color& codeBackground() {
  static const ui::Color color = variants(0xF5F5F7FF, 0x333336FF);
  return color;
}
const ui::Color& ruleColor() {
  static const ui::Color color = variants(0xD2D2D7FF, 0x424245FF);
  return color;
}

constexpr double unlimited = std::numeric_limits<double>::infinity();

ui::AnyView spanningWidth(const ui::AnyView& view, ui::Alignment alignment) {
  ui::FrameModifier frame;
  frame.maxWidth = unlimited;
  frame.alignment = alignment;
  return view.frame(frame);
}

struct HeadingLook {
  std::optional<double> size;         // em; absent: the inherited size
  std::optional<double> lineSpacing;  // em
  double topMargin;                   // em
};

Theme::BlockStyleOfBlock heading(HeadingLook look) {
  return Theme::BlockStyleOfBlock([look](const BlockConfiguration& configuration) {
    ui::AnyView view = configuration.label;
    if (look.lineSpacing) view = fontRelativeLineSpacing(view, em(*look.lineSpacing));
    view = fontRelativeMargins(view, em(look.topMargin), RelativeSize::zeroRem);
    const FontWeight semibold(ui::FontWeight::semibold);
    const auto size = look.size ? std::optional<FontSize>(FontSize::relative(em(*look.size))) : std::nullopt;
    return textStyle(view, B::combine(semibold, B::optional(size)));
  });
}

Theme buildDynamicColorTheme() {
  Theme theme = Theme().withText(ForegroundColor(textColor())).withLink(ForegroundColor(linkColor()));
  const HeadingLook looks[] = {{2, std::nullopt, 0.8},  {1.88235, 0.0625, 1.6},
                               {1.64706, 0.07143, 1.6}, {1.41176, 0.083335, 1.6},
                               {1.29412, 0.09091, 1.6}, {std::nullopt, 0.235295, 1.6}};
  for (std::size_t level = 0; level < theme.headings.size(); ++level)
    theme.headings[level] = heading(looks[level]);
  return theme
      .withParagraph([](const BlockConfiguration& configuration) {
        return fontRelativeMargins(fontRelativeLineSpacing(configuration.label, em(0.235295)), em(0.8),
                                   RelativeSize::zeroRem);
      })
      .withBlockquote([](const BlockConfiguration& configuration) {
        const ui::AnyView panel =
            ui::ZStack(ui::RoundedRectangle(15, ui::CornerStyle::continuous).fill(panelFill()),
                       ui::RoundedRectangle(15, ui::CornerStyle::continuous).stroke(panelBorder(), 1));
        const ui::AnyView padded = fontRelativePadding(configuration.label, ui::Edges::all, rem(0.94118));
        return fontRelativeMargins(spanningWidth(padded, ui::Alignment::leading()).background(panel), em(1.6),
                                   RelativeSize::zeroRem);
      })
      .withCodeBlock([](const BlockConfiguration& configuration) {
        const ui::AnyView code =
            textStyle(fontRelativeLineSpacing(configuration.label, em(0.333335)),
                      B::build(FontFamilyVariant(FontProperties::FamilyVariant::monospaced),
                               FontSize::relative(rem(0.88235))));
        const ui::AnyView scroll = ui::ScrollView(
            code.padding(ui::Edges::vertical, 8).padding(ui::Edges::leading, 14), ui::Axis::horizontal, true);
        return fontRelativeMargins(scroll.background(codeBackground())
                                       .clipShape(ui::RoundedRectangle(15, ui::CornerStyle::continuous)),
                                   em(0.8), RelativeSize::zeroRem);
      })
      .withImage([](const BlockConfiguration& configuration) {
        return fontRelativeMargins(spanningWidth(configuration.label, ui::Alignment::center()), em(1.6),
                                   em(1.6));
      })
      .withListItem([](const BlockConfiguration& configuration) {
        return fontRelativeMargins(configuration.label, em(0.8), std::nullopt);
      })
      .withTaskListMarker([](const TaskListMarkerConfiguration&) {
        return fontRelativeFrame(ListBullet("circle.fill"), em(1.5), ui::Alignment::trailing());
      })
      .withTable([](const BlockConfiguration& configuration) {
        // Row rules: lines above, below and between the rows, none between the columns.
        const ui::AnyView ruled = tableBorderStyle(
            configuration.label,
            TableBorderStyle{TableBorderSelector::horizontalLines(), ruleColor(), StrokeStyle{}});
        return fontRelativeMargins(ruled, em(1.6), RelativeSize::zeroRem);
      })
      .withTableCell([](const TableCellConfiguration& configuration) {
        const auto header = B::optional(configuration.row == 0
                                            ? std::optional<FontWeight>(FontWeight(ui::FontWeight::semibold))
                                            : std::nullopt);
        // The line spacing and the padding are resolved against the same text style, read once.
        return fontRelative(textStyle(configuration.label, header),
                            [](const ui::AnyView& cell, const std::optional<FontProperties>& font) {
                              return cell.lineSpacing(em(0.235295).resolved(font))
                                  .padding(ui::Edges::all, rem(0.58824).resolved(font));
                            });
      })
      .withThematicBreak(
          [] { return fontRelativeMargins(ui::Divider().overlay(ruleColor()), em(2.35), em(2.35)); });
}

}  // namespace

Theme Theme::dynamicColorTheme() {
  static const Theme theme = buildDynamicColorTheme();
  return theme;
}

}  // namespace MarkdownRender
