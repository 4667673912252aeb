// Pictures meant for one appearance only: the "#gh-dark-mode-only" and "#gh-light-mode-only" convention.
#pragma once

#include "platform/foundation/url.h"
#include "platform/ui/color_scheme.h"

namespace MarkdownRender {

// Whether a picture at this URL is shown in the colour scheme: false only for the fragment
// "gh-dark-mode-only" (in any letter case) in the light scheme and "gh-light-mode-only" in the dark one.
// The filters themselves are `Inline::filteredForColorScheme` and `Block::filteredForColorScheme`.
bool isShown(const foundation::URL& url, ui::ColorScheme scheme);

}  // namespace MarkdownRender
