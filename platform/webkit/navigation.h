// Navigations of a web view: the navigation itself, the action that asks for one, the policy answer, the
// response a page received, and how a navigation failed.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <utility>

#include "platform/foundation/url.h"

namespace webkit {

// One load of a document, as the delegate callbacks name it. Compared by identity.
class Navigation {
 public:
  explicit Navigation(std::uint64_t identifier) : identifier_(identifier) {}
  std::uint64_t identifier() const { return identifier_; }

 private:
  std::uint64_t identifier_;
};

// A page's request to go somewhere (a link, a form, a script). The URL is absent when the page asked for
// an address that is not a valid URL.
struct NavigationAction {
  std::optional<foundation::URL> requestURL;
};

// Raw values as the platform defines them.
enum class NavigationActionPolicy : int { cancel = 0, allow = 1 };

// A response a page received.
struct NavigationResponse {
  foundation::URL url;
  // One line describing the response, for diagnostics.
  std::string description() const { return "<URLResponse URL: " + url.absoluteString() + ">"; }
};

// Why a navigation failed: an error domain and code, and a text a person can read.
struct WebError {
  std::string domain;
  std::int64_t code = 0;
  std::string localizedDescription;

  // One line for diagnostics: domain, code and the readable text.
  std::string description() const {
    return "Error Domain=" + domain + " Code=" + std::to_string(code) + " \"" + localizedDescription + "\"";
  }
  bool operator==(const WebError&) const = default;
};

}  // namespace webkit
