#include "platform/ui/dynamic_property.h"

#include <cxxabi.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "platform/desktop/desktop.h"
#include "platform/desktop/url_opener_service.h"
#include "platform/ui/environment.h"
#include "platform/ui/view_spec.h"

namespace ui {

namespace {

// Where the properties constructed on this thread are noted while a view type's properties are found.
thread_local std::vector<const DynamicProperty*>* noted = nullptr;

}  // namespace

DynamicProperty::DynamicProperty() {
  if (noted) noted->push_back(this);
}

DynamicProperty::DynamicProperty(const DynamicProperty&) : DynamicProperty() {}

DynamicProperty::~DynamicProperty() = default;

namespace detail {

std::vector<std::size_t> propertyOffsets(const void* object, std::size_t size,
                                         const std::function<void()>& make) {
  std::vector<const DynamicProperty*> constructed;
  auto* const outer = noted;
  noted = &constructed;
  try {
    make();
  } catch (...) {
    noted = outer;
    throw;
  }
  noted = outer;
  const auto begin = reinterpret_cast<std::uintptr_t>(object);
  std::vector<std::size_t> offsets;
  for (const auto* property : constructed) {
    const auto address = reinterpret_cast<std::uintptr_t>(property);
    if (address >= begin && address < begin + size) offsets.push_back(address - begin);
  }
  std::sort(offsets.begin(), offsets.end());
  offsets.erase(std::unique(offsets.begin(), offsets.end()), offsets.end());
  return offsets;
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
