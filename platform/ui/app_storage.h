// A view member bound to one key of the user defaults: reads through, writes through, and re-evaluates
// the view when the key changes, whoever wrote it.
#pragma once

#include <concepts>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <utility>

#include "platform/foundation/property_list.h"
#include "platform/foundation/user_defaults.h"
#include "platform/ui/binding.h"
#include "platform/ui/dynamic_property.h"

namespace ui {

namespace detail {
struct DefaultsObservationSlot {
  std::shared_ptr<foundation::UserDefaults> suite;
  std::string key;
  foundation::ObservationToken token;
};
}  // namespace detail

// Values are Booleans, integers, doubles or strings. A stored value of another kind reads as the default
// (it is left in place, not overwritten). Read and written on the main thread; the observation hops to
// the main queue when another thread writes the key.
template <class T>
requires std::same_as<T, bool> || std::integral<T> || std::floating_point<T> || std::same_as<T, std::string>
class AppStorage : public DynamicProperty {
 public:
  AppStorage(std::string key, T defaultValue,
             std::shared_ptr<foundation::UserDefaults> suite = foundation::UserDefaults::standard())
      : key_(std::move(key)), defaultValue_(std::move(defaultValue)), suite_(std::move(suite)) {}

  T get() const {
    auto stored = suite_->objectForKey(key_);
    if (!stored) return defaultValue_;
    if constexpr (std::same_as<T, bool>) {
      return stored->boolValue().value_or(defaultValue_);
    } else if constexpr (std::integral<T>) {
      auto value = stored->integerValue();
      return value ? static_cast<T>(*value) : defaultValue_;
    } else if constexpr (std::floating_point<T>) {
      auto value = stored->doubleValue();
      return value ? static_cast<T>(*value) : defaultValue_;
    } else {
      const auto* value = stored->stringValue();
      return value ? *value : defaultValue_;
    }
  }
  T operator*() const { return get(); }
  void set(T value) const {
    if constexpr (std::integral<T> && !std::same_as<T, bool>) {
      suite_->setObject(foundation::PlistValue(static_cast<std::int64_t>(value)), key_);
    } else if constexpr (std::floating_point<T>) {
      suite_->setObject(foundation::PlistValue(static_cast<double>(value)), key_);
    } else {
      suite_->setObject(foundation::PlistValue(value), key_);
    }
  }
  Binding<T> binding() const {
    auto self = *this;
    return Binding<T>([self] { return self.get(); }, [self](T value) { self.set(std::move(value)); });
  }

  void bind(detail::PropertyContext& context) override {
    auto slot =
        context.slot<detail::DefaultsObservationSlot>([] { return new detail::DefaultsObservationSlot(); });
    if (slot->suite == suite_ && slot->key == key_ && slot->token.isActive()) return;
    slot->suite = suite_;
    slot->key = key_;
    auto invalidate = context.invalidator();
    slot->token = suite_->addObserver(key_, foundation::ObservingOptions::none,
                                      [invalidate](const foundation::KeyValueChange&) { invalidate(); });
  }

 private:
  std::string key_;
  T defaultValue_;
  std::shared_ptr<foundation::UserDefaults> suite_;
};

}  // namespace ui
