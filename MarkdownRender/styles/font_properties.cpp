#include "MarkdownRender/styles/font_properties.h"

#include <fmt/format.h>

#include <array>
#include <charconv>
#include <cmath>
#include <string_view>
#include <system_error>
#include <utility>
#include <vector>

namespace MarkdownRender {
namespace {

std::size_t combineHash(std::size_t seed, std::size_t value) {
  return seed ^ (value + 0x9e3779b97f4a7c15ULL + (seed << 6) + (seed >> 2));
}

// The words the record's text uses for each enumeration, in declaration order; the position is the value.
constexpr std::string_view familyKindWords[] = {"system", "custom"};
constexpr std::string_view designWords[] = {"standard", "monospaced", "serif", "rounded"};
constexpr std::string_view familyVariantWords[] = {"normal", "monospaced"};
constexpr std::string_view capsVariantWords[] = {"normal", "smallCaps", "lowercaseSmallCaps",
                                                 "uppercaseSmallCaps"};
constexpr std::string_view digitVariantWords[] = {"normal", "monospaced"};
constexpr std::string_view styleWords[] = {"normal", "italic"};
constexpr std::string_view weightWords[] = {"ultraLight", "thin", "light", "regular", "medium",
                                            "semibold",   "bold", "heavy", "black"};

template <class E, std::size_t N>
std::string_view wordOf(E value, const std::string_view (&words)[N]) {
  const auto index = static_cast<std::size_t>(value);
  return index < N ? words[index] : std::string_view("?");
}

template <class E, std::size_t N>
std::optional<E> valueOf(std::string_view word, const std::string_view (&words)[N]) {
  for (std::size_t index = 0; index < N; ++index) {
    if (words[index] == word) return static_cast<E>(index);
  }
  return std::nullopt;
}

std::optional<double> finiteNumber(std::string_view text) {
  double number = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), number);
  if (error != std::errc() || end != text.data() + text.size() || !std::isfinite(number)) return std::nullopt;
  return number;
}

// Negative zero prints as "-0" but equals zero; equal records must give equal texts.
double withoutNegativeZero(double number) { return number == 0 ? 0.0 : number; }

// The record's text: nine fields separated by ';', then the custom family's name, which comes last so
// that it may hold any character.
constexpr std::size_t fieldCount = 9;

}  // namespace

double FontProperties::effectiveSize() const { return std::round(size * scale); }

void FontProperties::applyAttributes(ui::AttributeContainer& attributes) const {
  setFontProperties(attributes, *this);
}

bool FontProperties::operator==(const FontProperties& other) const {
  return family == other.family && familyVariant == other.familyVariant && capsVariant == other.capsVariant &&
         digitVariant == other.digitVariant && style == other.style && weight == other.weight &&
         size == other.size && scale == other.scale;
}

std::size_t FontProperties::hashValue() const {
  std::size_t seed = static_cast<std::size_t>(family.kind());
  seed = combineHash(seed, static_cast<std::size_t>(family.design()));
  seed = combineHash(seed, std::hash<std::string>{}(family.name()));
  seed = combineHash(seed, static_cast<std::size_t>(familyVariant));
  seed = combineHash(seed, static_cast<std::size_t>(capsVariant));
  seed = combineHash(seed, static_cast<std::size_t>(digitVariant));
  seed = combineHash(seed, static_cast<std::size_t>(style));
  seed = combineHash(seed, static_cast<std::size_t>(weight));
  seed = combineHash(seed, std::hash<double>{}(withoutNegativeZero(size)));
  return combineHash(seed, std::hash<double>{}(withoutNegativeZero(scale)));
}

ui::AttributeValue FontPropertiesAttribute::encode(const FontProperties& p) {
  // fmt writes the shortest text that reads back as the same double, whatever the user's locale.
  return fmt::format("{};{};{};{};{};{};{};{};{};{}", wordOf(p.family.kind(), familyKindWords),
                     wordOf(p.family.design(), designWords), wordOf(p.familyVariant, familyVariantWords),
                     wordOf(p.capsVariant, capsVariantWords), wordOf(p.digitVariant, digitVariantWords),
                     wordOf(p.style, styleWords), wordOf(p.weight, weightWords), withoutNegativeZero(p.size),
                     withoutNegativeZero(p.scale), p.family.name());
}

std::optional<FontProperties> FontPropertiesAttribute::decode(const ui::AttributeValue& value) {
  const auto* text = std::get_if<std::string>(&value);
  if (!text) return std::nullopt;
  // Read for every run of text shown (a table has thousands): the fields are views into the text, in
  // room made once.
  std::array<std::string_view, fieldCount> fields;
  std::string_view rest = *text;
  for (auto& field : fields) {
    const auto separator = rest.find(';');
    if (separator == std::string_view::npos) return std::nullopt;
    field = rest.substr(0, separator);
    rest.remove_prefix(separator + 1);
  }
  const auto kind = valueOf<FontProperties::Family::Kind>(fields[0], familyKindWords);
  const auto design = valueOf<ui::FontDesign>(fields[1], designWords);
  const auto familyVariant = valueOf<FontProperties::FamilyVariant>(fields[2], familyVariantWords);
  const auto capsVariant = valueOf<FontProperties::CapsVariant>(fields[3], capsVariantWords);
  const auto digitVariant = valueOf<FontProperties::DigitVariant>(fields[4], digitVariantWords);
  const auto style = valueOf<FontProperties::Style>(fields[5], styleWords);
  const auto weight = valueOf<ui::FontWeight>(fields[6], weightWords);
  const auto size = finiteNumber(fields[7]);
  const auto scale = finiteNumber(fields[8]);
  if (!kind || !design || !familyVariant || !capsVariant || !digitVariant || !style || !weight || !size ||
      !scale) {
    return std::nullopt;
  }
  if (*kind == FontProperties::Family::Kind::system && !rest.empty()) return std::nullopt;
  const auto family = *kind == FontProperties::Family::Kind::custom
                          ? FontProperties::Family::custom(std::string(rest))
                          : FontProperties::Family::system(*design);
  return FontProperties(family, *familyVariant, *capsVariant, *digitVariant, *style, *weight, *size, *scale);
}

std::optional<FontProperties> fontProperties(const ui::AttributeContainer& attributes) {
  const auto found = attributes.custom.find(FontPropertiesAttribute::name);
  if (found == attributes.custom.end()) return std::nullopt;
  return FontPropertiesAttribute::decode(found->second);
}

void setFontProperties(ui::AttributeContainer& attributes,
                       const std::optional<FontProperties>& fontProperties) {
  if (fontProperties) {
    attributes.custom[FontPropertiesAttribute::name] = FontPropertiesAttribute::encode(*fontProperties);
  } else {
    attributes.custom.erase(FontPropertiesAttribute::name);
  }
}

ui::Font makeFont(const FontProperties& p) {
  const double size = p.effectiveSize();
  ui::Font font = p.family.kind() == FontProperties::Family::Kind::custom
                      ? ui::Font::custom(p.family.name(), size)
                      : ui::Font::system(size, ui::FontWeight::regular, p.family.design());
  if (p.familyVariant == FontProperties::FamilyVariant::monospaced) font = font.monospaced();
  switch (p.capsVariant) {
    case FontProperties::CapsVariant::normal:
      break;
    case FontProperties::CapsVariant::smallCaps:
      font = font.smallCaps();
      break;
    case FontProperties::CapsVariant::lowercaseSmallCaps:
      font = font.lowercaseSmallCaps();
      break;
    case FontProperties::CapsVariant::uppercaseSmallCaps:
      font = font.uppercaseSmallCaps();
      break;
  }
  if (p.digitVariant == FontProperties::DigitVariant::monospaced) font = font.monospacedDigit();
  if (p.weight != ui::FontWeight::regular) font = font.weight(p.weight);
  if (p.style == FontProperties::Style::italic) font = font.italic();
  return font;
}

ui::AttributedString convertingFontProperties(const ui::AttributedString& text) {
  ui::AttributedString result;
  for (const auto& run : text.runs()) {
    ui::AttributeContainer attributes = text.attributes(run);
    // A record that cannot be read is not a record: its run keeps its attributes as they are.
    if (const auto properties = fontProperties(attributes)) {
      attributes.font = makeFont(*properties);
      setFontProperties(attributes, std::nullopt);
    }
    result.append(text.text(run), attributes);
  }
  return result;
}

}  // namespace MarkdownRender
