// Views whose platform view the caller makes and keeps up to date itself: hosting makes the view once
// for the lifetime of the view's identity, gives it a host view of its own, and asks for an update
// after it is made and after every later evaluation of the view.
#pragma once

#include <concepts>
#include <memory>
#include <string>
#include <typeindex>
#include <utility>

#include "platform/appkit/view.h"
#include "platform/ui/environment.h"
#include "platform/ui/view.h"
#include "platform/ui/view_spec.h"

namespace ui {

// What a representable is given with each call: the environment at its place.
struct RepresentableContext {
  const EnvironmentValues& environment;
};

class ViewRepresentable {
 public:
  virtual ~ViewRepresentable() = default;
  virtual std::shared_ptr<appkit::View> makeView(const RepresentableContext& context) const = 0;
  virtual void updateView(appkit::View& view, const RepresentableContext& context) const = 0;
};

namespace detail {
class RepresentableSpec final : public PrimitiveSpec {
 public:
  RepresentableSpec(std::shared_ptr<const ViewRepresentable> value, std::string name, std::type_index type)
      : value_(std::move(value)), name_(std::move(name)), type_(type) {}
  std::string typeName() const override { return name_; }
  std::type_index identityType() const override { return type_; }
  const ViewRepresentable& value() const { return *value_; }

 private:
  std::shared_ptr<const ViewRepresentable> value_;
  std::string name_;
  std::type_index type_;
};
}  // namespace detail

template <class R>
requires std::derived_from<R, ViewRepresentable> AnyView Representable(R value) {
  return AnyView(std::make_shared<detail::RepresentableSpec>(std::make_shared<const R>(std::move(value)),
                                                             detail::readableTypeName(typeid(R)), typeid(R)));
}

}  // namespace ui
