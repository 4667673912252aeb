// The built-in theme with a 16-point base text on its own page colour, margins in points, underlined top
// headings, quotes with a bar, tinted code, checkbox task markers and striped table rows.
#include <cstdint>
#include <optional>
#include <utility>

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

ui::Color variants(std::uint32_t light, std::uint32_t dark) {
  return colorWithVariants([light] { return colorFromPackedRGBA(light); },
                           [dark] { return colorFromPackedRGBA(dark); });
}

// Each colour is made once, on first use, and shared by every copy of the theme.
const ui::Color& textColor() {
  static const ui::Color color = variants(0x060606FF, 0xFBFBFCFF);
  return color;
}
const ui::Color& pageColor() {
  static const ui::Color color =
      colorWithVariants([] { return ui::Color::white(); }, [] { return colorFromPackedRGBA(0x18191DFF); });
  return color;
}
const ui::Color& quoteText() {
  static const ui::Color color = variants(0x6B6E7BFF, 0x9294A0FF);
  return color;
}
const ui::Color& mutedHeading() {
  static const ui::Color color = variants(0x6B6E7BFF, 0x6D707DFF);
  return color;
}
const ui::Color& codeBackground() {
  static const ui::Color color = variants(0xF7F7F9FF, 0x25262AFF);
  return color;
}
const ui::Color& linkColor() {
  static const ui::Color color = variants(0x2C65CFFF, 0x4C8EF8FF);
  return color;
}
const ui::Color& borderColor() {
  static const ui::Color color = variants(0xE4E4E8FF, 0x42444EFF);
  return color;
}
const ui::Color& headingRule() {
  static const ui::Color color = variants(0xD0D0D3FF, 0x333438FF);
  return color;
}
const ui::Color& checkboxPrimary() {
  static const ui::Color color = colorFromPackedRGBA(0xB9B9BBFF);
  return color;
}
const ui::Color& checkboxSecondary() {
  static const ui::Color color = colorFromPackedRGBA(0xEEEEEFFF);
  return color;
}

const FontWeight semibold{ui::FontWeight::semibold};

// Headings of levels 1 and 2 have a divider under them; the margins published by the heading's text apply
// to the whole stack, so the bottom margin follows the divider.
Theme::BlockStyleOfBlock underlinedHeading(double size) {
  return Theme::BlockStyleOfBlock([size](const BlockConfiguration& configuration) {
    const ui::AnyView heading = textStyle(
        blockMargins(fontRelativeLineSpacing(
                         fontRelativePadding(configuration.label, ui::Edges::bottom, em(0.3)), em(0.125)),
                     24, 16),
        B::build(semibold, FontSize::relative(em(size))));
    return ui::VStack(ui::HorizontalAlignment::leading, 0, heading, ui::Divider().overlay(headingRule()));
  });
}

template <TextStyleValue S>
Theme::BlockStyleOfBlock plainHeading(S style) {
  return Theme::BlockStyleOfBlock([style](const BlockConfiguration& configuration) {
    return textStyle(blockMargins(fontRelativeLineSpacing(configuration.label, em(0.125)), 24, 16), style);
  });
}

Theme buildCheckboxTheme() {
  Theme theme = Theme()
                    .withText(B::build(ForegroundColor(textColor()), BackgroundColor(pageColor()),
                                       FontSize::points(16)))
                    .withCode(B::build(FontFamilyVariant(FontProperties::FamilyVariant::monospaced),
                                       FontSize::relative(em(0.85)), BackgroundColor(codeBackground())))
                    .withStrong(semibold)
                    .withLink(ForegroundColor(linkColor()));
  theme.headings[0] = underlinedHeading(2);
  theme.headings[1] = underlinedHeading(1.5);
  theme.headings[2] = plainHeading(B::build(semibold, FontSize::relative(em(1.25))));
  theme.headings[3] = plainHeading(semibold);
  theme.headings[4] = plainHeading(B::build(semibold, FontSize::relative(em(0.875))));
  theme.headings[5] =
      plainHeading(B::build(semibold, FontSize::relative(em(0.85)), ForegroundColor(mutedHeading())));
  return theme
      .withParagraph([](const BlockConfiguration& configuration) {
        return blockMargins(fontRelativeLineSpacing(configuration.label, em(0.25)), 0, 16);
      })
      .withBlockquote([](const BlockConfiguration& configuration) {
        const ui::AnyView bar =
            fontRelativeFrame(ui::RoundedRectangle(6, ui::CornerStyle::continuous).fill(borderColor()),
                              em(0.2), std::nullopt, ui::Alignment::center());
        const ui::AnyView quote = fontRelativePadding(
            textStyle(configuration.label, ForegroundColor(quoteText())), ui::Edges::horizontal, em(1));
        // Fixed to its ideal height, so the bar is exactly as tall as the quoted text.
        return ui::HStack(ui::VerticalAlignment::center, 0, bar, quote).fixedSize(false, true);
      })
      .withCodeBlock([](const BlockConfiguration& configuration) {
        const ui::AnyView code =
            textStyle(fontRelativeLineSpacing(configuration.label, em(0.225)),
                      B::build(FontFamilyVariant(FontProperties::FamilyVariant::monospaced),
                               FontSize::relative(em(0.85))));
        const ui::AnyView scroll = ui::ScrollView(code.padding(16), ui::Axis::horizontal, true);
        return blockMargins(scroll.background(codeBackground())
                                .clipShape(ui::RoundedRectangle(6, ui::CornerStyle::continuous)),
                            0, 16);
      })
      .withListItem([](const BlockConfiguration& configuration) {
        return fontRelativeMargins(configuration.label, em(0.25), std::nullopt);
      })
      .withTaskListMarker([](const TaskListMarkerConfiguration& configuration) {
        const ui::AnyView box =
            checkboxSymbol(configuration, std::pair(checkboxPrimary(), checkboxSecondary()));
        return fontRelativeFrame(box, em(1.5), ui::Alignment::trailing());
      })
      .withTable([](const BlockConfiguration& configuration) {
        // The full grid in the border colour; row 0 and every odd row on the page colour, even rows from 2
        // on the code background.
        const ui::AnyView gridded = tableBorderStyle(
            configuration.label,
            TableBorderStyle{TableBorderSelector::everyLine(), borderColor(), StrokeStyle{}});
        const ui::AnyView banded = gridded.environment<TableBackgroundStyleKey>(
            TableBackgroundStyle::rowBands(pageColor(), codeBackground()));
        return blockMargins(banded, 0, 16);
      })
      .withTableCell([](const TableCellConfiguration& configuration) {
        const auto header =
            B::optional(configuration.row == 0 ? std::optional<FontWeight>(semibold) : std::nullopt);
        // Clearing the background takes away the page colour that `text` gives every run, so the row bands
        // show through.
        const ui::AnyView cell =
            textStyle(configuration.label, B::build(header, BackgroundColor(std::nullopt)));
        return fontRelativeLineSpacing(
            cell.padding(ui::Edges::vertical, 6).padding(ui::Edges::horizontal, 13), em(0.25));
      })
      .withThematicBreak([] {
        return blockMargins(fontRelativeFrame(ui::Divider(), std::nullopt, em(0.25), ui::Alignment::center())
                                .overlay(borderColor()),
                            24, 24);
      });
}

}  // namespace

Theme Theme::checkboxTheme() {
  static const Theme theme = buildCheckboxTheme();
  return theme;
}

}  // namespace MarkdownRender
