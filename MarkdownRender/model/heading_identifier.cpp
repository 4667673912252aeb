#include "MarkdownRender/model/heading_identifier.h"

#include "platform/foundation/unicode.h"
#include "platform/foundation/utf16.h"

namespace MarkdownRender {

std::string kebabCased(std::string_view text) {
  std::string identifier;
  std::string piece;
  for (char32_t scalar : foundation::unicodeScalars(text)) {
    const auto category = foundation::generalCategory(scalar);
    if (foundation::isLetter(category) || foundation::isMark(category) || foundation::isNumber(category)) {
      piece += foundation::utf8(scalar);
    } else {
      identifier += foundation::lowercased(piece);
      identifier += '-';
      piece.clear();
    }
  }
  identifier += foundation::lowercased(piece);
  return identifier;
}

}  // namespace MarkdownRender
