// Cuts code into segments under a grammar: each segment is one token (a run of ordinary characters, or of
// delimiters that the grammar lets stand together) with the whitespace after it and its context.
#pragma once

#include <cstddef>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "syntax_highlighter/grammar.h"
#include "syntax_highlighter/segment.h"

namespace Glint {

// One walk over the code, producing segments one at a time. Each segment handed out already knows the
// token after it, so the walk reads one segment ahead.
class SegmentWalk {
 public:
  SegmentWalk(std::shared_ptr<const std::string> code, std::shared_ptr<const Grammar> grammar);

  // The next segment, or nothing at the end (and on every call after it).
  std::optional<Segment> next();
  // The same, written into `segment` (whose storage is reused); false at the end.
  bool next(Segment& segment);

 private:
  enum class CharacterClass { plain, delimiter, whitespace, newline };

  // Where a segment lies in the code, and what the walk knew when it started.
  struct Span {
    std::size_t tokenStart = 0;
    std::size_t tokenEnd = 0;
    std::size_t end = 0;  // of its trailing whitespace
    bool isDelimiter = false;
    bool isLastOnLine = false;
    std::size_t tokensBefore = 0;  // in the history
    std::size_t lineStart = 0;     // where its line's tokens begin in the history
  };

  std::optional<Span> nextSpan();
  CharacterClass characterClass(std::string_view character) const;
  std::string_view characterAt(std::size_t position) const;

  std::shared_ptr<const std::string> code_;
  std::shared_ptr<const Grammar> grammar_;
  const CharacterSet& delimiters_;
  std::shared_ptr<detail::TokenHistory> history_;
  std::size_t position_ = 0;       // the next character to read
  std::size_t lineStart_ = 0;      // where the tokens of the line being read begin in the history
  std::optional<Span> previous_;   // the last span read, whose token enters the history next
  std::optional<Span> lookAhead_;  // read, not yet handed out
  bool hasStarted_ = false;
};

// The segments of some code: every iteration starts a fresh walk from the beginning; nothing is read
// before the first segment is asked for.
class SegmentSequence {
 public:
  SegmentSequence(std::shared_ptr<const std::string> code, std::shared_ptr<const Grammar> grammar)
      : code_(std::move(code)), grammar_(std::move(grammar)) {}

  SegmentWalk walk() const { return SegmentWalk(code_, grammar_); }

  class iterator {
   public:
    using iterator_category = std::input_iterator_tag;
    using value_type = Segment;
    using difference_type = std::ptrdiff_t;
    using pointer = const Segment*;
    using reference = const Segment&;

    iterator() = default;
    explicit iterator(std::shared_ptr<SegmentWalk> walk) : walk_(std::move(walk)) { ++*this; }
    reference operator*() const { return *segment_; }
    pointer operator->() const { return &*segment_; }
    iterator& operator++();
    void operator++(int) { ++*this; }
    // Only the end of the sequence compares meaningfully: an iterator equals the end once its walk ended.
    bool operator==(const iterator& other) const {
      return segment_.has_value() == other.segment_.has_value();
    }

   private:
    std::shared_ptr<SegmentWalk> walk_;
    std::optional<Segment> segment_;
  };

  iterator begin() const { return iterator(std::make_shared<SegmentWalk>(walk())); }
  iterator end() const { return iterator(); }

 private:
  std::shared_ptr<const std::string> code_;
  std::shared_ptr<const Grammar> grammar_;
};

class Tokenizer {
 public:
  // Code that is not valid UTF-8 is read with each invalid sequence as U+FFFD.
  SegmentSequence segments(std::string_view code, std::shared_ptr<const Grammar> grammar) const;
  // The grammar is borrowed: it must outlive the sequence and its segments' walks.
  SegmentSequence segments(std::string_view code, const Grammar& grammar) const;
};

}  // namespace Glint
