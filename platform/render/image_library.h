// Where image views get their pictures: system symbols from the Adwaita icon theme through one table, the
// application's own images from its bundle's resources (SVG, else PNG), and a visible placeholder for a
// name that has no picture.
#pragma once

#include <cairo.h>

#include <filesystem>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <set>
#include <string>
#include <string_view>

#include "platform/foundation/geometry.h"
#include "platform/render/vector_image.h"
#include "platform/ui/color.h"

namespace render {

// The Adwaita icon drawn for a system symbol name ("doc.on.doc.fill" is "edit-copy-symbolic"), or nothing
// when the table has none.
std::optional<std::string_view> adwaitaIconName(std::string_view symbolName);

// Thread-safe: `mutex_` guards the caches of documents and the names already reported.
class ImageLibrary {
 public:
  explicit ImageLibrary(std::filesystem::path iconThemeDirectory = "/usr/share/icons/Adwaita");
  static ImageLibrary& shared();

  // The symbol fitted into `frame` in `color`; the placeholder, and one diagnostic line the first time,
  // for a name the table or the icon theme lacks.
  void drawSymbol(cairo_t* cr, const std::string& name, const foundation::Rect& frame,
                  const ui::ResolvedColor& color);
  // The image "<name>.svg" (else "<name>.png", or "<name>" itself when the name ends in ".svg" or ".png")
  // of the bundle whose resources lie in `bundleDirectory` (absent: the main bundle's) stretched to
  // `frame`; the placeholder, and one diagnostic line the first time, when there is none.
  void drawNamed(cairo_t* cr, const std::string& name, const foundation::Rect& frame,
                 const std::optional<std::filesystem::path>& bundleDirectory = std::nullopt);
  // The natural size of a named image, when it has one.
  std::optional<foundation::Size> namedImageSize(
      const std::string& name, const std::optional<std::filesystem::path>& bundleDirectory = std::nullopt);

  // A crossed box: what a picture that cannot be found looks like, so that it is never silently absent.
  static void drawPlaceholder(cairo_t* cr, const foundation::Rect& frame);

 private:
  struct Named {
    std::shared_ptr<VectorImage> vector;
    std::shared_ptr<cairo_surface_t> raster;
  };
  std::shared_ptr<VectorImage> symbol(const std::string& name);
  Named named(const std::string& name, const std::optional<std::filesystem::path>& bundleDirectory);
  void reportMissing(const std::string& line);

  std::filesystem::path iconThemeDirectory_;
  std::mutex mutex_;
  std::map<std::string, std::shared_ptr<VectorImage>> symbols_;
  // By bundle directory (empty: the main bundle) and name.
  std::map<std::pair<std::filesystem::path, std::string>, Named> namedImages_;
  std::set<std::string> reported_;
};

}  // namespace render
