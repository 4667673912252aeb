// Observing settings: change records, observation objects, lifetime ties and the per-thread switch that
// keeps a writer's own changes from waking observers.
#pragma once

#include <cstddef>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <set>
#include <string>
#include <type_traits>
#include <utility>
#include <vector>

#include "platform/foundation/associated_storage.h"
#include "platform/foundation/user_defaults.h"
#include "settings_store/key.h"

namespace Defaults {

// `initial`: deliver the current value once when observation starts. `prior`: also deliver a
// notification before each change. With both, `initial` wins and no prior notifications come.
enum class ObservationOption { initial, prior };
using ObservationOptions = std::set<ObservationOption>;

// The user-defaults options registered for a set of options: always new and old, plus initial, or
// else prior.
foundation::ObservingOptions platformObservingOptions(const ObservationOptions& options);

// One change of a setting as the suite reports it, values unconverted.
struct BaseChange {
  foundation::KeyValueChangeKind kind = foundation::KeyValueChangeKind::setting;
  std::optional<std::vector<std::size_t>> indexes;  // never present for a setting's single value
  bool isPrior = false;
  std::optional<PlistValue> newValue;
  std::optional<PlistValue> oldValue;

  static BaseChange from(const foundation::KeyValueChange& change);
  bool operator==(const BaseChange&) const = default;
};

// One change of a setting with typed values: a missing value, or one that does not convert, is the key's
// default.
template <Serializable Value>
struct KeyChange {
  foundation::KeyValueChangeKind kind = foundation::KeyValueChangeKind::setting;
  std::optional<std::vector<std::size_t>> indexes;
  bool isPrior = false;
  Value newValue;
  Value oldValue;

  KeyChange(const BaseChange& change, const std::function<Value()>& defaultValue)
      : kind(change.kind),
        indexes(change.indexes),
        isPrior(change.isPrior),
        newValue(typed(change.newValue, defaultValue)),
        oldValue(typed(change.oldValue, defaultValue)) {}

  bool operator==(const KeyChange&) const = default;

 private:
  static Value typed(const std::optional<PlistValue>& object, const std::function<Value()>& defaultValue) {
    if (object) {
      if (auto value = typedValue<Value>(*object)) return std::move(*value);
    }
    return defaultValue();
  }
};

class LifetimeAssociation;

// An active observation of one or more settings. It stops for good when asked, when released, or when
// it is tied to an owner and the owner is destroyed. Thread-safe: its state is guarded by a mutex, and
// the suite's observer registrations are removed outside it.
class Observation : public std::enable_shared_from_this<Observation> {
 public:
  virtual ~Observation();
  Observation(const Observation&) = delete;
  Observation& operator=(const Observation&) = delete;

  // Stops receiving changes for good; harmless when already stopped.
  virtual void stopObserving() = 0;
  // Ties the observation to `owner`: the owner keeps it alive and its destruction stops it. Replaces an
  // earlier tie. Returns the observation itself.
  std::shared_ptr<Observation> bindLifetime(foundation::AssociatedStorage& owner);
  // Undoes the tie without stopping the observation; it then lives as long as someone else holds it.
  void unbindLifetime();

 protected:
  Observation() = default;
  // Cancels the lifetime tie (used when stopping).
  void endLifetimeTie();

 private:
  std::mutex tieMutex_;  // guards lifetimeAssociation_
  std::shared_ptr<LifetimeAssociation> lifetimeAssociation_;
};

// Observes one key of one suite. The suite is held weakly: once it is gone nothing more is delivered.
class UserDefaultsKeyObservation : public Observation {
 public:
  using Callback = std::function<void(const BaseChange&)>;

  static std::shared_ptr<UserDefaultsKeyObservation> make(
      const std::shared_ptr<foundation::UserDefaults>& suite, std::string key, Callback callback);
  ~UserDefaultsKeyObservation() override;

  // Registers with the suite (when it still exists). With `initial` the current value is delivered
  // before this returns.
  void startObserving(const ObservationOptions& options);
  void stopObserving() override;

  const std::string& key() const { return key_; }

 private:
  struct Tag {};

 public:
  UserDefaultsKeyObservation(Tag, const std::shared_ptr<foundation::UserDefaults>& suite, std::string key,
                             Callback callback);

 private:
  std::mutex mutex_;  // guards object_ and token_
  std::weak_ptr<foundation::UserDefaults> object_;
  const std::string key_;
  const std::shared_ptr<const Callback> callback_;
  foundation::ObservationToken token_;
};

// Observes several (suite, key) pairs with one callback.
class CompositeUserDefaultsKeyObservation : public Observation {
 public:
  using Callback = std::function<void(const BaseChange&)>;
  struct SuiteKeyPair {
    std::weak_ptr<foundation::UserDefaults> suite;
    std::string key;
  };

  static std::shared_ptr<CompositeUserDefaultsKeyObservation> make(std::vector<SuiteKeyPair> observables,
                                                                   Callback callback);
  ~CompositeUserDefaultsKeyObservation() override;

  void startObserving(const ObservationOptions& options);
  void stopObserving() override;

 private:
  struct Tag {};

 public:
  CompositeUserDefaultsKeyObservation(Tag, std::vector<SuiteKeyPair> observables, Callback callback);

 private:
  std::mutex mutex_;  // guards observables_ and tokens_
  std::vector<SuiteKeyPair> observables_;
  const std::shared_ptr<const Callback> callback_;
  std::vector<foundation::ObservationToken> tokens_;
};

// Ties an observation to an owner: the owner's associated storage holds a tracker that keeps the
// observation alive and stops it when the owner is destroyed.
class LifetimeAssociation {
 public:
  LifetimeAssociation(std::shared_ptr<Observation> observation, foundation::AssociatedStorage& owner,
                      std::function<void()> deinitHandler);
  // A released association removes its tracker from the owner, as cancel() does.
  ~LifetimeAssociation();
  LifetimeAssociation(const LifetimeAssociation&) = delete;
  LifetimeAssociation& operator=(const LifetimeAssociation&) = delete;

  // The owner's destruction no longer stops the observation, and the owner no longer keeps it alive.
  void cancel();

  class ObjectLifetimeTracker;

 private:
  std::weak_ptr<ObjectLifetimeTracker> wrappedObject_;
  foundation::AssociatedStorage::WeakReference owner_;
};

// Runs `work` with observer callbacks switched off for changes written on this thread; other threads'
// writes still wake observers. The thread's previous setting is restored afterwards, also when `work`
// throws, so nested uses work.
void withCallbacksSuppressed(const std::function<void()>& work);
// Whether this thread is inside withCallbacksSuppressed.
bool areCallbacksSuppressed();

// Starts observing one key; the handler receives typed changes on the writing thread. Releasing the
// returned observation stops it.
template <Serializable Value>
std::shared_ptr<UserDefaultsKeyObservation> observeChanges(
    const Key<Value>& key, const ObservationOptions& options,
    std::type_identity_t<std::function<void(const KeyChange<Value>&)>> handler) {
  auto defaultValue = key.defaultValueGetter();
  auto observation = UserDefaultsKeyObservation::make(
      key.suite(), key.name(), [handler = std::move(handler), defaultValue](const BaseChange& change) {
        handler(KeyChange<Value>(change, defaultValue));
      });
  observation->startObserving(options);
  return observation;
}

// Starts observing several keys with one handler, which receives each change unconverted.
std::shared_ptr<CompositeUserDefaultsKeyObservation> observeChanges(
    const std::vector<std::reference_wrapper<const AnyKey>>& keys, const ObservationOptions& options,
    std::function<void(const BaseChange&)> handler);

}  // namespace Defaults
