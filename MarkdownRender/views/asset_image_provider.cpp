#include "MarkdownRender/views/asset_image_provider.h"

#include <fstream>
#include <iterator>

#include "MarkdownRender/views/resize_to_fit.h"
#include "platform/ui/views.h"

namespace MarkdownRender {

namespace {

// Bundled pictures are small; a file beyond this is not read whole into memory.
constexpr std::uintmax_t maximumAssetBytes = 32u << 20;

std::optional<BitmapImage> bundledPicture(const foundation::Bundle& bundle, const std::string& name) {
  auto path = bundle.pathForResource(name, "");
  if (!path) return std::nullopt;
  std::error_code error;
  auto size = std::filesystem::file_size(*path, error);
  if (error || size > maximumAssetBytes) return std::nullopt;
  std::ifstream file(*path, std::ios::binary);
  if (!file) return std::nullopt;
  std::string data((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
  return BitmapImage::decode(std::move(data));
}

}  // namespace

std::string defaultAssetName(const foundation::URL& url) { return url.lastPathComponent(); }

ui::AnyView AssetImageProvider::imageView(const std::optional<foundation::URL>& url) const {
  if (!url) return ui::EmptyView();
  auto bundle = bundle_ ? bundle_ : foundation::Bundle::main();
  std::string name = name_(*url);
  auto picture = bundledPicture(*bundle, name);
  if (!picture) return ui::EmptyView();
  return ResizeToFit(picture->size(), ui::Image::named(name, *bundle).withSize(picture->size()).resizable());
}

ui::Image AssetInlineImageProvider::inlineImage(const foundation::URL& url, const std::string& label) const {
  auto bundle = bundle_ ? bundle_ : foundation::Bundle::main();
  std::string name = name_(url);
  auto picture = bundledPicture(*bundle, name);
  auto image = ui::Image::named(std::move(name), *bundle, label);
  return picture ? image.withSize(picture->size()) : image;
}

}  // namespace MarkdownRender
