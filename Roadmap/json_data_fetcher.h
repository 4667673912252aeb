// The roadmap's network access: one shared session, and loading of small JSON documents.
#pragma once

#include <cstddef>
#include <exception>
#include <functional>
#include <memory>
#include <nlohmann/json.hpp>
#include <string>
#include <string_view>

#include "platform/foundation/http/url_session.h"
#include "platform/foundation/json_text.h"
#include "platform/foundation/text_error.h"
#include "platform/foundation/url.h"

namespace Roadmap {

struct JSONDataFetcher {
  // The loader's own failure. Compared by case.
  class Error : public foundation::TextError {
   public:
    enum class Case { invalidURL };

    // An address text that is not a valid URL.
    static Error invalidURL();

    Case errorCase() const { return case_; }
    // The case's name, which is how the error prints itself ("invalidURL").
    std::string caseName() const;

    bool operator==(const Error& other) const { return case_ == other.case_; }

   private:
    Error(Case errorCase, const std::string& description) : TextError(description), case_(errorCase) {}
    Case case_;
  };

  // Bodies longer than this are refused as a transfer failure, so a misbehaving server cannot exhaust
  // memory; feeds and counter replies are a few kilobytes.
  static constexpr std::size_t kMaximumBodySize = 8 * 1024 * 1024;

  // The one session through which every roadmap request goes. It keeps no cache, cookies or credentials.
  // Made on first use, once, also when several threads ask at the same moment; kept for the process's life.
  static std::shared_ptr<foundation::URLSession> urlSession();

  // The body of a GET of `url` through urlSession(); the status and headers are not looked at. Blocks the
  // calling thread (run it on a worker task); cancelling the calling task aborts the transfer. Throws
  // TextError on a transport failure.
  static std::string loadData(const foundation::URL& url);

  // The value of type T decoded from the body of a GET of `urlString`. T decodes through its from_json.
  // Throws Error (invalidURL) without any request when the text is not a valid URL, and TextError for a
  // transport failure or a body that does not decode as T. Blocks like loadData.
  template <class T>
  static T loadJSON(std::string_view urlString) {
    const auto url = foundation::URL::parse(urlString);
    if (!url) throw Error::invalidURL();
    return decodeJSON<T>(loadData(*url));
  }

  // The value of type T decoded from a JSON text; TextError when the text is not JSON or not a T.
  template <class T>
  static T decodeJSON(std::string_view body) {
    const foundation::Json json = foundation::parseJson(body);
    try {
      return json.get<T>();
    } catch (const nlohmann::json::exception& error) {
      throw foundation::TextError(std::string("The data is not in the expected format: ") + error.what());
    }
  }
};

// How a failure of the loader prints itself: the case name for the loader's own errors ("invalidURL"),
// the description for any other.
std::string printedForm(const std::exception& error);

}  // namespace Roadmap

template <>
struct std::hash<Roadmap::JSONDataFetcher::Error> {
  std::size_t operator()(const Roadmap::JSONDataFetcher::Error& error) const noexcept {
    return std::hash<int>()(static_cast<int>(error.errorCase()));
  }
};
