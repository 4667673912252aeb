// Observable objects: reference types that announce changes, and the view members that watch them
// (observed objects, state objects, environment objects). A view that holds one is re-evaluated when
// the object announces a change; views that do not hold it are not.
#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <stdexcept>
#include <utility>
#include <variant>

#include "platform/concurrency/cancellable.h"
#include "platform/concurrency/subject.h"
#include "platform/ui/binding.h"
#include "platform/ui/dynamic_property.h"
#include "platform/ui/environment.h"
#include "platform/ui/state.h"

namespace ui {

// The change signal of an observable object, sent before a change. Thread-safe (a subject).
class ObservableObjectPublisher {
 public:
  void send() const { subject_.send(std::monostate{}); }
  [[nodiscard]] concurrency::AnyCancellable sink(std::function<void()> receive) const {
    return subject_.sink([receive = std::move(receive)](std::monostate) { receive(); });
  }

 private:
  concurrency::PassthroughSubject<std::monostate> subject_;
};

// The base of observable objects; held by `std::shared_ptr`.
class ObservableObject {
 public:
  virtual ~ObservableObject() = default;
  ObservableObjectPublisher objectWillChange;
};

// Anything with an `objectWillChange` signal that views can watch.
template <class T>
concept Observable = requires(T& object) {
  { object.objectWillChange.sink(std::function<void()>()) } -> std::same_as<concurrency::AnyCancellable>;
};

// A property of an observable object that announces its changes through its owner, then publishes the
// new value. Declared as `Published<int> count{this, 0};`. Touched on the main thread only.
template <class T>
class Published {
 public:
  Published(ObservableObject* owner, T initial) : owner_(owner), subject_(std::move(initial)) {}
  Published(const Published&) = delete;
  Published& operator=(const Published&) = delete;

  T get() const { return subject_.value(); }
  T operator*() const { return subject_.value(); }
  void set(T value) {
    owner_->objectWillChange.send();
    subject_.send(std::move(value));
  }
  // The current value, then every new one.
  concurrency::AnyPublisher<T> publisher() const { return subject_.eraseToAnyPublisher(); }

 private:
  ObservableObject* owner_;
  concurrency::CurrentValueSubject<T> subject_;
};

namespace detail {

// Subscribes the view being bound to `object`'s change signal, once per object.
template <Observable T>
void observe(PropertyContext& context, const std::shared_ptr<T>& object) {
  auto slot = context.slot<ObservationSlot>([] { return new ObservationSlot(); });
  if (slot->observed == object.get()) return;
  if (slot->cancel) slot->cancel();
  slot->cancel = nullptr;
  slot->observed = object.get();
  if (!object) return;
  auto subscription = object->objectWillChange.sink(context.invalidator());
  slot->cancel = [subscription] { subscription.cancel(); };
}

template <class T>
struct StateObjectSlot {
  std::shared_ptr<T> object;
  ObservationSlot observation;
};

}  // namespace detail

// A view member watching an observable object the view was given.
template <Observable T>
class ObservedObject : public DynamicProperty {
 public:
  explicit ObservedObject(std::shared_ptr<T> object) : object_(std::move(object)) {}

  T& operator*() const { return *object_; }
  T* operator->() const { return object_.get(); }
  const std::shared_ptr<T>& get() const { return object_; }

  // A binding to a value the object exposes through a getter and a setter.
  template <class V>
  Binding<V> binding(std::function<V(T&)> get, std::function<void(T&, V)> set) const {
    auto object = object_;
    return Binding<V>([object, get] { return get(*object); },
                      [object, set](V value) { set(*object, std::move(value)); });
  }

  void bind(detail::PropertyContext& context) override { detail::observe(context, object_); }

 private:
  std::shared_ptr<T> object_;
};

// A view member owning an observable object: `make` runs once per place in the tree (the first
// evaluation there); later evaluations reuse the object, which is released when the view leaves.
template <Observable T>
class StateObject : public DynamicProperty {
 public:
  explicit StateObject(std::function<std::shared_ptr<T>()> make) : make_(std::move(make)) {}

  T& operator*() const { return *get(); }
  T* operator->() const { return get().get(); }
  const std::shared_ptr<T>& get() const {
    if (!object_) object_ = make_();
    return object_;
  }

  void bind(detail::PropertyContext& context) override {
    auto slot = context.slot<detail::StateObjectSlot<T>>([] { return new detail::StateObjectSlot<T>(); });
    if (!slot->object) slot->object = object_ ? object_ : make_();
    object_ = slot->object;
    if (slot->observation.observed != object_.get()) {
      if (slot->observation.cancel) slot->observation.cancel();
      slot->observation.observed = object_.get();
      auto subscription = object_->objectWillChange.sink(context.invalidator());
      slot->observation.cancel = [subscription] { subscription.cancel(); };
    }
  }

 private:
  std::function<std::shared_ptr<T>()> make_;
  mutable std::shared_ptr<T> object_;
};

// A view member reading an observable object that an ancestor put into the environment
// (`environmentObject`); the view is re-evaluated when the object announces a change.
template <Observable T>
class EnvironmentObject : public DynamicProperty {
 public:
  EnvironmentObject() = default;

  T& operator*() const { return *get(); }
  T* operator->() const { return get().get(); }
  const std::shared_ptr<T>& get() const {
    if (!object_) throw std::logic_error("no environment object of the requested type above this view");
    return object_;
  }

  void bind(detail::PropertyContext& context) override {
    object_ = context.environment().template object<T>();
    detail::observe(context, object_);
  }

 private:
  std::shared_ptr<T> object_;
};

}  // namespace ui
