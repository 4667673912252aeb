// The desktop's general pasteboard: typed contents that one writer declares and any program reads.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace desktop {

class PasteboardService {
 public:
  virtual ~PasteboardService() = default;

  // Empties the pasteboard and declares the types of its new contents; returns the new change count.
  virtual std::int64_t declareTypes(const std::vector<std::string>& types) = 0;
  // Stores text for a declared type; false (nothing stored) for a type that was not declared.
  virtual bool setString(const std::string& value, const std::string& type) = 0;
  // The text stored for a type, nothing when there is none.
  virtual std::optional<std::string> string(const std::string& type) const = 0;
};

}  // namespace desktop
