// A picture fetched for a reply: its encoded bytes and its size in pixels, read from the file's header.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

#include "platform/foundation/geometry.h"
#include "platform/ui/view.h"

namespace MarkdownRender {

class BitmapImage {
 public:
  // The picture in `data` when it is a PNG, GIF, JPEG or BMP file whose header gives a size of at least
  // one pixel each way; nothing for any other bytes (an HTML page, a truncated file, text).
  static std::optional<BitmapImage> decode(std::string data);

  std::int64_t pixelsWide() const { return pixelsWide_; }
  std::int64_t pixelsHigh() const { return pixelsHigh_; }
  // One point per pixel, whatever resolution the file declares.
  foundation::Size size() const {
    return {static_cast<double>(pixelsWide_), static_cast<double>(pixelsHigh_)};
  }
  const std::string& data() const { return data_; }

 private:
  BitmapImage(std::string data, std::int64_t wide, std::int64_t high)
      : data_(std::move(data)), pixelsWide_(wide), pixelsHigh_(high) {}

  std::string data_;
  std::int64_t pixelsWide_;
  std::int64_t pixelsHigh_;
};

// The picture as an image view named after `name` (its URL), resizable or at its natural size.
ui::AnyView bitmapImageView(const std::shared_ptr<const BitmapImage>& image, std::string name,
                            bool isResizable);

}  // namespace MarkdownRender
