// The blocks of a Markdown text, parsed with cmark-gfm.
#pragma once

#include <string_view>
#include <vector>

#include "MarkdownRender/model/block.h"

namespace MarkdownRender {

// The document's blocks in order (cmark-gfm with autolink, strikethrough, table, tagfilter and tasklist;
// library default options). Never fails: an empty text, or one the library gives no document for, gives
// no blocks; invalid UTF-8 reads as U+FFFD. Content nested deeper than `maximumNestingDepth` is kept as
// plain text.
std::vector<Block> parseBlocks(std::string_view markdown);

// The same blocks as `parseBlocks`. A text that extends one the same thread gave here lately, as a reply
// streamed in does, costs about as much as its part from the last block on: the blocks before that are
// taken from the earlier parse, unless either text could define a link reference or a footnote; a text
// given again costs nothing. Each thread keeps its own recent texts (a few dozen, a few megabytes at
// most) and their blocks, so calls need no lock.
std::vector<Block> parseGrowingBlocks(std::string_view markdown);

}  // namespace MarkdownRender
