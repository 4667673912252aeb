#include "platform/appkit/pasteboard.h"

#include "platform/desktop/desktop.h"
#include "platform/desktop/pasteboard_service.h"

namespace appkit {

std::int64_t Pasteboard::declareTypes(const std::vector<std::string>& types) const {
  auto* desktop = desktop::Desktop::current();
  return desktop ? desktop->pasteboard().declareTypes(types) : 0;
}

bool Pasteboard::setString(const std::string& value, const std::string& type) const {
  auto* desktop = desktop::Desktop::current();
  return desktop && desktop->pasteboard().setString(value, type);
}

std::optional<std::string> Pasteboard::stringForType(const std::string& type) const {
  auto* desktop = desktop::Desktop::current();
  if (!desktop) return std::nullopt;
  return desktop->pasteboard().string(type);
}

}  // namespace appkit
