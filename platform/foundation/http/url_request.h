// A description of one HTTP request: address, method, header fields, body and the limits of its transfer.
#pragma once

#include <chrono>
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/foundation/clock.h"  // Duration
#include "platform/foundation/http/http_header_fields.h"
#include "platform/foundation/url.h"

namespace foundation {

struct URLRequest {
  explicit URLRequest(URL url) : url(std::move(url)) {}

  URL url;
  // "GET", "POST", ... sent as written.
  std::string httpMethod = "GET";
  HTTPHeaderFields allHTTPHeaderFields;
  std::string httpBody;
  // Inactivity timeout: the transfer fails when no byte has arrived for this long (measured on the
  // session's clock), so a long reply that keeps flowing is never cut.
  Duration timeoutInterval = std::chrono::seconds(60);
  // URL schemes the request and every redirect may use (lower case).
  std::vector<std::string> allowedProtocols{"http", "https"};
  // The transfer fails when the declared or the received body is longer than this many bytes.
  std::optional<std::size_t> maximumBodySize;
  // The transfer fails when it lasts longer than this in total (measured on the session's clock).
  std::optional<Duration> totalTimeLimit;

  // Sets a header field, replacing an earlier value of that name.
  void setValue(std::string value, std::string_view field) {
    allHTTPHeaderFields.setValue(std::move(value), field);
  }
};

}  // namespace foundation
