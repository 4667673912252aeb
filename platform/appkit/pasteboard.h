// The general pasteboard: declare the types of new contents, then set data for them.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace appkit {

// The platform's name of the plain-text type.
inline constexpr const char* pasteboardTypeString = "public.utf8-plain-text";

// A handle to the desktop's general pasteboard. Without a desktop (none installed) every write fails and
// every read gives nothing.
class Pasteboard {
 public:
  static Pasteboard generalPasteboard() { return Pasteboard(); }

  // Empties the pasteboard and declares the types of its new contents (no owner supplies data lazily);
  // returns the new change count (0 without a desktop).
  std::int64_t declareTypes(const std::vector<std::string>& types) const;
  // Stores the text for a declared type; false when it could not be stored.
  bool setString(const std::string& value, const std::string& type) const;
  std::optional<std::string> stringForType(const std::string& type) const;

 private:
  Pasteboard() = default;
};

}  // namespace appkit
