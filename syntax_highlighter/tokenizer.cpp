#include "syntax_highlighter/tokenizer.h"

#include "platform/foundation/unicode.h"
#include "platform/foundation/utf16.h"
#include "syntax_highlighter/unicode_text.h"

namespace Glint {

SegmentWalk::SegmentWalk(std::shared_ptr<const std::string> code, std::shared_ptr<const Grammar> grammar)
    : code_(std::move(code)), grammar_(std::move(grammar)) {}

std::optional<Segment> SegmentWalk::next() {
  std::optional<Segment> segment;
  if (lookAhead_) {
    segment = std::move(lookAhead_);
    lookAhead_.reset();
  } else {
    segment = nextUnlinkedSegment();
  }
  lookAhead_ = nextUnlinkedSegment();
  if (segment && lookAhead_) segment->tokens.next = lookAhead_->tokens.current;
  return segment;
}

SegmentWalk::CharacterClass SegmentWalk::characterClass(std::string_view character) const {
  const char32_t scalar = detail::firstScalar(character);
  if (scalar < 0x80) {
    if (scalar == ' ' || scalar == '\t') return CharacterClass::whitespace;
    if (scalar >= '\n' && scalar <= '\r') return CharacterClass::newline;
  } else {
    if (foundation::isWhitespace(scalar)) return CharacterClass::whitespace;
    if (foundation::isNewline(scalar)) return CharacterClass::newline;
  }
  if (!character.empty() && grammar_->delimiters().contains(scalar)) return CharacterClass::delimiter;
  return CharacterClass::plain;
}

Segment SegmentWalk::startSegment(std::size_t position, std::string_view character,
                                  CharacterClass characterClass, std::optional<std::string> previous) const {
  const std::size_t tokenCount = history_->size();
  Segment segment;
  segment.prefix = CodePrefix(code_, position);
  segment.tokens.all = TokenList(history_, 0, tokenCount);
  segment.tokens.counts = TokenCounts(history_, tokenCount);
  segment.tokens.onSameLine = TokenList(history_, lineStart_, tokenCount);
  segment.tokens.previous = std::move(previous);
  if (characterClass == CharacterClass::whitespace || characterClass == CharacterClass::newline) {
    segment.trailingWhitespace = std::string(character);
    segment.isLastOnLine = characterClass == CharacterClass::newline;
  } else {
    segment.tokens.current = std::string(character);
    segment.currentTokenIsDelimiter = characterClass == CharacterClass::delimiter;
  }
  return segment;
}

Segment SegmentWalk::finishSegment(std::size_t position, std::string_view character,
                                   CharacterClass characterClass) {
  Segment finished = std::move(*current_);
  history_->append(finished.tokens.current);
  // A line's tokens are a stretch of the history: they start after the last token that ended a line.
  if (finished.isLastOnLine) lineStart_ = history_->size();
  current_ = startSegment(position, character, characterClass, finished.tokens.current);
  lastCharacterOffset_ = 0;
  return finished;
}

std::optional<Segment> SegmentWalk::nextUnlinkedSegment() {
  const std::string& code = *code_;
  while (!hasEnded_) {
    if (position_ >= code.size()) {
      hasEnded_ = true;
      std::optional<Segment> last = std::move(current_);
      current_.reset();
      return last;
    }
    const std::size_t position = position_;
    const std::string_view character =
        std::string_view(code).substr(position, detail::characterLength(code, position));
    position_ += character.size();
    const CharacterClass kind = characterClass(character);

    if (kind == CharacterClass::whitespace || kind == CharacterClass::newline) {
      if (!current_) {
        current_ = startSegment(position, character, kind, std::nullopt);
      } else {
        if (!current_->trailingWhitespace) current_->trailingWhitespace.emplace();
        current_->trailingWhitespace->append(character);
        if (kind == CharacterClass::newline) current_->isLastOnLine = true;
      }
      continue;
    }

    if (!current_) {
      current_ = startSegment(position, character, kind, std::nullopt);
      lastCharacterOffset_ = 0;
      continue;
    }
    const bool isDelimiter = kind == CharacterClass::delimiter;
    if (current_->trailingWhitespace || isDelimiter != current_->currentTokenIsDelimiter) {
      return finishSegment(position, character, kind);
    }
    std::string& token = current_->tokens.current;
    if (isDelimiter &&
        !grammar_->canMergeDelimiters(std::string_view(token).substr(lastCharacterOffset_), character)) {
      return finishSegment(position, character, kind);
    }
    lastCharacterOffset_ = token.size();
    token.append(character);
  }
  return std::nullopt;
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
