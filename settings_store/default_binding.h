// Settings in views: a view member bound to one settings key (`Default`), the observable object behind
// it (`Observable`), and a ready-made switch for a Boolean setting (`Toggle`).
#pragma once

#include <concepts>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <utility>

#include "platform/concurrency/cancellable.h"
#include "platform/concurrency/publisher.h"
#include "platform/ui/binding.h"
#include "platform/ui/observable_object.h"
#include "platform/ui/state.h"
#include "platform/ui/view.h"
#include "platform/ui/views.h"
#include "settings_store/change_stream.h"
#include "settings_store/key.h"

namespace Defaults {

// Tells the views that hold it to re-evaluate whenever its setting changes, whoever wrote it. From its
// creation until its release it watches the key's change stream (with the initial value, so one signal
// follows its creation); each value received sends objectWillChange on the main queue. Releasing it
// cancels the watch, which ends the stream and stops the key's observation.
template <Serializable Value>
class Observable final : public ui::ObservableObject {
 public:
  explicit Observable(Key<Value> key) : key(std::move(key)) {
    // The delivery keeps only the change signal (copies of a publisher share it), never the object, so
    // a signal after the object is gone reaches nobody.
    auto signal = objectWillChange;
    task = changeStream(this->key, true).forEachOnMain([signal](Value) { signal.send(); });
  }
  Observable(const Observable&) = delete;
  Observable& operator=(const Observable&) = delete;
  ~Observable() override { task.cancel(); }

  // Reads the key's value from its suite at each access.
  Value currentValue() const { return Defaults::get(key); }
  // Announces the change, then stores the value.
  void setCurrentValue(const Value& value) {
    objectWillChange.send();
    Defaults::set(key, value);
  }

  concurrency::AnyCancellable task;  // the watch of the key's change stream
  const Key<Value> key;
};

// A view member bound to one setting: reading gives the key's current value (read from the suite at
// each access, never cached), assigning stores a new value, and the binding reads and writes the same
// way. Each wrapper makes its own Observable, watched by the view that declares the wrapper.
template <Serializable Value>
class Default {
 public:
  explicit Default(Key<Value> key)
      : key_(key), observable_(std::make_shared<Observable<Value>>(std::move(key))) {}

  // The wrapped value.
  Value get() const { return observable_->currentValue(); }
  Value operator*() const { return get(); }
  // Member access on the current value (`fontName->empty()`), read afresh like get().
  struct CurrentValue {
    Value value;
    const Value* operator->() const { return &value; }
  };
  CurrentValue operator->() const { return CurrentValue{get()}; }
  // Stores through the observable's current value; the wrapper itself does not change.
  void set(const Value& value) const { observable_->setCurrentValue(value); }

  // The projected value: a binding on the observable's current value.
  ui::Binding<Value> binding() const {
    auto observable = observable_.get();
    return ui::Binding<Value>([observable] { return observable->currentValue(); },
                              [observable](Value value) { observable->setCurrentValue(value); });
  }

  // The key's changes, starting with its current value.
  concurrency::AnyPublisher<KeyChange<Value>> changePublisher() const {
    return Defaults::changePublisher(key_, ObservationOptions{ObservationOption::initial});
  }
  Value keyDefaultValue() const { return key_.currentDefault(); }
  bool holdsDefaultValue() const requires std::equality_comparable<Value> {
    return get() == keyDefaultValue();
  }
  // Removes the key's entry from its suite, so that reads give the default again.
  void removeStoredValue() const { key_.removeStoredValue(); }

  const Key<Value>& key() const { return key_; }

 private:
  Key<Value> key_;
  ui::ObservedObject<Observable<Value>> observable_;
};

// Storage that lives as long as the view state of the view that declares it: a box kept in view state,
// so the value survives re-creation of the view value and writing it does not re-evaluate the view.
template <class T>
class ViewStorage {
 public:
  explicit ViewStorage(T initial) : valueBox_(std::make_shared<ValueBox>(std::move(initial))) {}

  const T& get() const { return (*valueBox_)->value; }
  void set(T value) const { (*valueBox_)->value = std::move(value); }

 private:
  struct ValueBox {
    explicit ValueBox(T value) : value(std::move(value)) {}
    T value;
  };
  ui::State<std::shared_ptr<ValueBox>> valueBox_;
};

// A switch bound to a Boolean setting, with an optional action called with the new value whenever the
// value the switch shows changes (switched by the user or written elsewhere while it is shown).
class Toggle final : public ui::View {
 public:
  Toggle(const Key<bool>& key, const std::function<ui::AnyView()>& label)
      : label_(label()), observable_(std::make_shared<Observable<bool>>(key)) {}
  Toggle(std::string title, const Key<bool>& key)
      : label_(ui::Text(std::move(title))), observable_(std::make_shared<Observable<bool>>(key)) {}

  // A copy whose stored action is `action`.
  Toggle whenChanged(std::function<void(bool)> action) const {
    Toggle copy = *this;
    copy.onChange_.set(std::move(action));
    return copy;
  }

  ui::AnyView body() const override {
    auto observable = observable_.get();
    auto isOn = ui::Binding<bool>([observable] { return observable->currentValue(); },
                                  [observable](bool value) { observable->setCurrentValue(value); });
    auto storage = onChange_;
    return ui::Toggle(isOn, label_)
        .onChange<bool>(Defaults::get(observable->key), [storage](const bool& value) {
          if (const auto& action = storage.get()) action(value);
        });
  }

 private:
  ViewStorage<std::function<void(bool)>> onChange_{nullptr};
  ui::AnyView label_;
  ui::ObservedObject<Observable<bool>> observable_;
};

}  // namespace Defaults
