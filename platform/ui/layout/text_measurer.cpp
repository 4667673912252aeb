#include "platform/ui/layout/text_measurer.h"

#include <algorithm>
#include <cstddef>
#include <mutex>
#include <utility>
#include <vector>

namespace ui {

namespace {

// Counts Unicode scalar values: every byte that does not continue a UTF-8 sequence starts one.
std::size_t characterCount(std::string_view text) {
  return static_cast<std::size_t>(std::count_if(
      text.begin(), text.end(), [](char c) { return (static_cast<unsigned char>(c) & 0xC0) != 0x80; }));
}

// Greedy word wrapping of one paragraph, in characters. Spaces at a break are dropped; a word longer
// than a line is cut into full lines. Returns the widths of the lines, in characters.
std::vector<std::size_t> wrapParagraph(std::string_view paragraph, std::optional<std::size_t> limit) {
  if (!limit) return {characterCount(paragraph)};
  std::size_t perLine = std::max<std::size_t>(*limit, 1);
  std::vector<std::size_t> lines;
  std::size_t current = 0;  // characters on the open line, trailing spaces excluded
  std::size_t pendingSpaces = 0;
  bool isLineOpen = false;
  std::size_t i = 0;
  while (i < paragraph.size()) {
    if (paragraph[i] == ' ') {
      ++pendingSpaces;
      ++i;
      continue;
    }
    std::size_t end = paragraph.find(' ', i);
    if (end == std::string_view::npos) end = paragraph.size();
    std::size_t word = characterCount(paragraph.substr(i, end - i));
    i = end;
    if (isLineOpen && current + pendingSpaces + word <= perLine) {
      current += pendingSpaces + word;
    } else {
      if (isLineOpen) lines.push_back(current);
      while (word > perLine) {
        lines.push_back(perLine);
        word -= perLine;
      }
      current = word;
      isLineOpen = true;
    }
    pendingSpaces = 0;
  }
  lines.push_back(current);
  return lines;
}

}  // namespace

foundation::Size FixedMetricTextMeasurer::measure(std::string_view text, const Font& font,
                                                  std::optional<double> width, double lineSpacing) const {
  const double advance = this->advance(font);
  std::optional<std::size_t> limit;
  if (width && advance > 0) {
    // A hair of tolerance so that a width computed as a sum of advances fits its own text.
    double characters = (*width + 1e-9) / advance;
    limit = characters <= 0 ? std::size_t{0} : static_cast<std::size_t>(std::min(characters, 1e9));
  }
  std::size_t widest = 0;
  std::size_t lineCount = 0;
  std::size_t start = 0;
  while (true) {
    std::size_t end = text.find('\n', start);
    auto paragraph = text.substr(start, end == std::string_view::npos ? std::string_view::npos : end - start);
    for (std::size_t line : wrapParagraph(paragraph, limit)) {
      widest = std::max(widest, line);
      ++lineCount;
    }
    if (end == std::string_view::npos) break;
    start = end + 1;
  }
  double height =
      static_cast<double>(lineCount) * lineHeight(font) + static_cast<double>(lineCount - 1) * lineSpacing;
  return {static_cast<double>(widest) * advance, height};
}

namespace {

struct DefaultMeasurer {
  std::mutex mutex;  // guards `installed`
  std::shared_ptr<const TextMeasurer> installed;
};

DefaultMeasurer& defaultMeasurer() {
  static DefaultMeasurer instance;
  return instance;
}

}  // namespace

std::shared_ptr<const TextMeasurer> defaultTextMeasurer() {
  static const auto fixed = std::make_shared<const FixedMetricTextMeasurer>();
  auto& state = defaultMeasurer();
  std::lock_guard lock(state.mutex);
  return state.installed ? state.installed : fixed;
}

void setDefaultTextMeasurer(std::shared_ptr<const TextMeasurer> measurer) {
  auto& state = defaultMeasurer();
  std::lock_guard lock(state.mutex);
  state.installed = std::move(measurer);
}

}  // namespace ui
