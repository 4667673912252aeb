#include "KeyboardShortcuts/recorder/recorder_cocoa.h"

#include <algorithm>
#include <vector>

#include "KeyboardShortcuts/carbon_keyboard_shortcuts.h"
#include "KeyboardShortcuts/registry.h"
#include "platform/appkit/alert.h"
#include "platform/appkit/application_menu.h"
#include "platform/appkit/beep.h"
#include "platform/appkit/responder.h"
#include "platform/appkit/window.h"
#include "platform/foundation/bundle.h"
#include "platform/foundation/run_loop.h"
#include "platform/foundation/unicode.h"

namespace KeyboardShortcuts {
namespace {

constexpr std::uint16_t kEscapeKeyCode = 53;
constexpr std::int64_t kF12KeyCode = 111;

// The modifiers a person holds: the device-independent flags without Caps Lock, numeric pad and Function.
appkit::ModifierFlags realModifiers(const appkit::Event& event) {
  return (event.modifierFlags() & appkit::ModifierFlags::deviceIndependentFlagsMask)
      .subtracting(appkit::ModifierFlags::capsLock | appkit::ModifierFlags::numericPad |
                   appkit::ModifierFlags::function);
}

bool isMouseUp(const appkit::Event& event) {
  return event.type() == appkit::EventType::leftMouseUp || event.type() == appkit::EventType::rightMouseUp;
}

bool isDeletion(const std::optional<appkit::SpecialKey>& key) {
  return key && (*key == appkit::SpecialKey::delete_ || *key == appkit::SpecialKey::deleteForward ||
                 *key == appkit::SpecialKey::backspace);
}

}  // namespace

void LocalEventMonitor::start() {
  stop();
  monitor_ = appkit::addLocalMonitorForEvents(events, callback);
}

void LocalEventMonitor::stop() {
  if (auto monitor = monitor_.lock()) appkit::removeMonitor(monitor);
  monitor_.reset();
}

std::string recorderText(const std::string& key) {
  auto bundle = foundation::Bundle::main()->resourceBundle("KeyboardShortcuts.bundle");
  if (!bundle) return key;
  return bundle->localizedString(key, "");
}

std::string formatWithText(const std::string& format, const std::string& argument) {
  std::string result;
  bool isArgumentUsed = false;
  for (std::size_t i = 0; i < format.size();) {
    if (format[i] != '%') {
      result += format[i++];
    } else if (format.compare(i, 2, "%%") == 0) {
      result += '%';
      i += 2;
    } else if (!isArgumentUsed && format.compare(i, 2, "%@") == 0) {
      result += argument;
      isArgumentUsed = true;
      i += 2;
    } else if (!isArgumentUsed && format.compare(i, 4, "%1$@") == 0) {
      result += argument;
      isArgumentUsed = true;
      i += 4;
    } else {
      result += format[i++];
    }
  }
  return result;
}

std::shared_ptr<appkit::MenuItem> findMenuConflict(const appkit::Menu& menu, const Shortcut& shortcut) {
  const auto glyph = keyGlyph(shortcut.carbonKeyCode);
  const auto modifiers = shortcut.modifiers();
  for (const auto& item : menu.items()) {
    std::string keyEquivalent = item->keyEquivalent();
    appkit::ModifierFlags mask = item->keyEquivalentModifierMask();
    if (modifiers.contains(appkit::ModifierFlags::shift)) {
      const std::string lower = foundation::lowercased(keyEquivalent);
      if (lower != keyEquivalent) {
        keyEquivalent = lower;
        mask |= appkit::ModifierFlags::shift;
      }
    }
    // An empty glyph would match every item without a key equivalent.
    if (glyph && !glyph->empty() && *glyph == keyEquivalent && mask == modifiers) return item;
    if (item->hasSubmenu()) {
      if (auto found = findMenuConflict(*item->submenu(), shortcut)) return found;
    }
  }
  return nullptr;
}

std::shared_ptr<RecorderCocoa> RecorderCocoa::make(Name name, RecorderChangeAction onChange) {
  foundation::assertMainThread();
  auto recorder = std::make_shared<RecorderCocoa>(Token{}, std::move(name), std::move(onChange));
  recorder->setDelegate(recorder);
  std::weak_ptr<RecorderCocoa> weak = recorder;
  recorder->observer_ = foundation::NotificationCenter::defaultCenter().addObserver(
      kShortcutByNameDidChange, nullptr, nullptr, [weak](const foundation::Notification& notification) {
        auto self = weak.lock();
        if (!self) return;
        const auto name = notification.userInfoValue<Name>("name");
        if (name && name->rawValue == self->shortcutName_.rawValue) self->showStoredShortcut();
      });
  return recorder;
}

RecorderCocoa::RecorderCocoa(Token, Name name, RecorderChangeAction onChange)
    : appkit::SearchField(foundation::Rect{}),
      onChange_(std::move(onChange)),
      shortcutName_(std::move(name)) {
  setPlaceholderString(recorderText("record_shortcut"));
  setAlignment(appkit::TextAlignment::center);
  setSearchButtonCell(nullptr);
  setWantsLayer(true);
  setContentHuggingPriority(750, appkit::LayoutOrientation::vertical);
  setContentHuggingPriority(750, appkit::LayoutOrientation::horizontal);
  cancelButton_ = cancelButtonCell();
  showStoredShortcut();
}

RecorderCocoa::~RecorderCocoa() {
  // Taken out of its window while recording, the control never hears that editing ended; the pause it
  // started must not outlive it, or no hot key would run again.
  if (eventMonitor_) {
    eventMonitor_.reset();
    setPaused(false);
  }
}

void RecorderCocoa::setShortcutName(Name name) {
  const bool isOther = name.rawValue != shortcutName_.rawValue;
  shortcutName_ = std::move(name);
  if (isOther) showStoredShortcut();
}

foundation::Size RecorderCocoa::intrinsicContentSize() const {
  return {minimumWidth, appkit::SearchField::intrinsicContentSize().height};
}

void RecorderCocoa::viewDidMoveToWindow() {
  if (!window()) return;
  std::weak_ptr<RecorderCocoa> weak = std::static_pointer_cast<RecorderCocoa>(shared_from_this());
  foundation::RunLoop::main().async([weak] {
    if (auto self = weak.lock()) self->canBecomeKey_ = true;
  });
}

void RecorderCocoa::showStoredShortcut() {
  const auto shortcut = readStoredShortcut(shortcutName_);
  setStringValue(shortcut ? shortcut->description() : std::string());
  showClearButtonWhenNotEmpty();
}

void RecorderCocoa::showClearButtonWhenNotEmpty() {
  setCancelButtonCell(stringValue().empty() ? nullptr : cancelButton_);
}

void RecorderCocoa::blur() {
  if (auto window = this->window()) appkit::makeFirstResponder(*window, nullptr);
}

void RecorderCocoa::focusAgain() {
  if (auto window = this->window()) appkit::makeFirstResponder(*window, shared_from_this());
}

bool RecorderCocoa::becomeFirstResponder() {
  if (!appkit::SearchField::becomeFirstResponder()) return false;
  setPlaceholderString(recorderText("press_shortcut"));
  showClearButtonWhenNotEmpty();
  if (auto* editor = currentEditor()) editor->setInsertionPointColorClear(true);
  setPaused(true);
  std::weak_ptr<RecorderCocoa> weak = std::static_pointer_cast<RecorderCocoa>(shared_from_this());
  eventMonitor_ = std::make_unique<LocalEventMonitor>(
      kRecordedEvents, [weak](const appkit::Event& event) -> std::optional<appkit::Event> {
        auto self = weak.lock();
        if (!self) return std::nullopt;
        return self->recorderEventFilter(event);
      });
  eventMonitor_->start();
  return true;
}

void RecorderCocoa::controlTextDidEndEditing(appkit::TextField&) {
  eventMonitor_.reset();
  setPlaceholderString(recorderText("record_shortcut"));
  showClearButtonWhenNotEmpty();
  setPaused(false);
}

void RecorderCocoa::controlTextDidChange(appkit::TextField&) {
  const bool isEmpty = stringValue().empty();
  if (isEmpty) {
    if (readStoredShortcut(shortcutName_)) setOrClearShortcut(std::nullopt, shortcutName_);
    if (onChange_) onChange_(std::nullopt);
  }
  showClearButtonWhenNotEmpty();
  if (isEmpty) focusAgain();
}

std::optional<appkit::Event> RecorderCocoa::recorderEventFilter(const appkit::Event& event) {
  // The monitor holds the control weakly and hands the event over only while it lives; keep it alive
  // for the whole rule list, which may end recording on the way.
  auto keepAlive = shared_from_this();

  if (isMouseUp(event)) {
    const foundation::Point point = convertPointFromView(event.locationInWindow(), nullptr);
    const foundation::Rect b = bounds();
    const foundation::Rect near(b.minX() - kClickMargin, b.minY() - kClickMargin,
                                b.width() + 2 * kClickMargin, b.height() + 2 * kClickMargin);
    if (!near.contains(point)) {
      blur();
      return event;
    }
  }
  if (!event.isKeyEvent() || event.type() == appkit::EventType::flagsChanged) return std::nullopt;

  const auto modifiers = realModifiers(event);
  const auto specialKey = event.specialKey();
  if (modifiers.isEmpty() && specialKey == appkit::SpecialKey::tab) {
    blur();
    return event;
  }
  if (modifiers.isEmpty() && event.keyCode() == kEscapeKeyCode) {
    blur();
    return std::nullopt;
  }
  if (modifiers.isEmpty() && isDeletion(specialKey)) {
    if (auto cell = cancelButtonCell()) cell->performClick(this);
    return std::nullopt;
  }
  const bool isFunctionKey = specialKey && functionKeys().contains(*specialKey);
  if (modifiers.subtracting(appkit::ModifierFlags::shift).isEmpty() && !isFunctionKey) {
    appkit::beep();
    return std::nullopt;
  }
  const auto shortcut = Shortcut::fromEvent(event);
  if (!shortcut) {
    appkit::beep();
    return std::nullopt;
  }

  if (auto menu = appkit::mainMenu()) {
    if (auto item = findMenuConflict(*menu, *shortcut)) {
      blur();
      showConflictAlert(formatWithText(recorderText("keyboard_shortcut_used_by_menu_item"), item->title()),
                        std::nullopt);
      focusAgain();
      return std::nullopt;
    }
  }
  if (!(shortcut->carbonKeyCode == kF12KeyCode && shortcut->carbonModifiers == 0)) {
    const auto systemShortcuts = CarbonKeyboardShortcuts::systemHotKeyShortcuts();
    if (std::find(systemShortcuts.begin(), systemShortcuts.end(), *shortcut) != systemShortcuts.end()) {
      blur();
      showConflictAlert(recorderText("keyboard_shortcut_used_by_system"),
                        recorderText("keyboard_shortcuts_can_be_changed"));
      focusAgain();
      return std::nullopt;
    }
  }

  setStringValue(shortcut->description());
  setCancelButtonCell(cancelButton_);
  storeShortcut(*shortcut, shortcutName_);
  if (onChange_) onChange_(*shortcut);
  blur();
  return std::nullopt;
}

void RecorderCocoa::showConflictAlert(const std::string& message,
                                      const std::optional<std::string>& informativeText) {
  appkit::Alert alert;
  alert.setMessageText(message);
  if (informativeText) alert.setInformativeText(*informativeText);
  alert.setAlertStyle(appkit::AlertStyle::warning);
  alert.setIcon(std::nullopt);
  if (auto window = this->window()) {
    alert.beginSheetModal(window,
                          [](appkit::ModalResponse response) { appkit::stopModalWithCode(response); });
    appkit::runModalForWindow(*window);
  } else {
    alert.runModal();
  }
}

}  // namespace KeyboardShortcuts
