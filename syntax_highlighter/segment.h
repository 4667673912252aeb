// One token of the code in its context: the code before it, the tokens before it (in all and on its line,
// with their counts), its neighbours, and the whitespace after it.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "syntax_highlighter/token_history.h"

namespace Glint {

// A leading part of the code that shares the code's storage.
class CodePrefix {
 public:
  CodePrefix() = default;
  CodePrefix(std::shared_ptr<const std::string> code, std::size_t length)
      : code_(std::move(code)), length_(length) {}

  std::string_view view() const {
    return code_ ? std::string_view(*code_).substr(0, length_) : std::string_view();
  }
  operator std::string_view() const { return view(); }
  // Makes this the first `length` bytes of `code`; the code is shared again only when it changes.
  void assign(const std::shared_ptr<const std::string>& code, std::size_t length) {
    if (code_ != code) code_ = code;
    length_ = length;
  }
  std::size_t size() const { return length_; }

 private:
  std::shared_ptr<const std::string> code_;
  std::size_t length_ = 0;
};

struct Segment {
  struct Tokens {
    // The tokens of every earlier segment, in order.
    TokenList all;
    // How many earlier segments had each text.
    TokenCounts counts;
    // The tokens of the earlier segments on this segment's line.
    TokenList onSameLine;
    std::optional<std::string> previous;
    std::string current;
    std::optional<std::string> next;
  };

  // All the code before this segment's token.
  CodePrefix prefix;
  Tokens tokens;
  // The whitespace and newlines after the token up to the next token; absent when there is none.
  std::optional<std::string> trailingWhitespace;
  bool currentTokenIsDelimiter = false;
  // Whether the trailing whitespace holds a newline.
  bool isLastOnLine = false;
};

}  // namespace Glint
