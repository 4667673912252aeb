#include "Quillo/config/config_manager.h"

#include <fmt/format.h>

#include <charconv>
#include <exception>

#include "platform/concurrency/task.h"
#include "platform/foundation/http/url_session.h"
#include "platform/foundation/log.h"
#include "platform/foundation/run_loop.h"
#include "platform/foundation/text_error.h"
#include "platform/foundation/url.h"

namespace Quillo {

void from_json(const foundation::Json& json, AppConfig& config) {
  config.latestVersion = foundation::requiredInteger(json, "latestVersion");
}

std::optional<std::int64_t> wholeDecimalNumber(std::string_view text) {
  bool isNegative = false;
  if (!text.empty() && (text.front() == '+' || text.front() == '-')) {
    isNegative = text.front() == '-';
    text.remove_prefix(1);
  }
  if (text.empty()) return std::nullopt;
  for (char character : text) {
    if (character < '0' || character > '9') return std::nullopt;
  }
  // Read with the sign so that the most negative number fits.
  const std::string digits = (isNegative ? "-" : "") + std::string(text);
  std::int64_t number = 0;
  const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), number);
  if (error != std::errc() || end != digits.data() + digits.size()) return std::nullopt;
  return number;
}

ConfigManager::ConfigManager(std::shared_ptr<foundation::Bundle> bundle) : bundle_(std::move(bundle)) {}

std::shared_ptr<ConfigManager> ConfigManager::shared() {
  static const std::shared_ptr<ConfigManager> instance = make(Roadmap::remoteConfigurationURLString());
  return instance;
}

std::shared_ptr<ConfigManager> ConfigManager::make(const std::string& configURLString,
                                                   std::shared_ptr<foundation::Bundle> bundle) {
  std::shared_ptr<ConfigManager> manager(new ConfigManager(std::move(bundle)));
  // The completion holds the manager, so a manager nobody keeps still finishes its one check.
  fetchConfig(configURLString, [manager](ConfigFetchResult result) { manager->handleConfigResult(result); });
  return manager;
}

void ConfigManager::fetchConfig(std::string_view urlString, Completion completion) {
  auto url = foundation::URL::parse(urlString);
  if (!url) return;
  concurrency::Task<void>([url = std::move(*url), completion = std::move(completion)] {
    std::optional<ConfigFetchResult> result;
    try {
      const foundation::URLSession session;
      result = ConfigFetchResult::body(session.data(url, concurrency::currentStopToken()).data);
    } catch (const std::exception& error) {
      result = ConfigFetchResult::failure(error.what());
    }
    completion(std::move(*result));
  });
}

void ConfigManager::handleConfigResult(const ConfigFetchResult& result) {
  std::string failure;
  if (const auto& body = result.bodyBytes()) {
    try {
      const auto config = foundation::parseJson(*body).get<AppConfig>();
      foundation::RunLoop::main().async([self = shared_from_this(), latestVersion = config.latestVersion] {
        self->objectWillChange.send();
        self->allowedVersion_.send(latestVersion);
        self->checkVersion();
      });
      return;
    } catch (const std::exception& error) {
      failure = error.what();
    }
  } else {
    failure = result.failureDescription();
  }
  foundation::log("error: " + failure);
  foundation::RunLoop::main().async([self = shared_from_this()] { self->setShouldUpdate(false); });
}

void ConfigManager::setShouldUpdate(bool shouldUpdate) {
  objectWillChange.send();
  shouldUpdate_.send(shouldUpdate);
}

void ConfigManager::checkVersion() {
  foundation::assertMainThread();
  const auto bundle = bundle_ ? bundle_ : foundation::Bundle::main();
  const auto buildText = bundle->buildNumber();
  if (!buildText) return;
  const auto buildNumber = wholeDecimalNumber(*buildText);
  if (!buildNumber) return;
  foundation::log(fmt::format("{}", *buildNumber));
  if (*buildNumber >= allowedVersion_.value()) {
    foundation::log("User is up to date");
    return;
  }
  foundation::log("User is using an older version of the app");
  foundation::RunLoop::main().async([self = shared_from_this()] { self->setShouldUpdate(true); });
}

}  // namespace Quillo
