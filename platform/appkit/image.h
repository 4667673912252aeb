// Images the application names: vector pictures in the main bundle's resources, with a size, the template
// flag (drawn in the menu bar's own colour) and the symbol configuration they are drawn with.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include "platform/foundation/geometry.h"

namespace appkit {

// The text style and scale an image is drawn at, as the platform's symbol configurations give them.
struct SymbolConfiguration {
  enum class TextStyle { body, headline, title1, title2, title3, caption1, caption2 };
  enum class Scale { small, medium, large };
  TextStyle textStyle = TextStyle::body;
  Scale scale = Scale::medium;
  bool operator==(const SymbolConfiguration&) const = default;
};

// A value: copies are independent.
class Image {
 public:
  // The picture "<name>.svg" of the main bundle's resources, or nothing when there is none. Its size is
  // the picture's own width and height in points (16 x 16 when it states none).
  static std::optional<Image> named(std::string_view name);
  // The picture in an SVG file, named `name`; nothing when the file cannot be read.
  static std::optional<Image> fromFile(std::string name, const std::filesystem::path& path);

  const std::string& name() const { return name_; }
  foundation::Size size() const { return size_; }
  const std::filesystem::path& path() const { return path_; }

  bool isTemplate() const { return isTemplate_; }
  void setTemplate(bool isTemplate) { isTemplate_ = isTemplate; }

  const std::optional<SymbolConfiguration>& symbolConfiguration() const { return symbolConfiguration_; }
  // The same picture drawn with `configuration`.
  Image withSymbolConfiguration(SymbolConfiguration configuration) const;

  bool operator==(const Image&) const = default;

 private:
  Image(std::string name, std::filesystem::path path, foundation::Size size)
      : name_(std::move(name)), path_(std::move(path)), size_(size) {}

  std::string name_;
  std::filesystem::path path_;
  foundation::Size size_;
  bool isTemplate_ = false;
  std::optional<SymbolConfiguration> symbolConfiguration_;
};

// The width and height an SVG document states on its root element (plain numbers or numbers in "px"),
// or nothing when it states no usable pair.
std::optional<foundation::Size> svgDocumentSize(std::string_view document);

}  // namespace appkit
