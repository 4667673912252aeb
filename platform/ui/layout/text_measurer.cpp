#include "platform/ui/layout/text_measurer.h"

#include <algorithm>
#include <cstddef>
#include <mutex>
#include <string>
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

// One unit of line filling: a word (characters between spaces, perhaps in several fonts), a space, a hard
// line break or a picture.
// A word's characters of one run: where they are in the run, and their font.
struct Piece {
  std::string text;
  const Font* font = nullptr;
  std::size_t run = 0;
  std::size_t start = 0;
};

struct Atom {
  enum class Kind { word, space, lineBreak, picture };
  Kind kind = Kind::word;
  std::vector<Piece> pieces;  // a word's characters, by run
  std::optional<foundation::Size> picture;
  const Font* font = nullptr;  // a space's or break's font
  std::size_t pictureIndex = 0;
};

std::vector<Atom> atomsOf(const std::vector<TextRun>& runs) {
  std::vector<Atom> atoms;
  bool isInWord = false;
  std::size_t pictures = 0;
  for (std::size_t index = 0; index < runs.size(); ++index) {
    const auto& run = runs[index];
    if (run.image) {
      atoms.push_back(Atom{Atom::Kind::picture, {}, run.image, &run.font, pictures++});
      isInWord = false;
      continue;
    }
    std::size_t i = 0;
    while (i < run.text.size()) {
      const char c = run.text[i];
      if (c == ' ' || c == '\n') {
        atoms.push_back(
            Atom{c == ' ' ? Atom::Kind::space : Atom::Kind::lineBreak, {}, std::nullopt, &run.font});
        isInWord = false;
        ++i;
        continue;
      }
      std::size_t end = run.text.find_first_of(" \n", i);
      if (end == std::string::npos) end = run.text.size();
      if (!isInWord) atoms.push_back(Atom{Atom::Kind::word, {}, std::nullopt, &run.font});
      atoms.back().pieces.push_back(Piece{run.text.substr(i, end - i), &run.font, index, i});
      isInWord = true;
      i = end;
    }
  }
  return atoms;
}

// The Unicode scalar values of a UTF-8 text, each as its own text.
std::vector<std::string> charactersOf(const std::string& text) {
  std::vector<std::string> characters;
  for (char c : text) {
    if ((static_cast<unsigned char>(c) & 0xC0) != 0x80 || characters.empty()) characters.emplace_back();
    characters.back() += c;
  }
  return characters;
}

struct DefaultMeasurer {
  std::mutex mutex;  // guards `installed`
  std::shared_ptr<const TextMeasurer> installed;
};

DefaultMeasurer& defaultMeasurer() {
  static DefaultMeasurer instance;
  return instance;
}

}  // namespace

TextLayout TextMeasurer::layout(const std::vector<TextRun>& runs, std::optional<double> width,
                                double lineSpacing) const {
  // A hair of tolerance so that a width computed as a sum of advances fits its own text.
  constexpr double tolerance = 1e-9;
  const Font baseFont = runs.empty() ? Font() : runs.front().font;
  auto widthOf = [this](const std::string& text, const Font& font) {
    return measure(text, font, std::nullopt).width;
  };
  auto fits = [&](double length) { return !width || length <= *width + tolerance; };

  struct Characters {
    std::size_t run, start, length;
    const Font* font;
    double x;
  };
  struct Line {
    double width = 0;  // trailing spaces excluded
    double ascent = 0;
    double descent = 0;
    std::vector<std::pair<std::size_t, double>> pictures;  // index and x
    std::vector<Characters> characters;
  };
  std::vector<Line> lines;
  std::vector<foundation::Size> pictureSizes;
  auto startLine = [&] {
    Line line;
    line.ascent = ascent(baseFont);
    line.descent = lineHeight(baseFont) - line.ascent;
    lines.push_back(line);
  };
  auto includeFont = [&](const Font& font) {
    lines.back().ascent = std::max(lines.back().ascent, ascent(font));
    lines.back().descent = std::max(lines.back().descent, lineHeight(font) - ascent(font));
  };

  startLine();
  bool isLineOpen = false;  // whether the current line holds a word or picture
  double pending = 0;       // spaces since the last word or picture
  for (const auto& atom : atomsOf(runs)) {
    switch (atom.kind) {
      case Atom::Kind::space:
        pending += widthOf(" ", *atom.font);
        continue;
      case Atom::Kind::lineBreak:
        startLine();
        isLineOpen = false;
        pending = 0;
        continue;
      case Atom::Kind::picture: {
        const auto size = *atom.picture;
        pictureSizes.push_back(size);
        if (isLineOpen && !fits(lines.back().width + pending + size.width)) {
          startLine();
          isLineOpen = false;
        }
        auto& line = lines.back();
        const double x = isLineOpen ? line.width + pending : 0;
        line.pictures.emplace_back(atom.pictureIndex, x);
        line.width = x + size.width;
        line.ascent = std::max(line.ascent, size.height);
        isLineOpen = true;
        pending = 0;
        continue;
      }
      case Atom::Kind::word:
        break;
    }
    double wordWidth = 0;
    for (const auto& piece : atom.pieces) wordWidth += widthOf(piece.text, *piece.font);
    auto setWord = [&](double x) {
      for (const auto& piece : atom.pieces) {
        lines.back().characters.push_back({piece.run, piece.start, piece.text.size(), piece.font, x});
        x += widthOf(piece.text, *piece.font);
      }
    };
    if (isLineOpen && fits(lines.back().width + pending + wordWidth)) {
      setWord(lines.back().width + pending);
      lines.back().width += pending + wordWidth;
    } else {
      if (isLineOpen) startLine();
      if (fits(wordWidth)) {
        setWord(0);
        lines.back().width = wordWidth;
      } else {
        // A word wider than a line is cut between characters into full lines, at least one character
        // each.
        double filled = 0;
        bool isLineEmpty = true;
        for (const auto& piece : atom.pieces) {
          std::size_t offset = piece.start;
          for (const auto& character : charactersOf(piece.text)) {
            const double advance = widthOf(character, *piece.font);
            if (!isLineEmpty && !fits(filled + advance)) {
              lines.back().width = filled;
              startLine();
              filled = 0;
            }
            lines.back().characters.push_back({piece.run, offset, character.size(), piece.font, filled});
            offset += character.size();
            filled += advance;
            isLineEmpty = false;
            includeFont(*piece.font);
          }
        }
        lines.back().width = filled;
      }
    }
    for (const auto& piece : atom.pieces) includeFont(*piece.font);
    isLineOpen = true;
    pending = 0;
  }

  TextLayout result;
  result.imageFrames.resize(pictureSizes.size());
  double top = 0;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    const auto& line = lines[i];
    if (i > 0) top += lineSpacing;
    for (const auto& [index, x] : line.pictures) {
      const auto size = pictureSizes[index];
      result.imageFrames[index] =
          foundation::Rect(x, top + line.ascent - size.height, size.width, size.height);
    }
    for (const auto& set : line.characters) {
      result.characters.push_back(
          {set.run, set.start, set.length, {set.x, top + line.ascent - ascent(*set.font)}});
    }
    result.size.width = std::max(result.size.width, line.width);
    top += line.ascent + line.descent;
  }
  result.size.height = top;
  return result;
}

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
