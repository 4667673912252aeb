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

}  // namespace MarkdownRender
