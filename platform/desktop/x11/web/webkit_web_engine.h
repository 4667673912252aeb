// The live desktop's web engine: WebKitGTK pages for the program's web views, sharing one web process,
// with cookies and site data kept in the program's data folder so a sign-in survives a restart.
#pragma once

#include <webkit2/webkit2.h>

#include <filesystem>
#include <memory>
#include <vector>

#include "platform/desktop/desktop_choice.h"  // EnvironmentReader
#include "platform/desktop/web_engine_service.h"
#include "platform/desktop/x11/web/webkit_page.h"

namespace desktop::x11 {

// Main thread only (the GTK thread), as web views are. The engine starts (its web context, and with the
// first document its processes) when the first page is opened, so a program that shows no web content
// pays nothing for it.
class WebKitWebEngine final : public WebEngineService {
 public:
  // Site data (cookies in "cookies.sqlite", local storage, databases) in `dataDirectory`, the disk cache
  // in `cacheDirectory`; `childLayerOf` finds where pages stand in the program's windows.
  WebKitWebEngine(std::filesystem::path dataDirectory, std::filesystem::path cacheDirectory,
                  ChildLayerFinder childLayerOf);
  ~WebKitWebEngine() override;
  WebKitWebEngine(const WebKitWebEngine&) = delete;
  WebKitWebEngine& operator=(const WebKitWebEngine&) = delete;

  // $XDG_DATA_HOME/Quillo, else ~/.local/share/Quillo.
  static std::filesystem::path defaultDataDirectory(const EnvironmentReader& environment);
  // $XDG_CACHE_HOME/Quillo, else ~/.cache/Quillo.
  static std::filesystem::path defaultCacheDirectory(const EnvironmentReader& environment);

  // A page sharing the web process of the pages open now (a new one for the first).
  std::shared_ptr<WebPage> openPage() override;
  // The pages open now, oldest first.
  std::vector<std::shared_ptr<WebKitPage>> pages() const;
  const std::filesystem::path& dataDirectory() const { return dataDirectory_; }

 private:
  WebKitWebContext* context();

  std::filesystem::path dataDirectory_;
  std::filesystem::path cacheDirectory_;
  ChildLayerFinder childLayerOf_;
  WebKitWebContext* context_ = nullptr;
  std::vector<std::weak_ptr<WebKitPage>> pages_;
  // Pages may outlive the engine (their views are let go later); they find no window once it is gone.
  std::shared_ptr<int> lifetime_ = std::make_shared<int>();
};

}  // namespace desktop::x11
