#include "KeyboardShortcuts/menu_item_binding.h"

#include "KeyboardShortcuts/registry.h"
#include "platform/foundation/notification_center.h"
#include "platform/foundation/run_loop.h"

namespace KeyboardShortcuts {
namespace {

// Holds each bound item's observation of the change notification; replacing or removing it ends that
// observation.
const ObjectAssociation<foundation::ObserverToken>& observationAssociation() {
  static const ObjectAssociation<foundation::ObserverToken> association(AssociationPolicy::retainNonatomic);
  return association;
}

void showShortcut(appkit::MenuItem& item, const std::optional<Shortcut>& shortcut) {
  if (shortcut) {
    item.setKeyEquivalent(shortcut->menuKeyEquivalent());
    item.setKeyEquivalentModifierMask(shortcut->modifiers());
    item.setAllowsAutomaticKeyEquivalentLocalization(false);
  } else {
    item.setKeyEquivalent({});
    item.setKeyEquivalentModifierMask({});
    item.setAllowsAutomaticKeyEquivalentLocalization(true);
  }
}

}  // namespace

void applyShortcut(const std::shared_ptr<appkit::MenuItem>& item, const std::optional<Shortcut>& shortcut) {
  if (!item) return;
  // Menu items belong to the main thread: a change announced elsewhere reaches the item a moment later.
  if (!foundation::isMainThread()) {
    std::weak_ptr<appkit::MenuItem> weakItem = item;
    foundation::RunLoop::main().async([weakItem, shortcut] {
      if (auto item = weakItem.lock()) showShortcut(*item, shortcut);
    });
    return;
  }
  showShortcut(*item, shortcut);
}

void bindShortcut(const std::shared_ptr<appkit::MenuItem>& item, const std::optional<Name>& name) {
  if (!item) return;
  if (!name) {
    showShortcut(*item, std::nullopt);
    observationAssociation().set(*item, nullptr);
    return;
  }
  applyShortcut(item, readStoredShortcut(*name));
  // The observation belongs to the item, so it holds the item weakly.
  std::weak_ptr<appkit::MenuItem> weakItem = item;
  auto token = foundation::NotificationCenter::defaultCenter().addObserver(
      kShortcutByNameDidChange, nullptr, nullptr,
      [weakItem, boundName = *name](const foundation::Notification& notification) {
        const auto changed = notification.userInfoValue<Name>("name");
        if (!changed || changed->rawValue != boundName.rawValue) return;
        if (auto item = weakItem.lock()) applyShortcut(item, readStoredShortcut(boundName));
      });
  observationAssociation().set(*item, std::make_shared<foundation::ObserverToken>(std::move(token)));
}

}  // namespace KeyboardShortcuts
