// A script injected into every document a web view loads.
#pragma once

#include <string>
#include <utility>

namespace webkit {

// When a user script runs: as soon as the document starts, or once it has been parsed (before its
// subresources finish). Raw values as the platform defines them.
enum class UserScriptInjectionTime : int { atDocumentStart = 0, atDocumentEnd = 1 };

class UserScript {
 public:
  UserScript(std::string source, UserScriptInjectionTime injectionTime, bool forMainFrameOnly)
      : source_(std::move(source)), injectionTime_(injectionTime), isForMainFrameOnly_(forMainFrameOnly) {}

  const std::string& source() const { return source_; }
  UserScriptInjectionTime injectionTime() const { return injectionTime_; }
  // False: the script runs in every frame of the page, not only the main one.
  bool isForMainFrameOnly() const { return isForMainFrameOnly_; }

  bool operator==(const UserScript&) const = default;

 private:
  std::string source_;
  UserScriptInjectionTime injectionTime_;
  bool isForMainFrameOnly_;
};

}  // namespace webkit
