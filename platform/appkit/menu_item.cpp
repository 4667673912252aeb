#include "platform/appkit/menu_item.h"

#include <utility>

namespace appkit {

MenuItem::MenuItem(std::string title, std::string keyEquivalent)
    : title_(std::move(title)), keyEquivalent_(std::move(keyEquivalent)) {}

std::shared_ptr<MenuItem> Menu::addItem(std::shared_ptr<MenuItem> item) {
  if (item) items_.push_back(item);
  return item;
}

std::shared_ptr<MenuItem> Menu::addItem(std::string title, std::string keyEquivalent) {
  return addItem(std::make_shared<MenuItem>(std::move(title), std::move(keyEquivalent)));
}

}  // namespace appkit
