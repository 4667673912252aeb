// Identifiers made from heading texts.
#pragma once

#include <string>
#include <string_view>

namespace MarkdownRender {

// The text split at every scalar that is not a letter, mark or digit (Unicode categories L, M, N), each
// piece lower-cased, the pieces joined with "-". Every separator ends a piece, so adjacent separators and
// separators at either end leave empty pieces: "Step 1, then 2" gives "step-1--then-2".
std::string kebabCased(std::string_view text);

}  // namespace MarkdownRender
