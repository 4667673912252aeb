#include "platform/ui/color.h"

#include <algorithm>
#include <cmath>
#include <type_traits>
#include <utility>

namespace ui {
namespace {

std::size_t combineHash(std::size_t seed, std::size_t value) {
  return seed ^ (value + 0x9e3779b97f4a7c15ULL + (seed << 6) + (seed >> 2));
}

double clamp01(double value) { return std::clamp(value, 0.0, 1.0); }

struct SystemColorEntry {
  SystemColor color;
  const char* name;
  ResolvedColor light;
  ResolvedColor dark;
};

// The platform's standard colours in light and dark appearance (sRGB).
constexpr SystemColorEntry systemColorTable[] = {
    {SystemColor::red, "red", {1.0, 0.231, 0.188, 1}, {1.0, 0.271, 0.227, 1}},
    {SystemColor::orange, "orange", {1.0, 0.584, 0.0, 1}, {1.0, 0.624, 0.039, 1}},
    {SystemColor::yellow, "yellow", {1.0, 0.8, 0.0, 1}, {1.0, 0.839, 0.039, 1}},
    {SystemColor::green, "green", {0.204, 0.78, 0.349, 1}, {0.188, 0.82, 0.345, 1}},
    {SystemColor::mint, "mint", {0.0, 0.78, 0.745, 1}, {0.388, 0.902, 0.886, 1}},
    {SystemColor::teal, "teal", {0.188, 0.69, 0.78, 1}, {0.251, 0.784, 0.878, 1}},
    {SystemColor::cyan, "cyan", {0.196, 0.678, 0.902, 1}, {0.392, 0.824, 1.0, 1}},
    {SystemColor::blue, "blue", {0.0, 0.478, 1.0, 1}, {0.039, 0.518, 1.0, 1}},
    {SystemColor::indigo, "indigo", {0.345, 0.337, 0.839, 1}, {0.369, 0.361, 0.902, 1}},
    {SystemColor::purple, "purple", {0.686, 0.322, 0.871, 1}, {0.749, 0.353, 0.949, 1}},
    {SystemColor::pink, "pink", {1.0, 0.176, 0.333, 1}, {1.0, 0.216, 0.373, 1}},
    {SystemColor::brown, "brown", {0.635, 0.518, 0.369, 1}, {0.675, 0.557, 0.408, 1}},
    {SystemColor::gray, "gray", {0.557, 0.557, 0.576, 1}, {0.557, 0.557, 0.576, 1}},
    {SystemColor::black, "black", {0, 0, 0, 1}, {0, 0, 0, 1}},
    {SystemColor::white, "white", {1, 1, 1, 1}, {1, 1, 1, 1}},
    {SystemColor::clear, "clear", {0, 0, 0, 0}, {0, 0, 0, 0}},
    {SystemColor::primary, "primary", {0, 0, 0, 0.85}, {1, 1, 1, 0.85}},
    {SystemColor::secondary, "secondary", {0, 0, 0, 0.5}, {1, 1, 1, 0.55}},
    {SystemColor::accentColor, "accentColor", {0.0, 0.478, 1.0, 1}, {0.039, 0.518, 1.0, 1}},
};

struct CatalogEntry {
  const char* name;
  ResolvedColor light;
  ResolvedColor dark;
};

// The semantic colours of the "System" catalogue.
constexpr CatalogEntry systemCatalogTable[] = {
    {"controlBackgroundColor", {1, 1, 1, 1}, {0.118, 0.118, 0.118, 1}},
    {"labelColor", {0, 0, 0, 0.85}, {1, 1, 1, 0.85}},
    {"secondaryLabelColor", {0, 0, 0, 0.5}, {1, 1, 1, 0.55}},
    {"textColor", {0, 0, 0, 1}, {1, 1, 1, 1}},
    {"textBackgroundColor", {1, 1, 1, 1}, {0.118, 0.118, 0.118, 1}},
    {"windowBackgroundColor", {0.925, 0.925, 0.925, 1}, {0.196, 0.196, 0.196, 1}},
    {"controlColor", {1, 1, 1, 1}, {1, 1, 1, 0.25}},
    {"separatorColor", {0, 0, 0, 0.1}, {1, 1, 1, 0.1}},
};

const SystemColorEntry& systemColorEntry(SystemColor color) {
  for (const auto& entry : systemColorTable) {
    if (entry.color == color) return entry;
  }
  return systemColorTable[0];
}

struct ColorSpaceEntry {
  const char* name;
  std::size_t componentCount;
};

constexpr ColorSpaceEntry colorSpaceTable[] = {
    {ColorSpaceName::sRGB, 3},        {ColorSpaceName::extendedSRGB, 3}, {ColorSpaceName::linearSRGB, 3},
    {ColorSpaceName::displayP3, 3},   {ColorSpaceName::genericRGB, 3},   {ColorSpaceName::deviceRGB, 3},
    {ColorSpaceName::genericGray, 1}, {ColorSpaceName::extendedGray, 1}, {ColorSpaceName::deviceGray, 1},
};

double srgbToLinear(double value) {
  const double magnitude = std::fabs(value);
  const double linear = magnitude <= 0.04045 ? magnitude / 12.92 : std::pow((magnitude + 0.055) / 1.055, 2.4);
  return std::copysign(linear, value);
}

double linearToSRGB(double value) {
  const double magnitude = std::fabs(value);
  const double encoded =
      magnitude <= 0.0031308 ? magnitude * 12.92 : 1.055 * std::pow(magnitude, 1.0 / 2.4) - 0.055;
  return std::copysign(encoded, value);
}

ResolvedColor resolveColorSpace(const ColorSpaceComponents& color) {
  const auto& c = color.components;
  const std::string& name = color.colorSpaceName;
  if (c.size() == 2) return {c[0], c[0], c[0], c[1]};
  if (c.size() != 4) return {0, 0, 0, 0};
  if (name == ColorSpaceName::linearSRGB) {
    return {linearToSRGB(c[0]), linearToSRGB(c[1]), linearToSRGB(c[2]), c[3]};
  }
  if (name == ColorSpaceName::displayP3) {
    // Display P3 shares sRGB's transfer curve; convert the primaries in linear light.
    const double r = srgbToLinear(c[0]), g = srgbToLinear(c[1]), b = srgbToLinear(c[2]);
    return {linearToSRGB(1.2249 * r - 0.2247 * g), linearToSRGB(-0.0420 * r + 1.0419 * g),
            linearToSRGB(-0.0197 * r - 0.0786 * g + 1.0979 * b), c[3]};
  }
  return {c[0], c[1], c[2], c[3]};
}

}  // namespace

std::optional<std::size_t> colorSpaceComponentCount(const std::string& colorSpaceName) {
  for (const auto& entry : colorSpaceTable) {
    if (colorSpaceName == entry.name) return entry.componentCount;
  }
  return std::nullopt;
}

std::string systemColorName(SystemColor color) { return systemColorEntry(color).name; }

std::optional<SystemColor> systemColorFromName(const std::string& name) {
  for (const auto& entry : systemColorTable) {
    if (name == entry.name) return entry.color;
  }
  return std::nullopt;
}

Color::Color(double red, double green, double blue, double opacity)
    : storage_(ResolvedColor{red, green, blue, clamp01(opacity)}) {}

Color::Color(SystemColor color) : storage_(color) {}

Color Color::grayLevel(double white, double opacity) { return Color(white, white, white, opacity); }

std::optional<Color> Color::inColorSpace(const std::string& colorSpaceName, std::vector<double> components) {
  const auto count = colorSpaceComponentCount(colorSpaceName);
  if (!count || components.size() != *count + 1) return std::nullopt;
  for (double component : components) {
    if (!std::isfinite(component)) return std::nullopt;
  }
  return Color(Storage(ColorSpaceComponents{colorSpaceName, std::move(components)}));
}

Color Color::named(std::string catalogName, std::string colorName) {
  return Color(Storage(Catalog{std::move(catalogName), std::move(colorName)}));
}

Color Color::dynamic(Color light, Color dark) {
  return Color(Storage(Dynamic{std::make_shared<const Color>(std::move(light)),
                               std::make_shared<const Color>(std::move(dark))}));
}

Color Color::opacity(double factor) const {
  Color result = *this;
  factor = clamp01(std::isnan(factor) ? 1.0 : factor);
  if (auto* rgb = std::get_if<ResolvedColor>(&result.storage_)) {
    rgb->opacity = clamp01(rgb->opacity * factor);
  } else if (auto* spaced = std::get_if<ColorSpaceComponents>(&result.storage_)) {
    if (!spaced->components.empty()) spaced->components.back() *= factor;
  } else {
    result.opacityFactor_ = clamp01(result.opacityFactor_ * factor);
  }
  return result;
}

ResolvedColor Color::resolved(ColorScheme scheme) const {
  const bool isDark = scheme == ColorScheme::dark;
  ResolvedColor result;
  if (const auto* rgb = std::get_if<ResolvedColor>(&storage_)) {
    result = *rgb;
  } else if (const auto* spaced = std::get_if<ColorSpaceComponents>(&storage_)) {
    result = resolveColorSpace(*spaced);
  } else if (const auto* system = std::get_if<SystemColor>(&storage_)) {
    const auto& entry = systemColorEntry(*system);
    result = isDark ? entry.dark : entry.light;
  } else if (const auto* catalog = std::get_if<Catalog>(&storage_)) {
    // A name the system catalogue does not know (an asset colour, say) has nothing to show: clear.
    result = {0, 0, 0, 0};
    if (catalog->catalogName == systemColorCatalog) {
      for (const auto& entry : systemCatalogTable) {
        if (catalog->colorName == entry.name) result = isDark ? entry.dark : entry.light;
      }
    }
  } else if (const auto* pair = std::get_if<Dynamic>(&storage_)) {
    result = (isDark ? pair->dark : pair->light)->resolved(scheme);
  }
  result.opacity *= opacityFactor_;
  return result;
}

Color::Kind Color::kind() const {
  switch (storage_.index()) {
    case 0:
      return Kind::sRGB;
    case 1:
      return Kind::colorSpace;
    case 2:
      return Kind::system;
    case 3:
      return Kind::catalog;
    default:
      return Kind::dynamic;
  }
}

std::optional<ColorSpaceComponents> Color::colorSpaceComponents() const {
  if (const auto* rgb = std::get_if<ResolvedColor>(&storage_)) {
    return ColorSpaceComponents{ColorSpaceName::sRGB, {rgb->red, rgb->green, rgb->blue, rgb->opacity}};
  }
  if (const auto* spaced = std::get_if<ColorSpaceComponents>(&storage_)) return *spaced;
  return std::nullopt;
}

std::optional<SystemColor> Color::systemColor() const {
  if (const auto* system = std::get_if<SystemColor>(&storage_)) return *system;
  return std::nullopt;
}

std::optional<std::string> Color::catalogName() const {
  if (const auto* catalog = std::get_if<Catalog>(&storage_)) return catalog->catalogName;
  return std::nullopt;
}

std::optional<std::string> Color::colorName() const {
  if (const auto* catalog = std::get_if<Catalog>(&storage_)) return catalog->colorName;
  return std::nullopt;
}

std::optional<Color> Color::lightColor() const {
  if (const auto* pair = std::get_if<Dynamic>(&storage_)) return *pair->light;
  return std::nullopt;
}

std::optional<Color> Color::darkColor() const {
  if (const auto* pair = std::get_if<Dynamic>(&storage_)) return *pair->dark;
  return std::nullopt;
}

bool Color::Dynamic::operator==(const Dynamic& other) const {
  return *light == *other.light && *dark == *other.dark;
}

bool Color::operator==(const Color& other) const {
  return opacityFactor_ == other.opacityFactor_ && storage_ == other.storage_;
}

std::size_t Color::hashValue() const {
  std::size_t seed = combineHash(storage_.index(), std::hash<double>{}(opacityFactor_));
  std::visit(
      [&seed](const auto& value) {
        using T = std::decay_t<decltype(value)>;
        if constexpr (std::is_same_v<T, ResolvedColor>) {
          seed = combineHash(seed, std::hash<ResolvedColor>{}(value));
        } else if constexpr (std::is_same_v<T, ColorSpaceComponents>) {
          seed = combineHash(seed, std::hash<std::string>{}(value.colorSpaceName));
          for (double component : value.components) seed = combineHash(seed, std::hash<double>{}(component));
        } else if constexpr (std::is_same_v<T, SystemColor>) {
          seed = combineHash(seed, static_cast<std::size_t>(value));
        } else if constexpr (std::is_same_v<T, Catalog>) {
          seed = combineHash(seed, std::hash<std::string>{}(value.catalogName));
          seed = combineHash(seed, std::hash<std::string>{}(value.colorName));
        } else {
          seed = combineHash(seed, value.light->hashValue());
          seed = combineHash(seed, value.dark->hashValue());
        }
      },
      storage_);
  return seed;
}

}  // namespace ui

std::size_t std::hash<ui::ResolvedColor>::operator()(const ui::ResolvedColor& color) const {
  std::size_t seed = std::hash<double>{}(color.red);
  for (double part : {color.green, color.blue, color.opacity}) {
    seed ^= std::hash<double>{}(part) + 0x9e3779b97f4a7c15ULL + (seed << 6) + (seed >> 2);
  }
  return seed;
}
