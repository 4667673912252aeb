#include "syntax_highlighter/token_history.h"

#include <algorithm>
#include <atomic>

#include "syntax_highlighter/unicode_text.h"

namespace Glint {
namespace detail {

namespace {
// The largest token table kept for reuse (of about 1.5 MB).
constexpr std::size_t largestSpareTokenCount = 1 << 16;
}  // namespace

std::vector<TokenHistory::Token>& TokenHistory::spareTokens() {
  thread_local std::vector<Token> spare;
  return spare;
}

TokenHistory::TokenHistory(std::shared_ptr<const std::string> code)
    : code_(std::move(code)), tokens_(std::move(spareTokens())) {
  tokens_.clear();
}

TokenHistory::~TokenHistory() {
  std::vector<Token>& spare = spareTokens();
  if (tokens_.capacity() > spare.capacity() && tokens_.capacity() <= largestSpareTokenCount)
    spare = std::move(tokens_);
}

void TokenHistory::append(std::size_t offset, std::size_t length) {
  const std::string_view text = std::string_view(*code_).substr(offset, length);
  std::size_t canonical = 0;
  if (!isASCII(text)) {
    std::string key = canonicalKey(text);
    if (key != text) {
      canonicalKeys_.push_back(std::move(key));
      canonical = canonicalKeys_.size();
    }
  }
  tokens_.push_back({offset, length, canonical});
}

bool TokenHistory::indexUpTo(std::size_t end) const {
  if (std::this_thread::get_id() != owner_) return false;
  for (; indexedEnd_ < end; ++indexedEnd_) {
    const auto index = static_cast<std::uint32_t>(indexedEnd_);
    auto found = keyNumbers_.find(key(index));
    if (found == keyNumbers_.end()) {
      found = keyNumbers_.emplace(key(index), static_cast<std::uint32_t>(positions_.size())).first;
      positions_.emplace_back();
      firstOccurrences_.push_back(index);
    }
    positions_[found->second].push_back(index);
  }
  return true;
}

std::size_t TokenHistory::countBefore(std::string_view text, std::size_t end) const {
  const std::string key = isASCII(text) ? std::string(text) : canonicalKey(text);
  if (!indexUpTo(end)) {
    std::size_t count = 0;
    for (std::size_t index = 0; index < end; ++index) count += this->key(index) == key ? 1 : 0;
    return count;
  }
  auto found = keyNumbers_.find(key);
  if (found == keyNumbers_.end()) return 0;
  const auto& positions = positions_[found->second];
  return static_cast<std::size_t>(
      std::lower_bound(positions.begin(), positions.end(), static_cast<std::uint32_t>(end)) -
      positions.begin());
}

std::size_t TokenHistory::nextFoldIndex() {
  static std::atomic<std::size_t> next{0};
  return next++;
}

std::size_t TokenHistory::distinctBefore(std::size_t end) const {
  if (!indexUpTo(end)) {
    std::unordered_map<std::string_view, bool> seen;
    for (std::size_t index = 0; index < end; ++index) seen[key(index)] = true;
    return seen.size();
  }
  return static_cast<std::size_t>(
      std::lower_bound(firstOccurrences_.begin(), firstOccurrences_.end(), static_cast<std::uint32_t>(end)) -
      firstOccurrences_.begin());
}

}  // namespace detail

bool TokenList::operator==(const TokenList& other) const {
  return size() == other.size() && std::equal(begin(), end(), other.begin());
}

std::size_t TokenCounts::count(std::string_view text) const {
  return history_ ? history_->countBefore(text, end_) : 0;
}

std::size_t TokenCounts::size() const { return history_ ? history_->distinctBefore(end_) : 0; }

std::map<std::string, std::size_t> TokenCounts::toMap() const {
  std::map<std::string, std::size_t> counts;
  for (std::size_t index = 0; index < end_; ++index) ++counts[std::string(history_->key(index))];
  return counts;
}

}  // namespace Glint
