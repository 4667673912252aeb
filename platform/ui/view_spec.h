// What a view value describes, before evaluation: the base of views with a body, the descriptions of
// built-in views and modifiers, and the type-erased form the view graph evaluates.
#pragma once

#include <any>
#include <concepts>
#include <cstddef>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <type_traits>
#include <typeindex>
#include <typeinfo>
#include <utility>
#include <vector>

#include "platform/ui/dynamic_property.h"

namespace ui {

class AnyView;
class EnvironmentValues;

// A view made of other views: its body says what it shows. Members that are view state (State,
// ObservedObject, Environment, ...) are connected to the view graph before each evaluation of the body.
// The graph keeps its own copy of the view value for as long as the view stays at its place (assigning new
// values to it when the view type can be copy-assigned, which views normally can), so closures
// made in the body may capture `this` while the view is shown; closures that can outlive it (delayed
// work, tasks) capture the state handles instead. Modifiers live on AnyView: a view with a body is
// modified as `AnyView(ChatBubble(message)).padding()`.
class View {
 public:
  virtual ~View() = default;
  virtual AnyView body() const = 0;
};

namespace detail {

class Node;
class ViewGraph;
struct PreferenceKeyOps;

// A readable name of a type, without namespaces and template arguments ("SmallButton").
std::string readableTypeName(const std::type_info& type);

class ViewSpec {
 public:
  // Which of the three kinds below a description is, known without a cast.
  enum class Form : unsigned char { primitive, composite, modified };

  virtual ~ViewSpec() = default;
  Form form() const { return form_; }
  // The name of the view's type, as the inspector and the text dump show it.
  virtual std::string typeName() const = 0;
  // Two views at the same place keep one identity (and so their state) only if these types match.
  virtual std::type_index identityType() const { return typeid(*this); }
  // An explicit identity (from `id`) that must match as well.
  virtual std::optional<std::size_t> explicitIdentity() const { return std::nullopt; }

 protected:
  explicit ViewSpec(Form form) : form_(form) {}

 private:
  Form form_;
};

using SpecPointer = std::shared_ptr<const ViewSpec>;

// One child of a built-in view: matched across evaluations by its position, or by its key when it has
// one (ForEach rows, the branches of a conditional view).
struct Child {
  SpecPointer spec;
  std::optional<std::size_t> key;
};

// A built-in view (text, image, shape, stack, control, ...).
class PrimitiveSpec : public ViewSpec {
 public:
  PrimitiveSpec() : ViewSpec(Form::primitive) {}
  virtual std::vector<Child> children() const { return {}; }
  // Whether views of this class go by different names (then only views of the same name share an
  // identity).
  virtual bool hasVariableTypeName() const { return false; }
  // The view's own properties on one line, for the text dump (`Text "Hello"`).
  virtual std::string describe() const { return typeName(); }
};

// A view with a body; the node at its place owns a copy of the view value.
class CompositeSpecBase : public ViewSpec {
 public:
  CompositeSpecBase() : ViewSpec(Form::composite) {}
  virtual std::shared_ptr<View> makeInstance() const = 0;
  // Assigns the described value to the node's copy, so closures that captured the copy's address stay
  // valid across re-evaluations. Returns false for types that cannot be assigned.
  virtual bool assignTo(View& instance) const = 0;
  // The dynamic properties of the node's copy, in declaration order, written to `properties` (emptied
  // first, keeping its room).
  virtual void propertiesOf(View& instance, std::vector<DynamicProperty*>& properties) const = 0;
  // Whether the value held here equals the node's copy. Only view types with an `operator==` over all
  // that their body reads can compare equal; an equal view whose environment and own state are unchanged
  // keeps its subtree, and its body does not run again.
  virtual bool isEqualTo(const View& instance) const = 0;
};

template <class V>
class CompositeSpec final : public CompositeSpecBase {
 public:
  explicit CompositeSpec(const V& view) : view_(view) {}
  explicit CompositeSpec(V&& view) : view_(std::move(view)) {}

  std::string typeName() const override {
    if constexpr (requires { V::viewTypeName(); }) {
      return V::viewTypeName();
    } else {
      return readableTypeName(typeid(V));
    }
  }
  std::type_index identityType() const override { return typeid(V); }
  std::shared_ptr<View> makeInstance() const override { return std::make_shared<V>(view_); }
  bool assignTo(View& instance) const override {
    if constexpr (std::is_copy_assignable_v<V>) {
      static_cast<V&>(instance) = view_;
      return true;
    } else {
      return false;
    }
  }
  bool isEqualTo(const View& instance) const override {
    if constexpr (std::equality_comparable<V>) {
      return view_ == static_cast<const V&>(instance);
    } else {
      return false;
    }
  }
  void propertiesOf(View& instance, std::vector<DynamicProperty*>& properties) const override {
    properties.clear();
    auto* const start = reinterpret_cast<unsigned char*>(&static_cast<V&>(instance));
    for (std::size_t offset : propertyOffsets()) {
      properties.push_back(reinterpret_cast<DynamicProperty*>(start + offset));
    }
  }
  const V& value() const { return view_; }

 private:
  // Where the properties of every view of this type lie, found once by making a copy of one.
  const std::vector<std::size_t>& propertyOffsets() const {
    static const std::vector<std::size_t> offsets = [this] {
      std::allocator<V> allocator;
      V* copy = allocator.allocate(1);
      std::vector<std::size_t> found;
      try {
        found = detail::propertyOffsets(copy, sizeof(V),
                                        [this, copy] { std::destroy_at(::new (copy) V(view_)); });
      } catch (...) {
        allocator.deallocate(copy, 1);
        throw;
      }
      allocator.deallocate(copy, 1);
      return found;
    }();
    return offsets;
  }

  V view_;
};

// Work a modifier asks the graph to do after an evaluation pass (change handlers, appear handlers).
class UpdateContext {
 public:
  virtual ~UpdateContext() = default;
  virtual void enqueue(std::function<void()> work) = 0;
};

// A modifier: wraps a view and changes how it is shown, what its subtree sees, or what happens when it
// appears, changes or leaves. Hooks run on the main thread during updates.
class Modifier {
 public:
  virtual ~Modifier() = default;
  virtual std::string name() const = 0;
  // The modifier and its values on one line, for the text dump (`padding(16)`).
  virtual std::string describe() const { return name(); }
  virtual std::type_index identityType() const { return typeid(*this); }
  virtual std::optional<std::size_t> explicitIdentity() const { return std::nullopt; }
  // What the modified view and its subtree see.
  virtual void transformEnvironment(EnvironmentValues&) const {}
  // After the modified view has been evaluated; `isNew` the first time at its place.
  virtual void evaluated(Node&, UpdateContext&, bool /*isNew*/) const {}
  virtual void appeared(Node&, UpdateContext&) const {}
  virtual void disappeared(Node&, UpdateContext&) const {}
  // Changes the value of preference `key` that the modified view's subtree produced (absent: none set).
  virtual void preference(const PreferenceKeyOps& /*key*/, std::optional<std::any>& /*value*/) const {}
  // Extra views drawn with the modified view (background, overlay), evaluated as its further children.
  virtual std::vector<SpecPointer> attachedViews() const { return {}; }
  // Whether this modifier, put where `previous` stood, lays out, draws and hit-tests the modified view as
  // `previous` did and gives its subtree's preferences the same values; the view then keeps what was
  // worked out for it. Handlers are read from the modifier in place when they run, so a modifier that
  // only carries a handler beside such values may count as the same. No by default.
  virtual bool hasSameEffect(const Modifier& /*previous*/) const { return false; }
};

class ModifiedSpec final : public ViewSpec {
 public:
  ModifiedSpec(std::shared_ptr<const Modifier> modifier, SpecPointer content)
      : ViewSpec(Form::modified), modifier_(std::move(modifier)), content_(std::move(content)) {}

  std::string typeName() const override { return modifier_->name(); }
  std::type_index identityType() const override { return modifier_->identityType(); }
  std::optional<std::size_t> explicitIdentity() const override { return modifier_->explicitIdentity(); }

  const Modifier& modifier() const { return *modifier_; }
  const std::shared_ptr<const Modifier>& modifierPointer() const { return modifier_; }
  const SpecPointer& content() const { return content_; }

 private:
  std::shared_ptr<const Modifier> modifier_;
  SpecPointer content_;
};

}  // namespace detail
}  // namespace ui
