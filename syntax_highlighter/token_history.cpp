#include "syntax_highlighter/token_history.h"

#include <algorithm>
#include <atomic>

#include "syntax_highlighter/unicode_text.h"

namespace Glint {
namespace detail {

void TokenHistory::append(std::string text) {
  const auto index = static_cast<std::uint32_t>(texts_.size());
  std::string key = isASCII(text) ? std::string() : canonicalKey(text);
  if (key == text) key.clear();
  auto found = positions_.find(key.empty() ? std::string_view(text) : std::string_view(key));
  if (found == positions_.end()) {
    found = positions_.emplace(key.empty() ? text : key, std::vector<std::uint32_t>{}).first;
    firstOccurrences_.push_back(index);
  }
  found->second.push_back(index);
  texts_.push_back(std::move(text));
  keys_.push_back(std::move(key));
}

std::size_t TokenHistory::countBefore(std::string_view text, std::size_t end) const {
  auto found = isASCII(text) ? positions_.find(text) : positions_.find(canonicalKey(text));
  if (found == positions_.end()) return 0;
  const auto& positions = found->second;
  return static_cast<std::size_t>(
      std::lower_bound(positions.begin(), positions.end(), static_cast<std::uint32_t>(end)) -
      positions.begin());
}

std::size_t TokenHistory::countOfKeyBetween(std::string_view key, std::size_t begin, std::size_t end) const {
  auto found = positions_.find(key);
  if (found == positions_.end()) return 0;
  const auto& positions = found->second;
  return static_cast<std::size_t>(
      std::lower_bound(positions.begin(), positions.end(), static_cast<std::uint32_t>(end)) -
      std::lower_bound(positions.begin(), positions.end(), static_cast<std::uint32_t>(begin)));
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
  for (std::size_t index = 0; index < end_; ++index) ++counts[history_->key(index)];
  return counts;
}

}  // namespace Glint
