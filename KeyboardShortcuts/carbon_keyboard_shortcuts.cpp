#include "KeyboardShortcuts/carbon_keyboard_shortcuts.h"

#include <array>
#include <limits>

#include "platform/foundation/log.h"

namespace KeyboardShortcuts {
namespace {

struct State {
  std::map<std::int64_t, std::shared_ptr<HotKey>> hotKeys;
  std::int64_t hotKeyIdCounter = 0;
  std::optional<carbon::EventHandlerRef> installedEventHandler;
};

State& state() {
  static State* instance = new State;  // lives for the whole process
  return *instance;
}

bool fitsInUInt32(std::int64_t value) {
  return value >= 0 && value <= std::int64_t{std::numeric_limits<std::uint32_t>::max()};
}

}  // namespace

bool CarbonKeyboardShortcuts::installHotKey(const Shortcut& shortcut, HotKey::Action onKeyDown,
                                            HotKey::Action onKeyUp) {
  auto& s = state();
  const std::int64_t id = ++s.hotKeyIdCounter;
  if (!fitsInUInt32(shortcut.carbonKeyCode) || !fitsInUInt32(shortcut.carbonModifiers) || !fitsInUInt32(id)) {
    return false;
  }
  const auto target = carbon::getEventDispatcherTarget();
  carbon::EventHotKeyRef reference;
  const auto status = carbon::registerEventHotKey(
      static_cast<std::uint32_t>(shortcut.carbonKeyCode),
      static_cast<std::uint32_t>(shortcut.carbonModifiers),
      carbon::EventHotKeyID{kSignature, static_cast<std::uint32_t>(id)}, target, 0, &reference);
  if (status != carbon::noErr || !reference) return false;

  s.hotKeys[id] = std::make_shared<HotKey>(shortcut, id, reference, std::move(onKeyDown), std::move(onKeyUp));

  if (!s.installedEventHandler && target) {
    static constexpr std::array<carbon::EventTypeSpec, 2> kEventTypes{{
        {carbon::kEventClassKeyboard, carbon::kEventHotKeyPressed},
        {carbon::kEventClassKeyboard, carbon::kEventHotKeyReleased},
    }};
    carbon::EventHandlerRef handler;
    if (carbon::installEventHandler(target, &hotKeyEventHandler, kEventTypes, nullptr, &handler) ==
        carbon::noErr) {
      s.installedEventHandler = handler;
    }
  }
  return true;
}

void CarbonKeyboardShortcuts::removeHotKey(const Shortcut& shortcut) {
  auto& s = state();
  const auto snapshot = s.hotKeys;
  for (const auto& [id, hotKey] : snapshot) {
    if (hotKey->shortcut != shortcut) continue;
    carbon::unregisterEventHotKey(hotKey->carbonHotKey);  // a failure leaves nothing to do
    s.hotKeys.erase(id);
  }
}

std::optional<Shortcut> CarbonKeyboardShortcuts::parseSymbolicHotKey(const foundation::PlistValue& entry) {
  const auto* dictionary = entry.dictionaryValue();
  if (!dictionary) return std::nullopt;
  const auto member = [&](const char* key) -> const foundation::PlistValue* {
    const auto found = dictionary->find(key);
    return found == dictionary->end() ? nullptr : &found->second;
  };
  const auto* enabled = member("kHISymbolicHotKeyEnabled");
  if (!enabled || enabled->boolValue() != true) return std::nullopt;
  const auto* code = member("kHISymbolicHotKeyCode");
  if (!code || !code->integerValue()) return std::nullopt;
  const auto* modifiers = member("kHISymbolicHotKeyModifiers");
  if (!modifiers || !modifiers->integerValue()) return std::nullopt;
  return Shortcut(*code->integerValue(), *modifiers->integerValue());
}

std::vector<Shortcut> CarbonKeyboardShortcuts::systemHotKeyShortcuts() {
  std::optional<foundation::PlistValue> list;
  if (carbon::copySymbolicHotKeys(&list) != carbon::noErr || !list) return {};
  const auto* entries = list->arrayValue();
  if (!entries) return {};
  // Every entry must be a dictionary, as the system describes the list; otherwise it is not read at all.
  for (const auto& entry : *entries) {
    if (!entry.isDictionary()) return {};
  }
  std::vector<Shortcut> shortcuts;
  for (const auto& entry : *entries) {
    if (auto shortcut = parseSymbolicHotKey(entry)) shortcuts.push_back(*shortcut);
  }
  return shortcuts;
}

carbon::OSStatus CarbonKeyboardShortcuts::hotKeyEventHandler(carbon::EventRef event,
                                                             void* /*userData*/) noexcept {
  if (!event) return carbon::eventNotHandledErr;
  carbon::EventHotKeyID hotKeyID;
  const auto status =
      carbon::getEventParameter(event, carbon::kEventParamDirectObject, carbon::typeEventHotKeyID, &hotKeyID);
  if (status != carbon::noErr) return status;
  if (hotKeyID.signature != kSignature) return carbon::eventNotHandledErr;
  const auto& hotKeys = state().hotKeys;
  const auto found = hotKeys.find(hotKeyID.id);
  if (found == hotKeys.end()) return carbon::eventNotHandledErr;
  // The record stays alive while its action runs, even if the action removes it.
  const std::shared_ptr<HotKey> hotKey = found->second;
  try {
    switch (carbon::getEventKind(event)) {
      case carbon::kEventHotKeyPressed:
        if (hotKey->onKeyDown) hotKey->onKeyDown(hotKey->shortcut);
        break;
      case carbon::kEventHotKeyReleased:
        if (hotKey->onKeyUp) hotKey->onKeyUp(hotKey->shortcut);
        break;
      default:
        return carbon::eventNotHandledErr;
    }
  } catch (const std::exception& failure) {
    foundation::log(std::string("KeyboardShortcuts: a hot-key action failed: ") + failure.what());
  } catch (...) {
    foundation::log("KeyboardShortcuts: a hot-key action failed");
  }
  return carbon::noErr;
}

const std::map<std::int64_t, std::shared_ptr<HotKey>>& CarbonKeyboardShortcuts::hotKeys() {
  return state().hotKeys;
}

void CarbonKeyboardShortcuts::resetForTesting() {
  auto& s = state();
  s.hotKeys.clear();
  s.hotKeyIdCounter = 0;
  s.installedEventHandler.reset();
}

}  // namespace KeyboardShortcuts
