// The theme in force wherever no other is set: no colours of its own, every size relative to the font.
#include "MarkdownRender/styles/block_margin.h"
#include "MarkdownRender/styles/font_relative_modifiers.h"
#include "MarkdownRender/styles/text_style_environment.h"
#include "MarkdownRender/styles/text_styles.h"
#include "MarkdownRender/styles/theme.h"
#include "platform/ui/views.h"

namespace MarkdownRender {
namespace {

namespace B = TextStyleBuilder;

RelativeSize em(double value) { return RelativeSize::em(value); }
RelativeSize rem(double value) { return RelativeSize::rem(value); }

FontSize emSize(double value) { return FontSize::relative(em(value)); }

// Headings differ by size only; their margins are in rem, so they are the same at every level.
Theme::BlockStyleOfBlock heading(double size) {
  return Theme::BlockStyleOfBlock([size](const BlockConfiguration& configuration) {
    return textStyle(fontRelativeMargins(configuration.label, rem(1.5), rem(1)),
                     B::build(FontWeight(ui::FontWeight::semibold), emSize(size)));
  });
}

Theme buildStandardTheme() {
  Theme theme =
      Theme().withCode(B::build(FontFamilyVariant(FontProperties::FamilyVariant::monospaced), emSize(0.94)));
  const double headingSizes[] = {2, 1.5, 1.17, 1, 0.83, 0.67};
  for (std::size_t level = 0; level < theme.headings.size(); ++level) {
    theme.headings[level] = heading(headingSizes[level]);
  }
  return theme
      .withParagraph([](const BlockConfiguration& configuration) {
        return fontRelativeMargins(fontRelativeLineSpacing(configuration.label, em(0.15)),
                                   RelativeSize::zeroRem, em(1));
      })
      .withBlockquote([](const BlockConfiguration& configuration) {
        const ui::AnyView italic = textStyle(configuration.label, FontStyle(FontProperties::Style::italic));
        return fontRelativePadding(fontRelativePadding(italic, ui::Edges::leading, em(2)),
                                   ui::Edges::trailing, em(1));
      })
      .withCodeBlock([](const BlockConfiguration& configuration) {
        const ui::AnyView code =
            textStyle(fontRelativePadding(fontRelativeLineSpacing(configuration.label, em(0.15)),
                                          ui::Edges::leading, rem(1)),
                      B::build(FontFamilyVariant(FontProperties::FamilyVariant::monospaced), emSize(0.94)));
        return fontRelativeMargins(ui::ScrollView(code, ui::Axis::horizontal, true), RelativeSize::zeroRem,
                                   em(1));
      })
      .withTable([](const BlockConfiguration& configuration) {
        return fontRelativeMargins(configuration.label, RelativeSize::zeroRem, em(1));
      })
      .withTableCell([](const TableCellConfiguration& configuration) {
        const auto header =
            configuration.row == 0
                ? B::chooseFirst<FontWeight, EmptyTextStyle>(FontWeight(ui::FontWeight::semibold))
                : B::chooseSecond<FontWeight, EmptyTextStyle>(EmptyTextStyle());
        // The line spacing and both paddings are resolved against the same text style, read once.
        return fontRelative(textStyle(configuration.label, header),
                            [](const ui::AnyView& cell, const std::optional<FontProperties>& font) {
                              const double horizontal = em(0.72).resolved(font);
                              const double vertical = em(0.35).resolved(font);
                              return cell.lineSpacing(em(0.15).resolved(font))
                                  .padding(ui::EdgeInsets{vertical, horizontal, vertical, horizontal});
                            });
      })
      .withThematicBreak([] { return fontRelativeMargins(ui::Divider(), em(2), em(2)); });
}

}  // namespace

Theme Theme::standardTheme() {
  static const Theme theme = buildStandardTheme();
  return theme;
}

}  // namespace MarkdownRender
