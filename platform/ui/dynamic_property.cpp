#include "platform/ui/dynamic_property.h"

#include <cxxabi.h>

#include <cstdlib>
#include <mutex>
#include <set>
#include <string>

#include "platform/desktop/desktop.h"
#include "platform/desktop/url_opener_service.h"
#include "platform/ui/environment.h"
#include "platform/ui/view_spec.h"

namespace ui {

namespace {

// Every live property by address; a view's properties are the ones inside its object.
struct Registry {
  std::mutex mutex;
  std::set<const DynamicProperty*> properties;
};

Registry& registry() {
  static auto* instance = new Registry();  // never destroyed: properties may outlive static teardown
  return *instance;
}

}  // namespace

DynamicProperty::DynamicProperty() {
  auto& r = registry();
  std::lock_guard lock(r.mutex);
  r.properties.insert(this);
}

DynamicProperty::DynamicProperty(const DynamicProperty&) : DynamicProperty() {}

DynamicProperty::~DynamicProperty() {
  auto& r = registry();
  std::lock_guard lock(r.mutex);
  r.properties.erase(this);
}

namespace detail {

std::vector<DynamicProperty*> propertiesWithin(const void* begin, std::size_t size) {
  auto& r = registry();
  std::lock_guard lock(r.mutex);
  const auto* first = static_cast<const char*>(begin);
  std::vector<DynamicProperty*> result;
  for (auto it = r.properties.lower_bound(static_cast<const DynamicProperty*>(begin));
       it != r.properties.end(); ++it) {
    const auto* address = reinterpret_cast<const char*>(*it);
    if (address >= first + size) break;
    result.push_back(const_cast<DynamicProperty*>(*it));
  }
  return result;
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
