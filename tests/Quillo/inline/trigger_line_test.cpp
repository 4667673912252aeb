#include "Quillo/inline/trigger_line.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "platform/foundation/log.h"
#include "platform/foundation/utf16.h"

namespace Quillo {
namespace {

using foundation::Utf16Range;

struct Case {
  std::string name;
  std::string beforeCaret;
  std::optional<std::string> prompt;
  TriggerLine line;
  std::optional<Utf16Range> range;
  std::string trigger;

  Case(std::string name, std::string beforeCaret, std::optional<std::string> prompt,
       TriggerLine line = TriggerLine::current, std::optional<Utf16Range> range = std::nullopt,
       std::string trigger = "+gpt")
      : name(std::move(name)),
        beforeCaret(std::move(beforeCaret)),
        prompt(std::move(prompt)),
        line(line),
        range(range),
        trigger(std::move(trigger)) {}
};

TEST(TriggerLine, FindsThePromptOnTheCurrentOrPreviousLine) {
  const std::vector<Case> cases = {
      {"question after the word on the current line", "+gpt what is 2+2?", "what is 2+2?"},
      {"text before the caret's line is ignored", "hello\n+gpt what is 2+2?", "what is 2+2?"},
      {"question before the word on the previous line", "what is 2+2? +gpt\n", "what is 2+2?",
       TriggerLine::previous, Utf16Range{0, 17}},
      {"previous line after two other lines", "ab\ncd\n+gpt hi\nxy", "hi", TriggerLine::previous,
       Utf16Range{6, 7}},
      {"two occurrences, nothing after the second", "+gpt tell me +gpt", "+gpt tell me"},
      {"only the trigger word", "+gpt", ""},
      {"both lines hold the word: the current line wins", "+gpt first\n+gpt second", "second"},
      {"blanks and tabs after the word count as empty", "say hi +gpt \t ", "say hi"},
      {"upper-case word on the previous line is not found", "+GPT question\n", std::nullopt},
      {"empty text", "", std::nullopt},
      {"no trigger word", "no trigger here", std::nullopt},
      {"two lines above the caret is too far", "+gpt question\nsecond\nthird", std::nullopt},
      {"an empty trigger word is never found", "+gpt question", std::nullopt, TriggerLine::current,
       std::nullopt, ""},
      {"LINE SEPARATOR ends a line", "+gpt hi\u2028", "hi", TriggerLine::previous, Utf16Range{0, 7}},
      {"CR LF is one character and ends no line", "+gpt hi\r\nthere", "hi\r\nthere"},
      {"a lone CR ends no line", "first\r+gpt hi", "hi"},
      {"CR LF lines stay one line under a trigger-free caret line", "+gpt a\r\nb\nc", "a\r\nb",
       TriggerLine::previous, Utf16Range{0, 9}},
      {"two-letter first line, trigger line, empty current line", "ab\n+gpt hi\n", "hi",
       TriggerLine::previous, Utf16Range{3, 7}},
      {"non-BMP characters count two units on the previous line", "a\U0001F600\n+gpt \U0001F9E0?\n",
       "\U0001F9E0?", TriggerLine::previous, Utf16Range{4, 8}},
      {"non-BMP characters count two units on the current line", "\U0001F600\n+gpt x\n\U0001F600\U0001F600",
       "x", TriggerLine::previous, Utf16Range{3, 6}},
      {"trigger word not at the start", "please +gpt translate this", "translate this"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    foundation::LogCapture log;
    const auto result = extractInlinePrompt(c.beforeCaret, foundation::utf16Length(c.beforeCaret), c.trigger);
    if (!c.prompt) {
      EXPECT_EQ(result, std::nullopt);
      continue;
    }
    ASSERT_TRUE(result.has_value());
    EXPECT_EQ(result->prompt, *c.prompt);
    EXPECT_EQ(result->line, c.line);
    EXPECT_EQ(result->previousLineRange, c.range);
  }
}

TEST(TriggerLine, PreviousLineRangeAddressesTheTriggerLineInTheValue) {
  const std::string value = "a\U0001F600b\n+gpt \U0001F9E0 now\nrest of field";
  const std::string beforeCaret = value.substr(0, value.find("rest"));
  foundation::LogCapture log;
  const auto result = extractInlinePrompt(beforeCaret, foundation::utf16Length(beforeCaret), "+gpt");
  ASSERT_TRUE(result && result->previousLineRange);
  EXPECT_EQ(foundation::utf16Substring(value, *result->previousLineRange), "+gpt \U0001F9E0 now");
}

TEST(TriggerLine, CaretTooSmallForTheLinesGivesNoRange) {
  foundation::LogCapture log;
  const auto result = extractInlinePrompt("ab\n+gpt hi\n", 2, "+gpt");
  ASSERT_TRUE(result.has_value());
  EXPECT_EQ(result->line, TriggerLine::previous);
  EXPECT_EQ(result->previousLineRange, std::nullopt);
}

TEST(TriggerLine, PrintsBothLinesAndThePrompt) {
  foundation::LogCapture log;
  extractInlinePrompt("what is it +gpt\n", 16, "+gpt");
  EXPECT_EQ(log.lines(), (std::vector<std::string>{"Previous line: what is it +gpt",
                                                   "Current line (before cursor): ", "input: what is it"}));
}

TEST(TriggerLine, PrintsWhyNothingWasFound) {
  foundation::LogCapture log;
  EXPECT_EQ(extractInlinePrompt("", 0, "+gpt"), std::nullopt);
  EXPECT_EQ(log.lines(),
            (std::vector<std::string>{"Previous line: ", "Current line (before cursor): ",
                                      "Current and previous line do not contain the trigger word."}));
}

TEST(TriggerLine, PrintsTheTextItReadOnlyToATerminal) {
  foundation::LogCapture journal(foundation::LogCapture::Output::notTerminal);
  extractInlinePrompt("what is it +gpt\n", 16, "+gpt");
  EXPECT_TRUE(journal.lines().empty());
  EXPECT_EQ(extractInlinePrompt("private", 7, "+gpt"), std::nullopt);
  EXPECT_EQ(journal.lines(),
            (std::vector<std::string>{"Current and previous line do not contain the trigger word."}));
}

TEST(TriggerLine, InvalidUtf8NeverCrashes) {
  foundation::LogCapture log;
  const std::string broken = "\xff\xfe+gpt \xc3";
  const auto result = extractInlinePrompt(broken, 10, "+gpt");
  ASSERT_TRUE(result.has_value());
  EXPECT_EQ(result->prompt, "\uFFFD");
}

}  // namespace
}  // namespace Quillo
