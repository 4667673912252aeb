// View state: values and objects that live in the view graph at a view's place in the tree.
#pragma once

#include <concepts>
#include <functional>
#include <memory>
#include <utility>

#include "platform/ui/binding.h"
#include "platform/ui/dynamic_property.h"

namespace ui {

namespace detail {

template <class T>
struct StateBox {
  explicit StateBox(T initial) : value(std::move(initial)) {}
  T value;
  std::function<void()> invalidate;  // set once the box belongs to a view in the graph
};

}  // namespace detail

// A value owned by the view graph. The member is a handle: the graph keeps the value at the view's
// place in the tree (its structural identity), so the value survives re-evaluation and is dropped when
// the view leaves the tree; copies of the handle (in closures, in copies of the view) share it. The
// initial value counts only the first time the view is evaluated at its place. Main thread only.
template <class T>
class State : public DynamicProperty {
 public:
  State() requires std::default_initializable<T> : box_(std::make_shared<detail::StateBox<T>>(T{})) {}
  State(T initial) : box_(std::make_shared<detail::StateBox<T>>(std::move(initial))) {}  // NOLINT

  const T& operator*() const { return box_->value; }
  const T* operator->() const { return &box_->value; }
  const T& get() const { return box_->value; }

  // Stores a new value and re-evaluates the owning view (not when an equal value is stored again).
  void set(T value) const {
    if constexpr (std::equality_comparable<T>) {
      if (box_->value == value) return;
    }
    box_->value = std::move(value);
    if (box_->invalidate) box_->invalidate();
  }

  // The binding to this state (the projected value).
  Binding<T> binding() const {
    auto self = *this;
    return Binding<T>([self] { return self.get(); }, [self](T value) { self.set(std::move(value)); });
  }

  void bind(detail::PropertyContext& context) override {
    auto mine = box_;
    box_ = context.slot<detail::StateBox<T>>([&] { return mine; });
    box_->invalidate = context.invalidator();
  }

 private:
  std::shared_ptr<detail::StateBox<T>> box_;
};

namespace detail {

// The subscription of a view to an observable object's change signal, kept while the view is in the tree.
struct ObservationSlot {
  const void* observed = nullptr;
  std::function<void()> cancel;
  ObservationSlot() = default;
  ObservationSlot(const ObservationSlot&) = delete;
  ObservationSlot& operator=(const ObservationSlot&) = delete;
  ~ObservationSlot() {
    if (cancel) cancel();
  }
};

}  // namespace detail

}  // namespace ui
