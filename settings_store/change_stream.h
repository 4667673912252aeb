// Settings changes as asynchronous streams and as publishers.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <variant>
#include <vector>

#include "platform/concurrency/async_stream.h"
#include "platform/concurrency/publisher.h"
#include "settings_store/observation.h"

namespace Defaults {

// The value of one change of several settings: it only says that something changed.
using Changed = std::monostate;

// The setting's value after each change, in the order of the writes, none dropped or merged (the buffer
// has no limit). With `initial` the stream already holds the current value (or the default) when it is
// returned. A removed or unreadable value arrives as the key's default. The observation ends when the
// stream's consumer goes away (cancelled or released).
template <Serializable Value>
concurrency::AsyncStream<Value> changeStream(const Key<Value>& key, bool initial = true) {
  return concurrency::AsyncStream<Value>(
      [&](typename concurrency::AsyncStream<Value>::Continuation continuation) {
        auto defaultValue = key.defaultValueGetter();
        auto observation = UserDefaultsKeyObservation::make(
            key.suite(), key.name(), [continuation, defaultValue](const BaseChange& change) {
              continuation.yield(KeyChange<Value>(change, defaultValue).newValue);
            });
        observation->startObserving(initial ? ObservationOptions{ObservationOption::initial}
                                            : ObservationOptions{});
        continuation.setOnTermination(
            [observation](concurrency::StreamTermination) { observation->stopObserving(); });
      });
}

// One value per change of any of the keys. `initial` applies to the first key only, so it adds exactly
// one value at the start.
concurrency::AsyncStream<Changed> changeStream(const std::vector<std::reference_wrapper<const AnyKey>>& keys,
                                               bool initial = true);

// The untyped changes of one key of a suite. Each subscription observes from the moment it is made
// (with `initial`, the current value arrives at once on the subscribing thread); every change is
// forwarded, on the writing thread, until the subscription is cancelled.
struct DefaultsPublisher {
  std::shared_ptr<foundation::UserDefaults> suite;
  std::string key;
  ObservationOptions options;

  concurrency::AnyPublisher<BaseChange> eraseToAnyPublisher() const;
};

// Typed changes of one key.
template <Serializable Value>
concurrency::AnyPublisher<KeyChange<Value>> changePublisher(const Key<Value>& key,
                                                            const ObservationOptions& options = {}) {
  auto defaultValue = key.defaultValueGetter();
  return DefaultsPublisher{key.suite(), key.name(), options}.eraseToAnyPublisher().map(
      [defaultValue](const BaseChange& change) { return KeyChange<Value>(change, defaultValue); });
}

// One value per change of any of the keys (with `initial`, one per key at the start). With no keys it
// emits nothing and never completes.
concurrency::AnyPublisher<Changed> changePublisher(
    const std::vector<std::reference_wrapper<const AnyKey>>& keys, const ObservationOptions& options = {});

}  // namespace Defaults
