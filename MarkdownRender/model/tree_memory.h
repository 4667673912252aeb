// Memory for the library's tree while a parse converts it, kept from one parse to the next.
#pragma once

#include <cmark-gfm.h>

namespace MarkdownRender::detail {

// An allocator for cmark-gfm that carves every allocation out of a few large chunks. What the library
// frees is handed out again for allocations of its size, and nothing goes back to the system until
// `reset()`, which makes all of it available again at once. The chunks are kept between parses (up to a
// bound), so the parse of a reply that is shown again and again as it streams in costs the system no fresh
// pages each time.
//
// Threads: one pool for the process, with no lock of its own; every use, from the parser's creation to
// `reset()`, runs under the parsing lock (common_mark_node.cpp).
cmark_mem* treeMemory();

// Forgets every allocation made since the last reset; the tree made with `treeMemory()` is gone.
void resetTreeMemory();

}  // namespace MarkdownRender::detail
