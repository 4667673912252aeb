// The desktop's general pasteboard, headless: the types declared by the last writer and the data kept per
// type, readable by tests.
#pragma once

#include <cstdint>
#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "platform/desktop/pasteboard_service.h"

namespace desktop {

// Thread-safe: one mutex guards the contents.
class HeadlessPasteboard final : public PasteboardService {
 public:
  // Empties the pasteboard and declares the types of its new contents; returns the new change count.
  std::int64_t declareTypes(const std::vector<std::string>& types) override;
  // Stores data for a declared type; false (nothing stored) for a type that was not declared.
  bool setString(const std::string& value, const std::string& type) override;
  std::optional<std::string> string(const std::string& type) const override;
  std::vector<std::string> types() const;
  // Grows with every declaration, so readers can tell that the contents changed.
  std::int64_t changeCount() const;

 private:
  mutable std::mutex mutex_;
  std::vector<std::string> types_;
  std::map<std::string, std::string> contents_;
  std::int64_t changeCount_ = 0;
};

}  // namespace desktop
