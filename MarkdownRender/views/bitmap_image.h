// A picture fetched for a reply, decoded: its pixels and its size in pixels.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <utility>

#include "platform/foundation/geometry.h"
#include "platform/ui/bitmap.h"
#include "platform/ui/view.h"

namespace MarkdownRender {

class BitmapImage {
 public:
  // A picture of more pixels than this is refused before it is decoded: its pixels alone would take
  // hundreds of megabytes.
  static constexpr std::int64_t maximumPixelCount = 50'000'000;

  // The picture in `data` decoded, when it is a PNG, JPEG, GIF (its first frame), WebP or BMP file of at
  // least one pixel each way and at most `maximumPixelCount` pixels; nothing for any other bytes (an HTML
  // page, a truncated or damaged file, text). Blocking and thread-safe: run it off the main thread.
  static std::optional<BitmapImage> decode(std::string data);

  std::int64_t pixelsWide() const { return bitmap_->pixelsWide(); }
  std::int64_t pixelsHigh() const { return bitmap_->pixelsHigh(); }
  // One point per pixel, whatever resolution the file declares.
  foundation::Size size() const {
    return {static_cast<double>(bitmap_->pixelsWide()), static_cast<double>(bitmap_->pixelsHigh())};
  }
  const std::shared_ptr<const ui::Bitmap>& bitmap() const { return bitmap_; }
  // The memory the decoded pixels take.
  std::size_t byteCount() const { return bitmap_->byteCount(); }

 private:
  explicit BitmapImage(std::shared_ptr<const ui::Bitmap> bitmap) : bitmap_(std::move(bitmap)) {}

  std::shared_ptr<const ui::Bitmap> bitmap_;
};

// The picture as an image view named after `name` (its URL), resizable or at its natural size.
ui::AnyView bitmapImageView(const std::shared_ptr<const BitmapImage>& image, std::string name,
                            bool isResizable);

}  // namespace MarkdownRender
