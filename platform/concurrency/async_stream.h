// Asynchronous streams: thread-safe unbounded channels from one producer to their consumers.
#pragma once

#include <atomic>
#include <condition_variable>
#include <deque>
#include <exception>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <stop_token>
#include <utility>
#include <variant>

#include "platform/concurrency/cancellable.h"  // AnyCancellable
#include "platform/concurrency/task.h"         // currentStopToken, detail::postToMain

namespace concurrency {

// Why a stream ended: the producer finished it (normally or with a failure), or its consumer went away
// (the consuming task was cancelled, the consumer cancelled, or the last consumer handle was released).
enum class StreamTermination { finished, cancelled };

// What became of a yielded value: buffered for the consumer, or dropped because the stream has ended.
enum class YieldResult { enqueued, terminated };

namespace detail {

// The channel shared by both ends. Thread-safe: `mutex_` guards the buffer, the end state and the
// handlers; handlers run outside it, on the thread that caused them.
template <class T>
class StreamChannel {
 public:
  YieldResult yield(T value) {
    std::function<void()> notify;
    {
      std::lock_guard lock(mutex_);
      if (isTerminated_) return YieldResult::terminated;
      buffer_.push_back(std::move(value));
      notify = onAvailable_;
    }
    available_.notify_all();
    if (notify) notify();
    return YieldResult::enqueued;
  }

  // Ends the stream from the producer's side; buffered values are still delivered, then the end (or the
  // failure). A second finish, or a finish after cancellation, does nothing.
  void finish(std::exception_ptr failure) { terminate(StreamTermination::finished, std::move(failure)); }

  // Ends the stream from the consumer's side: the buffer is dropped and later yields are refused.
  void cancel() { terminate(StreamTermination::cancelled, nullptr); }

  // Sets the handler that runs once when the stream terminates; runs it at once if it already has.
  void setOnTermination(std::function<void(StreamTermination)> handler) {
    StreamTermination how;
    {
      std::lock_guard lock(mutex_);
      if (!isTerminated_) {
        onTermination_ = std::move(handler);
        return;
      }
      how = termination_;
    }
    if (handler) handler(how);
  }

  // One pending delivery listener (main-queue delivery); called outside the lock whenever there is news.
  void setOnAvailable(std::function<void()> listener) {
    std::lock_guard lock(mutex_);
    onAvailable_ = std::move(listener);
  }

  struct End {};
  struct Empty {};
  // Takes the next item without blocking: a value, End (after any failure was thrown), or Empty.
  std::variant<T, End, Empty> poll() {
    std::unique_lock lock(mutex_);
    return takeLocked(lock);
  }

  // Blocks until a value or the end; a stop requested on `cancellation` cancels the stream.
  std::optional<T> next(std::stop_token cancellation) {
    std::unique_lock lock(mutex_);
    available_.wait(lock, cancellation, [&] { return !buffer_.empty() || isTerminated_; });
    if (cancellation.stop_requested()) {
      lock.unlock();
      cancel();
      return std::nullopt;
    }
    auto item = takeLocked(lock);
    if (auto* value = std::get_if<T>(&item)) return std::move(*value);
    return std::nullopt;
  }

  bool isTerminated() const {
    std::lock_guard lock(mutex_);
    return isTerminated_;
  }

 private:
  std::variant<T, End, Empty> takeLocked(std::unique_lock<std::mutex>& lock) {
    if (!buffer_.empty()) {
      T value = std::move(buffer_.front());
      buffer_.pop_front();
      return value;
    }
    if (!isTerminated_) return Empty{};
    if (failure_) {
      // The failure is reported once, to the first consumer that reaches the end; later reads see End.
      auto failure = std::exchange(failure_, nullptr);
      lock.unlock();
      std::rethrow_exception(failure);
    }
    return End{};
  }

  void terminate(StreamTermination how, std::exception_ptr failure) {
    std::function<void(StreamTermination)> handler;
    std::function<void()> notify;
    std::deque<T> dropped;
    {
      std::lock_guard lock(mutex_);
      if (isTerminated_) return;
      isTerminated_ = true;
      termination_ = how;
      failure_ = std::move(failure);
      if (how == StreamTermination::cancelled) dropped.swap(buffer_);
      handler = std::move(onTermination_);
      onTermination_ = nullptr;
      notify = onAvailable_;
    }
    available_.notify_all();
    if (handler) handler(how);
    if (notify) notify();
  }

  mutable std::mutex mutex_;
  std::condition_variable_any available_;
  std::deque<T> buffer_;
  bool isTerminated_ = false;
  StreamTermination termination_ = StreamTermination::finished;
  std::exception_ptr failure_;
  std::function<void(StreamTermination)> onTermination_;
  std::function<void()> onAvailable_;
};

// Held by every consumer handle: when the last one goes, the stream is cancelled.
template <class T>
struct StreamConsumer {
  explicit StreamConsumer(std::shared_ptr<StreamChannel<T>> channel) : channel(std::move(channel)) {}
  ~StreamConsumer() { channel->cancel(); }
  std::shared_ptr<StreamChannel<T>> channel;
};

// Held by every continuation: when the last one goes without finishing, the stream finishes, so a
// consumer never waits for a producer that no longer exists.
template <class T>
struct StreamProducer {
  explicit StreamProducer(std::shared_ptr<StreamChannel<T>> channel) : channel(std::move(channel)) {}
  ~StreamProducer() { channel->finish(nullptr); }
  std::shared_ptr<StreamChannel<T>> channel;
};

// Delivers a stream's values on the main queue. `isCancelled` is atomic; `consumer` and the callbacks
// are touched only on the main queue after construction.
template <class T>
class MainQueueDelivery : public std::enable_shared_from_this<MainQueueDelivery<T>> {
 public:
  using OnEnd = std::function<void(std::exception_ptr)>;

  MainQueueDelivery(std::shared_ptr<StreamConsumer<T>> consumer, std::function<void(T)> onValue, OnEnd onEnd)
      : consumer_(std::move(consumer)),
        channel_(consumer_->channel),
        onValue_(std::move(onValue)),
        onEnd_(std::move(onEnd)) {}

  void start() {
    std::weak_ptr<MainQueueDelivery> weak = this->shared_from_this();
    channel_->setOnAvailable([weak] {
      if (auto self = weak.lock()) self->schedule();
    });
    schedule();
  }

  void cancel() {
    if (isCancelled_.exchange(true)) return;
    channel_->setOnAvailable(nullptr);
    channel_->cancel();
  }

 private:
  void schedule() {
    if (isScheduled_.exchange(true)) return;
    std::weak_ptr<MainQueueDelivery> weak = this->shared_from_this();
    postToMain([weak] {
      if (auto self = weak.lock()) self->drain();
    });
  }

  void drain() {
    isScheduled_ = false;
    while (!isCancelled_ && !hasEnded_) {
      std::exception_ptr failure;
      std::variant<T, typename StreamChannel<T>::End, typename StreamChannel<T>::Empty> item =
          typename StreamChannel<T>::Empty{};
      try {
        item = channel_->poll();
      } catch (...) {
        failure = std::current_exception();
        item = typename StreamChannel<T>::End{};
      }
      if (auto* value = std::get_if<T>(&item)) {
        onValue_(std::move(*value));
      } else if (std::holds_alternative<typename StreamChannel<T>::End>(item)) {
        hasEnded_ = true;
        channel_->setOnAvailable(nullptr);
        auto onEnd = std::move(onEnd_);
        onValue_ = nullptr;
        if (onEnd) onEnd(failure);
      } else {
        return;
      }
    }
  }

  std::shared_ptr<StreamConsumer<T>> consumer_;  // keeps the stream open while delivering
  std::shared_ptr<StreamChannel<T>> channel_;
  std::function<void(T)> onValue_;
  OnEnd onEnd_;
  std::atomic<bool> isCancelled_{false};
  std::atomic<bool> isScheduled_{false};
  bool hasEnded_ = false;  // main queue only
};

// The producer's end both kinds of stream share; they differ only in how a stream may be finished.
template <class T>
class ContinuationBase {
 public:
  // Buffers `value` for the consumer; once the stream has ended the value is dropped.
  YieldResult yield(T value) const {
    return producer_ ? producer_->channel->yield(std::move(value)) : YieldResult::terminated;
  }
  // Runs `handler` exactly once when the stream ends, for either reason (at once if it already has).
  void setOnTermination(std::function<void(StreamTermination)> handler) const {
    if (producer_) producer_->channel->setOnTermination(std::move(handler));
  }

 protected:
  ContinuationBase() = default;
  explicit ContinuationBase(std::shared_ptr<StreamProducer<T>> producer) : producer_(std::move(producer)) {}
  // Ends the stream, with `failure` when it is not null; values already buffered are still delivered.
  void finishWith(std::exception_ptr failure) const {
    if (producer_) producer_->channel->finish(std::move(failure));
  }

 private:
  std::shared_ptr<StreamProducer<T>> producer_;
};

// The consumer's end both kinds of stream share. Copies are handles to one consumer end; when the last is
// released the stream is cancelled.
template <class T>
class StreamBase {
 public:
  // Blocks until the next value; nullopt at a normal end, or when the calling task is (or becomes)
  // cancelled, which cancels the stream. A stream that ends with a failure rethrows it here once the
  // buffered values have been read.
  std::optional<T> next() const { return consumer_->channel->next(currentStopToken()); }

  // Stops consuming: the buffer is dropped, the producer's later yields report terminated.
  void cancel() const { consumer_->channel->cancel(); }

 protected:
  // Opens a new channel, keeps its consumer's end and returns its producer's end.
  std::shared_ptr<StreamProducer<T>> open() {
    auto channel = std::make_shared<StreamChannel<T>>();
    consumer_ = std::make_shared<StreamConsumer<T>>(channel);
    return std::make_shared<StreamProducer<T>>(channel);
  }

  AnyCancellable deliverOnMain(std::function<void(T)> onValue,
                               std::function<void(std::exception_ptr)> onEnd) const {
    auto delivery = std::make_shared<MainQueueDelivery<T>>(consumer_, std::move(onValue), std::move(onEnd));
    delivery->start();
    return AnyCancellable([delivery] { delivery->cancel(); });
  }

 private:
  std::shared_ptr<StreamConsumer<T>> consumer_;
};

// A new stream of kind `Stream` with its continuation.
template <class Stream>
std::pair<Stream, typename Stream::Continuation> makeStreamWithContinuation() {
  typename Stream::Continuation kept;
  Stream stream([&](typename Stream::Continuation continuation) { kept = std::move(continuation); });
  return {std::move(stream), std::move(kept)};
}

}  // namespace detail

// A stream of values that ends normally. Made with a build function that receives the continuation (the
// producer's end) before the constructor returns, or with makeStream(). Copies of a stream are handles to
// one consumer end; when the last is released the stream is cancelled.
template <class T>
class AsyncStream : public detail::StreamBase<T> {
 public:
  class Continuation : public detail::ContinuationBase<T> {
   public:
    Continuation() = default;
    // Ends the stream; values already buffered are still delivered.
    void finish() const { this->finishWith(nullptr); }

   private:
    friend class AsyncStream;
    explicit Continuation(std::shared_ptr<detail::StreamProducer<T>> producer)
        : detail::ContinuationBase<T>(std::move(producer)) {}
  };

  // A stream that has already ended.
  AsyncStream() : AsyncStream([](Continuation continuation) { continuation.finish(); }) {}

  explicit AsyncStream(const std::function<void(Continuation)>& build) { build(Continuation(this->open())); }

  // A new stream with its continuation.
  static std::pair<AsyncStream, Continuation> makeStream() {
    return detail::makeStreamWithContinuation<AsyncStream>();
  }

  // Delivers each value, then the end, on the main queue. The returned handle stops the delivery and
  // cancels the stream (also when it is released); once cancelled nothing more is delivered. Use one
  // consumer per stream.
  [[nodiscard]] AnyCancellable forEachOnMain(std::function<void(T)> onValue,
                                             std::function<void()> onEnd = {}) const {
    return this->deliverOnMain(std::move(onValue), [onEnd = std::move(onEnd)](std::exception_ptr) {
      if (onEnd) onEnd();
    });
  }
};

// A stream of values that ends normally or with a failure (thrown by next() once the buffered values
// have been read).
template <class T>
class AsyncThrowingStream : public detail::StreamBase<T> {
 public:
  class Continuation : public detail::ContinuationBase<T> {
   public:
    Continuation() = default;
    // Ends the stream normally, or with `failure` when it is not null.
    void finish(std::exception_ptr failure = nullptr) const { this->finishWith(std::move(failure)); }

   private:
    friend class AsyncThrowingStream;
    explicit Continuation(std::shared_ptr<detail::StreamProducer<T>> producer)
        : detail::ContinuationBase<T>(std::move(producer)) {}
  };

  AsyncThrowingStream() : AsyncThrowingStream([](Continuation continuation) { continuation.finish(); }) {}

  explicit AsyncThrowingStream(const std::function<void(Continuation)>& build) {
    build(Continuation(this->open()));
  }

  static std::pair<AsyncThrowingStream, Continuation> makeStream() {
    return detail::makeStreamWithContinuation<AsyncThrowingStream>();
  }

  // Delivers each value on the main queue, then `onEnd` with the failure (null for a normal end or an
  // end by cancellation elsewhere). Once the returned handle is cancelled nothing more is delivered.
  [[nodiscard]] AnyCancellable forEachOnMain(std::function<void(T)> onValue,
                                             std::function<void(std::exception_ptr)> onEnd = {}) const {
    return this->deliverOnMain(std::move(onValue), std::move(onEnd));
  }
};

}  // namespace concurrency
