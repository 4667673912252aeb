#include "platform/desktop/headless_hot_keys.h"

#include <algorithm>
#include <atomic>
#include <utility>

namespace desktop {
namespace {

// References are unique across desktops, so a reference kept from an earlier desktop never names a
// registration or handler of the current one.
std::uint64_t nextReference() {
  static std::atomic<std::uint64_t> counter{0};
  return ++counter;
}

}  // namespace

HeadlessHotKeys::RegistrationResult HeadlessHotKeys::registerHotKey(std::uint32_t keyCode,
                                                                    std::uint32_t modifiers,
                                                                    HotKeyID hotKeyID,
                                                                    std::uint32_t /*options*/) {
  std::lock_guard lock(mutex_);
  if (reservedCombinations_.contains({keyCode, modifiers})) {
    return {hot_key_status::eventHotKeyExistsErr, 0};
  }
  const std::uint64_t reference = nextReference();
  registrations_.push_back({keyCode, modifiers, hotKeyID, reference});
  return {hot_key_status::noErr, reference};
}

std::int32_t HeadlessHotKeys::unregisterHotKey(std::uint64_t reference) {
  std::lock_guard lock(mutex_);
  const auto found = std::find_if(registrations_.begin(), registrations_.end(),
                                  [&](const Registration& r) { return r.reference == reference; });
  if (found == registrations_.end()) return hot_key_status::eventHotKeyInvalidErr;
  registrations_.erase(found);
  return hot_key_status::noErr;
}

std::vector<HeadlessHotKeys::Registration> HeadlessHotKeys::registrations() const {
  std::lock_guard lock(mutex_);
  return registrations_;
}

std::uint64_t HeadlessHotKeys::installHandler(EventTypes eventTypes, Handler handler) {
  std::lock_guard lock(mutex_);
  const std::uint64_t reference = nextReference();
  handlers_.emplace(reference, InstalledHandler{std::move(eventTypes), std::move(handler)});
  return reference;
}

bool HeadlessHotKeys::removeHandler(std::uint64_t reference) {
  std::lock_guard lock(mutex_);
  return handlers_.erase(reference) > 0;
}

std::size_t HeadlessHotKeys::handlerCount() const {
  std::lock_guard lock(mutex_);
  return handlers_.size();
}

std::int32_t HeadlessHotKeys::deliver(const HotKeyEvent& event) {
  std::vector<Handler> interested;
  {
    std::lock_guard lock(mutex_);
    for (auto it = handlers_.rbegin(); it != handlers_.rend(); ++it) {
      const auto& types = it->second.eventTypes;
      if (std::find(types.begin(), types.end(), std::pair{event.eventClass, event.eventKind}) !=
          types.end()) {
        interested.push_back(it->second.handler);
      }
    }
  }
  for (const auto& handler : interested) {
    const std::int32_t status = handler(event);
    if (status != hot_key_status::eventNotHandledErr) return status;
  }
  return hot_key_status::eventNotHandledErr;
}

std::vector<std::int32_t> HeadlessHotKeys::deliverToRegistrations(std::uint32_t keyCode,
                                                                  std::uint32_t modifiers,
                                                                  std::uint32_t kind) {
  std::vector<HotKeyID> matching;
  {
    std::lock_guard lock(mutex_);
    for (const auto& registration : registrations_) {
      if (registration.keyCode == keyCode && registration.modifiers == modifiers) {
        matching.push_back(registration.hotKeyID);
      }
    }
  }
  std::vector<std::int32_t> statuses;
  for (const auto& hotKeyID : matching) {
    statuses.push_back(deliver({HotKeyEvent::kKeyboardClass, kind, hotKeyID}));
  }
  return statuses;
}

std::vector<std::int32_t> HeadlessHotKeys::press(std::uint32_t keyCode, std::uint32_t modifiers) {
  return deliverToRegistrations(keyCode, modifiers, HotKeyEvent::kPressedKind);
}

std::vector<std::int32_t> HeadlessHotKeys::release(std::uint32_t keyCode, std::uint32_t modifiers) {
  return deliverToRegistrations(keyCode, modifiers, HotKeyEvent::kReleasedKind);
}

void HeadlessHotKeys::reserveCombination(std::uint32_t keyCode, std::uint32_t modifiers) {
  std::lock_guard lock(mutex_);
  reservedCombinations_.insert({keyCode, modifiers});
}

void HeadlessHotKeys::releaseCombination(std::uint32_t keyCode, std::uint32_t modifiers) {
  std::lock_guard lock(mutex_);
  reservedCombinations_.erase({keyCode, modifiers});
}

std::optional<foundation::PlistValue> HeadlessHotKeys::symbolicHotKeys() const {
  std::lock_guard lock(mutex_);
  return symbolicHotKeys_;
}

void HeadlessHotKeys::setSymbolicHotKeys(std::optional<foundation::PlistValue> list) {
  std::lock_guard lock(mutex_);
  symbolicHotKeys_ = std::move(list);
}

foundation::PlistValue HeadlessHotKeys::symbolicHotKey(bool isEnabled, std::int64_t keyCode,
                                                       std::int64_t modifiers) {
  return foundation::PlistValue(foundation::PlistValue::Dictionary{
      {"kHISymbolicHotKeyEnabled", foundation::PlistValue(isEnabled)},
      {"kHISymbolicHotKeyCode", foundation::PlistValue(keyCode)},
      {"kHISymbolicHotKeyModifiers", foundation::PlistValue(modifiers)},
  });
}

std::shared_ptr<const KeyboardLayout> HeadlessHotKeys::currentKeyboardLayout() const {
  std::lock_guard lock(mutex_);
  return keyboardLayout_;
}

void HeadlessHotKeys::setCurrentKeyboardLayout(std::shared_ptr<const KeyboardLayout> layout) {
  std::shared_ptr<const KeyboardLayout> replaced;  // released outside the lock
  std::lock_guard lock(mutex_);
  replaced = std::exchange(keyboardLayout_, std::move(layout));
}

}  // namespace desktop
