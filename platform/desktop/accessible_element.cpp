#include "platform/desktop/accessible_element.h"

#include <utility>

#include "platform/foundation/utf16.h"

namespace desktop {
namespace {

// The line index and the column (in UTF-16 code units) of a UTF-16 offset in a text whose lines end at
// LINE FEED.
std::pair<std::int64_t, std::int64_t> lineAndColumn(const std::u16string& text, std::int64_t offset) {
  std::int64_t line = 0;
  std::int64_t column = 0;
  for (std::int64_t i = 0; i < offset && i < static_cast<std::int64_t>(text.size()); ++i) {
    if (text[static_cast<std::size_t>(i)] == u'\n') {
      ++line;
      column = 0;
    } else {
      ++column;
    }
  }
  return {line, column};
}

}  // namespace

AccessibleElement AccessibleElement::text(std::string role, std::string text, AccessibleRange selection,
                                          foundation::Point position, foundation::Size size) {
  AccessibleElement element;
  element.role = std::move(role);
  element.value = std::move(text);
  element.selectedTextRange = selection;
  element.position = position;
  element.size = size;
  return element;
}

bool AccessibleElement::isText() const {
  return role == "AXTextArea" || role == "AXTextField" || role == "AXComboBox";
}

std::optional<foundation::Rect> AccessibleElement::boundsForRange(AccessibleRange range) const {
  if (!value || range.location < 0 || range.length < 0) return std::nullopt;
  const std::u16string units = foundation::toUtf16(*value);
  const auto length = static_cast<std::int64_t>(units.size());
  if (range.location > length || range.length > length - range.location) return std::nullopt;
  const foundation::Point origin = position.value_or(foundation::Point{});
  const auto [startLine, startColumn] = lineAndColumn(units, range.location);
  const auto [endLine, endColumn] = lineAndColumn(units, range.location + range.length);
  const double top = origin.y + static_cast<double>(startLine) * lineHeight;
  const double height = static_cast<double>(endLine - startLine + 1) * lineHeight;
  if (startLine == endLine) {
    return foundation::Rect(origin.x + static_cast<double>(startColumn) * characterWidth, top,
                            static_cast<double>(endColumn - startColumn) * characterWidth, height);
  }
  return foundation::Rect(origin.x, top, size.value_or(foundation::Size{}).width, height);
}

}  // namespace desktop
