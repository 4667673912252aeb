// A two-way connection to a value owned elsewhere (view state, an observable object, a setting).
#pragma once

#include <functional>
#include <memory>
#include <utility>

namespace ui {

// Reading calls the getter, writing the setter; copies share both. A binding made from view state
// writes that state, so the views that own it are re-evaluated.
template <class T>
class Binding {
 public:
  Binding(std::function<T()> get, std::function<void(T)> set) : get_(std::move(get)), set_(std::move(set)) {}

  // A binding that always reads `value` and ignores writes.
  static Binding constant(T value) {
    auto box = std::make_shared<const T>(std::move(value));
    return Binding([box] { return *box; }, [](T) {});
  }

  T get() const { return get_(); }
  T operator*() const { return get_(); }
  void set(T value) const { set_(std::move(value)); }

  // A binding to one member of the bound value.
  template <class U, class C = T>
  Binding<U> member(U C::*field) const {
    auto self = *this;
    return Binding<U>([self, field] { return self.get().*field; },
                      [self, field](U value) {
                        C whole = self.get();
                        whole.*field = std::move(value);
                        self.set(std::move(whole));
                      });
  }

 private:
  std::function<T()> get_;
  std::function<void(T)> set_;
};

}  // namespace ui
