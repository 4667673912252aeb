#include "platform/ui/dynamic_property.h"

#include <cxxabi.h>

#include <algorithm>
#include <bit>
#include <cstdint>
#include <cstdlib>
#include <mutex>
#include <string>
#include <vector>

#include "platform/desktop/desktop.h"
#include "platform/desktop/url_opener_service.h"
#include "platform/ui/environment.h"
#include "platform/ui/view_spec.h"

namespace ui {

namespace {

// Every live property by address; a view's properties are the ones inside its object. Views are made and
// copied by the thousand (a large table holds several properties in every cell, each view value twice), so
// registering one allocates nothing: the addresses sit in an open-addressed table (linear probing, no
// tombstones), and a view's properties are found by looking up each address inside it where a property
// can start. `mutex` guards the table.
class Registry {
 public:
  void insert(const DynamicProperty* property) {
    std::lock_guard lock(mutex_);
    if ((count_ + 1) * 2 > slots_.size()) resize(std::max<std::size_t>(kMinimumSlots, slots_.size() * 2));
    std::size_t i = home(property);
    while (slots_[i]) i = (i + 1) & mask_;
    slots_[i] = property;
    ++count_;
  }

  void erase(const DynamicProperty* property) {
    std::lock_guard lock(mutex_);
    if (count_ == 0) return;
    std::size_t i = home(property);
    while (slots_[i] != property) {
      if (!slots_[i]) return;
      i = (i + 1) & mask_;
    }
    // Entries after the hole that could have sat in it move back, so every entry stays reachable from its
    // home slot without a run of empty slots in between.
    for (std::size_t j = (i + 1) & mask_; slots_[j]; j = (j + 1) & mask_) {
      const std::size_t h = home(slots_[j]);
      if (((j - h) & mask_) >= ((j - i) & mask_)) {
        slots_[i] = slots_[j];
        i = j;
      }
    }
    slots_[i] = nullptr;
    --count_;
    if (slots_.size() > kMinimumSlots && count_ * 8 < slots_.size()) resize(slots_.size() / 2);
  }

  void within(const void* begin, std::size_t size, std::vector<DynamicProperty*>& result) {
    result.clear();
    const auto first = reinterpret_cast<std::uintptr_t>(begin);
    constexpr std::uintptr_t step = alignof(DynamicProperty);
    std::lock_guard lock(mutex_);
    if (count_ == 0) return;
    // In address order, as the properties are declared.
    for (std::uintptr_t address = (first + step - 1) / step * step; address < first + size; address += step) {
      const auto* candidate = reinterpret_cast<const DynamicProperty*>(address);
      for (std::size_t i = home(candidate); slots_[i]; i = (i + 1) & mask_) {
        if (slots_[i] == candidate) {
          result.push_back(const_cast<DynamicProperty*>(candidate));
          break;
        }
      }
    }
  }

 private:
  static constexpr std::size_t kMinimumSlots = 1024;

  std::size_t home(const DynamicProperty* property) const {
    // Fibonacci hashing of the address without its alignment bits.
    const auto bits =
        static_cast<std::uint64_t>(reinterpret_cast<std::uintptr_t>(property) / alignof(DynamicProperty));
    return static_cast<std::size_t>((bits * 0x9E3779B97F4A7C15ull) >> shift_);
  }

  void resize(std::size_t slotCount) {
    std::vector<const DynamicProperty*> old(slotCount, nullptr);
    old.swap(slots_);
    mask_ = slotCount - 1;
    shift_ = 64 - static_cast<unsigned>(std::countr_zero(slotCount));
    for (const auto* property : old) {
      if (!property) continue;
      std::size_t i = home(property);
      while (slots_[i]) i = (i + 1) & mask_;
      slots_[i] = property;
    }
  }

  std::mutex mutex_;
  std::vector<const DynamicProperty*> slots_;  // a power of two long, at most half full
  std::size_t count_ = 0;
  std::size_t mask_ = 0;
  unsigned shift_ = 64;
};

Registry& registry() {
  static auto* instance = new Registry();  // never destroyed: properties may outlive static teardown
  return *instance;
}

}  // namespace

DynamicProperty::DynamicProperty() { registry().insert(this); }

DynamicProperty::DynamicProperty(const DynamicProperty&) : DynamicProperty() {}

DynamicProperty::~DynamicProperty() { registry().erase(this); }

namespace detail {

std::vector<DynamicProperty*> propertiesWithin(const void* begin, std::size_t size) {
  std::vector<DynamicProperty*> properties;
  registry().within(begin, size, properties);
  return properties;
}

void propertiesWithin(const void* begin, std::size_t size, std::vector<DynamicProperty*>& properties) {
  registry().within(begin, size, properties);
}

std::string readableTypeName(const std::type_info& type) {
  int status = 0;
  char* demangled = abi::__cxa_demangle(type.name(), nullptr, nullptr, &status);
  std::string name = status == 0 && demangled ? demangled : type.name();
  std::free(demangled);
  name = name.substr(0, name.find('<'));
  auto lastColon = name.rfind("::");
  if (lastColon != std::string::npos) name.erase(0, lastColon + 2);
  return name;
}

}  // namespace detail

// The workspace opens URLs for the application; without a desktop nothing happens.
OpenURLAction::OpenURLAction() {
  static const auto openInDesktop = std::make_shared<const Handler>([](const foundation::URL& url) {
    if (auto* desktop = desktop::Desktop::current()) desktop->urlOpener().openURL(url);
  });
  handler_ = openInDesktop;
}

}  // namespace ui
