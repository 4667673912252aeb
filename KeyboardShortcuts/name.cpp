#include "KeyboardShortcuts/name.h"

#include "KeyboardShortcuts/registry.h"  // storeShortcut
#include "platform/foundation/user_defaults.h"

namespace KeyboardShortcuts {

Name::Name(std::string rawValue, std::optional<Shortcut> defaultShortcut)
    : rawValue(std::move(rawValue)), defaultShortcut(defaultShortcut) {
  // A plain object read: a stored false (the user cleared the shortcut) counts as a value.
  if (this->defaultShortcut && !foundation::UserDefaults::standard()->objectForKey(storageKey())) {
    storeShortcut(*this->defaultShortcut, *this);
  }
}

}  // namespace KeyboardShortcuts
