// Readable descriptions of model values, found by GoogleTest for failure messages.
#pragma once

#include <ostream>

#include "MarkdownRender/model/block.h"
#include "MarkdownRender/model/inline.h"

namespace MarkdownRender {

void PrintTo(const Inline& inline_, std::ostream* out);
void PrintTo(const Block& block, std::ostream* out);
void PrintTo(const ListItem& item, std::ostream* out);
void PrintTo(const TaskListItem& item, std::ostream* out);

}  // namespace MarkdownRender
