// The head of an HTTP response: the final address after redirects, the status code and the header fields.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "platform/foundation/http/http_header_fields.h"
#include "platform/foundation/url.h"

namespace foundation {

struct HTTPURLResponse {
  URL url;
  int statusCode = 0;
  HTTPHeaderFields allHeaderFields;

  // The value of a header field (name compared regardless of case), or nothing.
  std::optional<std::string> value(std::string_view field) const { return allHeaderFields.value(field); }
};

}  // namespace foundation
