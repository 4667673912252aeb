#include "MarkdownRender/styles/theme.h"

#include "MarkdownRender/styles/text_styles.h"
#include "platform/ui/views.h"

namespace MarkdownRender {

Theme::Theme()
    : text(EmptyTextStyle()),
      code(FontFamilyVariant(FontProperties::FamilyVariant::monospaced)),
      emphasis(FontStyle(FontProperties::Style::italic)),
      strong(FontWeight(ui::FontWeight::semibold)),
      strikethrough(StrikethroughStyle(ui::LineStyle::single())),
      link(EmptyTextStyle()),
      headings{BlockStyleOfBlock::passThrough(), BlockStyleOfBlock::passThrough(),
               BlockStyleOfBlock::passThrough(), BlockStyleOfBlock::passThrough(),
               BlockStyleOfBlock::passThrough(), BlockStyleOfBlock::passThrough()},
      paragraph(BlockStyleOfBlock::passThrough()),
      blockquote(BlockStyleOfBlock::passThrough()),
      codeBlock(BlockStyleOfBlock::passThrough()),
      image(BlockStyleOfBlock::passThrough()),
      list(BlockStyleOfBlock::passThrough()),
      listItem(BlockStyleOfBlock::passThrough()),
      taskListMarker(checkboxMarker()),
      bulletedListMarker(bulletByLevel()),
      numberedListMarker(numeralMarker()),
      table(BlockStyleOfBlock::passThrough()),
      tableCell([](const TableCellConfiguration& configuration) { return configuration.label; }),
      thematicBreak([] { return ui::Divider(); }) {}

}  // namespace MarkdownRender
