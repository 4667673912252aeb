#include "Roadmap/json_data_fetcher.h"

#include "platform/concurrency/task.h"  // currentStopToken
#include "platform/foundation/http/url_request.h"

namespace Roadmap {

JSONDataFetcher::Error JSONDataFetcher::Error::invalidURL() {
  return Error(Case::invalidURL, "The address is not a valid URL.");
}

std::string JSONDataFetcher::Error::caseName() const {
  switch (case_) {
    case Case::invalidURL:
      return "invalidURL";
  }
  return "unknown";
}

std::shared_ptr<foundation::URLSession> JSONDataFetcher::urlSession() {
  // A function-local static is initialised once even under concurrent first use.
  static const auto session = std::make_shared<foundation::URLSession>();
  return session;
}

std::string JSONDataFetcher::loadData(const foundation::URL& url) {
  foundation::URLRequest request(url);
  request.maximumBodySize = kMaximumBodySize;
  return urlSession()->data(request, concurrency::currentStopToken()).data;
}

std::string printedForm(const std::exception& error) {
  if (const auto* own = dynamic_cast<const JSONDataFetcher::Error*>(&error)) return own->caseName();
  return error.what();
}

}  // namespace Roadmap
