// A failure described by a text that can be shown to the user as it stands.
#pragma once

#include <stdexcept>
#include <string>

namespace foundation {

class TextError : public std::runtime_error {
 public:
  explicit TextError(const std::string& text) : std::runtime_error(text) {}
  std::string text() const { return what(); }
};

}  // namespace foundation
