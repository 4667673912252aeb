// A view member that reads one environment value by sharing the environment's own copy of it.
#pragma once

#include <memory>

#include "platform/ui/dynamic_property.h"
#include "platform/ui/environment.h"

namespace MarkdownRender {

// Like `ui::Environment`, but the view keeps a reference to the value the environment holds instead of a
// copy: a value that is large to copy (a URL) read by views that come by the thousand (the runs of text of
// a table's cells) would otherwise be copied into every one of them, twice.
template <ui::EnvironmentKey K>
class SharedEnvironment final : public ui::DynamicProperty {
 public:
  using Value = typename K::Value;

  const Value& operator*() const { return value(); }
  const Value* operator->() const { return &value(); }
  // The key's default until the view is evaluated in a tree, and wherever no view above set a value.
  const Value& value() const { return value_ ? *value_ : defaultValue(); }

  void bind(ui::detail::PropertyContext& context) override {
    value_ = context.environment().template sharedValue<K>();
  }

  static const Value& defaultValue() {
    // Made once, on first use; the initialisation of a function's static is thread-safe.
    static const Value value = K::defaultValue();
    return value;
  }

 private:
  std::shared_ptr<const Value> value_;
};

// A view member that keeps the whole environment the view is evaluated in, which is held as one pointer:
// a view that reads several values and comes by the thousand keeps one member for all of them rather
// than one for each.
class SharedEnvironmentValues final : public ui::DynamicProperty {
 public:
  // The value of `K` where the view was evaluated: the key's default until then, and wherever no view
  // above set one. Valid until the view is evaluated again.
  template <ui::EnvironmentKey K>
  const typename K::Value& value() const {
    // The environment kept here keeps the value it shares.
    const auto shared = environment_.template sharedValue<K>();
    return shared ? *shared : SharedEnvironment<K>::defaultValue();
  }

  void bind(ui::detail::PropertyContext& context) override { environment_ = context.environment(); }

 private:
  ui::EnvironmentValues environment_;
};

}  // namespace MarkdownRender
