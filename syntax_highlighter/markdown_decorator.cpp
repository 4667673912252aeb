#include "syntax_highlighter/markdown_decorator.h"

#include "platform/foundation/unicode.h"
#include "platform/foundation/utf16.h"
#include "syntax_highlighter/unicode_text.h"

namespace Glint {
namespace {

constexpr std::string_view fence = "```";

std::size_t scalarLengthAt(std::string_view text, std::size_t offset) {
  const auto lead = static_cast<unsigned char>(text[offset]);
  const std::size_t length = lead < 0x80 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
  return std::min(length, text.size() - offset);
}

bool isWhitespaceOrNewlineScalar(std::string_view text, std::size_t offset, std::size_t length) {
  return foundation::isWhitespaceOrNewline(detail::firstScalar(text.substr(offset, length)));
}

// Trims whitespace and newline scalars at both ends (the text is valid UTF-8).
std::string_view trimmed(std::string_view text) {
  std::size_t start = 0;
  while (start < text.size()) {
    const std::size_t length = scalarLengthAt(text, start);
    if (!isWhitespaceOrNewlineScalar(text, start, length)) break;
    start += length;
  }
  std::size_t end = text.size();
  while (end > start) {
    std::size_t scalarStart = end - 1;
    while (scalarStart > start && (static_cast<unsigned char>(text[scalarStart]) & 0xC0) == 0x80)
      --scalarStart;
    if (!isWhitespaceOrNewlineScalar(text, scalarStart, end - scalarStart)) break;
    end = scalarStart;
  }
  return text.substr(start, end - start);
}

// The text without its first `count` user-perceived characters (empty when it has fewer).
std::string_view droppingCharacters(std::string_view text, std::size_t count) {
  std::size_t offset = 0;
  for (std::size_t dropped = 0; dropped < count && offset < text.size(); ++dropped) {
    offset += detail::characterLength(text, offset);
  }
  return text.substr(offset);
}

}  // namespace

MarkdownDecorator::MarkdownDecorator(std::string classPrefix, std::shared_ptr<const Grammar> grammar)
    : highlighter(HTMLOutputFormat(std::move(classPrefix)), std::move(grammar)) {}

std::string MarkdownDecorator::decorate(std::string_view input) const {
  const std::string markdown =
      foundation::isValidUtf8(input) ? std::string(input) : foundation::sanitizedUtf8(input);
  std::string result;
  std::size_t pieceStart = 0;
  bool isInsideFence = false;
  while (true) {
    const std::size_t fenceStart = markdown.find(fence, pieceStart);
    const std::size_t pieceEnd = fenceStart == std::string::npos ? markdown.size() : fenceStart;
    const std::string_view piece = std::string_view(markdown).substr(pieceStart, pieceEnd - pieceStart);
    if (!isInsideFence) {
      result += piece;
    } else {
      const std::string_view code = trimmed(piece);
      result += "<pre class=\"glint\"><code>";
      if (detail::startsWith(code, skipHighlightingPrefix)) {
        const std::size_t prefixLength = foundation::graphemeCount(skipHighlightingPrefix);
        result += escapedHTML(droppingCharacters(code, prefixLength + 1));
      } else {
        result += highlighter.highlightedOutput(code);
      }
      result += "</code></pre>";
    }
    if (fenceStart == std::string::npos) break;
    pieceStart = fenceStart + fence.size();
    isInsideFence = !isInsideFence;
  }
  return result;
}

}  // namespace Glint
