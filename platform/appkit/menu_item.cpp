#include "platform/appkit/menu_item.h"

#include <utility>

namespace appkit {

MenuItem::MenuItem(std::string title, std::string keyEquivalent)
    : title_(std::move(title)), keyEquivalent_(std::move(keyEquivalent)) {}

std::shared_ptr<MenuItem> MenuItem::separatorItem() {
  auto item = std::make_shared<MenuItem>();
  item->isSeparator_ = true;
  return item;
}

bool MenuItem::performAction() const {
  if (!isEnabled_ || !action_ || isSeparator_) return false;
  auto action = action_;  // a copy: the action may rebuild the menu that holds this item
  action();
  return true;
}

std::shared_ptr<MenuItem> Menu::addItem(std::shared_ptr<MenuItem> item) {
  if (item) items_.push_back(item);
  return item;
}

std::shared_ptr<MenuItem> Menu::addItem(std::string title, std::string keyEquivalent) {
  return addItem(std::make_shared<MenuItem>(std::move(title), std::move(keyEquivalent)));
}

std::shared_ptr<MenuItem> Menu::itemWithTitle(const std::string& title) const {
  for (const auto& item : items_) {
    if (item->title() == title && !item->isSeparatorItem()) return item;
    if (item->submenu()) {
      if (auto found = item->submenu()->itemWithTitle(title)) return found;
    }
  }
  return nullptr;
}

}  // namespace appkit
