// The save panel: asks the person where to save a file, proposing a name.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "platform/foundation/url.h"

namespace appkit {

// How a modal session ended (the same type as an alert's answer).
using ModalResponse = std::int64_t;
inline constexpr ModalResponse kModalResponseCancel = 0;
inline constexpr ModalResponse kModalResponseOK = 1;

// The desktop shows the panel and the person chooses (the headless desktop answers from the test's
// script; without a desktop every panel is cancelled). Main thread only.
class SavePanel : public std::enable_shared_from_this<SavePanel> {
  struct Token {};

 public:
  static std::shared_ptr<SavePanel> savePanel();
  explicit SavePanel(Token) {}

  const std::string& nameFieldStringValue() const { return nameFieldStringValue_; }
  void setNameFieldStringValue(std::string name) { nameFieldStringValue_ = std::move(name); }

  // The chosen file, once the panel ended with OK; nothing before and after a cancel.
  const std::optional<foundation::URL>& url() const { return url_; }

  // Shows the panel and returns when the person has chosen.
  ModalResponse runModal();
  // Shows the panel and returns at once; the completion handler runs on the main queue when the person
  // has chosen. The panel stays alive until then.
  void begin(std::function<void(ModalResponse)> completionHandler);

 private:
  std::string nameFieldStringValue_;
  std::optional<foundation::URL> url_;
};

}  // namespace appkit
