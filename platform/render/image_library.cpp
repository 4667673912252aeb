#include "platform/render/image_library.h"

#include <utility>

#include "platform/foundation/bundle.h"
#include "platform/foundation/log.h"

namespace render {

namespace {

struct SymbolEntry {
  std::string_view symbol;
  std::string_view icon;
};

// Every system symbol the application's views name, with the Adwaita icon that says the same.
constexpr SymbolEntry symbolTable[] = {
    {"arrow.clockwise.circle.fill", "view-refresh-symbolic"},
    {"arrow.left.and.right.circle.fill", "object-flip-horizontal-symbolic"},
    {"arrow.right.circle.fill", "go-next-symbolic"},
    {"arrow.up", "go-up-symbolic"},
    {"arrowtriangle.up.fill", "pan-up-symbolic"},
    {"checkmark.square.fill", "checkbox-checked-symbolic"},
    {"chevron.up", "pan-up-symbolic"},
    {"circle", "radio-symbolic"},
    {"circle.fill", "media-record-symbolic"},
    {"doc.on.doc.fill", "edit-copy-symbolic"},
    {"gear", "emblem-system-symbolic"},
    {"gearshape.2.fill", "preferences-system-symbolic"},
    {"gearshape.fill", "emblem-system-symbolic"},
    {"heart.fill", "emblem-favorite-symbolic"},
    {"info.circle", "dialog-information-symbolic"},
    {"menubar.rectangle", "view-app-grid-symbolic"},
    {"mic.fill", "audio-input-microphone-symbolic"},
    {"rectangle.rightthird.inset.filled", "sidebar-show-right-symbolic"},
    {"safari", "web-browser-symbolic"},
    {"square", "checkbox-symbolic"},
    {"square.fill", "media-playback-stop-symbolic"},
    {"star.bubble", "starred-symbolic"},
    {"text.badge.star", "insert-text-symbolic"},
    {"text.book.closed", "accessories-dictionary-symbolic"},
    {"xmark.circle.fill", "window-close-symbolic"},
};

// The icon's file: the theme keeps scalable icons in one folder per context.
std::optional<std::filesystem::path> iconFile(const std::filesystem::path& theme, std::string_view icon) {
  std::error_code error;
  const auto scalable = theme / "scalable";
  for (const auto& context : std::filesystem::directory_iterator(scalable, error)) {
    auto candidate = context.path() / (std::string(icon) + ".svg");
    if (std::filesystem::is_regular_file(candidate, error)) return candidate;
  }
  return std::nullopt;
}

foundation::Rect fitted(const foundation::Rect& frame, foundation::Size size) {
  if (size.width <= 0 || size.height <= 0) return frame;
  const double scale = std::min(frame.width() / size.width, frame.height() / size.height);
  const double width = size.width * scale, height = size.height * scale;
  return {frame.midX() - width / 2, frame.midY() - height / 2, width, height};
}

}  // namespace

std::optional<std::string_view> adwaitaIconName(std::string_view symbolName) {
  for (const auto& entry : symbolTable) {
    if (entry.symbol == symbolName) return entry.icon;
  }
  return std::nullopt;
}

ImageLibrary::ImageLibrary(std::filesystem::path iconThemeDirectory)
    : iconThemeDirectory_(std::move(iconThemeDirectory)) {}

ImageLibrary& ImageLibrary::shared() {
  static ImageLibrary* library = new ImageLibrary();  // lives as long as the process
  return *library;
}

void ImageLibrary::reportMissing(const std::string& line) {
  {
    std::lock_guard lock(mutex_);
    if (!reported_.insert(line).second) return;
  }
  foundation::log(line);
}

std::shared_ptr<VectorImage> ImageLibrary::symbol(const std::string& name) {
  std::lock_guard lock(mutex_);
  auto found = symbols_.find(name);
  if (found != symbols_.end()) return found->second;
  std::shared_ptr<VectorImage> image;
  if (auto icon = adwaitaIconName(name)) {
    if (auto file = iconFile(iconThemeDirectory_, *icon)) image = VectorImage::read(*file);
  }
  symbols_.emplace(name, image);
  return image;
}

void ImageLibrary::drawSymbol(cairo_t* cr, const std::string& name, const foundation::Rect& frame,
                              const ui::ResolvedColor& color) {
  auto image = symbol(name);
  if (!image) {
    reportMissing("Drawing: no icon for the symbol \"" + name + "\"; a placeholder is drawn.");
    drawPlaceholder(cr, frame);
    return;
  }
  // Symbols sit inside their line like letters: a little smaller than the line is high.
  const double side = std::min(frame.width(), frame.height()) * 0.85;
  image->drawTinted(cr, fitted(frame, {side, side}), color);
}

ImageLibrary::Named ImageLibrary::named(const std::string& name,
                                        const std::optional<std::filesystem::path>& bundleDirectory) {
  std::lock_guard lock(mutex_);
  auto key = std::make_pair(bundleDirectory.value_or(std::filesystem::path()), name);
  auto found = namedImages_.find(key);
  if (found != namedImages_.end()) return found->second;
  Named result;
  auto bundle = bundleDirectory ? foundation::Bundle::atPath(*bundleDirectory) : foundation::Bundle::main();
  if (bundle) {
    auto readPNG = [&](const std::filesystem::path& png) {
      cairo_surface_t* surface = cairo_image_surface_create_from_png(png.c_str());
      if (cairo_surface_status(surface) == CAIRO_STATUS_SUCCESS) {
        result.raster = std::shared_ptr<cairo_surface_t>(surface, cairo_surface_destroy);
      } else {
        cairo_surface_destroy(surface);
      }
    };
    // A picture taken from a reply's bundle is named by its file name, extension and all.
    const auto extension = std::filesystem::path(name).extension();
    if (auto given = bundle->pathForResource(name, "");
        given && (extension == ".svg" || extension == ".png")) {
      if (extension == ".svg") {
        result.vector = VectorImage::read(*given);
      } else {
        readPNG(*given);
      }
    } else if (auto svg = bundle->pathForResource(name, "svg")) {
      result.vector = VectorImage::read(*svg);
    } else if (auto png = bundle->pathForResource(name, "png")) {
      readPNG(*png);
    }
  }
  namedImages_.emplace(std::move(key), result);
  return result;
}

std::optional<foundation::Size> ImageLibrary::namedImageSize(
    const std::string& name, const std::optional<std::filesystem::path>& bundleDirectory) {
  auto image = named(name, bundleDirectory);
  if (image.vector) return image.vector->intrinsicSize();
  if (image.raster) {
    return foundation::Size{static_cast<double>(cairo_image_surface_get_width(image.raster.get())),
                            static_cast<double>(cairo_image_surface_get_height(image.raster.get()))};
  }
  return std::nullopt;
}

void ImageLibrary::drawNamed(cairo_t* cr, const std::string& name, const foundation::Rect& frame,
                             const std::optional<std::filesystem::path>& bundleDirectory) {
  if (frame.isEmpty()) return;
  auto image = named(name, bundleDirectory);
  if (image.vector) {
    image.vector->draw(cr, frame);
    return;
  }
  if (image.raster) {
    const double width = cairo_image_surface_get_width(image.raster.get());
    const double height = cairo_image_surface_get_height(image.raster.get());
    cairo_save(cr);
    cairo_rectangle(cr, frame.minX(), frame.minY(), frame.width(), frame.height());
    cairo_clip(cr);
    cairo_translate(cr, frame.minX(), frame.minY());
    cairo_scale(cr, frame.width() / width, frame.height() / height);
    cairo_set_source_surface(cr, image.raster.get(), 0, 0);
    cairo_pattern_set_extend(cairo_get_source(cr), CAIRO_EXTEND_PAD);
    cairo_pattern_set_filter(cairo_get_source(cr), CAIRO_FILTER_GOOD);
    cairo_paint(cr);
    cairo_restore(cr);
    return;
  }
  reportMissing("Drawing: no image named \"" + name + "\" in " +
                (bundleDirectory ? bundleDirectory->string() : std::string("the application's resources")) +
                "; a placeholder is drawn.");
  drawPlaceholder(cr, frame);
}

void ImageLibrary::drawPlaceholder(cairo_t* cr, const foundation::Rect& frame) {
  if (frame.isEmpty()) return;
  cairo_save(cr);
  const double inset = std::min(1.0, std::min(frame.width(), frame.height()) / 4);
  const double x = frame.minX() + inset, y = frame.minY() + inset;
  const double width = frame.width() - 2 * inset, height = frame.height() - 2 * inset;
  cairo_set_source_rgba(cr, 0.85, 0.2, 0.6, 0.15);
  cairo_rectangle(cr, x, y, width, height);
  cairo_fill_preserve(cr);
  cairo_set_source_rgba(cr, 0.85, 0.2, 0.6, 0.9);
  cairo_set_line_width(cr, 1);
  cairo_move_to(cr, x, y);
  cairo_line_to(cr, x + width, y + height);
  cairo_move_to(cr, x + width, y);
  cairo_line_to(cr, x, y + height);
  cairo_stroke(cr);
  cairo_restore(cr);
}

}  // namespace render
