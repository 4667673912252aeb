#include "platform/ui/attributed_string.h"

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

AttributedString::AttributedString(std::string text, AttributeContainer attributes) : text_(std::move(text)) {
  appendRun(text_.size(), std::move(attributes));
}

void AttributedString::appendRun(std::size_t length, AttributeContainer attributes) {
  if (length == 0) return;
  if (!runs_.empty() && runs_.back().attributes == attributes) {
    runs_.back().length += length;
    return;
  }
  const std::size_t start = runs_.empty() ? 0 : runs_.back().start + runs_.back().length;
  runs_.push_back(Run{start, length, std::move(attributes)});
}

void AttributedString::append(const AttributedString& other) {
  // Appending a string to itself must read its runs before they change.
  const std::vector<Run> otherRuns = other.runs_;
  text_ += other.text_.substr(0);
  for (const auto& run : otherRuns) appendRun(run.length, run.attributes);
}

void AttributedString::append(std::string text, AttributeContainer attributes) {
  const std::size_t length = text.size();
  text_ += text;
  appendRun(length, std::move(attributes));
}

AttributedString& AttributedString::operator+=(const AttributedString& other) {
  append(other);
  return *this;
}

AttributedString operator+(AttributedString lhs, const AttributedString& rhs) {
  lhs.append(rhs);
  return lhs;
}

void AttributedString::coalesceRuns() {
  std::vector<Run> old = std::move(runs_);
  runs_.clear();
  for (auto& run : old) appendRun(run.length, std::move(run.attributes));
}

void AttributedString::mergeAttributes(const AttributeContainer& attributes) {
  for (auto& run : runs_) run.attributes = run.attributes.merging(attributes);
  coalesceRuns();
}

void AttributedString::setAttributes(const AttributeContainer& attributes) {
  runs_.clear();
  appendRun(text_.size(), attributes);
}

std::size_t AttributedString::hashValue() const {
  std::size_t seed = std::hash<std::string>{}(text_);
  for (const auto& run : runs_) {
    seed = combineHash(seed, run.length);
    seed = combineHash(seed, run.attributes.hashValue());
  }
  return seed;
}

}  // namespace ui
