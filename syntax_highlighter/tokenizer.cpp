#include "syntax_highlighter/tokenizer.h"

#include "platform/foundation/unicode.h"
#include "platform/foundation/utf16.h"
#include "syntax_highlighter/unicode_text.h"

namespace Glint {
namespace {

void assignText(std::optional<std::string>& target, std::string_view text) {
  if (target) {
    target->assign(text);
  } else {
    target.emplace(text);
  }
}

}  // namespace

SegmentWalk::SegmentWalk(std::shared_ptr<const std::string> code, std::shared_ptr<const Grammar> grammar)
    : code_(std::move(code)),
      grammar_(std::move(grammar)),
      delimiters_(grammar_->delimiters()),
      history_(std::make_shared<detail::TokenHistory>(code_)) {
  history_->reserve(code_->size() / 4);  // code has about one token per four bytes
}

std::optional<Segment> SegmentWalk::next() {
  Segment segment;
  if (!next(segment)) return std::nullopt;
  return segment;
}

bool SegmentWalk::next(Segment& segment) {
  std::optional<Span> span;
  if (!hasStarted_) {
    hasStarted_ = true;
    span = nextSpan();
  } else {
    span = lookAhead_;
  }
  if (!span) {
    lookAhead_.reset();
    return false;
  }
  lookAhead_ = nextSpan();

  const std::string_view code = *code_;
  segment.prefix.assign(code_, span->tokenStart);
  segment.tokens.all.assign(history_, 0, span->tokensBefore);
  segment.tokens.counts.assign(history_, span->tokensBefore);
  segment.tokens.onSameLine.assign(history_, span->lineStart, span->tokensBefore);
  if (span->tokensBefore > 0) {
    assignText(segment.tokens.previous, history_->text(span->tokensBefore - 1));
  } else {
    segment.tokens.previous.reset();
  }
  segment.tokens.current.assign(code.substr(span->tokenStart, span->tokenEnd - span->tokenStart));
  if (lookAhead_) {
    assignText(segment.tokens.next,
               code.substr(lookAhead_->tokenStart, lookAhead_->tokenEnd - lookAhead_->tokenStart));
  } else {
    segment.tokens.next.reset();
  }
  if (span->end > span->tokenEnd) {
    assignText(segment.trailingWhitespace, code.substr(span->tokenEnd, span->end - span->tokenEnd));
  } else {
    segment.trailingWhitespace.reset();
  }
  segment.currentTokenIsDelimiter = span->isDelimiter;
  segment.isLastOnLine = span->isLastOnLine;
  return true;
}

SegmentWalk::CharacterClass SegmentWalk::characterClass(std::string_view character) const {
  const auto lead = static_cast<unsigned char>(character[0]);
  if (lead < 0x80) {
    if (lead == ' ' || lead == '\t') return CharacterClass::whitespace;
    if (lead >= '\n' && lead <= '\r') return CharacterClass::newline;
    return delimiters_.contains(lead) ? CharacterClass::delimiter : CharacterClass::plain;
  }
  const char32_t scalar = detail::firstScalar(character);
  if (foundation::isWhitespace(scalar)) return CharacterClass::whitespace;
  if (foundation::isNewline(scalar)) return CharacterClass::newline;
  return delimiters_.contains(scalar) ? CharacterClass::delimiter : CharacterClass::plain;
}

std::string_view SegmentWalk::characterAt(std::size_t position) const {
  const std::string& code = *code_;
  const auto byte = static_cast<unsigned char>(code[position]);
  // An ASCII character followed by another ASCII byte ends there, except a carriage return before a
  // line feed; everything else asks the grapheme rules.
  if (byte < 0x80 && (position + 1 == code.size() || (static_cast<unsigned char>(code[position + 1]) < 0x80 &&
                                                      !(byte == '\r' && code[position + 1] == '\n')))) {
    return std::string_view(code).substr(position, 1);
  }
  return std::string_view(code).substr(position, detail::characterLength(code, position));
}

// A segment is a token (a run of plain characters, or of delimiters each of which the grammar lets join
// the last character before it) followed by every whitespace and newline character up to the next token.
// Only the first segment can have an empty token: when the code begins with whitespace.
std::optional<SegmentWalk::Span> SegmentWalk::nextSpan() {
  const std::string& code = *code_;
  if (position_ >= code.size()) return std::nullopt;
  // The token of the segment before enters the history now: this segment's views end after it.
  if (previous_) {
    history_->append(previous_->tokenStart, previous_->tokenEnd - previous_->tokenStart);
    if (previous_->isLastOnLine) lineStart_ = history_->size();
  }
  Span span;
  span.tokenStart = position_;
  span.tokensBefore = history_->size();
  span.lineStart = lineStart_;

  std::string_view character = characterAt(position_);
  CharacterClass kind = characterClass(character);
  if (kind == CharacterClass::plain || kind == CharacterClass::delimiter) {
    span.isDelimiter = kind == CharacterClass::delimiter;
    position_ += character.size();
    while (position_ < code.size()) {
      const std::string_view nextCharacter = characterAt(position_);
      if (characterClass(nextCharacter) != kind) break;
      if (span.isDelimiter && !grammar_->canMergeDelimiters(character, nextCharacter)) break;
      character = nextCharacter;
      position_ += character.size();
    }
  }
  span.tokenEnd = position_;
  while (position_ < code.size()) {
    character = characterAt(position_);
    kind = characterClass(character);
    if (kind != CharacterClass::whitespace && kind != CharacterClass::newline) break;
    if (kind == CharacterClass::newline) span.isLastOnLine = true;
    position_ += character.size();
  }
  span.end = position_;
  previous_ = span;
  return span;
}

SegmentSequence::iterator& SegmentSequence::iterator::operator++() {
  if (walk_) segment_ = walk_->next();
  if (!segment_) walk_.reset();
  return *this;
}

SegmentSequence Tokenizer::segments(std::string_view code, std::shared_ptr<const Grammar> grammar) const {
  auto text = std::make_shared<const std::string>(
      foundation::isValidUtf8(code) ? std::string(code) : foundation::sanitizedUtf8(code));
  return SegmentSequence(std::move(text), std::move(grammar));
}

SegmentSequence Tokenizer::segments(std::string_view code, const Grammar& grammar) const {
  return segments(code, std::shared_ptr<const Grammar>(std::shared_ptr<const Grammar>(), &grammar));
}

}  // namespace Glint
