#include "syntax_highlighter/token_history.h"

#include <algorithm>
#include <atomic>

#include "syntax_highlighter/unicode_text.h"

namespace Glint {
namespace detail {

void TokenHistory::append(std::size_t offset, std::size_t length) {
  const auto index = static_cast<std::uint32_t>(tokens_.size());
  const std::string_view text = std::string_view(*code_).substr(offset, length);
  std::string_view key = text;
  std::unique_ptr<std::string> canonical;
  if (!isASCII(text)) {
    canonical = std::make_unique<std::string>(canonicalKey(text));
    if (*canonical != text) key = *canonical;
  }
  auto found = keyNumbers_.find(key);
  if (found == keyNumbers_.end()) {
    if (key.data() != text.data()) canonicalKeys_.push_back(std::move(canonical));
    found = keyNumbers_.emplace(key, static_cast<std::uint32_t>(keys_.size())).first;
    keys_.push_back(key);
    positions_.emplace_back();
    firstOccurrences_.push_back(index);
  }
  positions_[found->second].push_back(index);
  tokens_.push_back({offset, length, found->second});
}

std::size_t TokenHistory::countBefore(std::string_view text, std::size_t end) const {
  auto found = isASCII(text) ? keyNumbers_.find(text) : keyNumbers_.find(canonicalKey(text));
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
