#include "Quillo/inline/trigger_line.h"

#include <vector>

#include "platform/foundation/log.h"
#include "platform/foundation/unicode.h"

namespace Quillo {
namespace {

constexpr std::string_view kLineFeed = "\n";
constexpr std::string_view kLineSeparator = "\u2028";

// The text without white space and line ends (as Unicode scalars) at either end.
std::string trimmed(std::string_view text) {
  const std::vector<char32_t> scalars = foundation::unicodeScalars(text);
  std::size_t first = 0;
  std::size_t last = scalars.size();
  while (first < last && foundation::isWhitespaceOrNewline(scalars[first])) ++first;
  while (last > first && foundation::isWhitespaceOrNewline(scalars[last - 1])) --last;
  std::string result;
  for (std::size_t i = first; i < last; ++i) result += foundation::utf8(scalars[i]);
  return result;
}

bool contains(std::string_view line, std::string_view word) {
  return !word.empty() && line.find(word) != std::string_view::npos;
}

}  // namespace

std::optional<InlinePrompt> extractInlinePrompt(std::string_view textBeforeCaret,
                                                std::size_t caretUtf16Offset, std::string_view triggerWord) {
  // Lines are split on whole characters: a LINE FEED inside CR LF is not a character of its own.
  std::vector<std::string> lines(1);
  for (auto& character : foundation::graphemeClusters(textBeforeCaret)) {
    if (character == kLineFeed || character == kLineSeparator) {
      lines.emplace_back();
    } else {
      lines.back() += character;
    }
  }
  const std::string& currentLine = lines.back();
  const std::string previousLine = lines.size() > 1 ? lines[lines.size() - 2] : std::string();

  foundation::logReadText("Previous line: " + previousLine);
  foundation::logReadText("Current line (before cursor): " + currentLine);

  InlinePrompt result;
  std::string_view searchLine;
  if (contains(currentLine, triggerWord)) {
    searchLine = currentLine;
    result.line = TriggerLine::current;
  } else if (contains(previousLine, triggerWord)) {
    searchLine = previousLine;
    result.line = TriggerLine::previous;
    // The one unit between the lines is the line end: LINE FEED and LINE SEPARATOR are one UTF-16 unit.
    const std::size_t currentLength = foundation::utf16Length(currentLine);
    const std::size_t previousLength = foundation::utf16Length(previousLine);
    if (caretUtf16Offset >= currentLength + 1 + previousLength) {
      result.previousLineRange =
          foundation::Utf16Range{caretUtf16Offset - currentLength - 1 - previousLength, previousLength};
    }
  } else {
    foundation::log("Current and previous line do not contain the trigger word.");
    return std::nullopt;
  }

  const std::size_t occurrence = searchLine.rfind(triggerWord);
  result.prompt = trimmed(searchLine.substr(occurrence + triggerWord.size()));
  if (result.prompt.empty()) result.prompt = trimmed(searchLine.substr(0, occurrence));

  foundation::logReadText("input: " + result.prompt);
  return result;
}

}  // namespace Quillo
