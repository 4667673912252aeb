#include "settings_store/change_stream.h"

namespace Defaults {

concurrency::AsyncStream<Changed> changeStream(const std::vector<std::reference_wrapper<const AnyKey>>& keys,
                                               bool initial) {
  return concurrency::AsyncStream<Changed>([&](concurrency::AsyncStream<Changed>::Continuation continuation) {
    std::vector<std::shared_ptr<UserDefaultsKeyObservation>> observations;
    for (const AnyKey& key : keys) {
      auto observation = UserDefaultsKeyObservation::make(
          key.suite(), key.name(), [continuation](const BaseChange&) { continuation.yield(Changed{}); });
      const bool isFirst = observations.empty();
      observation->startObserving(initial && isFirst ? ObservationOptions{ObservationOption::initial}
                                                     : ObservationOptions{});
      observations.push_back(std::move(observation));
    }
    continuation.setOnTermination([observations](concurrency::StreamTermination) {
      for (const auto& observation : observations) observation->stopObserving();
    });
  });
}

concurrency::AnyPublisher<BaseChange> DefaultsPublisher::eraseToAnyPublisher() const {
  return concurrency::AnyPublisher<BaseChange>::fromSubscription(
      [suite = suite, key = key, options = options](concurrency::Subscriber<BaseChange> subscriber) {
        auto observation = UserDefaultsKeyObservation::make(
            suite, key, [subscriber](const BaseChange& change) { subscriber.send(change); });
        observation->startObserving(options);
        return std::function<void()>([observation] { observation->stopObserving(); });
      });
}

concurrency::AnyPublisher<Changed> changePublisher(
    const std::vector<std::reference_wrapper<const AnyKey>>& keys, const ObservationOptions& options) {
  std::vector<concurrency::AnyPublisher<Changed>> publishers;
  for (const AnyKey& key : keys) {
    publishers.push_back(DefaultsPublisher{key.suite(), key.name(), options}.eraseToAnyPublisher().map(
        [](const BaseChange&) { return Changed{}; }));
  }
  return concurrency::AnyPublisher<Changed>::mergeAll(std::move(publishers));
}

}  // namespace Defaults
