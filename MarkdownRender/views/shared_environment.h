// A view member that reads environment values by sharing the environment's own copies of them.
#pragma once

#include <memory>

#include "platform/ui/dynamic_property.h"
#include "platform/ui/environment.h"

namespace MarkdownRender {

// Like a `ui::Environment` for every key at once, but the view keeps the environment it was evaluated in,
// which is held as one pointer, instead of a copy of each value: values that are large to copy (a URL, a
// theme's styles) read by views that come by the thousand (the runs of text of a table's cells) would
// otherwise be copied into every one of them, twice.
class SharedEnvironmentValues final : public ui::DynamicProperty {
 public:
  // The value of `K` where the view was evaluated: the key's default until then, and wherever no view
  // above set one. Valid until the view is evaluated again.
  template <ui::EnvironmentKey K>
  const typename K::Value& value() const {
    // The environment kept here keeps the value it shares.
    const auto shared = environment_.template sharedValue<K>();
    return shared ? *shared : defaultValue<K>();
  }

  void bind(ui::detail::PropertyContext& context) override { environment_ = context.environment(); }

 private:
  template <ui::EnvironmentKey K>
  static const typename K::Value& defaultValue() {
    // Made once, on first use; the initialisation of a function's static is thread-safe.
    static const typename K::Value value = K::defaultValue();
    return value;
  }

  ui::EnvironmentValues environment_;
};

}  // namespace MarkdownRender
