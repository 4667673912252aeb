// Opening a URL with the application the desktop chooses for it (a browser for web addresses).
#pragma once

#include "platform/foundation/url.h"

namespace desktop {

class URLOpenerService {
 public:
  virtual ~URLOpenerService() = default;

  // Hands the URL to the desktop; false when it has nothing that opens it.
  virtual bool openURL(const foundation::URL& url) = 0;
};

}  // namespace desktop
