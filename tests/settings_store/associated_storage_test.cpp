// Values attached to owner objects: kept while the owner lives, released with it.
#include "platform/foundation/associated_storage.h"

#include <gtest/gtest.h>

#include <thread>

namespace {

using foundation::AssociatedStorage;
using foundation::ObjectAssociation;

struct Owner : AssociatedStorage {};

// Counts its own destruction and, when asked, reaches back to the owner it is attached to.
struct Attachment {
  explicit Attachment(int* destroyed, AssociatedStorage::WeakReference owner = {}, const void* key = nullptr,
                      bool* ownerLookedEmpty = nullptr)
      : destroyed(destroyed), owner(std::move(owner)), key(key), ownerLookedEmpty(ownerLookedEmpty) {}
  int* destroyed;
  AssociatedStorage::WeakReference owner;
  const void* key;
  bool* ownerLookedEmpty;
  ~Attachment() {
    ++*destroyed;
    if (ownerLookedEmpty) *ownerLookedEmpty = owner.value(key) == nullptr && !owner.isAlive();
  }
};

TEST(AssociatedStorage, KeepsValuesPerAssociationUntilTheOwnerGoes) {
  static const ObjectAssociation<Attachment> first;
  static const ObjectAssociation<Attachment> second;
  int destroyed = 0;
  auto owner = std::make_unique<Owner>();
  first.set(*owner, std::make_shared<Attachment>(&destroyed));
  second.set(*owner, std::make_shared<Attachment>(&destroyed));
  EXPECT_NE(first.get(*owner), second.get(*owner));
  first.set(*owner, nullptr);  // removing releases at once
  EXPECT_EQ(destroyed, 1);
  EXPECT_EQ(first.get(*owner), nullptr);
  owner.reset();
  EXPECT_EQ(destroyed, 2);
}

TEST(AssociatedStorage, ReplacingReleasesTheEarlierValue) {
  static const ObjectAssociation<Attachment> slot;
  int destroyed = 0;
  Owner owner;
  slot.set(owner, std::make_shared<Attachment>(&destroyed));
  slot.set(owner, std::make_shared<Attachment>(&destroyed));
  EXPECT_EQ(destroyed, 1);
}

TEST(AssociatedStorage, ValuesReleasedWithTheOwnerFindItClosed) {
  static const ObjectAssociation<Attachment> slot;
  int destroyed = 0;
  bool ownerLookedEmpty = false;
  auto owner = std::make_unique<Owner>();
  slot.set(*owner,
           std::make_shared<Attachment>(&destroyed, owner->weakReference(), slot.key(), &ownerLookedEmpty));
  auto weak = owner->weakReference();
  EXPECT_TRUE(weak.isAlive());
  owner.reset();
  EXPECT_EQ(destroyed, 1);
  EXPECT_TRUE(ownerLookedEmpty);
  EXPECT_FALSE(weak.isAlive());
  EXPECT_FALSE(weak.updateValue(slot.key(), [](std::shared_ptr<void> previous) { return previous; }));
}

TEST(AssociatedStorage, UpdatesFromTwoThreadsAreNotLost) {
  static const ObjectAssociation<int> counter;
  Owner owner;
  auto addOnes = [&] {
    for (int i = 0; i < 500; ++i) {
      owner.updateValue(counter.key(), [](std::shared_ptr<void> previous) {
        const int current = previous ? *std::static_pointer_cast<int>(previous) : 0;
        return std::make_shared<int>(current + 1);
      });
    }
  };
  std::thread a(addOnes);
  std::thread b(addOnes);
  a.join();
  b.join();
  EXPECT_EQ(*counter.get(owner), 1000);
}

}  // namespace
