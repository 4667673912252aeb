#include "MarkdownRender/styles/theme_environment.h"

#include <algorithm>
#include <cstddef>

namespace MarkdownRender {

const Theme& ThemeKey::defaultValue() {
  static const Theme theme = Theme::standardTheme();
  return theme;
}

std::function<Theme::BlockStyleOfBlock&(Theme&)> headingLevelPath(int level) {
  const auto index = static_cast<std::size_t>(std::clamp(level, 1, 6) - 1);
  return [index](Theme& theme) -> Theme::BlockStyleOfBlock& { return theme.headings[index]; };
}

}  // namespace MarkdownRender
