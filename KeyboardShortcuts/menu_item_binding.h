// Menu items that always show a name's current shortcut as their key equivalent.
#pragma once

#include <memory>
#include <optional>

#include "KeyboardShortcuts/name.h"
#include "platform/appkit/menu_item.h"
#include "platform/foundation/associated_storage.h"

namespace KeyboardShortcuts {

// How an associated value is held, with the platform's raw values.
enum class AssociationPolicy { assign, retainNonatomic, copyNonatomic, retain, copy };
constexpr int rawValue(AssociationPolicy policy) {
  switch (policy) {
    case AssociationPolicy::assign:
      return 0;
    case AssociationPolicy::retainNonatomic:
      return 1;
    case AssociationPolicy::copyNonatomic:
      return 3;
    case AssociationPolicy::retain:
      return 0x301;
    case AssociationPolicy::copy:
      return 0x303;
  }
  return 0;
}

// A value stored on any object that offers associated storage, keyed by this association. The storage
// holds its values strongly; the policy is kept as data.
template <class T>
class ObjectAssociation {
 public:
  explicit ObjectAssociation(AssociationPolicy policy = AssociationPolicy::retainNonatomic)
      : policy(policy) {}

  const AssociationPolicy policy;

  std::shared_ptr<T> get(const foundation::AssociatedStorage& object) const { return slot_.get(object); }
  // Stores the value on the object; none removes it.
  void set(foundation::AssociatedStorage& object, std::shared_ptr<T> value) const {
    slot_.set(object, std::move(value));
  }

 private:
  foundation::ObjectAssociation<T> slot_;
};

// Binds the item to the name: it shows the name's shortcut now and follows every later change of it
// (the change notification); a change of another name leaves it alone. Binding to none clears the key
// equivalent (empty, no modifiers, automatic localisation on) and ends the earlier binding, as does
// binding to another name. For the main thread.
void bindShortcut(const std::shared_ptr<appkit::MenuItem>& item, const std::optional<Name>& name);

// Shows a shortcut on the item (its menu key equivalent and modifiers, automatic localisation off), or
// none (empty key equivalent, no modifiers, automatic localisation on). Called off the main thread, the
// change is made on the main queue.
void applyShortcut(const std::shared_ptr<appkit::MenuItem>& item, const std::optional<Shortcut>& shortcut);

}  // namespace KeyboardShortcuts
