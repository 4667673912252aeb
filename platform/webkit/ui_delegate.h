// What a web view asks of the program's user interface on a page's behalf: files for a file input.
#pragma once

#include <functional>
#include <optional>
#include <vector>

#include "platform/foundation/url.h"

namespace webkit {

class WebView;

// What the page's file input allows.
struct OpenPanelParameters {
  bool allowsMultipleSelection = false;
  bool allowsDirectories = false;
};

// The frame a request comes from.
struct FrameInfo {
  bool isMainFrame = true;
};

class UIDelegate {
 public:
  virtual ~UIDelegate() = default;
  // A file input asks for files. `completionHandler` must be called exactly once with the chosen file
  // URLs, or with nothing to cancel the page's choice. Without an override the choice is cancelled.
  virtual void runOpenPanel(
      WebView& webView, const OpenPanelParameters& parameters, const FrameInfo& frame,
      std::function<void(std::optional<std::vector<foundation::URL>>)> completionHandler);
};

}  // namespace webkit
