#include "platform/desktop/headless_pasteboard.h"

#include <algorithm>

namespace desktop {

std::int64_t HeadlessPasteboard::declareTypes(const std::vector<std::string>& types) {
  std::lock_guard lock(mutex_);
  types_ = types;
  contents_.clear();
  return ++changeCount_;
}

bool HeadlessPasteboard::setString(const std::string& value, const std::string& type) {
  std::lock_guard lock(mutex_);
  if (std::find(types_.begin(), types_.end(), type) == types_.end()) return false;
  contents_[type] = value;
  return true;
}

std::optional<std::string> HeadlessPasteboard::string(const std::string& type) const {
  std::lock_guard lock(mutex_);
  auto found = contents_.find(type);
  if (found == contents_.end()) return std::nullopt;
  return found->second;
}

std::vector<std::string> HeadlessPasteboard::types() const {
  std::lock_guard lock(mutex_);
  return types_;
}

std::int64_t HeadlessPasteboard::changeCount() const {
  std::lock_guard lock(mutex_);
  return changeCount_;
}

}  // namespace desktop
