// Members of a view that the view graph connects to its storage before each evaluation of the body:
// state, bindings to observable objects, environment reads.
#pragma once

#include <algorithm>
#include <cstddef>
#include <functional>
#include <memory>
#include <stdexcept>
#include <typeindex>
#include <vector>

namespace ui {

class EnvironmentValues;

namespace detail {
class PropertyContext;
}

// The base of every view member that lives in the view graph rather than in the view value. The graph
// finds a view's properties by where they sit inside the view object, in declaration order, so a view
// declares them as plain members and nothing else. Every view of one type holds its properties in the same
// places: they are members (or members of members), never held in an optional, a variant or a union (the
// builds with sanitizers stop at the first property bound where a view of its type holds none).
class DynamicProperty {
 public:
  DynamicProperty();
  DynamicProperty(const DynamicProperty&);
  DynamicProperty& operator=(const DynamicProperty&) { return *this; }
  virtual ~DynamicProperty();

  // Connects this property to the storage the graph keeps for it (made on the first evaluation of the
  // view at its place in the tree, kept until the view leaves the tree).
  virtual void bind(detail::PropertyContext& context) = 0;
};

namespace detail {

// The offsets from `object` of the properties that `make` constructs inside [object, object + size), in
// address order. `make` constructs an object there (and may destroy it again); properties it makes
// elsewhere are not counted. Thread-safe: only the calling thread's properties are noted.
std::vector<std::size_t> propertyOffsets(const void* object, std::size_t size,
                                         const std::function<void()>& make);

// What a property sees while it is bound: its storage slot, the environment, and a way to ask for the
// view's re-evaluation.
class PropertyContext {
 public:
  // The storage of the property at one place among its view's properties. Only properties that keep
  // something have one (most only read the environment), so a view keeps storage for those alone.
  struct Slot {
    std::size_t property = 0;
    std::type_index type = typeid(void);
    std::shared_ptr<void> value;
  };
  using Slots = std::vector<Slot>;
  using MakeInvalidator = std::function<std::function<void()>()>;

  // The context of the property at place `property` of a view whose storage is `slots`. The way to ask
  // for re-evaluation is made by `make` when a property first asks for it, into `invalidate`, which the
  // contexts of all the properties of one view share: most properties only read (the environment, a
  // theme) and never ask, and a view with a body is evaluated often.
  PropertyContext(Slots& slots, std::size_t property, const EnvironmentValues& environment,
                  std::function<void()>& invalidate, const MakeInvalidator& make)
      : slots_(slots),
        property_(property),
        environment_(environment),
        invalidate_(&invalidate),
        make_(&make) {}
  PropertyContext(const PropertyContext&) = delete;
  PropertyContext& operator=(const PropertyContext&) = delete;

  // The storage of this property: made by `make` on the first evaluation (or when the property at this
  // place changed type), the same object afterwards.
  template <class S, class Make>
  std::shared_ptr<S> slot(Make&& make) {
    auto found = std::find_if(slots_.begin(), slots_.end(),
                              [this](const Slot& slot) { return slot.property == property_; });
    if (found == slots_.end()) found = slots_.insert(found, Slot{property_, typeid(void), nullptr});
    if (found->type != typeid(S) || !found->value) {
      found->type = typeid(S);
      found->value = std::shared_ptr<S>(make());
    }
    return std::static_pointer_cast<S>(found->value);
  }

  const EnvironmentValues& environment() const { return environment_; }
  // Marks the view for re-evaluation on the main queue. Callable from any thread, also after the view
  // has left the tree (then it does nothing).
  const std::function<void()>& invalidator() const {
    if (!*invalidate_ && make_) *invalidate_ = (*make_)();
    return *invalidate_;
  }

 private:
  Slots& slots_;
  std::size_t property_;
  const EnvironmentValues& environment_;
  std::function<void()>* invalidate_;
  const MakeInvalidator* make_;
};

}  // namespace detail
}  // namespace ui
