#include "platform/foundation/unicode.h"

#include <unicode/ubrk.h>
#include <unicode/uchar.h>
#include <unicode/unorm2.h>
#include <unicode/ustring.h>
#include <unicode/utext.h>

#include <algorithm>
#include <memory>

#include "platform/foundation/utf16.h"

namespace foundation {
namespace {

bool isAscii(std::string_view text) {
  return std::all_of(text.begin(), text.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

char asciiLower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }
char asciiUpper(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }

// Runs an ICU "preflighting" string function: first into a buffer of the input's size, then once more
// with the exact size it asked for. Gives nothing when ICU reports a failure.
template <typename Call>
std::optional<std::u16string> runIcuStringFunction(std::size_t sizeHint, Call call) {
  std::u16string out(sizeHint + 4, u'\0');
  UErrorCode status = U_ZERO_ERROR;
  int32_t length = call(out.data(), static_cast<int32_t>(out.size()), &status);
  if (status == U_BUFFER_OVERFLOW_ERROR) {
    out.assign(static_cast<std::size_t>(length) + 1, u'\0');
    status = U_ZERO_ERROR;
    length = call(out.data(), static_cast<int32_t>(out.size()), &status);
  }
  if (U_FAILURE(status) || length < 0) return std::nullopt;
  out.resize(static_cast<std::size_t>(length));
  return out;
}

std::u16string normalized(const std::u16string& text, bool decomposed) {
  UErrorCode status = U_ZERO_ERROR;
  const UNormalizer2* normalizer =
      decomposed ? unorm2_getNFDInstance(&status) : unorm2_getNFCInstance(&status);
  if (U_FAILURE(status)) return text;
  auto result = runIcuStringFunction(text.size() * 3, [&](UChar* dest, int32_t capacity, UErrorCode* s) {
    return unorm2_normalize(normalizer, text.data(), static_cast<int32_t>(text.size()), dest, capacity, s);
  });
  return result ? *result : text;
}

std::u16string caseFolded(const std::u16string& text) {
  auto result = runIcuStringFunction(text.size() * 3, [&](UChar* dest, int32_t capacity, UErrorCode* s) {
    return u_strFoldCase(dest, capacity, text.data(), static_cast<int32_t>(text.size()), U_FOLD_CASE_DEFAULT,
                         s);
  });
  return result ? *result : text;
}

std::u16string folded(std::string_view text) {
  std::u16string decomposed = normalized(caseFolded(normalized(toUtf16(text), true)), true);
  std::u16string withoutMarks;
  withoutMarks.reserve(decomposed.size());
  for (std::size_t i = 0; i < decomposed.size();) {
    UChar32 c;
    const std::size_t start = i;
    U16_NEXT(decomposed.data(), i, decomposed.size(), c);
    if (u_charType(c) != U_NON_SPACING_MARK) withoutMarks.append(decomposed, start, i - start);
  }
  return normalized(withoutMarks, false);
}

// One character break iterator per thread, made on first use: opening one loads its rules, which costs
// far more than a short text takes to segment. It refers to a text only while clustersOf runs.
UBreakIterator* characterBreakIterator() {
  thread_local std::unique_ptr<UBreakIterator, decltype(&ubrk_close)> iterator = [] {
    UErrorCode status = U_ZERO_ERROR;
    UBreakIterator* made = ubrk_open(UBRK_CHARACTER, "", nullptr, 0, &status);
    if (U_FAILURE(status)) made = nullptr;
    return std::unique_ptr<UBreakIterator, decltype(&ubrk_close)>(made, &ubrk_close);
  }();
  return iterator.get();
}

std::vector<std::string> clustersOf(std::string_view text) {
  std::vector<std::string> clusters;
  if (text.empty()) return clusters;
  const std::string valid = sanitizedUtf8(text);
  if (isAscii(valid)) {
    // Among ASCII characters only CR LF joins into one cluster.
    for (std::size_t i = 0; i < valid.size(); ++i) {
      if (valid[i] == '\r' && i + 1 < valid.size() && valid[i + 1] == '\n') {
        clusters.emplace_back("\r\n");
        ++i;
      } else {
        clusters.emplace_back(1, valid[i]);
      }
    }
    return clusters;
  }
  UErrorCode status = U_ZERO_ERROR;
  std::unique_ptr<UText, decltype(&utext_close)> utext(
      utext_openUTF8(nullptr, valid.data(), static_cast<int64_t>(valid.size()), &status), &utext_close);
  UBreakIterator* breaks = characterBreakIterator();
  if (breaks && U_SUCCESS(status)) ubrk_setUText(breaks, utext.get(), &status);
  if (!breaks || U_FAILURE(status)) {
    // No break iterator: fall back to one cluster per scalar rather than failing.
    for (char32_t scalar : unicodeScalars(valid)) clusters.push_back(utf8(scalar));
    return clusters;
  }
  // With a UTF-8 UText the boundaries are byte offsets into `valid`.
  int32_t start = ubrk_first(breaks);
  for (int32_t end = ubrk_next(breaks); end != UBRK_DONE; start = end, end = ubrk_next(breaks)) {
    clusters.emplace_back(
        valid.substr(static_cast<std::size_t>(start), static_cast<std::size_t>(end - start)));
  }
  return clusters;
}

}  // namespace

std::vector<std::string> graphemeClusters(std::string_view text) { return clustersOf(text); }

std::size_t graphemeCount(std::string_view text) { return clustersOf(text).size(); }

std::string_view abbreviation(GeneralCategory category) {
  static constexpr std::string_view names[] = {"Lu", "Ll", "Lt", "Lm", "Lo", "Mn", "Mc", "Me", "Nd", "Nl",
                                               "No", "Pc", "Pd", "Ps", "Pe", "Pi", "Pf", "Po", "Sm", "Sc",
                                               "Sk", "So", "Zs", "Zl", "Zp", "Cc", "Cf", "Cs", "Co", "Cn"};
  return names[static_cast<std::size_t>(category)];
}

GeneralCategory generalCategory(char32_t scalar) {
  if (scalar > 0x10FFFF) return GeneralCategory::unassigned;
  using C = GeneralCategory;
  switch (static_cast<UCharCategory>(u_charType(static_cast<UChar32>(scalar)))) {
    case U_UPPERCASE_LETTER:
      return C::uppercaseLetter;
    case U_LOWERCASE_LETTER:
      return C::lowercaseLetter;
    case U_TITLECASE_LETTER:
      return C::titlecaseLetter;
    case U_MODIFIER_LETTER:
      return C::modifierLetter;
    case U_OTHER_LETTER:
      return C::otherLetter;
    case U_NON_SPACING_MARK:
      return C::nonspacingMark;
    case U_COMBINING_SPACING_MARK:
      return C::spacingMark;
    case U_ENCLOSING_MARK:
      return C::enclosingMark;
    case U_DECIMAL_DIGIT_NUMBER:
      return C::decimalNumber;
    case U_LETTER_NUMBER:
      return C::letterNumber;
    case U_OTHER_NUMBER:
      return C::otherNumber;
    case U_CONNECTOR_PUNCTUATION:
      return C::connectorPunctuation;
    case U_DASH_PUNCTUATION:
      return C::dashPunctuation;
    case U_START_PUNCTUATION:
      return C::openPunctuation;
    case U_END_PUNCTUATION:
      return C::closePunctuation;
    case U_INITIAL_PUNCTUATION:
      return C::initialPunctuation;
    case U_FINAL_PUNCTUATION:
      return C::finalPunctuation;
    case U_OTHER_PUNCTUATION:
      return C::otherPunctuation;
    case U_MATH_SYMBOL:
      return C::mathSymbol;
    case U_CURRENCY_SYMBOL:
      return C::currencySymbol;
    case U_MODIFIER_SYMBOL:
      return C::modifierSymbol;
    case U_OTHER_SYMBOL:
      return C::otherSymbol;
    case U_SPACE_SEPARATOR:
      return C::spaceSeparator;
    case U_LINE_SEPARATOR:
      return C::lineSeparator;
    case U_PARAGRAPH_SEPARATOR:
      return C::paragraphSeparator;
    case U_CONTROL_CHAR:
      return C::control;
    case U_FORMAT_CHAR:
      return C::format;
    case U_SURROGATE:
      return C::surrogate;
    case U_PRIVATE_USE_CHAR:
      return C::privateUse;
    default:
      return C::unassigned;
  }
}

std::optional<char32_t> firstScalar(std::string_view text) {
  if (text.empty()) return std::nullopt;
  // Four bytes hold the longest sequence; decoding only those keeps this cheap for long texts.
  return unicodeScalars(text.substr(0, 4)).front();
}

std::optional<GeneralCategory> generalCategoryOfFirstScalar(std::string_view text) {
  const auto scalar = firstScalar(text);
  if (!scalar) return std::nullopt;
  return generalCategory(*scalar);
}

bool isLetter(GeneralCategory c) { return c <= GeneralCategory::otherLetter; }
bool isMark(GeneralCategory c) {
  return c >= GeneralCategory::nonspacingMark && c <= GeneralCategory::enclosingMark;
}
bool isNumber(GeneralCategory c) {
  return c >= GeneralCategory::decimalNumber && c <= GeneralCategory::otherNumber;
}
bool isPunctuation(GeneralCategory c) {
  return c >= GeneralCategory::connectorPunctuation && c <= GeneralCategory::otherPunctuation;
}
bool isSymbol(GeneralCategory c) {
  return c >= GeneralCategory::mathSymbol && c <= GeneralCategory::otherSymbol;
}
bool isSeparator(GeneralCategory c) {
  return c >= GeneralCategory::spaceSeparator && c <= GeneralCategory::paragraphSeparator;
}

bool isWhitespace(char32_t scalar) {
  if (scalar == U'\t' || scalar == U' ') return true;
  if (scalar < 0x80) return false;
  return generalCategory(scalar) == GeneralCategory::spaceSeparator;
}

bool isNewline(char32_t scalar) {
  return (scalar >= 0x0A && scalar <= 0x0D) || scalar == 0x85 || scalar == 0x2028 || scalar == 0x2029;
}

bool isWhitespaceOrNewline(char32_t scalar) { return isWhitespace(scalar) || isNewline(scalar); }

std::string lowercased(std::string_view text) {
  if (isAscii(text)) {
    std::string out(text);
    std::transform(out.begin(), out.end(), out.begin(), asciiLower);
    return out;
  }
  const std::u16string source = toUtf16(text);
  auto result = runIcuStringFunction(source.size(), [&](UChar* dest, int32_t capacity, UErrorCode* s) {
    return u_strToLower(dest, capacity, source.data(), static_cast<int32_t>(source.size()), "", s);
  });
  return toUtf8(result ? *result : source);
}

std::string uppercased(std::string_view text) {
  if (isAscii(text)) {
    std::string out(text);
    std::transform(out.begin(), out.end(), out.begin(), asciiUpper);
    return out;
  }
  const std::u16string source = toUtf16(text);
  auto result = runIcuStringFunction(source.size(), [&](UChar* dest, int32_t capacity, UErrorCode* s) {
    return u_strToUpper(dest, capacity, source.data(), static_cast<int32_t>(source.size()), "", s);
  });
  return toUtf8(result ? *result : source);
}

std::string nfc(std::string_view text) {
  if (isAscii(text)) return std::string(text);
  return toUtf8(normalized(toUtf16(text), false));
}

std::string nfd(std::string_view text) {
  if (isAscii(text)) return std::string(text);
  return toUtf8(normalized(toUtf16(text), true));
}

bool canonicallyEquivalent(std::string_view a, std::string_view b) {
  if (a == b) return true;
  if (isAscii(a) && isAscii(b)) return false;
  return normalized(toUtf16(a), true) == normalized(toUtf16(b), true);
}

bool startsWithCanonically(std::string_view text, std::string_view prefix) {
  if (prefix.empty()) return true;
  if (isAscii(text) && isAscii(prefix)) {
    // ASCII clusters are single bytes except CR LF, which must not be split.
    if (!text.starts_with(prefix)) return false;
    return !(prefix.back() == '\r' && text.size() > prefix.size() && text[prefix.size()] == '\n');
  }
  const auto whole = clustersOf(text);
  const auto part = clustersOf(prefix);
  if (part.size() > whole.size()) return false;
  return std::equal(part.begin(), part.end(), whole.begin(),
                    [](const std::string& x, const std::string& y) { return canonicallyEquivalent(x, y); });
}

bool endsWithCanonically(std::string_view text, std::string_view suffix) {
  if (suffix.empty()) return true;
  if (isAscii(text) && isAscii(suffix)) {
    if (!text.ends_with(suffix)) return false;
    const std::size_t start = text.size() - suffix.size();
    return !(suffix.front() == '\n' && start > 0 && text[start - 1] == '\r');
  }
  const auto whole = clustersOf(text);
  const auto part = clustersOf(suffix);
  if (part.size() > whole.size()) return false;
  return std::equal(part.rbegin(), part.rend(), whole.rbegin(),
                    [](const std::string& x, const std::string& y) { return canonicallyEquivalent(x, y); });
}

std::string foldedIgnoringCaseAndDiacritics(std::string_view text) { return toUtf8(folded(text)); }

bool containsIgnoringCaseAndDiacritics(std::string_view haystack, std::string_view needle) {
  if (needle.empty()) return false;
  if (isAscii(haystack) && isAscii(needle)) {
    const auto found = std::search(haystack.begin(), haystack.end(), needle.begin(), needle.end(),
                                   [](char x, char y) { return asciiLower(x) == asciiLower(y); });
    return found != haystack.end();
  }
  const std::u16string foldedNeedle = folded(needle);
  if (foldedNeedle.empty()) return false;
  return folded(haystack).find(foldedNeedle) != std::u16string::npos;
}

}  // namespace foundation
