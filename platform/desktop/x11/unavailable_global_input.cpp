#include "platform/desktop/x11/unavailable_global_input.h"

namespace desktop::x11 {

HotKeyService::RegistrationResult UnavailableGlobalInput::registerHotKey(std::uint32_t, std::uint32_t,
                                                                         HotKeyID, std::uint32_t) {
  return {hot_key_status::paramErr, 0};
}

std::int32_t UnavailableGlobalInput::unregisterHotKey(std::uint64_t) {
  return hot_key_status::eventHotKeyInvalidErr;
}

std::uint64_t UnavailableGlobalInput::installHandler(EventTypes, Handler) { return nextReference_++; }

std::optional<foundation::PlistValue> UnavailableGlobalInput::symbolicHotKeys() const {
  return foundation::PlistValue(foundation::PlistValue::Array{});
}

std::shared_ptr<const KeyboardLayout> UnavailableGlobalInput::currentKeyboardLayout() const {
  return KeyboardLayout::unitedStates();
}

std::size_t UnavailableGlobalInput::addEventObserver(EventObserver) {
  return static_cast<std::size_t>(nextReference_++);
}

void UnavailableGlobalInput::removeEventObserver(std::size_t) {}

bool UnavailableGlobalInput::postKeyboardEvent(int, const InputEvent&) { return false; }

}  // namespace desktop::x11
