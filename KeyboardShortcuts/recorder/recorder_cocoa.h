// The shortcut recorder control: a small centred search field that shows a name's shortcut, records a
// new one from the next key press once it has keyboard focus, refuses combinations the main menu or the
// system already uses, and clears the shortcut with its clear button or Delete. Dispatch of hot keys is
// paused while it records.
#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "KeyboardShortcuts/name.h"
#include "KeyboardShortcuts/shortcut.h"
#include "platform/appkit/event.h"
#include "platform/appkit/event_monitor.h"
#include "platform/appkit/menu_item.h"
#include "platform/appkit/search_field.h"
#include "platform/foundation/notification_center.h"

namespace KeyboardShortcuts {

// A local event monitor owned by whoever made it: start() installs it, destruction removes it.
class LocalEventMonitor {
 public:
  LocalEventMonitor(appkit::EventTypeMask events, appkit::LocalEventHandler callback)
      : events(events), callback(std::move(callback)) {}
  ~LocalEventMonitor() { stop(); }
  LocalEventMonitor(const LocalEventMonitor&) = delete;
  LocalEventMonitor& operator=(const LocalEventMonitor&) = delete;

  // Installs the callback for the events (again: after removing the earlier installation).
  void start();
  // Removes the installation, if the platform still has it.
  void stop();

  const appkit::EventTypeMask events;
  const appkit::LocalEventHandler callback;

 private:
  std::weak_ptr<appkit::LocalEventMonitorObject> monitor_;
};

// Told of every shortcut the control stores (the shortcut) or clears (nothing).
using RecorderChangeAction = std::function<void(const std::optional<Shortcut>&)>;

// Main thread only, like every view.
class RecorderCocoa final : public appkit::SearchField, public appkit::TextFieldDelegate {
  struct Token {};

 public:
  // Key down, left mouse up and right mouse up.
  static constexpr appkit::EventTypeMask kRecordedEvents{1044};
  // Clicks this close to the control count as clicks on it.
  static constexpr double kClickMargin = 3;

  // A control for the name showing its stored shortcut, observing changes of the name's shortcut.
  static std::shared_ptr<RecorderCocoa> make(Name name, RecorderChangeAction onChange = {});
  RecorderCocoa(Token, Name name, RecorderChangeAction onChange);
  // A control destroyed while recording ends the pause it started.
  ~RecorderCocoa() override;

  const Name& shortcutName() const { return shortcutName_; }
  // Another name shows that name's stored shortcut.
  void setShortcutName(Name name);

  // Whether the control is recording (its event monitor is installed).
  bool isRecording() const { return eventMonitor_ != nullptr; }

  // The width the control asks for: minimumWidth; the height a search field asks for.
  foundation::Size intrinsicContentSize() const override;
  // Joins the window's key-view loop only from the main-queue turn after it was put into a window, and
  // only while enabled.
  bool canBecomeKeyView() const override { return canBecomeKey_ && isEnabled(); }
  void viewDidMoveToWindow() override;
  // Starts recording.
  bool becomeFirstResponder() override;

  // The text was cleared by a person (clear button or Delete): clears the shortcut and records anew.
  void controlTextDidChange(appkit::TextField& field) override;
  // Recording ended.
  void controlTextDidEndEditing(appkit::TextField& field) override;

  // What the control does with an event while recording: the event to let through, or nothing to
  // swallow it.
  std::optional<appkit::Event> recorderEventFilter(const appkit::Event& event);

  static constexpr double kMinimumWidth = 130;
  const double minimumWidth = kMinimumWidth;

 private:
  void showStoredShortcut();
  void showClearButtonWhenNotEmpty();
  // Gives up keyboard focus (ends recording).
  void blur();
  void focusAgain();
  void showConflictAlert(const std::string& message, const std::optional<std::string>& informativeText);

  std::unique_ptr<LocalEventMonitor> eventMonitor_;
  RecorderChangeAction onChange_;
  foundation::ObserverToken observer_;
  bool canBecomeKey_ = false;
  Name shortcutName_;
  std::shared_ptr<appkit::ButtonCell> cancelButton_;
};

// The first item of the menu tree (depth first, in item order) whose key equivalent and modifier mask
// are the shortcut's, or null. A capital-letter key equivalent means Shift.
std::shared_ptr<appkit::MenuItem> findMenuConflict(const appkit::Menu& menu, const Shortcut& shortcut);

// The recorder's text for a key of its string table ("KeyboardShortcuts.bundle"); the key itself when the
// table or the entry is missing.
std::string recorderText(const std::string& key);

// A string-table format with one text argument: the first "%@" (or "%1$@") becomes the argument, "%%"
// becomes "%"; everything else is kept as it stands.
std::string formatWithText(const std::string& format, const std::string& argument);

}  // namespace KeyboardShortcuts
