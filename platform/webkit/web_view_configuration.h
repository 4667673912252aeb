// What a web view is made with: its user content controller.
#pragma once

#include <memory>

#include "platform/webkit/user_content_controller.h"

namespace webkit {

struct WebViewConfiguration {
  std::shared_ptr<UserContentController> userContentController = std::make_shared<UserContentController>();
};

}  // namespace webkit
