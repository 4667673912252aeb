// The remote version gate: asks the remote configuration which build is the latest and publishes whether
// this build is older.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "Roadmap/remote_hosts.h"
#include "platform/concurrency/publisher.h"
#include "platform/concurrency/subject.h"
#include "platform/foundation/bundle.h"
#include "platform/foundation/json_text.h"  // Json
#include "platform/ui/observable_object.h"

namespace Quillo {

// The remote configuration document, {"latestVersion": 35}. "latestVersion" is a required JSON integer;
// other members are ignored.
struct AppConfig {
  std::int64_t latestVersion = 0;
};

// Throws TextError for anything but an object with an integer "latestVersion".
void from_json(const foundation::Json& json, AppConfig& config);

// What one fetch of the configuration brought: the body bytes, or the description of the failure.
class ConfigFetchResult {
 public:
  static ConfigFetchResult body(std::string bytes) { return ConfigFetchResult(std::move(bytes), {}); }
  static ConfigFetchResult failure(std::string description) {
    return ConfigFetchResult({}, std::move(description));
  }

  const std::optional<std::string>& bodyBytes() const { return body_; }
  // Meaningful when there is no body.
  const std::string& failureDescription() const { return failure_; }

 private:
  ConfigFetchResult(std::optional<std::string> body, std::string failure)
      : body_(std::move(body)), failure_(std::move(failure)) {}
  std::optional<std::string> body_;
  std::string failure_;
};

// One fetch of the remote configuration per manager, started when it is made. Its two fields start at 0
// and false and are written only on the main queue (each change queued there), so observers receive their
// changes on the main thread: allowedVersion becomes the fetched latestVersion once it arrives, and
// shouldUpdate becomes true only when that version is above this build's number; a failed fetch leaves
// allowedVersion at 0 and sets shouldUpdate to false. Nothing is retried. Views observe it as an
// observable object: its change signal is sent on the main queue right before each change.
class ConfigManager : public ui::ObservableObject, public std::enable_shared_from_this<ConfigManager> {
 public:
  using Completion = std::function<void(ConfigFetchResult)>;

  // The application's manager, made on first use (which starts its fetch of the deployed configuration)
  // and kept for the life of the program.
  static std::shared_ptr<ConfigManager> shared();

  // A manager that starts fetching `configURLString` at once and compares with the build number of
  // `bundle` (the main bundle when null).
  static std::shared_ptr<ConfigManager> make(const std::string& configURLString,
                                             std::shared_ptr<foundation::Bundle> bundle = nullptr);

  // The current values (readable from any thread).
  std::int64_t allowedVersion() const { return allowedVersion_.value(); }
  bool shouldUpdate() const { return shouldUpdate_.value(); }

  // The fields as publishers: a subscriber receives the current value at once, then every change on the
  // main thread.
  concurrency::AnyPublisher<std::int64_t> allowedVersionPublisher() const {
    return allowedVersion_.eraseToAnyPublisher();
  }
  concurrency::AnyPublisher<bool> shouldUpdatePublisher() const {
    return shouldUpdate_.eraseToAnyPublisher();
  }

  // Main thread only. Compares the bundle's build number with allowedVersion: prints the build number, then
  // "User is up to date" when it is not below, or "User is using an older version of the app" and queues
  // shouldUpdate = true. A missing, empty or non-numeric build number stops it silently.
  void checkVersion();

  // GETs `urlString` on a worker task through a session that keeps no cache, cookies or credentials, and
  // calls `completion` on that worker once with the body (whatever the status) or the failure. When the
  // text is not a valid URL nothing happens and the completion is never called.
  static void fetchConfig(std::string_view urlString, Completion completion);

 private:
  explicit ConfigManager(std::shared_ptr<foundation::Bundle> bundle);

  // Runs on the fetching worker; the fields change on the main queue.
  void handleConfigResult(const ConfigFetchResult& result);
  // Main queue only.
  void setShouldUpdate(bool shouldUpdate);

  std::shared_ptr<foundation::Bundle> bundle_;
  // Subjects are thread-safe; this class sends to them only from the main queue.
  concurrency::CurrentValueSubject<std::int64_t> allowedVersion_{0};
  concurrency::CurrentValueSubject<bool> shouldUpdate_{false};
};

// A build number read as a whole decimal number (an optional sign, then digits only, within 64 bits), or
// nothing.
std::optional<std::int64_t> wholeDecimalNumber(std::string_view text);

}  // namespace Quillo
