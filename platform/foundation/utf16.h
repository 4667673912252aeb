// UTF-8 / UTF-16 conversion and offsets: strings are UTF-8, while positions a platform reports count UTF-16
// code units (a character outside the Basic Multilingual Plane counts 2).
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace foundation {

// A range of UTF-16 code units.
struct Utf16Range {
  std::size_t location = 0;
  std::size_t length = 0;
  std::size_t end() const { return location + length; }
  bool operator==(const Utf16Range&) const = default;
};

// Every function below reads invalid UTF-8 (a stray byte, a truncated or overlong sequence, an encoded
// surrogate) as U+FFFD, one per maximal invalid subpart, and never fails on it. Byte offsets into such a
// text still refer to the original bytes.

// Whether the text is well-formed UTF-8.
bool isValidUtf8(std::string_view text);
// The text with each invalid sequence replaced by U+FFFD (unchanged when already valid).
std::string sanitizedUtf8(std::string_view text);
// The number of bytes of the well-formed character that starts at `position`, or 0 when the bytes there
// do not start one (or `position` is at the end).
std::size_t validUtf8SequenceLength(std::string_view text, std::size_t position);

// The Unicode scalars of a UTF-8 text.
std::vector<char32_t> unicodeScalars(std::string_view text);
// The UTF-8 encoding of one scalar (U+FFFD for a surrogate or a value beyond U+10FFFF).
std::string utf8(char32_t scalar);

// UTF-16 code units of a UTF-8 text.
std::u16string toUtf16(std::string_view text);
// UTF-8 of UTF-16 code units; an unpaired surrogate becomes U+FFFD.
std::string toUtf8(std::u16string_view text);

// The number of UTF-16 code units of a UTF-8 text.
std::size_t utf16Length(std::string_view text);

// The byte offset in a UTF-8 text of a UTF-16 offset. An offset beyond the end gives the text's size; an
// offset between the two units of a surrogate pair gives the start of that character (never half of it).
std::size_t utf8Offset(std::string_view text, std::size_t utf16Offset);

// The UTF-16 offset of a byte offset in a UTF-8 text. An offset beyond the end gives the UTF-16 length; an
// offset inside a multi-byte character gives the offset of that character's start.
std::size_t utf16Offset(std::string_view text, std::size_t utf8Offset);

// The part of a UTF-8 text covered by a UTF-16 range, clamped to the text; ends inside a surrogate pair
// move to the start of that character (so the result never holds half a character).
std::string utf16Substring(std::string_view text, Utf16Range range);

// Whether a UTF-16 range lies within a text of the given UTF-16 length (without overflow).
bool isUtf16RangeWithin(Utf16Range range, std::size_t utf16Length);

}  // namespace foundation
