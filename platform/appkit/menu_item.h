// Menus and menu items as models: titles, key equivalents with their modifier masks, submenus.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/appkit/event.h"                   // ModifierFlags
#include "platform/foundation/associated_storage.h"  // values other code attaches to an item

namespace appkit {

class Menu;

// One item of a menu. A reference type, shared by the menu that shows it and whoever configures it;
// other code may attach values to it (its AssociatedStorage base). Touched on the main thread only.
class MenuItem : public foundation::AssociatedStorage {
 public:
  // An item with a title and a key equivalent; the modifier mask starts as Command, as the platform's
  // items do, and automatic key-equivalent localization starts on.
  explicit MenuItem(std::string title = {}, std::string keyEquivalent = {});

  const std::string& title() const { return title_; }
  void setTitle(std::string title) { title_ = std::move(title); }

  // The character (UTF-8) that, with the modifier mask, chooses the item from the keyboard; empty: none.
  // A capital letter means Shift as well.
  const std::string& keyEquivalent() const { return keyEquivalent_; }
  void setKeyEquivalent(std::string keyEquivalent) { keyEquivalent_ = std::move(keyEquivalent); }

  ModifierFlags keyEquivalentModifierMask() const { return keyEquivalentModifierMask_; }
  void setKeyEquivalentModifierMask(ModifierFlags mask) { keyEquivalentModifierMask_ = mask; }

  // Whether the system may remap the key equivalent for the user's keyboard layout.
  bool allowsAutomaticKeyEquivalentLocalization() const { return allowsAutomaticKeyEquivalentLocalization_; }
  void setAllowsAutomaticKeyEquivalentLocalization(bool allows) {
    allowsAutomaticKeyEquivalentLocalization_ = allows;
  }

  const std::shared_ptr<Menu>& submenu() const { return submenu_; }
  void setSubmenu(std::shared_ptr<Menu> submenu) { submenu_ = std::move(submenu); }
  bool hasSubmenu() const { return submenu_ != nullptr; }

  // A line between groups of items; it has no title and does nothing.
  static std::shared_ptr<MenuItem> separatorItem();
  bool isSeparatorItem() const { return isSeparator_; }

  // What choosing the item does; a disabled item, or one without an action, does nothing.
  void setAction(std::function<void()> action) { action_ = std::move(action); }
  bool hasAction() const { return static_cast<bool>(action_); }
  bool isEnabled() const { return isEnabled_; }
  void setEnabled(bool isEnabled) { isEnabled_ = isEnabled; }
  // Chooses the item as a person would; returns whether its action ran.
  bool performAction() const;

 private:
  std::string title_;
  std::string keyEquivalent_;
  ModifierFlags keyEquivalentModifierMask_ = ModifierFlags::command;
  bool allowsAutomaticKeyEquivalentLocalization_ = true;
  std::shared_ptr<Menu> submenu_;
  bool isSeparator_ = false;
  bool isEnabled_ = true;
  std::function<void()> action_;
};

// A menu: a title and items in order. Touched on the main thread only.
class Menu {
 public:
  explicit Menu(std::string title = {}) : title_(std::move(title)) {}

  const std::string& title() const { return title_; }
  const std::vector<std::shared_ptr<MenuItem>>& items() const { return items_; }

  // Appends an item (a null item is ignored) and returns it.
  std::shared_ptr<MenuItem> addItem(std::shared_ptr<MenuItem> item);
  // Makes, appends and returns an item.
  std::shared_ptr<MenuItem> addItem(std::string title, std::string keyEquivalent = {});
  // The first item with this title, searched in submenus too; null when there is none.
  std::shared_ptr<MenuItem> itemWithTitle(const std::string& title) const;

 private:
  std::string title_;
  std::vector<std::shared_ptr<MenuItem>> items_;
};

}  // namespace appkit
