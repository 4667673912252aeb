// Loads pictures of replies by URL over HTTP and keeps the decoded pictures in a bounded in-memory cache
// shared by every reply.
#pragma once

#include <cstddef>
#include <list>
#include <memory>
#include <mutex>
#include <string>
#include <unordered_map>

#include "MarkdownRender/views/bitmap_image.h"
#include "platform/foundation/http/url_session.h"
#include "platform/foundation/text_error.h"
#include "platform/foundation/url.h"

namespace MarkdownRender {

// Why a load failed after the transport succeeded.
enum class URLErrorCode {
  badServerResponse,        // not an HTTP response, or a status outside 200...299
  cannotDecodeContentData,  // the body is not a picture
};

class URLError : public foundation::TextError {
 public:
  explicit URLError(URLErrorCode code);
  URLErrorCode code() const { return code_; }

 private:
  URLErrorCode code_;
};

// Thread-safe: the cache and its order of use are guarded by `mutex_`; fetching and decoding run outside
// the lock, so loads of different pictures proceed side by side.
class DefaultImageLoader {
 public:
  struct Limits {
    // A reply's picture larger than this is not fetched to the end (the transfer fails).
    std::size_t maximumImageBytes = 32u << 20;
    // The cache keeps decoded pictures of at most this many bytes of pixels, dropping the least recently
    // used first; a picture larger than the whole limit is returned but not kept.
    std::size_t cacheCostLimit = 64u << 20;
  };

  explicit DefaultImageLoader(Limits limits);
  DefaultImageLoader() : DefaultImageLoader(Limits{}) {}

  // The loader of the process, made on first use and kept until the process ends.
  static const std::shared_ptr<DefaultImageLoader>& shared();

  // The picture at `url`: from the cache when it is there, otherwise a plain GET through `urlSession`
  // (blocking; run it off the main thread). Throws URLError for a response that is not an HTTP one with
  // a status from 200 to 299 or whose body is not a picture, and the session's TextError for transport
  // failures and cancellation of the calling task. Failures are not cached. Overlapping loads of one URL
  // each fetch; the last to finish leaves its picture in the cache.
  std::shared_ptr<const BitmapImage> image(const foundation::URL& url,
                                           const foundation::URLSession& urlSession) const;

  // The cached picture for `url`, if any (counts as a use).
  std::shared_ptr<const BitmapImage> cachedImage(const foundation::URL& url) const;
  std::size_t cachedCount() const;
  std::size_t cachedBytes() const;

 private:
  struct Entry {
    std::shared_ptr<const BitmapImage> image;
    std::list<std::string>::iterator use;
  };
  void store(const std::string& key, std::shared_ptr<const BitmapImage> image) const;

  Limits limits_;
  mutable std::mutex mutex_;
  mutable std::unordered_map<std::string, Entry> entries_;
  mutable std::list<std::string> uses_;  // most recently used first
  mutable std::size_t bytes_ = 0;
};

}  // namespace MarkdownRender
