// The tokens of one walk over the code, kept once and shared: an append-only store that segments see
// through fixed-length views, so no segment copies the tokens before it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <iterator>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <thread>
#include <unordered_map>
#include <vector>

namespace Glint {

namespace detail {

// Append-only; only the walk that owns it appends, and views never look past the length they were made
// with, so what a view shows never changes. Segments of a walk are read on the walk's thread while the
// walk goes on (appending may move the storage). A token is a stretch of the code, which the history
// keeps alive; tokens with the same canonical key share one number, under which their positions are kept.
class TokenHistory {
 public:
  explicit TokenHistory(std::shared_ptr<const std::string> code);

  void reserve(std::size_t tokenCount) { tokens_.reserve(tokenCount); }
  ~TokenHistory();
  // Appends the token that occupies [offset, offset + length) of the code.
  void append(std::size_t offset, std::size_t length);

  std::size_t size() const { return tokens_.size(); }
  std::string_view text(std::size_t index) const {
    const Token& token = tokens_[index];
    return std::string_view(*code_).substr(token.offset, token.length);
  }
  // The text under which canonically equivalent tokens are equal (see unicode_text.h).
  std::string_view key(std::size_t index) const {
    const Token& token = tokens_[index];
    return token.canonicalKey == 0 ? text(index) : std::string_view(canonicalKeys_[token.canonicalKey - 1]);
  }
  // How many of the first `end` tokens are canonically equivalent to `text`.
  std::size_t countBefore(std::string_view text, std::size_t end) const;
  // How many different texts the first `end` tokens hold.
  std::size_t distinctBefore(std::size_t end) const;

  // The state of `Fold` after stepping over the tokens [begin, end) from its default state, where
  // `Fold::step(State&, const TokenHistory&, std::size_t index)` takes one token. The walk's segments ask
  // for the same `begin` with a growing `end` (a line's tokens, or all of them), so the state reached is
  // remembered and the next request steps only over the tokens added since: rules that look back over a
  // line or over the whole code stay linear in its length. Remembered on the walk's own thread only; a
  // segment read on another thread steps over its tokens afresh.
  template <typename Fold>
  typename Fold::State fold(std::size_t begin, std::size_t end) const;

 private:
  struct Token {
    std::size_t offset;
    std::size_t length;
    std::size_t canonicalKey;  // index into canonicalKeys_ + 1, or 0 when the key is the text itself
  };
  // Numbers the keys of the tokens [indexedEnd_, end) and records their positions, for counting. Only
  // counting needs it, so appending does not pay for it. Touched on the walk's thread only: elsewhere this
  // answers false and the counts are taken by reading the tokens.
  bool indexUpTo(std::size_t end) const;

  // A history that ends leaves its token table, emptied but with its memory, to the next history made on
  // the same thread: highlighting one block after another then writes into memory the process already
  // touched instead of asking the system for fresh pages every time.
  static std::vector<Token>& spareTokens();  // this thread's

  std::shared_ptr<const std::string> code_;
  std::vector<Token> tokens_;
  std::vector<std::string> canonicalKeys_;  // keys that differ from their text

  mutable std::size_t indexedEnd_ = 0;
  mutable std::unordered_map<std::string_view, std::uint32_t> keyNumbers_;
  mutable std::vector<std::vector<std::uint32_t>> positions_;  // by key number
  mutable std::vector<std::uint32_t> firstOccurrences_;

  struct FoldMemo {
    virtual ~FoldMemo() = default;
    std::size_t begin = 0;
    std::size_t end = 0;
  };
  template <typename State>
  struct FoldMemoOf : FoldMemo {
    State state{};
  };
  static std::size_t nextFoldIndex();
  mutable std::vector<std::unique_ptr<FoldMemo>> memos_;  // by fold index; touched on owner_ only
  std::thread::id owner_ = std::this_thread::get_id();
};

template <typename Fold>
typename Fold::State TokenHistory::fold(std::size_t begin, std::size_t end) const {
  using State = typename Fold::State;
  if (std::this_thread::get_id() != owner_) {
    State state{};
    for (std::size_t index = begin; index < end; ++index) Fold::step(state, *this, index);
    return state;
  }
  static const std::size_t foldIndex = nextFoldIndex();
  if (memos_.size() <= foldIndex) memos_.resize(foldIndex + 1);
  std::unique_ptr<FoldMemo>& slot = memos_[foldIndex];
  if (!slot) slot = std::make_unique<FoldMemoOf<State>>();
  auto& memo = static_cast<FoldMemoOf<State>&>(*slot);
  if (memo.begin != begin || memo.end > end || memo.end < begin) {
    memo.state = State{};
    memo.begin = begin;
    memo.end = begin;
  }
  for (; memo.end < end; ++memo.end) Fold::step(memo.state, *this, memo.end);
  return memo.state;
}

}  // namespace detail

// A list of token texts: a stretch [begin, end) of one walk's tokens.
class TokenList {
 public:
  TokenList() = default;
  TokenList(std::shared_ptr<const detail::TokenHistory> history, std::size_t begin, std::size_t end)
      : history_(std::move(history)), begin_(begin), end_(end) {}

  // Makes this a view of [begin, end) of `history`; the history is shared again only when it changes.
  void assign(const std::shared_ptr<const detail::TokenHistory>& history, std::size_t begin,
              std::size_t end) {
    if (history_ != history) history_ = history;
    begin_ = begin;
    end_ = end;
  }

  std::size_t size() const { return end_ - begin_; }
  bool empty() const { return begin_ == end_; }
  std::string_view operator[](std::size_t index) const { return history_->text(begin_ + index); }
  std::string_view front() const { return (*this)[0]; }
  std::string_view back() const { return (*this)[size() - 1]; }
  // The canonical comparison key of an element.
  std::string_view key(std::size_t index) const { return history_->key(begin_ + index); }
  // The state of `Fold` over the elements, in order (see TokenHistory::fold); `Fold::step` receives the
  // history and the index of each element in it.
  template <typename Fold>
  typename Fold::State fold() const {
    return history_ ? history_->fold<Fold>(begin_, end_) : typename Fold::State{};
  }

  class const_iterator {
   public:
    using iterator_category = std::forward_iterator_tag;
    using value_type = std::string_view;
    using difference_type = std::ptrdiff_t;
    using pointer = void;
    using reference = std::string_view;

    const_iterator() = default;
    const_iterator(const TokenList* list, std::size_t index) : list_(list), index_(index) {}
    reference operator*() const { return (*list_)[index_]; }
    const_iterator& operator++() {
      ++index_;
      return *this;
    }
    const_iterator operator++(int) {
      auto copy = *this;
      ++index_;
      return copy;
    }
    const_iterator& operator--() {
      --index_;
      return *this;
    }
    bool operator==(const const_iterator& other) const { return index_ == other.index_; }
    difference_type operator-(const const_iterator& other) const {
      return static_cast<difference_type>(index_) - static_cast<difference_type>(other.index_);
    }

   private:
    const TokenList* list_ = nullptr;
    std::size_t index_ = 0;
  };

  const_iterator begin() const { return {this, 0}; }
  const_iterator end() const { return {this, size()}; }

  std::vector<std::string> toVector() const {
    std::vector<std::string> texts;
    texts.reserve(size());
    for (std::string_view text : *this) texts.emplace_back(text);
    return texts;
  }
  bool operator==(const TokenList& other) const;

 private:
  std::shared_ptr<const detail::TokenHistory> history_;
  std::size_t begin_ = 0;
  std::size_t end_ = 0;
};

// How many earlier segments had each token text, over the first `end` tokens of a walk. Texts are counted
// by canonical equivalence, as text keys of a dictionary are; a text never seen counts 0.
class TokenCounts {
 public:
  TokenCounts() = default;
  TokenCounts(std::shared_ptr<const detail::TokenHistory> history, std::size_t end)
      : history_(std::move(history)), end_(end) {}

  void assign(const std::shared_ptr<const detail::TokenHistory>& history, std::size_t end) {
    if (history_ != history) history_ = history;
    end_ = end;
  }

  std::size_t count(std::string_view text) const;
  // The number of different texts counted.
  std::size_t size() const;
  std::map<std::string, std::size_t> toMap() const;
  // The counts as a fold over the tokens counted (see TokenHistory::fold).
  template <typename Fold>
  typename Fold::State fold() const {
    return history_ ? history_->fold<Fold>(0, end_) : typename Fold::State{};
  }

 private:
  std::shared_ptr<const detail::TokenHistory> history_;
  std::size_t end_ = 0;
};

}  // namespace Glint
