// Pictures of replies taken by name from an application bundle instead of the network.
#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "MarkdownRender/views/image_provider.h"
#include "platform/foundation/bundle.h"

namespace MarkdownRender {

// The image name of a URL unless told otherwise: its last path component, extension included.
std::string defaultAssetName(const foundation::URL& url);

// A block image read from the bundle (the main bundle when none is given): the picture at its natural size,
// narrowed to the width on offer; nothing at all when there is no URL or no such picture.
class AssetImageProvider final : public ImageProvider {
 public:
  explicit AssetImageProvider(std::function<std::string(const foundation::URL&)> name = defaultAssetName,
                              std::shared_ptr<foundation::Bundle> bundle = nullptr)
      : name_(std::move(name)), bundle_(std::move(bundle)) {}
  ui::AnyView imageView(const std::optional<foundation::URL>& url) const override;

 private:
  std::function<std::string(const foundation::URL&)> name_;
  std::shared_ptr<foundation::Bundle> bundle_;
};

// The named image of the bundle (the main bundle when none is given) inside text, with the label as its
// accessibility label, at the size of the bundle's picture. Never throws: a name the bundle has no
// picture for still gives the image of that name, which takes no room.
class AssetInlineImageProvider final : public InlineImageProvider {
 public:
  explicit AssetInlineImageProvider(
      std::function<std::string(const foundation::URL&)> name = defaultAssetName,
      std::shared_ptr<foundation::Bundle> bundle = nullptr)
      : name_(std::move(name)), bundle_(std::move(bundle)) {}
  ui::Image inlineImage(const foundation::URL& url, const std::string& label) const override;

 private:
  std::function<std::string(const foundation::URL&)> name_;
  std::shared_ptr<foundation::Bundle> bundle_;
};

}  // namespace MarkdownRender
