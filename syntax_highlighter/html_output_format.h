// HTML output: runs of tokens of one type become one span whose class is the prefix and the type's name;
// text is escaped, whitespace is written as it is.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "syntax_highlighter/token_type.h"

namespace Glint {

// Replaces "&", "<" and ">" by their entities; every other character stays.
std::string escapedHTML(std::string_view text);
// The same, appended to `html`.
void appendEscapedHTML(std::string& html, std::string_view text);

class HTMLOutputFormat {
 public:
  class Builder {
   public:
    using Output = std::string;

    explicit Builder(std::string classPrefix) : classPrefix(std::move(classPrefix)) {}

    void appendToken(const std::string& token, const TokenType& type);
    void appendPlainText(const std::string& text);
    void appendWhitespace(const std::string& whitespace);
    std::string buildOutput() &;
    // The same, handing over the text instead of copying it, when the builder is done.
    std::string buildOutput() &&;
    // Room for the output of code of this size, asked for before the first append.
    void reserve(std::size_t codeSize);

    struct PendingToken {
      std::string string;
      TokenType type;
    };

    std::string classPrefix;
    std::string html;
    std::optional<PendingToken> pendingToken;
    std::optional<std::string> pendingWhitespace;

   private:
    void flushPending();
  };

  explicit HTMLOutputFormat(std::string classPrefix = {}) : classPrefix(std::move(classPrefix)) {}

  Builder makeOutputBuilder() const { return Builder(classPrefix); }

  std::string classPrefix;
};

}  // namespace Glint
