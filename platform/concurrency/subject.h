// Subjects: publishers that code sends values into by hand.
#pragma once

#include <cstdint>
#include <memory>
#include <mutex>
#include <optional>
#include <utility>
#include <vector>

#include "platform/concurrency/publisher.h"  // AnyPublisher, Subscriber, Completion

namespace concurrency {

namespace detail {

// The subscribers of a subject, its completion and (for a current-value subject) its value. Thread-safe:
// `mutex` guards the lists and the value; values are delivered outside it, on the sending thread, to the
// subscribers present when the send started. Concurrent sends may reach a subscriber in either order;
// callers that care about the order send from one thread.
template <class T>
struct SubjectState {
  std::mutex mutex;
  std::uint64_t nextId = 0;
  std::vector<std::pair<std::uint64_t, std::shared_ptr<GuardedSubscriber<T>>>> subscribers;
  std::optional<Completion> completion;
  std::optional<T> current;

  std::vector<std::shared_ptr<GuardedSubscriber<T>>> snapshot() {
    std::vector<std::shared_ptr<GuardedSubscriber<T>>> result;
    result.reserve(subscribers.size());
    for (auto& [id, subscriber] : subscribers) result.push_back(subscriber);
    return result;
  }

  void send(T value, bool keepAsCurrent) {
    std::vector<std::shared_ptr<GuardedSubscriber<T>>> targets;
    {
      std::lock_guard lock(mutex);
      if (completion) return;
      if (keepAsCurrent) current = value;
      targets = snapshot();
    }
    for (auto& target : targets) target->send(value);
  }

  void complete(Completion done) {
    std::vector<std::shared_ptr<GuardedSubscriber<T>>> targets;
    {
      std::lock_guard lock(mutex);
      if (completion) return;
      completion = done;
      targets = snapshot();
      subscribers.clear();
    }
    for (auto& target : targets) target->complete(done);
  }

  static AnyCancellable subscribe(const std::shared_ptr<SubjectState>& state, Subscriber<T> subscriber) {
    auto guarded = std::make_shared<GuardedSubscriber<T>>(std::move(subscriber));
    std::optional<Completion> ended;
    std::optional<T> initial;
    std::uint64_t id = 0;
    {
      std::lock_guard lock(state->mutex);
      ended = state->completion;
      if (!ended) {
        id = state->nextId++;
        state->subscribers.emplace_back(id, guarded);
        initial = state->current;
      }
    }
    if (ended) {
      guarded->complete(*ended);
      return AnyCancellable();
    }
    if (initial) guarded->send(std::move(*initial));
    std::weak_ptr<SubjectState> weak = state;
    return AnyCancellable([weak, guarded, id] {
      guarded->deactivate();
      if (auto state = weak.lock()) {
        std::lock_guard lock(state->mutex);
        std::erase_if(state->subscribers, [id](const auto& entry) { return entry.first == id; });
      }
    });
  }
};

// What both kinds of subject offer besides sending values. Copies share one subject.
template <class T>
class SubjectBase {
 public:
  // Ends the subject: its subscribers receive the completion, later subscribers receive it at once and
  // later sends are ignored.
  void send(Completion completion) const { state_->complete(std::move(completion)); }

  std::size_t subscriberCount() const {
    std::lock_guard lock(state_->mutex);
    return state_->subscribers.size();
  }

  AnyPublisher<T> eraseToAnyPublisher() const {
    auto state = state_;
    return AnyPublisher<T>([state](Subscriber<T> subscriber) {
      return SubjectState<T>::subscribe(state, std::move(subscriber));
    });
  }
  operator AnyPublisher<T>() const { return eraseToAnyPublisher(); }

  [[nodiscard]] AnyCancellable sink(std::function<void(T)> receiveValue) const {
    return eraseToAnyPublisher().sink(std::move(receiveValue));
  }

 protected:
  std::shared_ptr<SubjectState<T>> state_ = std::make_shared<SubjectState<T>>();
};

}  // namespace detail

// Passes each value sent to it to the subscribers present at that moment. Copies share one subject.
template <class T>
class PassthroughSubject : public detail::SubjectBase<T> {
 public:
  using detail::SubjectBase<T>::send;
  void send(T value) const { this->state_->send(std::move(value), false); }
};

// Holds a current value; a new subscriber receives it at once, then every later value. Copies share one
// subject.
template <class T>
class CurrentValueSubject : public detail::SubjectBase<T> {
 public:
  explicit CurrentValueSubject(T initial) { this->state_->current = std::move(initial); }

  T value() const {
    std::lock_guard lock(this->state_->mutex);
    return *this->state_->current;
  }
  using detail::SubjectBase<T>::send;
  // Makes `value` the current value and sends it to the subscribers (ignored once completed).
  void send(T value) const { this->state_->send(std::move(value), true); }
};

}  // namespace concurrency
