#include "MarkdownRender/views/image_loader.h"

#include <utility>

#include "platform/concurrency/task.h"
#include "platform/foundation/http/url_request.h"

namespace MarkdownRender {

namespace {

std::string describe(URLErrorCode code) {
  switch (code) {
    case URLErrorCode::badServerResponse:
      return "The server's response could not be used as a picture.";
    case URLErrorCode::cannotDecodeContentData:
      return "The picture could not be decoded.";
  }
  return "The picture could not be loaded.";
}

bool isHTTP(const foundation::URL& url) {
  if (!url.scheme()) return false;
  std::string scheme;
  for (char c : *url.scheme()) scheme += static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
  return scheme == "http" || scheme == "https";
}

}  // namespace

URLError::URLError(URLErrorCode code) : foundation::TextError(describe(code)), code_(code) {}

DefaultImageLoader::DefaultImageLoader(Limits limits) : limits_(limits) {}

const std::shared_ptr<DefaultImageLoader>& DefaultImageLoader::shared() {
  static const std::shared_ptr<DefaultImageLoader> loader = std::make_shared<DefaultImageLoader>();
  return loader;
}

std::shared_ptr<const BitmapImage> DefaultImageLoader::image(const foundation::URL& url,
                                                             const foundation::URLSession& urlSession) const {
  if (auto cached = cachedImage(url)) return cached;
  // Only an HTTP exchange can answer with a status; other schemes (file, data) never reach the disk or
  // the network from a reply.
  if (!isHTTP(url)) throw URLError(URLErrorCode::badServerResponse);
  foundation::URLRequest request(url);
  request.maximumBodySize = limits_.maximumImageBytes;
  auto result = urlSession.data(request, concurrency::currentStopToken());
  if (result.response.statusCode < 200 || result.response.statusCode > 299) {
    throw URLError(URLErrorCode::badServerResponse);
  }
  auto bitmap = BitmapImage::decode(std::move(result.data));
  if (!bitmap) throw URLError(URLErrorCode::cannotDecodeContentData);
  auto picture = std::make_shared<const BitmapImage>(std::move(*bitmap));
  store(url.absoluteString(), picture);
  return picture;
}

std::shared_ptr<const BitmapImage> DefaultImageLoader::cachedImage(const foundation::URL& url) const {
  std::lock_guard lock(mutex_);
  auto found = entries_.find(url.absoluteString());
  if (found == entries_.end()) return nullptr;
  uses_.splice(uses_.begin(), uses_, found->second.use);
  return found->second.image;
}

void DefaultImageLoader::store(const std::string& key, std::shared_ptr<const BitmapImage> image) const {
  const std::size_t cost = image->byteCount();
  std::lock_guard lock(mutex_);
  if (auto found = entries_.find(key); found != entries_.end()) {
    bytes_ -= found->second.image->byteCount();
    uses_.erase(found->second.use);
    entries_.erase(found);
  }
  if (cost > limits_.cacheCostLimit) return;
  while (!uses_.empty() && bytes_ + cost > limits_.cacheCostLimit) {
    auto oldest = entries_.find(uses_.back());
    bytes_ -= oldest->second.image->byteCount();
    entries_.erase(oldest);
    uses_.pop_back();
  }
  uses_.push_front(key);
  entries_.emplace(key, Entry{std::move(image), uses_.begin()});
  bytes_ += cost;
}

std::size_t DefaultImageLoader::cachedCount() const {
  std::lock_guard lock(mutex_);
  return entries_.size();
}

std::size_t DefaultImageLoader::cachedBytes() const {
  std::lock_guard lock(mutex_);
  return bytes_;
}

}  // namespace MarkdownRender
