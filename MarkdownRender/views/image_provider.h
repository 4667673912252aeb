// The pluggable pictures of a reply: the view of a block image (`ImageProvider`), the picture of an image
// inside a run of text (`InlineImageProvider`), and the defaults that load both by URL.
#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "MarkdownRender/views/bitmap_image.h"
#include "MarkdownRender/views/image_loader.h"
#include "platform/foundation/geometry.h"
#include "platform/foundation/http/url_session.h"
#include "platform/foundation/url.h"
#include "platform/ui/observable_object.h"
#include "platform/ui/view.h"
#include "platform/ui/views.h"

namespace MarkdownRender {

// Gives the view of a block image at once; the view may load its picture later.
class ImageProvider {
 public:
  virtual ~ImageProvider() = default;
  virtual ui::AnyView imageView(const std::optional<foundation::URL>& url) const = 0;
};

// Any block image provider, held by value (the form the environment keeps).
class AnyImageProvider final : public ImageProvider {
 public:
  template <class P>
  requires std::derived_from<P, ImageProvider>
  explicit AnyImageProvider(P provider)
      : makeImage_([provider = std::move(provider)](const std::optional<foundation::URL>& url) {
          return ui::AnyView(provider.imageView(url));
        }) {}
  ui::AnyView imageView(const std::optional<foundation::URL>& url) const override { return makeImage_(url); }

 private:
  std::function<ui::AnyView(const std::optional<foundation::URL>&)> makeImage_;
};

// Gives the picture of an image inside text, which the text sets in its line at the picture's size.
// Blocking (run it off the main thread); may be called on several threads at once; throws when there is
// no picture.
class InlineImageProvider {
 public:
  virtual ~InlineImageProvider() = default;
  virtual ui::Image inlineImage(const foundation::URL& url, const std::string& label) const = 0;
};

// What the block image view has got so far. Two values are equal when they are the same case and, for
// success, show the same picture at the same size.
struct DefaultImageState {
  enum class Kind { notRequested, loading, success, failure };
  Kind kind = Kind::notRequested;
  std::shared_ptr<const BitmapImage> image;  // success only
  foundation::Size size;                     // success only: the picture's size in points

  static DefaultImageState of(Kind kind) {
    DefaultImageState state;
    state.kind = kind;
    return state;
  }
  static DefaultImageState success(std::shared_ptr<const BitmapImage> image) {
    auto size = image->size();
    return {Kind::success, std::move(image), size};
  }
  bool operator==(const DefaultImageState&) const = default;
};

// The loading state of one block image view. `state` is read and written on the main thread only; the
// load itself runs on the calling (worker) thread and hops to the main thread for every change.
class DefaultImageViewModel final : public ui::ObservableObject {
 public:
  using State = DefaultImageState;

  explicit DefaultImageViewModel(
      std::shared_ptr<DefaultImageLoader> imageLoader = DefaultImageLoader::shared())
      : imageLoader_(std::move(imageLoader)) {}

  ui::Published<State> state{this, State{}};

  // Leaves `notRequested` once and never returns to it: a later call does nothing. Without a URL the
  // state becomes failure; otherwise loading, then success or failure (the error is dropped silently).
  void loadImage(const std::optional<foundation::URL>& url,
                 const std::shared_ptr<foundation::URLSession>& urlSession);

 private:
  std::shared_ptr<DefaultImageLoader> imageLoader_;
};

// A block image loaded by URL: nothing (0 by 0) until the picture has arrived, then the picture at its
// natural size, narrowed to the width on offer.
class DefaultImageView final : public ui::View {
 public:
  DefaultImageView(std::optional<foundation::URL> url, std::shared_ptr<foundation::URLSession> urlSession,
                   std::shared_ptr<DefaultImageLoader> imageLoader = DefaultImageLoader::shared());
  ui::AnyView body() const override;

 private:
  std::optional<foundation::URL> url_;
  std::shared_ptr<foundation::URLSession> urlSession_;
  ui::StateObject<DefaultImageViewModel> viewModel_;
};

class DefaultImageProvider final : public ImageProvider {
 public:
  explicit DefaultImageProvider(
      std::shared_ptr<foundation::URLSession> urlSession = foundation::URLSession::shared(),
      std::shared_ptr<DefaultImageLoader> imageLoader = DefaultImageLoader::shared())
      : urlSession_(std::move(urlSession)), imageLoader_(std::move(imageLoader)) {}
  ui::AnyView imageView(const std::optional<foundation::URL>& url) const override;

 private:
  std::shared_ptr<foundation::URLSession> urlSession_;
  std::shared_ptr<DefaultImageLoader> imageLoader_;
};

// Loads the picture through the shared loader and gives it at its natural size; the label is not used.
class DefaultInlineImageProvider final : public InlineImageProvider {
 public:
  explicit DefaultInlineImageProvider(
      std::shared_ptr<foundation::URLSession> urlSession = foundation::URLSession::shared(),
      std::shared_ptr<DefaultImageLoader> imageLoader = DefaultImageLoader::shared())
      : urlSession_(std::move(urlSession)), imageLoader_(std::move(imageLoader)) {}
  ui::Image inlineImage(const foundation::URL& url, const std::string& label) const override;

 private:
  std::shared_ptr<foundation::URLSession> urlSession_;
  std::shared_ptr<DefaultImageLoader> imageLoader_;
};

// The block image provider of the views below; loads by URL with the shared session unless set.
struct ImageProviderKey {
  using Value = AnyImageProvider;
  static const Value& defaultValue();
};

// The inline image provider of the views below; loads by URL with the shared session unless set.
struct InlineImageProviderKey {
  using Value = std::shared_ptr<const InlineImageProvider>;
  static Value defaultValue();
};

}  // namespace MarkdownRender
