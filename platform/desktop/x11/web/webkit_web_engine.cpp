#include "platform/desktop/x11/web/webkit_web_engine.h"

#include <system_error>
#include <utility>

#include "platform/foundation/log.h"

namespace desktop::x11 {

namespace {

std::filesystem::path folderUnder(const EnvironmentReader& environment, const char* variable,
                                  const char* fallbackBelowHome) {
  if (auto base = environment(variable); base && !base->empty() && std::filesystem::path(*base).is_absolute())
    return std::filesystem::path(*base) / "Quillo";
  const auto home = environment("HOME").value_or("");
  return std::filesystem::path(home) / fallbackBelowHome / "Quillo";
}

}  // namespace

WebKitWebEngine::WebKitWebEngine(std::filesystem::path dataDirectory, std::filesystem::path cacheDirectory,
                                 ChildLayerFinder childLayerOf)
    : dataDirectory_(std::move(dataDirectory)),
      cacheDirectory_(std::move(cacheDirectory)),
      childLayerOf_(std::move(childLayerOf)) {}

WebKitWebEngine::~WebKitWebEngine() {
  if (context_ != nullptr) g_object_unref(context_);
}

std::filesystem::path WebKitWebEngine::defaultDataDirectory(const EnvironmentReader& environment) {
  return folderUnder(environment, "XDG_DATA_HOME", ".local/share");
}

std::filesystem::path WebKitWebEngine::defaultCacheDirectory(const EnvironmentReader& environment) {
  return folderUnder(environment, "XDG_CACHE_HOME", ".cache");
}

WebKitWebContext* WebKitWebEngine::context() {
  if (context_ != nullptr) return context_;
  std::error_code ignored;  // WebKit makes what is missing itself; it only must be private
  std::filesystem::create_directories(dataDirectory_, ignored);
  std::filesystem::permissions(dataDirectory_, std::filesystem::perms::owner_all, ignored);
  WebKitWebsiteDataManager* data =
      webkit_website_data_manager_new("base-data-directory", dataDirectory_.c_str(), "base-cache-directory",
                                      cacheDirectory_.c_str(), nullptr);
  // Without a file of their own, cookies live only as long as the engine.
  webkit_cookie_manager_set_persistent_storage(webkit_website_data_manager_get_cookie_manager(data),
                                               (dataDirectory_ / "cookies.sqlite").c_str(),
                                               WEBKIT_COOKIE_PERSISTENT_STORAGE_SQLITE);
  context_ = webkit_web_context_new_with_website_data_manager(data);
  g_object_unref(data);
  return context_;
}

std::shared_ptr<WebPage> WebKitWebEngine::openPage() {
  std::erase_if(pages_, [](const auto& page) { return page.expired(); });
  WebKitWebView* related = nullptr;
  if (!pages_.empty()) related = pages_.front().lock()->webView();
  auto page =
      WebKitPage::make(context(), related,
                       [alive = std::weak_ptr<int>(lifetime_), find = childLayerOf_](std::uint64_t number) {
                         return alive.expired() ? nullptr : find(number);
                       });
  pages_.push_back(page);
  return page;
}

std::vector<std::shared_ptr<WebKitPage>> WebKitWebEngine::pages() const {
  std::vector<std::shared_ptr<WebKitPage>> open;
  for (const auto& page : pages_)
    if (auto shown = page.lock()) open.push_back(std::move(shown));
  return open;
}

}  // namespace desktop::x11
