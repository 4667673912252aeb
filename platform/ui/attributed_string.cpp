#include "platform/ui/attributed_string.h"

#include <array>
#include <utility>

namespace ui {
namespace {

std::size_t combineHash(std::size_t seed, std::size_t value) {
  return seed ^ (value + 0x9e3779b97f4a7c15ULL + (seed << 6) + (seed >> 2));
}

template <typename T>
std::size_t hashOptional(const std::optional<T>& value) {
  return value ? combineHash(1, std::hash<T>{}(*value)) : 0;
}

template <typename T>
void mergeField(std::optional<T>& into, const std::optional<T>& from) {
  if (from) into = from;
}

std::shared_ptr<const AttributeContainer> sharedCopy(const AttributeContainer& attributes) {
  // Strings made one after another mostly carry the same few sets of attributes (the cells of a table,
  // the runs of a reply, each made from a styled piece and then converted): the sets this thread copied
  // last are shared rather than copied again. A set is never changed once in a table, so sharing it
  // across strings and threads is safe; each thread keeps its own recent sets, so no lock is needed.
  constexpr std::size_t kRecent = 4;
  thread_local std::array<std::shared_ptr<const AttributeContainer>, kRecent> recent;
  thread_local std::size_t next = 0;
  for (const auto& kept : recent) {
    if (kept && *kept == attributes) return kept;
  }
  auto copy = std::make_shared<const AttributeContainer>(attributes);
  recent[next] = copy;
  next = (next + 1) % kRecent;
  return copy;
}

}  // namespace

AttributeContainer AttributeContainer::merging(const AttributeContainer& other) const {
  AttributeContainer result = *this;
  mergeField(result.foregroundColor, other.foregroundColor);
  mergeField(result.backgroundColor, other.backgroundColor);
  mergeField(result.font, other.font);
  mergeField(result.strikethrough, other.strikethrough);
  mergeField(result.underline, other.underline);
  mergeField(result.kern, other.kern);
  mergeField(result.tracking, other.tracking);
  mergeField(result.link, other.link);
  for (const auto& [name, value] : other.custom) result.custom[name] = value;
  mergeField(result.strikethroughStyle, other.strikethroughStyle);
  mergeField(result.underlineStyle, other.underlineStyle);
  return result;
}

bool AttributeContainer::isEmpty() const { return *this == AttributeContainer{}; }

std::size_t AttributeContainer::hashValue() const {
  std::size_t seed = hashOptional(foregroundColor);
  seed = combineHash(seed, hashOptional(backgroundColor));
  seed = combineHash(seed, hashOptional(font));
  seed = combineHash(seed, hashOptional(strikethrough));
  seed = combineHash(seed, hashOptional(underline));
  seed = combineHash(seed, hashOptional(kern));
  seed = combineHash(seed, hashOptional(tracking));
  seed = combineHash(seed, hashOptional(link));
  for (const auto& [name, value] : custom) {
    seed = combineHash(seed, std::hash<std::string>{}(name));
    seed = combineHash(seed, std::hash<AttributeValue>{}(value));
  }
  seed = combineHash(seed, hashOptional(strikethroughStyle));
  return combineHash(seed, hashOptional(underlineStyle));
}

AttributedString::AttributedString(std::string text, const AttributeContainer& attributes)
    : text_(std::move(text)) {
  if (!text_.empty()) appendRun(text_.size(), intern(attributes));
}

std::uint32_t AttributedString::intern(const AttributeContainer& attributes) {
  // The last run's attributes are the likeliest match; then the table, which holds few distinct sets.
  if (!runs_.empty() && *attributeTable_[runs_.back().attributesIndex] == attributes) {
    return runs_.back().attributesIndex;
  }
  for (std::size_t index = 0; index < attributeTable_.size(); ++index) {
    if (*attributeTable_[index] == attributes) return static_cast<std::uint32_t>(index);
  }
  attributeTable_.push_back(sharedCopy(attributes));
  return static_cast<std::uint32_t>(attributeTable_.size() - 1);
}

std::uint32_t AttributedString::intern(const SharedAttributes& attributes) {
  for (std::size_t index = 0; index < attributeTable_.size(); ++index) {
    if (attributeTable_[index] == attributes || *attributeTable_[index] == *attributes) {
      return static_cast<std::uint32_t>(index);
    }
  }
  attributeTable_.push_back(attributes);
  return static_cast<std::uint32_t>(attributeTable_.size() - 1);
}

void AttributedString::appendRun(std::size_t length, std::uint32_t attributesIndex) {
  if (length == 0) return;
  if (!runs_.empty() && runs_.back().attributesIndex == attributesIndex) {
    runs_.back().length += length;
    return;
  }
  const std::size_t start = runs_.empty() ? 0 : runs_.back().start + runs_.back().length;
  runs_.push_back(Run{start, length, attributesIndex});
}

void AttributedString::append(const AttributedString& other) {
  if (&other == this) {
    // Appending a string to itself: its runs are read before they change, and its table serves as is.
    const std::vector<Run> ownRuns = runs_;
    const std::size_t offset = text_.size();
    text_.append(text_, 0, offset);
    for (const auto& run : ownRuns) appendRun(run.length, run.attributesIndex);
    return;
  }
  text_ += other.text_;
  // Each of the other string's sets is looked up in this table once, however many runs use it.
  std::vector<std::optional<std::uint32_t>> ownIndex(other.attributeTable_.size());
  for (const auto& run : other.runs_) {
    auto& index = ownIndex[run.attributesIndex];
    if (!index) index = intern(other.attributeTable_[run.attributesIndex]);
    appendRun(run.length, *index);
  }
}

void AttributedString::append(std::string_view text, const AttributeContainer& attributes) {
  if (text.empty()) return;
  text_ += text;
  appendRun(text.size(), intern(attributes));
}

AttributedString& AttributedString::operator+=(const AttributedString& other) {
  append(other);
  return *this;
}

AttributedString operator+(AttributedString lhs, const AttributedString& rhs) {
  lhs.append(rhs);
  return lhs;
}

void AttributedString::mergeAttributes(const AttributeContainer& attributes) {
  // Every set is merged once; sets that become equal share one place, and their runs join.
  const std::vector<SharedAttributes> oldTable = std::move(attributeTable_);
  const std::vector<Run> oldRuns = std::move(runs_);
  attributeTable_.clear();
  runs_.clear();
  std::vector<std::optional<std::uint32_t>> newIndex(oldTable.size());
  for (const auto& run : oldRuns) {
    auto& index = newIndex[run.attributesIndex];
    if (!index) index = intern(oldTable[run.attributesIndex]->merging(attributes));
    appendRun(run.length, *index);
  }
}

void AttributedString::setAttributes(const AttributeContainer& attributes) {
  runs_.clear();
  attributeTable_.clear();
  if (!text_.empty()) appendRun(text_.size(), intern(attributes));
}

bool AttributedString::operator==(const AttributedString& other) const {
  if (text_ != other.text_ || runs_.size() != other.runs_.size()) return false;
  for (std::size_t index = 0; index < runs_.size(); ++index) {
    const Run& run = runs_[index];
    const Run& otherRun = other.runs_[index];
    if (run.start != otherRun.start || run.length != otherRun.length) return false;
    const auto& attributes = attributeTable_[run.attributesIndex];
    const auto& otherAttributes = other.attributeTable_[otherRun.attributesIndex];
    if (attributes != otherAttributes && *attributes != *otherAttributes) return false;
  }
  return true;
}

std::size_t AttributedString::hashValue() const {
  std::vector<std::size_t> attributeHashes;
  attributeHashes.reserve(attributeTable_.size());
  for (const auto& attributes : attributeTable_) attributeHashes.push_back(attributes->hashValue());
  std::size_t seed = std::hash<std::string>{}(text_);
  for (const auto& run : runs_) {
    seed = combineHash(seed, run.length);
    seed = combineHash(seed, attributeHashes[run.attributesIndex]);
  }
  return seed;
}

}  // namespace ui
