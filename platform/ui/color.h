// Colours as plain values: fixed sRGB colours, colours in a named colour space, the system's named
// colours, catalogue colours and light/dark pairs, each resolvable to sRGB for a colour scheme.
#pragma once

#include <array>
#include <cstddef>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <variant>
#include <vector>

#include "platform/ui/color_scheme.h"

namespace ui {

// A colour after resolution: sRGB components and opacity, each normally in 0...1 (extended-range colour
// spaces may give components outside that range).
struct ResolvedColor {
  double red = 0;
  double green = 0;
  double blue = 0;
  double opacity = 1;

  bool operator==(const ResolvedColor&) const = default;
};

// The names of the colour spaces a colour can be given in. They are the platform's own names, so a
// stored [name, components] pair reads back on either side.
namespace ColorSpaceName {
inline constexpr const char* sRGB = "kCGColorSpaceSRGB";
inline constexpr const char* extendedSRGB = "kCGColorSpaceExtendedSRGB";
inline constexpr const char* linearSRGB = "kCGColorSpaceLinearSRGB";
inline constexpr const char* displayP3 = "kCGColorSpaceDisplayP3";
inline constexpr const char* genericRGB = "kCGColorSpaceGenericRGB";
inline constexpr const char* deviceRGB = "kCGColorSpaceDeviceRGB";
inline constexpr const char* genericGray = "kCGColorSpaceGenericGrayGamma2_2";
inline constexpr const char* extendedGray = "kCGColorSpaceExtendedGray";
inline constexpr const char* deviceGray = "kCGColorSpaceDeviceGray";
}  // namespace ColorSpaceName

// Number of colour components (alpha excluded) of a known colour space, or nothing for an unknown name.
std::optional<std::size_t> colorSpaceComponentCount(const std::string& colorSpaceName);

// A colour given in a named colour space: the components are the space's colour components followed by
// alpha (red, green, blue, alpha for RGB spaces; white, alpha for gray spaces).
struct ColorSpaceComponents {
  std::string colorSpaceName;
  std::vector<double> components;

  bool operator==(const ColorSpaceComponents&) const = default;
};

// The system's standard colours. Most differ slightly between light and dark appearance.
enum class SystemColor {
  red,
  orange,
  yellow,
  green,
  mint,
  teal,
  cyan,
  blue,
  indigo,
  purple,
  pink,
  brown,
  gray,
  black,
  white,
  clear,
  primary,
  secondary,
  accentColor,
};

inline constexpr std::array<SystemColor, 19> allSystemColors{
    SystemColor::red,     SystemColor::orange,    SystemColor::yellow,     SystemColor::green,
    SystemColor::mint,    SystemColor::teal,      SystemColor::cyan,       SystemColor::blue,
    SystemColor::indigo,  SystemColor::purple,    SystemColor::pink,       SystemColor::brown,
    SystemColor::gray,    SystemColor::black,     SystemColor::white,      SystemColor::clear,
    SystemColor::primary, SystemColor::secondary, SystemColor::accentColor};

// The name of a system colour as the platform spells it ("teal", "accentColor").
std::string systemColorName(SystemColor color);
std::optional<SystemColor> systemColorFromName(const std::string& name);

// The catalogue of the system's semantic colours (control background, label, ...).
inline constexpr const char* systemColorCatalog = "System";

class Color {
 public:
  enum class Kind {
    sRGB,        // red, green, blue, opacity in the sRGB space
    colorSpace,  // components in a named colour space
    system,      // one of the system's standard colours
    catalog,     // a named colour of a colour catalogue (the system's semantic colours, assets)
    dynamic,     // one colour in light appearance, another in dark
  };

  // Opaque black in sRGB.
  Color() = default;
  Color(double red, double green, double blue, double opacity = 1.0);
  explicit Color(SystemColor color);

  // A gray level in sRGB.
  static Color grayLevel(double white, double opacity = 1.0);
  // A colour from a colour-space name and its components (colour components, then alpha). Nothing when
  // the name is not a known colour space or the number of components does not fit it.
  static std::optional<Color> inColorSpace(const std::string& colorSpaceName, std::vector<double> components);
  // A named colour of a catalogue, e.g. ("System", "controlBackgroundColor").
  static Color named(std::string catalogName, std::string colorName);
  // `light` in light appearance, `dark` in dark appearance.
  static Color dynamic(Color light, Color dark);

  static Color red() { return Color(SystemColor::red); }
  static Color orange() { return Color(SystemColor::orange); }
  static Color yellow() { return Color(SystemColor::yellow); }
  static Color green() { return Color(SystemColor::green); }
  static Color mint() { return Color(SystemColor::mint); }
  static Color teal() { return Color(SystemColor::teal); }
  static Color cyan() { return Color(SystemColor::cyan); }
  static Color blue() { return Color(SystemColor::blue); }
  static Color indigo() { return Color(SystemColor::indigo); }
  static Color purple() { return Color(SystemColor::purple); }
  static Color pink() { return Color(SystemColor::pink); }
  static Color brown() { return Color(SystemColor::brown); }
  static Color gray() { return Color(SystemColor::gray); }
  static Color black() { return Color(SystemColor::black); }
  static Color white() { return Color(SystemColor::white); }
  static Color clear() { return Color(SystemColor::clear); }
  static Color primary() { return Color(SystemColor::primary); }
  static Color secondary() { return Color(SystemColor::secondary); }
  static Color accentColor() { return Color(SystemColor::accentColor); }

  // The system's semantic colours, as catalogue colours of the "System" catalogue.
  static Color controlBackgroundColor() { return named(systemColorCatalog, "controlBackgroundColor"); }
  static Color labelColor() { return named(systemColorCatalog, "labelColor"); }
  static Color secondaryLabelColor() { return named(systemColorCatalog, "secondaryLabelColor"); }
  static Color textColor() { return named(systemColorCatalog, "textColor"); }
  static Color textBackgroundColor() { return named(systemColorCatalog, "textBackgroundColor"); }
  static Color windowBackgroundColor() { return named(systemColorCatalog, "windowBackgroundColor"); }

  // This colour with its opacity multiplied by `factor` (clamped to 0...1).
  Color opacity(double factor) const;

  // The sRGB components this colour shows in the given appearance.
  ResolvedColor resolved(ColorScheme scheme) const;

  Kind kind() const;
  // The fixed colour-space form: present for sRGB and colour-space colours (an sRGB colour gives the
  // sRGB space with red, green, blue, alpha); absent for the system's, catalogue and dynamic colours,
  // which change with appearance.
  std::optional<ColorSpaceComponents> colorSpaceComponents() const;
  // For system colours: which one. For catalogue colours: the catalogue and colour names. For dynamic
  // colours: the two colours. Each is absent for the other kinds.
  std::optional<SystemColor> systemColor() const;
  std::optional<std::string> catalogName() const;
  std::optional<std::string> colorName() const;
  std::optional<Color> lightColor() const;
  std::optional<Color> darkColor() const;
  // The opacity factor applied on top of a system, catalogue or dynamic colour (1 for the fixed kinds,
  // whose alpha carries it).
  double opacityFactor() const { return opacityFactor_; }

  bool operator==(const Color& other) const;
  std::size_t hashValue() const;

 private:
  struct Catalog {
    std::string catalogName;
    std::string colorName;
    bool operator==(const Catalog&) const = default;
  };
  struct Dynamic {
    std::shared_ptr<const Color> light;
    std::shared_ptr<const Color> dark;
    bool operator==(const Dynamic& other) const;
  };
  using Storage = std::variant<ResolvedColor, ColorSpaceComponents, SystemColor, Catalog, Dynamic>;

  explicit Color(Storage storage) : storage_(std::move(storage)) {}

  Storage storage_{ResolvedColor{}};
  double opacityFactor_ = 1.0;
};

}  // namespace ui

template <>
struct std::hash<ui::Color> {
  std::size_t operator()(const ui::Color& color) const { return color.hashValue(); }
};

template <>
struct std::hash<ui::ResolvedColor> {
  std::size_t operator()(const ui::ResolvedColor& color) const;
};
