#include "KeyboardShortcuts/registry.h"

#include <algorithm>
#include <string>
#include <utility>

#include "KeyboardShortcuts/carbon_keyboard_shortcuts.h"
#include "platform/foundation/notification_center.h"
#include "platform/foundation/run_loop.h"  // assertMainThread
#include "platform/foundation/user_defaults.h"

namespace KeyboardShortcuts {
namespace {

struct PlainEntry {
  Name name;
  std::vector<Action> actions;  // in the order they were added
};

struct StreamEntry {
  Name name;
  std::vector<std::pair<foundation::UUID, Action>> actions;  // one per open stream
};

// Main-thread state (see registry.h). Names are kept in the order they first appeared, so dispatch
// visits them in a repeatable order.
struct Registry {
  std::unordered_set<Shortcut> registeredShortcuts;
  std::vector<PlainEntry> keyDownHandlers;
  std::vector<PlainEntry> keyUpHandlers;
  std::vector<StreamEntry> streamKeyDownHandlers;
  std::vector<StreamEntry> streamKeyUpHandlers;
  bool isPaused = false;
};

Registry& registry() {
  static Registry* instance = new Registry;  // lives for the whole process
  return *instance;
}

std::vector<PlainEntry>& plainTable(EventType type) {
  return type == EventType::keyDown ? registry().keyDownHandlers : registry().keyUpHandlers;
}

std::vector<StreamEntry>& streamTable(EventType type) {
  return type == EventType::keyDown ? registry().streamKeyDownHandlers : registry().streamKeyUpHandlers;
}

template <class Entry>
auto findEntry(std::vector<Entry>& table, const Name& name) {
  return std::find_if(table.begin(), table.end(), [&](const Entry& entry) { return entry.name == name; });
}

template <class Entry>
void collectNames(const std::vector<Entry>& table, std::vector<Name>& names) {
  for (const auto& entry : table) {
    if (std::find(names.begin(), names.end(), entry.name) == names.end()) names.push_back(entry.name);
  }
}

std::vector<Name> namesWithHandlers() {
  std::vector<Name> names;
  collectNames(registry().keyDownHandlers, names);
  collectNames(registry().keyUpHandlers, names);
  return names;
}

std::vector<Name> namesWithStreamHandlers() {
  std::vector<Name> names;
  collectNames(registry().streamKeyDownHandlers, names);
  collectNames(registry().streamKeyUpHandlers, names);
  return names;
}

// Whether a name other than `except` that has actions or streams stores `shortcut`: its hot key is then
// still needed when `except` stops using the shortcut.
bool isUsedByOtherName(const Shortcut& shortcut, const Name& except) {
  auto names = namesWithHandlers();
  collectNames(registry().streamKeyDownHandlers, names);
  collectNames(registry().streamKeyUpHandlers, names);
  return std::any_of(names.begin(), names.end(), [&](const Name& name) {
    return !(name == except) && readStoredShortcut(name) == shortcut;
  });
}

void addHandler(EventType type, const Name& name, Action action) {
  foundation::assertMainThread();
  auto& table = plainTable(type);
  auto entry = findEntry(table, name);
  if (entry == table.end()) {
    table.push_back({name, {}});
    entry = std::prev(table.end());
  }
  entry->actions.push_back(std::move(action));
  registerName(name);
}

}  // namespace

std::optional<Shortcut> readStoredShortcut(const Name& name) {
  const auto text = foundation::UserDefaults::standard()->stringForKey(name.storageKey());
  if (!text) return std::nullopt;
  return shortcutFromJsonText(*text);
}

void storeShortcut(const Shortcut& shortcut, const Name& name) {
  std::string text;
  try {
    text = jsonText(shortcut);
  } catch (const std::exception&) {
    return;
  }
  if (const auto old = readStoredShortcut(name); old && !isUsedByOtherName(*old, name)) {
    unregisterShortcut(*old);
  }
  registerShortcut(shortcut);
  foundation::UserDefaults::standard()->setObject(foundation::PlistValue(text), name.storageKey());
  postShortcutChange(name);
}

void setOrClearShortcut(const std::optional<Shortcut>& shortcut, const Name& name) {
  if (shortcut) {
    storeShortcut(*shortcut, name);
    return;
  }
  const auto old = readStoredShortcut(name);
  if (!old) return;
  foundation::UserDefaults::standard()->setObject(foundation::PlistValue(false), name.storageKey());
  if (!isUsedByOtherName(*old, name)) unregisterShortcut(*old);
  postShortcutChange(name);
}

void reset(const std::vector<Name>& names) {
  for (const auto& name : names) setOrClearShortcut(name.defaultShortcut, name);
}

void registerName(const Name& name) {
  if (const auto shortcut = readStoredShortcut(name)) registerShortcut(*shortcut);
}

void unregisterName(const Name& name) {
  if (const auto shortcut = readStoredShortcut(name)) unregisterShortcut(*shortcut);
}

void addKeyDownHandler(const Name& name, Action action) {
  addHandler(EventType::keyDown, name, std::move(action));
}

void addKeyUpHandler(const Name& name, Action action) {
  addHandler(EventType::keyUp, name, std::move(action));
}

void removeAllHandlers() {
  foundation::assertMainThread();
  auto shortcuts = shortcutsWithHandlers();
  shortcuts.merge(shortcutsWithStreamHandlers());
  for (const auto& shortcut : shortcuts) unregisterShortcut(shortcut);
  registry().keyDownHandlers.clear();
  registry().keyUpHandlers.clear();
}

bool isPaused() { return registry().isPaused; }

void setPaused(bool paused) { registry().isPaused = paused; }

void registerShortcut(const Shortcut& shortcut) {
  foundation::assertMainThread();
  auto& registered = registry().registeredShortcuts;
  if (registered.contains(shortcut)) return;
  const bool isAccepted = CarbonKeyboardShortcuts::installHotKey(
      shortcut, [](const Shortcut& pressed) { dispatchHotKey(pressed, EventType::keyDown); },
      [](const Shortcut& pressed) { dispatchHotKey(pressed, EventType::keyUp); });
  if (isAccepted) registered.insert(shortcut);
}

void unregisterShortcut(const Shortcut& shortcut) {
  foundation::assertMainThread();
  CarbonKeyboardShortcuts::removeHotKey(shortcut);
  registry().registeredShortcuts.erase(shortcut);
}

const std::unordered_set<Shortcut>& registeredShortcuts() { return registry().registeredShortcuts; }

std::vector<Shortcut> storedShortcuts(const std::vector<Name>& names) {
  std::vector<Shortcut> shortcuts;
  for (const auto& name : names) {
    if (auto shortcut = readStoredShortcut(name)) shortcuts.push_back(*shortcut);
  }
  return shortcuts;
}

std::unordered_set<Shortcut> shortcutsWithHandlers() {
  const auto shortcuts = storedShortcuts(namesWithHandlers());
  return {shortcuts.begin(), shortcuts.end()};
}

std::unordered_set<Shortcut> shortcutsWithStreamHandlers() {
  const auto shortcuts = storedShortcuts(namesWithStreamHandlers());
  return {shortcuts.begin(), shortcuts.end()};
}

void postShortcutChange(const Name& name) {
  foundation::NotificationCenter::defaultCenter().post(kShortcutByNameDidChange, nullptr,
                                                       foundation::UserInfo{{"name", name}});
}

void dispatchHotKey(const Shortcut& shortcut, EventType type) {
  foundation::assertMainThread();
  if (registry().isPaused) return;
  // Snapshots: an action may add or remove actions, streams or names while the tables are walked.
  const auto plain = plainTable(type);
  for (const auto& entry : plain) {
    if (readStoredShortcut(entry.name) != shortcut) continue;
    for (const auto& action : entry.actions) action();
  }
  const auto streams = streamTable(type);
  for (const auto& entry : streams) {
    if (readStoredShortcut(entry.name) != shortcut) continue;
    for (const auto& [id, action] : entry.actions) action();
  }
}

void addStreamHandler(EventType type, const Name& name, const foundation::UUID& id, Action action) {
  foundation::assertMainThread();
  auto& table = streamTable(type);
  auto entry = findEntry(table, name);
  if (entry == table.end()) {
    table.push_back({name, {}});
    entry = std::prev(table.end());
  }
  entry->actions.emplace_back(id, std::move(action));
}

void removeStreamHandler(EventType type, const Name& name, const foundation::UUID& id) {
  foundation::assertMainThread();
  auto& table = streamTable(type);
  const auto entry = findEntry(table, name);
  if (entry == table.end()) return;
  std::erase_if(entry->actions, [&](const auto& pair) { return pair.first == id; });
  if (entry->actions.empty()) table.erase(entry);
}

std::size_t streamHandlerCount(EventType type, const Name& name) {
  auto& table = streamTable(type);
  const auto entry = findEntry(table, name);
  return entry == table.end() ? 0 : entry->actions.size();
}

void unregisterNameIfUnused(const Name& name) {
  const auto shortcut = readStoredShortcut(name);
  if (!shortcut) return;
  if (shortcutsWithHandlers().contains(*shortcut) || shortcutsWithStreamHandlers().contains(*shortcut))
    return;
  unregisterShortcut(*shortcut);
}

namespace detail {

void resetRegistryForTesting() {
  auto& r = registry();
  r.registeredShortcuts.clear();
  r.keyDownHandlers.clear();
  r.keyUpHandlers.clear();
  r.streamKeyDownHandlers.clear();
  r.streamKeyUpHandlers.clear();
  r.isPaused = false;
  CarbonKeyboardShortcuts::resetForTesting();
}

}  // namespace detail
}  // namespace KeyboardShortcuts
