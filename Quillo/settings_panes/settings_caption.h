// The small grey text under a setting that says what it does.
#pragma once

#include <string>

#include "platform/ui/views.h"

namespace Quillo {

// `text` in 11-point secondary colour, wrapping to the pane's width, one point above the next row.
ui::AnyView settingsCaption(const std::string& text);

}  // namespace Quillo
