// Unicode text services over ICU: grapheme clusters, general categories, root-locale case mapping,
// canonical equivalence, case- and diacritic-insensitive search, whitespace and newline sets.
#pragma once

#include <array>
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace foundation {

// The user-perceived characters (extended grapheme clusters) of a UTF-8 text, each as its UTF-8 text. A
// CARRIAGE RETURN followed by a LINE FEED is one character. Invalid UTF-8 reads as U+FFFD.
std::vector<std::string> graphemeClusters(std::string_view text);
// The number of user-perceived characters of a text.
std::size_t graphemeCount(std::string_view text);

// The Unicode general categories.
enum class GeneralCategory {
  uppercaseLetter,       // Lu
  lowercaseLetter,       // Ll
  titlecaseLetter,       // Lt
  modifierLetter,        // Lm
  otherLetter,           // Lo
  nonspacingMark,        // Mn
  spacingMark,           // Mc
  enclosingMark,         // Me
  decimalNumber,         // Nd
  letterNumber,          // Nl
  otherNumber,           // No
  connectorPunctuation,  // Pc
  dashPunctuation,       // Pd
  openPunctuation,       // Ps
  closePunctuation,      // Pe
  initialPunctuation,    // Pi
  finalPunctuation,      // Pf
  otherPunctuation,      // Po
  mathSymbol,            // Sm
  currencySymbol,        // Sc
  modifierSymbol,        // Sk
  otherSymbol,           // So
  spaceSeparator,        // Zs
  lineSeparator,         // Zl
  paragraphSeparator,    // Zp
  control,               // Cc
  format,                // Cf
  surrogate,             // Cs
  privateUse,            // Co
  unassigned,            // Cn
};

// The two-letter abbreviation of a category ("Lu", "Zs", ...).
std::string_view abbreviation(GeneralCategory category);
// The general category of a code point (unassigned for values beyond U+10FFFF).
GeneralCategory generalCategory(char32_t scalar);
// The first scalar of a UTF-8 text (U+FFFD when it starts with invalid UTF-8), or nothing for "".
std::optional<char32_t> firstScalar(std::string_view text);
// The general category of the first scalar of a text (a grapheme cluster), or nothing for "".
std::optional<GeneralCategory> generalCategoryOfFirstScalar(std::string_view text);

// Category groups.
bool isLetter(GeneralCategory category);       // L*
bool isMark(GeneralCategory category);         // M*
bool isNumber(GeneralCategory category);       // N*
bool isPunctuation(GeneralCategory category);  // P*
bool isSymbol(GeneralCategory category);       // S*
bool isSeparator(GeneralCategory category);    // Z*

// The whitespace set: category Zs and CHARACTER TABULATION (U+0009).
bool isWhitespace(char32_t scalar);
// The newline set: U+000A to U+000D, U+0085, U+2028 and U+2029.
bool isNewline(char32_t scalar);
// Either of the two sets above.
bool isWhitespaceOrNewline(char32_t scalar);

// Full case mapping in the root locale (no language-specific rules: "I" lowercases to "i" everywhere).
std::string lowercased(std::string_view text);
std::string uppercased(std::string_view text);

// Normalisation forms C (composed) and D (decomposed).
std::string nfc(std::string_view text);
std::string nfd(std::string_view text);

// Whether two texts are canonically equivalent ("é" precomposed equals "e" with a combining acute).
bool canonicallyEquivalent(std::string_view a, std::string_view b);
// Whether a text begins / ends with another, comparing whole user-perceived characters by canonical
// equivalence ("é" does not start with "e"). Every text starts and ends with "".
bool startsWithCanonically(std::string_view text, std::string_view prefix);
bool endsWithCanonically(std::string_view text, std::string_view suffix);

// The text folded for loose comparison: decomposed, combining marks (Mn) removed, full case folding,
// recomposed. Two texts that differ only in case and diacritics fold to the same text.
std::string foldedIgnoringCaseAndDiacritics(std::string_view text);

// Whether the haystack contains the needle when case and diacritics are ignored ("Exceeded Your Current"
// and "éxceeded your current" both contain "exceeded your current"). An empty needle is contained nowhere,
// as with the platform's standard containment test.
bool containsIgnoringCaseAndDiacritics(std::string_view haystack, std::string_view needle);

}  // namespace foundation
