// Finding the Inline request in the text before the caret: the line that holds the trigger word (the
// caret's line or the one before it) and the prompt taken from that line.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "platform/foundation/utf16.h"

namespace Quillo {

// Which line held the trigger word.
enum class TriggerLine { current, previous };

struct InlinePrompt {
  // The question, possibly empty (it is still sent).
  std::string prompt;
  TriggerLine line = TriggerLine::current;
  // For the previous line: its range in the field's value, in UTF-16 code units. None for the current line,
  // and when the caret offset is too small to hold the two lines (a caret that does not match the text).
  std::optional<foundation::Utf16Range> previousLineRange;

  bool operator==(const InlinePrompt&) const = default;
};

// Looks for the trigger word (case-sensitive; an empty word is never found) in the last line of the text
// before the caret and, failing that, in the line before it, and takes the prompt from that line: the text
// after the word's last occurrence, or the text before it when nothing follows. Lines end at LINE FEED
// and LINE SEPARATOR, compared as whole characters, so CR LF and a lone CR end no line. Prints the two
// lines, and the prompt or the message that neither line holds the word.
std::optional<InlinePrompt> extractInlinePrompt(std::string_view textBeforeCaret,
                                                std::size_t caretUtf16Offset, std::string_view triggerWord);

}  // namespace Quillo
