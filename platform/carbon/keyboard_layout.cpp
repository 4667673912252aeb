#include "platform/carbon/keyboard_layout.h"

#include <mutex>
#include <optional>
#include <utility>

#include "platform/desktop/desktop.h"
#include "platform/desktop/hot_key_service.h"

namespace carbon {
namespace {

// The layout tests installed in place of the desktop's; nothing while none is.
struct InstalledLayout {
  std::mutex mutex;  // guards source
  std::optional<std::shared_ptr<const InputSource>> source;
};

InstalledLayout& installedLayout() {
  static InstalledLayout* layout = new InstalledLayout;  // never destroyed: may be read during exit
  return *layout;
}

std::shared_ptr<const InputSource> inputSourceOf(
    const std::shared_ptr<const desktop::KeyboardLayout>& layout) {
  if (!layout) return nullptr;
  return std::make_shared<InputSource>(InputSource{layout->identifier, layout->keys});
}

}  // namespace

std::shared_ptr<const InputSource> copyCurrentASCIICapableKeyboardLayoutInputSource() {
  {
    auto& installed = installedLayout();
    std::lock_guard lock(installed.mutex);
    if (installed.source) return *installed.source;
  }
  if (auto* desktop = desktop::Desktop::current())
    return inputSourceOf(desktop->hotKeys().currentKeyboardLayout());
  return inputSourceOf(desktop::KeyboardLayout::unitedStates());
}

ScopedKeyboardLayout::ScopedKeyboardLayout(std::shared_ptr<const InputSource> source) {
  auto& installed = installedLayout();
  std::lock_guard lock(installed.mutex);
  previous_ = std::exchange(installed.source, std::move(source));
}

ScopedKeyboardLayout::~ScopedKeyboardLayout() {
  auto& installed = installedLayout();
  std::optional<std::shared_ptr<const InputSource>> replaced;  // released outside the lock
  std::lock_guard lock(installed.mutex);
  replaced = std::exchange(installed.source, std::move(previous_));
}

std::uint8_t keyboardType() { return 40; }  // an ANSI keyboard

OSStatus keyTranslate(const KeyLayoutData& layout, std::uint16_t virtualKeyCode, std::uint16_t keyAction,
                      std::uint32_t modifierKeyState, std::uint32_t /*keyboardType*/,
                      std::uint32_t /*keyTranslateOptions*/, std::uint32_t* deadKeyState,
                      std::size_t maxStringLength, std::size_t* actualStringLength, char16_t* unicodeString) {
  if (!actualStringLength || (!unicodeString && maxStringLength > 0) || keyAction > kUCKeyActionDisplay) {
    return paramErr;
  }
  *actualStringLength = 0;
  if (deadKeyState) *deadKeyState = 0;
  const auto found = layout.keys.find(virtualKeyCode);
  if (found == layout.keys.end()) return kUCKeyTranslateUnknownKeyErr;
  // The display action shows the key's own (unshifted) character, whatever the modifiers.
  const bool isShifted = keyAction != kUCKeyActionDisplay && ((modifierKeyState << 8) & shiftKey) != 0;
  if (maxStringLength == 0) return noErr;
  unicodeString[0] = isShifted ? found->second.shifted : found->second.plain;
  *actualStringLength = 1;
  return noErr;
}

}  // namespace carbon
