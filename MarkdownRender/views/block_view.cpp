#include "MarkdownRender/views/block_view.h"

#include <algorithm>
#include <cstddef>

#include "MarkdownRender/model/heading_identifier.h"
#include "MarkdownRender/views/block_sequence.h"
#include "MarkdownRender/views/code_block_view.h"
#include "MarkdownRender/views/image_views.h"
#include "MarkdownRender/views/inline_text.h"
#include "MarkdownRender/views/list_views.h"
#include "MarkdownRender/views/table_view.h"
#include "platform/ui/views.h"

namespace MarkdownRender {

namespace {

ui::AnyView styled(BlockStyle<BlockConfiguration> Theme::*member, ui::AnyView label) {
  return ApplyBlockStyle<BlockConfiguration>(member, BlockConfiguration{BlockLabel(std::move(label))});
}

// A paragraph of one picture is a block image, one of pictures and breaks only a flow of them, any other
// running text.
ui::AnyView paragraphView(const std::vector<Inline>& inlines) {
  if (auto image = ImageView::fromInlines(inlines)) return *image;
  if (auto flow = ImageFlow::fromInlines(inlines)) return *flow;
  return InlineText(inlines);
}

}  // namespace

std::string removingFinalLineFeed(std::string text) {
  // A final CR LF is one character that is not a line feed: it stays.
  if (!text.empty() && text.back() == '\n' && (text.size() < 2 || text[text.size() - 2] != '\r')) {
    text.pop_back();
  }
  return text;
}

std::string headingIdentifier(const std::vector<Inline>& text) { return kebabCased(plainText(text)); }

ui::AnyView BlockView::body() const {
  switch (block_.kind()) {
    case Block::Kind::blockquote:
      return styled(&Theme::blockquote, blockStack(block_.as<Block::Blockquote>()->blocks));
    case Block::Kind::taskList: {
      const auto& list = *block_.as<Block::TaskList>();
      return styled(&Theme::list, TaskListView(list.tight, list.items));
    }
    case Block::Kind::bulletedList: {
      const auto& list = *block_.as<Block::BulletedList>();
      return styled(&Theme::list, BulletedListView(list.tight, list.items));
    }
    case Block::Kind::numberedList: {
      const auto& list = *block_.as<Block::NumberedList>();
      return styled(&Theme::list, NumberedListView(list.tight, list.start, list.items));
    }
    case Block::Kind::codeBlock: {
      const auto& code = *block_.as<Block::CodeBlock>();
      return styled(&Theme::codeBlock, CodeBlockView(code.info, removingFinalLineFeed(code.content)));
    }
    case Block::Kind::htmlBlock:
      return styled(&Theme::paragraph,
                    HTMLBlockView(removingFinalLineFeed(block_.as<Block::HTMLBlock>()->content)));
    case Block::Kind::paragraph:
      return styled(&Theme::paragraph, paragraphView(block_.as<Block::Paragraph>()->inlines));
    case Block::Kind::heading: {
      const auto& heading = *block_.as<Block::Heading>();
      // Levels outside 1 to 6 (possible through the content builder) take the nearest style.
      const auto index = static_cast<std::size_t>(std::clamp<std::int64_t>(heading.level, 1, 6) - 1);
      return ui::AnyView(ApplyBlockStyle<BlockConfiguration>(
                             [index](const Theme& theme) -> const Theme::BlockStyleOfBlock& {
                               return theme.headings[index];
                             },
                             BlockConfiguration{BlockLabel(InlineText(heading.text))}))
          .id(headingIdentifier(heading.text));
    }
    case Block::Kind::table: {
      const auto& table = *block_.as<Block::Table>();
      return styled(&Theme::table, TableView(table.columnAlignments, table.rows));
    }
    case Block::Kind::thematicBreak:
      return ApplyBlockStyle<EmptyBlockConfiguration>(&Theme::thematicBreak, EmptyBlockConfiguration{});
  }
  return ui::EmptyView();
}

ui::AnyView blockStack(const std::vector<Block>& blocks) {
  return BlockSequence<Block>(
      blocks, [](std::int64_t, const Block& block) { return ui::AnyView(BlockView(block)); },
      ElementContent::determinedByElement);
}

}  // namespace MarkdownRender
