#include "platform/foundation/utf16.h"

#include <cstdint>
#include <limits>

namespace foundation {
namespace {

constexpr char32_t kReplacement = 0xFFFD;

// One step of UTF-8 decoding: the scalar at `position` and the number of bytes it takes. An invalid
// sequence gives U+FFFD for its maximal subpart (at least one byte), as Unicode recommends, so decoding
// always advances and byte offsets stay those of the original text.
struct Decoded {
  char32_t scalar;
  std::size_t length;
  bool isValid;
};

Decoded decodeAt(std::string_view text, std::size_t position) {
  const auto byte = [&](std::size_t i) { return static_cast<std::uint8_t>(text[i]); };
  const std::uint8_t lead = byte(position);
  if (lead < 0x80) return {lead, 1, true};

  std::size_t needed = 0;
  char32_t scalar = 0;
  // Bounds for the second byte keep out overlong forms, surrogates and values beyond U+10FFFF.
  std::uint8_t low = 0x80, high = 0xBF;
  if (lead >= 0xC2 && lead <= 0xDF) {
    needed = 1;
    scalar = lead & 0x1F;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    needed = 2;
    scalar = lead & 0x0F;
    if (lead == 0xE0) low = 0xA0;
    if (lead == 0xED) high = 0x9F;
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    needed = 3;
    scalar = lead & 0x07;
    if (lead == 0xF0) low = 0x90;
    if (lead == 0xF4) high = 0x8F;
  } else {
    return {kReplacement, 1, false};
  }
  std::size_t length = 1;
  for (std::size_t i = 0; i < needed; ++i) {
    const std::size_t at = position + 1 + i;
    if (at >= text.size()) return {kReplacement, length, false};
    const std::uint8_t b = byte(at);
    const std::uint8_t min = i == 0 ? low : 0x80;
    const std::uint8_t max = i == 0 ? high : 0xBF;
    if (b < min || b > max) return {kReplacement, length, false};
    scalar = (scalar << 6) | (b & 0x3F);
    ++length;
  }
  return {scalar, length, true};
}

std::size_t utf16Units(char32_t scalar) { return scalar >= 0x10000 ? 2 : 1; }

void appendUtf8(std::string& out, char32_t scalar) {
  if ((scalar >= 0xD800 && scalar <= 0xDFFF) || scalar > 0x10FFFF) scalar = kReplacement;
  if (scalar < 0x80) {
    out.push_back(static_cast<char>(scalar));
  } else if (scalar < 0x800) {
    out.push_back(static_cast<char>(0xC0 | (scalar >> 6)));
    out.push_back(static_cast<char>(0x80 | (scalar & 0x3F)));
  } else if (scalar < 0x10000) {
    out.push_back(static_cast<char>(0xE0 | (scalar >> 12)));
    out.push_back(static_cast<char>(0x80 | ((scalar >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (scalar & 0x3F)));
  } else {
    out.push_back(static_cast<char>(0xF0 | (scalar >> 18)));
    out.push_back(static_cast<char>(0x80 | ((scalar >> 12) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | ((scalar >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (scalar & 0x3F)));
  }
}

}  // namespace

bool isValidUtf8(std::string_view text) {
  for (std::size_t i = 0; i < text.size();) {
    const Decoded d = decodeAt(text, i);
    if (!d.isValid) return false;
    i += d.length;
  }
  return true;
}

std::size_t validUtf8SequenceLength(std::string_view text, std::size_t position) {
  if (position >= text.size()) return 0;
  const Decoded d = decodeAt(text, position);
  return d.isValid ? d.length : 0;
}

std::string sanitizedUtf8(std::string_view text) {
  if (isValidUtf8(text)) return std::string(text);
  std::string out;
  out.reserve(text.size() + 8);
  for (std::size_t i = 0; i < text.size();) {
    const Decoded d = decodeAt(text, i);
    if (d.isValid) {
      out.append(text.substr(i, d.length));
    } else {
      appendUtf8(out, kReplacement);
    }
    i += d.length;
  }
  return out;
}

std::vector<char32_t> unicodeScalars(std::string_view text) {
  std::vector<char32_t> scalars;
  scalars.reserve(text.size());
  for (std::size_t i = 0; i < text.size();) {
    const Decoded d = decodeAt(text, i);
    scalars.push_back(d.scalar);
    i += d.length;
  }
  return scalars;
}

std::string utf8(char32_t scalar) {
  std::string out;
  appendUtf8(out, scalar);
  return out;
}

std::u16string toUtf16(std::string_view text) {
  std::u16string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size();) {
    const Decoded d = decodeAt(text, i);
    if (d.scalar >= 0x10000) {
      const char32_t v = d.scalar - 0x10000;
      out.push_back(static_cast<char16_t>(0xD800 + (v >> 10)));
      out.push_back(static_cast<char16_t>(0xDC00 + (v & 0x3FF)));
    } else {
      out.push_back(static_cast<char16_t>(d.scalar));
    }
    i += d.length;
  }
  return out;
}

std::string toUtf8(std::u16string_view text) {
  std::string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char16_t unit = text[i];
    if (unit >= 0xD800 && unit <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 &&
        text[i + 1] <= 0xDFFF) {
      appendUtf8(out, 0x10000 + ((static_cast<char32_t>(unit) - 0xD800) << 10) + (text[i + 1] - 0xDC00));
      ++i;
    } else {
      appendUtf8(out, unit);  // an unpaired surrogate becomes U+FFFD here
    }
  }
  return out;
}

std::size_t utf16Length(std::string_view text) {
  std::size_t length = 0;
  for (std::size_t i = 0; i < text.size();) {
    const unsigned char lead = static_cast<unsigned char>(text[i]);
    if (lead < 0x80) {  // ASCII fast path
      ++length;
      ++i;
      continue;
    }
    const Decoded d = decodeAt(text, i);
    length += utf16Units(d.scalar);
    i += d.length;
  }
  return length;
}

std::size_t utf8Offset(std::string_view text, std::size_t utf16Offset) {
  std::size_t units = 0;
  std::size_t i = 0;
  while (i < text.size()) {
    const Decoded d = decodeAt(text, i);
    const std::size_t next = units + utf16Units(d.scalar);
    if (next > utf16Offset) return i;  // the offset is at or inside this character: its start
    units = next;
    i += d.length;
  }
  return text.size();
}

std::size_t utf16Offset(std::string_view text, std::size_t utf8Offset) {
  std::size_t units = 0;
  for (std::size_t i = 0; i < text.size();) {
    const Decoded d = decodeAt(text, i);
    if (i + d.length > utf8Offset) return units;
    units += utf16Units(d.scalar);
    i += d.length;
  }
  return units;
}

std::string utf16Substring(std::string_view text, Utf16Range range) {
  const std::size_t start = utf8Offset(text, range.location);
  const std::size_t endUnits = range.length > std::numeric_limits<std::size_t>::max() - range.location
                                   ? std::numeric_limits<std::size_t>::max()
                                   : range.location + range.length;
  const std::size_t end = utf8Offset(text, endUnits);
  if (end <= start) return {};
  return std::string(text.substr(start, end - start));
}

bool isUtf16RangeWithin(Utf16Range range, std::size_t utf16Length) {
  return range.location <= utf16Length && range.length <= utf16Length - range.location;
}

}  // namespace foundation
