// The one place that talks to the system's global hot-key service: registers a hot key per shortcut,
// hands its presses and releases to the actions given at registration, unregisters, and lists the
// system's own enabled hot keys.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <vector>

#include "KeyboardShortcuts/shortcut.h"
#include "platform/carbon/hot_key_service.h"
#include "platform/foundation/property_list.h"  // PlistValue: one symbolic hot key

namespace KeyboardShortcuts {

// One successful registration.
class HotKey {
 public:
  using Action = std::function<void(const Shortcut&)>;

  HotKey(Shortcut shortcut, std::int64_t carbonHotKeyId, carbon::EventHotKeyRef carbonHotKey,
         Action onKeyDown, Action onKeyUp)
      : shortcut(shortcut),
        carbonHotKeyId(carbonHotKeyId),
        carbonHotKey(carbonHotKey),
        onKeyDown(std::move(onKeyDown)),
        onKeyUp(std::move(onKeyUp)) {}

  const Shortcut shortcut;
  const std::int64_t carbonHotKeyId;
  const carbon::EventHotKeyRef carbonHotKey;
  const Action onKeyDown;
  const Action onKeyUp;
};

// Main-thread state without a lock: registration and removal come from the registry on the main thread,
// and the service delivers hot keys on the main thread.
class CarbonKeyboardShortcuts {
 public:
  // The signature every hot key of this program carries.
  static constexpr carbon::OSType kSignature = carbon::fourCharCode("HKRG");

  // Registers the shortcut. Each attempt uses up the next id (the first is 1; ids are never reused),
  // also when it fails. Returns whether the system accepted it; a refusal leaves no record.
  static bool installHotKey(const Shortcut& shortcut, HotKey::Action onKeyDown, HotKey::Action onKeyUp);
  // Unregisters every registered hot key of an equal shortcut and forgets its record.
  static void removeHotKey(const Shortcut& shortcut);
  // The system's enabled hot keys, in the system's order, normalised; empty when they cannot be read.
  static std::vector<Shortcut> systemHotKeyShortcuts();
  // The shortcut a symbolic hot-key entry stands for, when it is enabled and has a code and modifiers.
  static std::optional<Shortcut> parseSymbolicHotKey(const foundation::PlistValue& entry);
  // The handler given to the service: runs the action of one of this program's hot keys.
  static carbon::OSStatus hotKeyEventHandler(carbon::EventRef event, void* userData) noexcept;

  // The registered hot keys by id.
  static const std::map<std::int64_t, std::shared_ptr<HotKey>>& hotKeys();

  // For tests: forgets every record, the id counter and the installed handler, as at process start.
  // (Records are not unregistered: each test brings a fresh desktop.)
  static void resetForTesting();
};

}  // namespace KeyboardShortcuts
