// Pictures shown as blocks: one picture drawn by the image provider in force inside the theme's image
// style (clickable when it sits in a link), and rows of pictures that wrap like words.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "MarkdownRender/model/indexed.h"
#include "MarkdownRender/model/inline.h"
#include "MarkdownRender/views/image_provider.h"
#include "MarkdownRender/views/markdown_environment.h"
#include "platform/ui/environment.h"
#include "platform/ui/view.h"

namespace MarkdownRender {

// Makes the content a plain button that opens the destination (resolved against the base URL in force
// when the view is drawn) through the environment's open-URL action; without a destination, or with one
// that makes no URL, the content is shown unchanged and is not clickable.
class LinkModifier final : public ui::ViewModifier {
 public:
  explicit LinkModifier(std::optional<std::string> destination) : destination_(std::move(destination)) {}
  ui::AnyView body(ui::AnyView content) const override;

 private:
  ui::Environment<BaseURLKey> baseURL_;
  ui::Environment<ui::OpenURLAction> openURL_;
  std::optional<std::string> destination_;
};

// One block picture; its alt text is its accessibility label and is not drawn.
class ImageView final : public ui::View {
 public:
  ImageView(std::optional<std::string> source, std::string alt, std::optional<std::string> destination)
      : source_(std::move(source)), alt_(std::move(alt)), destination_(std::move(destination)) {}
  // The picture of a paragraph that is exactly one image, or one link around an image; nothing otherwise.
  static std::optional<ImageView> fromInlines(const std::vector<Inline>& inlines);

  ui::AnyView body() const override;

 private:
  ui::Environment<ImageProviderKey> imageProvider_;
  ui::Environment<ImageBaseURLKey> baseURL_;
  std::optional<std::string> source_;
  std::string alt_;
  std::optional<std::string> destination_;
};

// Pictures and line breaks side by side, wrapping onto new rows, a quarter of the font size apart.
class ImageFlow final : public ui::View {
 public:
  struct Item {
    enum class Kind { image, lineBreak };
    Kind kind = Kind::image;
    Inline::Image image;  // for `image` only
    bool operator==(const Item&) const = default;
  };

  // The flow of inlines that are only pictures, breaks and empty text; nothing for any other run.
  static std::optional<ImageFlow> fromInlines(const std::vector<Inline>& inlines);

  ui::AnyView body() const override;
  const std::vector<Indexed<Item>>& items() const { return items_; }

 private:
  explicit ImageFlow(std::vector<Indexed<Item>> items) : items_(std::move(items)) {}
  std::vector<Indexed<Item>> items_;
};

// The gap between pictures of a flow for a font size: a quarter of it, rounded to whole points with halves
// away from zero.
double imageFlowSpacing(double fontSize);

}  // namespace MarkdownRender
