// The highlighter's font: one the caller already has, one read from a font file, or the default
// choice, always with a point size.
#pragma once

#include <optional>
#include <string>
#include <variant>

#include "platform/ui/font.h"

namespace Glint {

class Font {
 public:
  struct Preloaded {
    ui::Font font;
    bool operator==(const Preloaded&) const = default;
  };
  struct Path {
    std::string path;
    bool operator==(const Path&) const = default;
  };
  struct System {
    bool operator==(const System&) const = default;
  };
  using Resource = std::variant<Preloaded, Path, System>;

  Font(Resource resource, double size) : resource(std::move(resource)), size(size) {}
  // A font file; a leading "~" (or "~user") in the path becomes that home directory.
  Font(const std::string& path, double size);

  // The font in the file at `path` at `size` points, or nothing when the file is missing, unreadable or
  // holds no font face. Nothing is cached.
  static std::optional<ui::Font> loadFont(const std::string& path, double size);

  bool operator==(const Font&) const = default;

  Resource resource;
  double size;
};

// The path with a leading "~" or "~user" replaced by that home directory; other paths stay as they are.
std::string expandingTildeInPath(const std::string& path);

}  // namespace Glint
