// Publishers: values over time pushed to subscribers, with the few operators the program uses.
#pragma once

#include <exception>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <type_traits>
#include <utility>
#include <vector>

#include "platform/concurrency/cancellable.h"  // AnyCancellable
#include "platform/foundation/clock.h"         // Duration
#include "platform/foundation/run_loop.h"      // RunLoop

namespace concurrency {

// How a publisher ended: normally (no failure) or with a failure.
struct Completion {
  std::exception_ptr failure;
  bool isFinished() const { return failure == nullptr; }
  static Completion finished() { return {}; }
};

// The receiving end of a subscription. Either callback may be empty.
template <class T>
struct Subscriber {
  std::function<void(T)> receiveValue;
  std::function<void(Completion)> receiveCompletion;

  void send(T value) const {
    if (receiveValue) receiveValue(std::move(value));
  }
  void complete(Completion completion) const {
    if (receiveCompletion) receiveCompletion(std::move(completion));
  }
};

template <class T>
class AnyPublisher;

namespace detail {

// Wraps a subscriber so that nothing reaches it after the subscription is cancelled or completed; the
// flag is guarded by a mutex (a delivery that has already started on another thread still completes).
template <class T>
class GuardedSubscriber {
 public:
  explicit GuardedSubscriber(Subscriber<T> subscriber) : subscriber_(std::move(subscriber)) {}
  void send(T value) {
    std::function<void(T)> receive;
    {
      std::lock_guard lock(mutex_);
      if (!isActive_) return;
      receive = subscriber_.receiveValue;
    }
    if (receive) receive(std::move(value));
  }
  void complete(Completion completion) {
    std::function<void(Completion)> receive;
    {
      std::lock_guard lock(mutex_);
      if (!isActive_) return;
      isActive_ = false;
      receive = std::move(subscriber_.receiveCompletion);
      subscriber_ = {};
    }
    if (receive) receive(std::move(completion));
  }
  void deactivate() {
    Subscriber<T> released;
    std::lock_guard lock(mutex_);
    isActive_ = false;
    released = std::move(subscriber_);
    subscriber_ = {};
  }

 private:
  std::mutex mutex_;
  bool isActive_ = true;
  Subscriber<T> subscriber_;
};

template <class T>
Subscriber<T> forwardingTo(const std::shared_ptr<GuardedSubscriber<T>>& guarded) {
  return {[guarded](T value) { guarded->send(std::move(value)); },
          [guarded](Completion completion) { guarded->complete(std::move(completion)); }};
}

}  // namespace detail

// A type-erased publisher: a function that, given a subscriber, starts delivering to it and returns the
// handle that stops the delivery. Copies are cheap and share nothing but that function. Values reach the
// subscriber on the thread that produced them unless an operator (debounce, receiveOn) moves them.
template <class T>
class AnyPublisher {
 public:
  using Output = T;
  using SubscribeFunction = std::function<AnyCancellable(Subscriber<T>)>;

  // A publisher that never emits and never completes.
  AnyPublisher() : subscribe_([](Subscriber<T>) { return AnyCancellable(); }) {}
  explicit AnyPublisher(SubscribeFunction subscribe) : subscribe_(std::move(subscribe)) {}

  // A publisher over a custom subscription: `start` is called on every subscribe with the subscriber
  // (which it may call at once, on the subscribing thread, or later from any thread) and returns the
  // closure that stops the subscription. Nothing reaches the subscriber after cancelling or completing.
  static AnyPublisher fromSubscription(std::function<std::function<void()>(Subscriber<T>)> start) {
    return AnyPublisher([start = std::move(start)](Subscriber<T> subscriber) {
      auto guarded = std::make_shared<detail::GuardedSubscriber<T>>(std::move(subscriber));
      auto stop = start(detail::forwardingTo(guarded));
      return AnyCancellable([guarded, stop = std::move(stop)] {
        guarded->deactivate();
        if (stop) stop();
      });
    });
  }

  AnyCancellable subscribe(Subscriber<T> subscriber) const { return subscribe_(std::move(subscriber)); }

  // Receives every value (and ignores the completion) until the returned handle is cancelled or released.
  [[nodiscard]] AnyCancellable sink(std::function<void(T)> receiveValue) const {
    return sink({}, std::move(receiveValue));
  }
  [[nodiscard]] AnyCancellable sink(std::function<void(Completion)> receiveCompletion,
                                    std::function<void(T)> receiveValue) const {
    auto guarded = std::make_shared<detail::GuardedSubscriber<T>>(
        Subscriber<T>{std::move(receiveValue), std::move(receiveCompletion)});
    auto upstream = subscribe_(detail::forwardingTo(guarded));
    return AnyCancellable([guarded, upstream] {
      guarded->deactivate();
      upstream.cancel();
    });
  }

  // Each value transformed by `transform`.
  template <class F>
  auto map(F transform) const -> AnyPublisher<std::decay_t<std::invoke_result_t<F&, T>>> {
    using U = std::decay_t<std::invoke_result_t<F&, T>>;
    auto upstream = subscribe_;
    return AnyPublisher<U>([upstream, transform](Subscriber<U> downstream) {
      return upstream(Subscriber<T>{
          [downstream, transform](T value) mutable { downstream.send(transform(std::move(value))); },
          [downstream](Completion completion) { downstream.complete(completion); }});
    });
  }

  // Values equal to the one before them (by `isDuplicate`) are dropped.
  AnyPublisher removeDuplicates(std::function<bool(const T&, const T&)> isDuplicate) const {
    auto upstream = subscribe_;
    return AnyPublisher([upstream, isDuplicate](Subscriber<T> downstream) {
      // The last value is guarded by a mutex: a publisher may emit from several threads.
      struct Last {
        std::mutex mutex;
        std::optional<T> value;
      };
      auto last = std::make_shared<Last>();
      return upstream(
          Subscriber<T>{[downstream, isDuplicate, last](T value) {
                          {
                            std::lock_guard lock(last->mutex);
                            if (last->value && isDuplicate(*last->value, value)) return;
                            last->value = value;
                          }
                          downstream.send(std::move(value));
                        },
                        [downstream](Completion completion) { downstream.complete(completion); }});
    });
  }
  AnyPublisher removeDuplicates() const {
    return removeDuplicates([](const T& a, const T& b) { return a == b; });
  }

  // Publishes a value only once `quietTime` of the current clock has passed without a newer one; the
  // value is delivered on `loop` (the main queue by default). A completion delivers the pending value at
  // once, then the completion, both on `loop`.
  AnyPublisher debounce(foundation::Duration quietTime,
                        foundation::RunLoop& loop = foundation::RunLoop::main()) const {
    auto upstream = subscribe_;
    foundation::RunLoop* target = &loop;
    return AnyPublisher([upstream, quietTime, target](Subscriber<T> downstream) {
      // The pending value and its generation are guarded by a mutex: values arrive on any thread, the
      // delivery runs on the loop.
      struct Pending {
        std::mutex mutex;
        std::uint64_t generation = 0;
        std::optional<T> value;
        bool isCancelled = false;
      };
      auto pending = std::make_shared<Pending>();
      auto takeIfCurrent = [pending](std::optional<std::uint64_t> generation) -> std::optional<T> {
        std::lock_guard lock(pending->mutex);
        if (pending->isCancelled) return std::nullopt;
        if (generation && *generation != pending->generation) return std::nullopt;
        return std::exchange(pending->value, std::nullopt);
      };
      auto upstreamCancellable =
          upstream(Subscriber<T>{[pending, target, quietTime, downstream, takeIfCurrent](T value) {
                                   std::uint64_t generation;
                                   {
                                     std::lock_guard lock(pending->mutex);
                                     if (pending->isCancelled) return;
                                     generation = ++pending->generation;
                                     pending->value = std::move(value);
                                   }
                                   target->asyncAfter(quietTime, [downstream, takeIfCurrent, generation] {
                                     if (auto value = takeIfCurrent(generation))
                                       downstream.send(std::move(*value));
                                   });
                                 },
                                 [target, downstream, takeIfCurrent, pending](Completion completion) {
                                   target->async([downstream, takeIfCurrent, completion, pending] {
                                     if (auto value = takeIfCurrent(std::nullopt))
                                       downstream.send(std::move(*value));
                                     {
                                       std::lock_guard lock(pending->mutex);
                                       if (pending->isCancelled) return;
                                     }
                                     downstream.complete(completion);
                                   });
                                 }});
      return AnyCancellable([pending, upstreamCancellable] {
        {
          std::lock_guard lock(pending->mutex);
          pending->isCancelled = true;
          pending->value.reset();
        }
        upstreamCancellable.cancel();
      });
    });
  }

  // Every value (and the completion) delivered on `loop`, in order.
  AnyPublisher receiveOn(foundation::RunLoop& loop) const {
    auto upstream = subscribe_;
    foundation::RunLoop* target = &loop;
    return AnyPublisher([upstream, target](Subscriber<T> downstream) {
      auto guarded = std::make_shared<detail::GuardedSubscriber<T>>(std::move(downstream));
      auto upstreamCancellable = upstream(Subscriber<T>{
          [target, guarded](T value) {
            target->async([guarded, value = std::move(value)]() mutable { guarded->send(std::move(value)); });
          },
          [target, guarded](Completion completion) {
            target->async([guarded, completion] { guarded->complete(completion); });
          }});
      return AnyCancellable([guarded, upstreamCancellable] {
        guarded->deactivate();
        upstreamCancellable.cancel();
      });
    });
  }

  // The values of this publisher and `other` as they come; finishes when both have finished, fails with
  // the first failure.
  AnyPublisher merge(const AnyPublisher& other) const { return mergeAll({*this, other}); }

  // The values of all `publishers` as they come (nothing, and never completing, for an empty list).
  static AnyPublisher mergeAll(std::vector<AnyPublisher> publishers) {
    if (publishers.empty()) return AnyPublisher();
    return AnyPublisher([publishers](Subscriber<T> downstream) {
      auto guarded = std::make_shared<detail::GuardedSubscriber<T>>(std::move(downstream));
      // How many upstreams are still running; guarded by a mutex as they may finish on different threads.
      struct Remaining {
        std::mutex mutex;
        std::size_t count;
      };
      auto remaining = std::make_shared<Remaining>();
      remaining->count = publishers.size();
      std::vector<AnyCancellable> upstreams;
      for (const auto& publisher : publishers) {
        upstreams.push_back(
            publisher.subscribe(Subscriber<T>{[guarded](T value) { guarded->send(std::move(value)); },
                                              [guarded, remaining](Completion completion) {
                                                if (completion.isFinished()) {
                                                  std::lock_guard lock(remaining->mutex);
                                                  if (--remaining->count > 0) return;
                                                }
                                                guarded->complete(completion);
                                              }}));
      }
      return AnyCancellable([guarded, upstreams] {
        guarded->deactivate();
        for (const auto& upstream : upstreams) upstream.cancel();
      });
    });
  }

  AnyPublisher eraseToAnyPublisher() const { return *this; }

 private:
  SubscribeFunction subscribe_;
};

// A publisher that emits nothing; it finishes at once on subscribe, or never when asked.
template <class T>
class Empty : public AnyPublisher<T> {
 public:
  explicit Empty(bool completeImmediately = true)
      : AnyPublisher<T>([completeImmediately](Subscriber<T> subscriber) {
          if (completeImmediately) subscriber.complete(Completion::finished());
          return AnyCancellable();
        }) {}
};

}  // namespace concurrency
