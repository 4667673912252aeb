// The desktop's web engine: pages that show web content for the program's web views, load documents with
// injected scripts, run scripts and report what happens in them.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/foundation/geometry.h"

namespace desktop {

// A script the program injects into every document of a page.
struct InjectedScript {
  std::string source;
  bool atDocumentEnd = true;  // false: at document start
  bool forMainFrameOnly = false;

  bool operator==(const InjectedScript&) const = default;
};

// One document the page went to: asked for by the program (with its time-out) or by the page itself
// after the program allowed the navigation (no time-out).
struct PageLoad {
  std::string url;
  std::optional<double> timeoutSeconds;

  bool operator==(const PageLoad&) const = default;
};

// Where a page is shown: in which of the program's windows (the window server's number) and at which
// frame of that window's content (points, origin at the content's top-left corner, y growing downwards).
struct PagePlacement {
  std::uint64_t windowNumber = 0;
  foundation::Rect frame;

  bool operator==(const PagePlacement&) const = default;
};

// How a script evaluation ended: a JSON value, or an error text.
struct ScriptEvaluation {
  std::optional<std::string> resultJSON;
  std::optional<std::string> errorDescription;
};

// How a page reaches the program's web view, on the main thread. Every member may be empty (that event is
// then dropped).
struct WebPageClient {
  std::function<void()> didCommitNavigation;
  std::function<void()> didFinishNavigation;
  std::function<void(int code, const std::string& description)> didFailNavigation;
  // A script posted a message (its body as JSON text) under a handler name; returns whether the program
  // has a handler of that name (when it has none, the post fails inside the page).
  std::function<bool(const std::string& name, const std::string& bodyJSON)> didReceiveScriptMessage;
  // The page is about to go to `url`; the program calls `decide` once, now or later (true: go).
  std::function<void(const std::string& url, std::function<void(bool allow)> decide)>
      decidePolicyForNavigation;
  // A file input asks for files; the program calls `choose` once with the chosen file URLs, or with
  // nothing when the choice was cancelled.
  std::function<void(bool allowsMultipleSelection,
                     std::function<void(std::optional<std::vector<std::string>> fileURLs)> choose)>
      runOpenPanel;
  // A response the page received is handed over as a download.
  std::function<void(const std::string& url)> didBecomeDownload;
};

// One page: the content of one web view. Called on the main thread.
class WebPage {
 public:
  virtual ~WebPage() = default;

  // Replaces the client; an empty one stops the page from reaching the program.
  virtual void setClient(WebPageClient client) = 0;
  // The user agent presented instead of the engine's own; nothing: the engine's own.
  virtual void setCustomUserAgent(std::optional<std::string> userAgent) = 0;
  // The handler names the page's scripts may post messages to
  // (`window.webkit.messageHandlers.<name>.postMessage`), taken for the documents loaded afterwards.
  virtual void setScriptMessageHandlerNames(std::vector<std::string> names) = 0;
  // Starts loading a document, injecting `scripts` into it.
  virtual void load(PageLoad load, std::vector<InjectedScript> scripts) = 0;
  // Shows the page at a place in one of the program's windows, or nowhere (its view is not on screen).
  virtual void setPlacement(std::optional<PagePlacement> placement) = 0;
  // Evaluates a script in the current document; `completion` runs once with the outcome, on the main
  // thread, within this call or later.
  virtual void evaluateScript(const std::string& script,
                              std::function<void(ScriptEvaluation)> completion) = 0;
};

class WebEngineService {
 public:
  virtual ~WebEngineService() = default;

  // A new page for a new web view; null when the engine cannot make one.
  virtual std::shared_ptr<WebPage> openPage() = 0;
};

}  // namespace desktop
