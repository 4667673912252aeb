// What the live desktop hands out for global hot keys, event monitors and typing into other applications
// where the session has none of them (a Wayland session, an X server without the extensions they need):
// services that work as calls but reach nothing, and say so in their answers.
#pragma once

#include <atomic>
#include <cstdint>

#include "platform/desktop/hot_key_service.h"
#include "platform/desktop/input_event_service.h"
#include "platform/desktop/synthetic_input_service.h"

namespace desktop::x11 {

// Thread-safe: the only state is an atomic counter of handed-out references.
class UnavailableGlobalInput final : public HotKeyService,
                                     public InputEventService,
                                     public SyntheticInputService {
 public:
  // Every registration is refused (paramErr): no key is grabbed, so none would ever fire.
  RegistrationResult registerHotKey(std::uint32_t keyCode, std::uint32_t modifiers, HotKeyID hotKeyID,
                                    std::uint32_t options) override;
  std::int32_t unregisterHotKey(std::uint64_t reference) override;
  // Handlers are kept by reference only: no hot key reaches them.
  std::uint64_t installHandler(EventTypes eventTypes, Handler handler) override;
  std::optional<foundation::PlistValue> symbolicHotKeys() const override;
  // The US layout: with no keyboard of the session to read, key codes are named as the US keys are.
  std::shared_ptr<const KeyboardLayout> currentKeyboardLayout() const override;

  // Observers are accepted and never called.
  std::size_t addEventObserver(EventObserver observer) override;
  void removeEventObserver(std::size_t token) override;

  // Delivers nothing: false.
  bool postKeyboardEvent(int processIdentifier, const InputEvent& event) override;

 private:
  std::atomic<std::uint64_t> nextReference_{1};
};

}  // namespace desktop::x11
