#include "MarkdownRender/views/image_provider.h"

#include <utility>

#include "MarkdownRender/views/resize_to_fit.h"
#include "platform/concurrency/main_actor.h"
#include "platform/ui/modifiers.h"
#include "platform/ui/views.h"

namespace MarkdownRender {

void DefaultImageViewModel::loadImage(const std::optional<foundation::URL>& url,
                                      const std::shared_ptr<foundation::URLSession>& urlSession) {
  bool starts = concurrency::MainActor::run([&] {
    if (state.get().kind != State::Kind::notRequested) return false;
    state.set(State::of(url ? State::Kind::loading : State::Kind::failure));
    return url.has_value();
  });
  if (!starts) return;
  State outcome = State::of(State::Kind::failure);
  try {
    outcome = State::success(imageLoader_->image(*url, *urlSession));
  } catch (...) {
    // Failures are silent: the picture simply takes no space.
  }
  try {
    concurrency::MainActor::run([&] { state.set(outcome); });
  } catch (...) {
    // The main queue went away (the program or the test host is ending): nobody shows the outcome.
  }
}

DefaultImageView::DefaultImageView(std::optional<foundation::URL> url,
                                   std::shared_ptr<foundation::URLSession> urlSession,
                                   std::shared_ptr<DefaultImageLoader> imageLoader)
    : url_(std::move(url)),
      urlSession_(std::move(urlSession)),
      viewModel_([imageLoader = std::move(imageLoader)] {
        return std::make_shared<DefaultImageViewModel>(imageLoader);
      }) {}

ui::AnyView DefaultImageView::body() const {
  auto state = viewModel_->state.get();
  if (state.kind == DefaultImageState::Kind::success) {
    std::string name = url_ ? url_->absoluteString() : std::string();
    return ResizeToFit(state.size, bitmapImageView(state.image, name, true));
  }
  std::weak_ptr<DefaultImageViewModel> model = viewModel_.get();
  auto load = [model, url = url_, session = urlSession_] {
    if (auto strong = model.lock()) strong->loadImage(url, session);
  };
  std::string key = url_ ? url_->absoluteString() : std::string();
  return ui::AnyView(ui::Color::clear())
      .frame(0, 0)
      .task(key, load, concurrency::TaskPriority::userInitiated);
}

ui::AnyView DefaultImageProvider::imageView(const std::optional<foundation::URL>& url) const {
  return DefaultImageView(url, urlSession_, imageLoader_);
}

ui::Image DefaultInlineImageProvider::inlineImage(const foundation::URL& url, const std::string&) const {
  return ui::Image::picture(url.absoluteString(), imageLoader_->image(url, *urlSession_)->size());
}

const ImageProviderKey::Value& ImageProviderKey::defaultValue() {
  static const Value provider{DefaultImageProvider()};
  return provider;
}

InlineImageProviderKey::Value InlineImageProviderKey::defaultValue() {
  static const Value provider = std::make_shared<const DefaultInlineImageProvider>();
  return provider;
}

}  // namespace MarkdownRender
