// The deepest nesting a document model value may have.
#pragma once

namespace MarkdownRender {

// Replies are untrusted: a few kilobytes of ">" or "- " make a parse tree tens of thousands of levels deep,
// and every walk over the model (destruction, copying, comparison, hashing, the utilities, the views)
// descends once per level. Every `Block` and `Inline` therefore holds at most this many levels of blocks
// and inlines, itself included; content below that is kept as plain text (see `Block::depth()`).
inline constexpr int maximumNestingDepth = 32;

}  // namespace MarkdownRender
