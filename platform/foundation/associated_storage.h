// Values attached to an owner object from outside, released when the owner is destroyed.
#pragma once

#include <functional>
#include <memory>

namespace foundation {

namespace detail {
struct AssociatedSlots;
}  // namespace detail

// The slots an owner object offers for values that other code attaches to it. An owner holds one (as a
// base class or a member); each slot is named by a key address, normally that of an `ObjectAssociation`.
// Attached values are held strongly and released when the storage is destroyed, after it has stopped
// accepting new values, so a value whose destruction reaches back to its owner finds it empty.
//
// Thread-safe: every slot access is serialised by a mutex inside the shared slot table; values are
// released outside that mutex.
class AssociatedStorage {
 public:
  AssociatedStorage();
  ~AssociatedStorage();
  AssociatedStorage(const AssociatedStorage&) = delete;
  AssociatedStorage& operator=(const AssociatedStorage&) = delete;

  std::shared_ptr<void> value(const void* key) const;
  // Attaches `value` under `key`, replacing what was there; a null value empties the slot.
  void setValue(const void* key, std::shared_ptr<void> value);
  // Replaces the value under `key` by what `change` makes of it, as one step that no other access of the
  // same storage interleaves with. `change` must not touch this storage.
  void updateValue(const void* key,
                   const std::function<std::shared_ptr<void>(std::shared_ptr<void>)>& change);

  class WeakReference;
  // A reference to this storage that does not keep its values alive once the owner is gone.
  WeakReference weakReference() const;

 private:
  std::shared_ptr<detail::AssociatedSlots> slots_;
};

// Reaches an owner's storage while the owner lives; once it is destroyed every access does nothing.
class AssociatedStorage::WeakReference {
 public:
  WeakReference() = default;

  bool isAlive() const;
  std::shared_ptr<void> value(const void* key) const;
  // False (and `change` not called) when the owner is gone.
  bool updateValue(const void* key,
                   const std::function<std::shared_ptr<void>(std::shared_ptr<void>)>& change) const;
  void reset() { slots_.reset(); }

 private:
  friend class AssociatedStorage;
  explicit WeakReference(std::weak_ptr<detail::AssociatedSlots> slots) : slots_(std::move(slots)) {}
  std::weak_ptr<detail::AssociatedSlots> slots_;
};

// A typed slot of every owner's storage. The association's own address is the slot's key, so two
// associations never share a slot.
template <class T>
class ObjectAssociation {
 public:
  ObjectAssociation() = default;
  ObjectAssociation(const ObjectAssociation&) = delete;
  ObjectAssociation& operator=(const ObjectAssociation&) = delete;

  std::shared_ptr<T> get(const AssociatedStorage& owner) const {
    return std::static_pointer_cast<T>(owner.value(this));
  }
  // Attaches `value` to the owner (retained); a null value removes the attachment.
  void set(AssociatedStorage& owner, std::shared_ptr<T> value) const {
    owner.setValue(this, std::move(value));
  }
  const void* key() const { return this; }
};

}  // namespace foundation
