#include "icu_pieces.h"

#include <unicode/regex.h>
#include <unicode/unistr.h>

#include <memory>
#include <stdexcept>

std::vector<std::string> icuPieces(std::string_view text) {
  static const std::unique_ptr<icu::RegexPattern> pattern = [] {
    UErrorCode status = U_ZERO_ERROR;
    UParseError parseError;
    std::unique_ptr<icu::RegexPattern> compiled(icu::RegexPattern::compile(
        icu::UnicodeString(u"\\'s|\\'t|\\'re|\\'ve|\\'m|\\'ll|\\'d| ?\\p{L}+| ?\\p{N}+| ?[^\\s\\p{L}\\p{N}]+|"
                           u"\\s+(?!\\S)|\\s+"),
        UREGEX_MULTILINE, parseError, status));
    if (U_FAILURE(status)) throw std::runtime_error("the expression does not compile");
    return compiled;
  }();
  const icu::UnicodeString utf16 =
      icu::UnicodeString::fromUTF8(icu::StringPiece(text.data(), static_cast<int32_t>(text.size())));
  UErrorCode status = U_ZERO_ERROR;
  std::unique_ptr<icu::RegexMatcher> matcher(pattern->matcher(utf16, status));
  std::vector<std::string> pieces;
  while (matcher->find(status) && U_SUCCESS(status)) {
    const int32_t start = matcher->start(status);
    const int32_t end = matcher->end(status);
    std::string piece;
    utf16.tempSubStringBetween(start, end).toUTF8String(piece);
    pieces.push_back(std::move(piece));
  }
  return pieces;
}
