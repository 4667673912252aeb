// A handle that cancels an activity (a subscription, a delivery) when asked or when it is released.
#pragma once

#include <functional>
#include <memory>
#include <mutex>
#include <vector>

namespace concurrency {

// Copies share one activity: cancel() on any copy cancels it, and releasing the last copy cancels it too.
// The cancel closure runs at most once, on the thread that cancels; a mutex guards it.
class AnyCancellable {
 public:
  AnyCancellable() = default;
  explicit AnyCancellable(std::function<void()> cancel);

  void cancel() const;
  // Whether this handle refers to an activity that has not been cancelled yet.
  bool isActive() const;

  // Keeps this handle in `bag` (released, and so cancelled, with the bag).
  void store(std::vector<AnyCancellable>& bag) const { bag.push_back(*this); }

  bool operator==(const AnyCancellable& other) const { return box_ == other.box_; }

 private:
  struct Box {
    explicit Box(std::function<void()> cancel) : cancel(std::move(cancel)) {}
    ~Box();
    void run();
    std::mutex mutex;
    std::function<void()> cancel;  // emptied when it has run
  };
  std::shared_ptr<Box> box_;
};

}  // namespace concurrency
