// The view graph: evaluates a view into a retained tree of nodes and keeps it up to date. Environment
// values flow down, preferences flow up, state lives in the nodes by structural identity.
#pragma once

#include <any>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <type_traits>
#include <typeindex>
#include <typeinfo>
#include <vector>

#include "platform/ui/dynamic_property.h"
#include "platform/ui/environment.h"
#include "platform/ui/same_type.h"
#include "platform/ui/view.h"
#include "platform/ui/view_spec.h"

namespace ui {
class LayoutPass;
class HostingView;
}  // namespace ui

namespace ui::detail {

class Node;

// The children of a node, in order. Most nodes have exactly one (a view with a body, a modifier): it is
// kept in place, and storage of its own is made only for more. Emptied, the list keeps that storage.
class NodeChildren {
 public:
  using value_type = std::shared_ptr<Node>;
  using iterator = value_type*;
  using const_iterator = const value_type*;

  NodeChildren() noexcept {}  // NOLINT: the union's member is made by the first push_back
  NodeChildren(NodeChildren&& other) noexcept { take(other); }
  NodeChildren& operator=(NodeChildren&& other) noexcept;
  NodeChildren(const NodeChildren&) = delete;
  NodeChildren& operator=(const NodeChildren&) = delete;
  ~NodeChildren() { release(); }

  std::size_t size() const { return size_; }
  bool empty() const { return size_ == 0; }
  value_type* data() { return isInPlace() ? &one_ : many_; }
  const value_type* data() const { return isInPlace() ? &one_ : many_; }
  iterator begin() { return data(); }
  iterator end() { return data() + size_; }
  const_iterator begin() const { return data(); }
  const_iterator end() const { return data() + size_; }
  const value_type& operator[](std::size_t i) const { return data()[i]; }
  value_type& operator[](std::size_t i) { return data()[i]; }
  const value_type& front() const { return data()[0]; }
  const value_type& back() const { return data()[size_ - 1]; }
  value_type& back() { return data()[size_ - 1]; }

  void clear() noexcept;
  void reserve(std::size_t capacity);
  void push_back(value_type child);

 private:
  bool isInPlace() const { return capacity_ == 1; }
  // Moves the other list's children here (this list holds none and no storage), leaving it empty.
  void take(NodeChildren& other) noexcept;
  // Clears the list and gives back its storage.
  void release() noexcept;

  union {
    value_type one_;    // while the capacity is one
    value_type* many_;  // otherwise
  };
  std::uint32_t size_ = 0;
  std::uint32_t capacity_ = 1;
};

// One evaluated view. Built-in views and modifiers are nodes too, so the tree keeps the order in which
// modifiers were applied (layout and drawing read it that way).
class Node : public std::enable_shared_from_this<Node> {
 public:
  enum class Kind : std::uint8_t { primitive, composite, modified };

  Kind kind() const { return kind_; }
  const SpecPointer& spec() const { return spec_; }
  Node* parent() const { return parent_; }
  const NodeChildren& children() const { return children_; }
  // What this view sees; for a modified view, the environment before its modifier applies.
  const EnvironmentValues& environment() const { return environment_; }
  std::string typeName() const { return spec_->typeName(); }
  std::size_t depth() const { return depth_; }
  bool isAttached() const { return graph_ != nullptr; }
  bool hasAppeared() const { return hasAppeared_; }
  // How many times this view's body ran (views with a body only).
  std::uint64_t evaluationCount() const { return evaluationCount_; }
  // Changes whenever what this view or a view below it shows may have changed (never repeats, across
  // graphs): a built-in view evaluated again, a modifier replaced by one with another effect, a child that
  // came, left or moved. What is worked out from a subtree alone (its sizes, its preferences) holds while
  // the revision stays.
  std::uint64_t revision() const { return revision_; }

  template <class P>
  const P* primitiveAs() const {
    return kind_ == Kind::primitive ? exactly<P>(spec_.get()) : nullptr;
  }
  const Modifier* modifier() const;
  // The key its parent gave it among its children, if any.
  std::optional<std::size_t> key() const { return hasKey_ ? std::optional<std::size_t>(key_) : std::nullopt; }
  template <class M>
  const M* modifierAs() const {
    return exactly<M>(modifier());
  }
  // The view value of a view with a body (the node's own copy), null for other nodes.
  const View* instance() const { return instance_.get(); }

  // Storage that a modifier keeps at this node across evaluations (previous values, running tasks); made
  // when first asked for, as few modifiers keep any.
  std::any& modifierState() {
    if (!modifierState_) modifierState_ = std::make_unique<std::any>();
    return *modifierState_;
  }

  // What the layout pass that lays this view out keeps for it (the sizes it measured, where it placed
  // it), defined by the pass; it goes with the node, so nothing kept outlives the view it describes.
  struct LayoutRecord;
  struct LayoutRecordDeleter {
    void operator()(LayoutRecord* record) const;
  };

 private:
  friend class ViewGraph;
  friend class ui::LayoutPass;
  friend class ui::HostingView;
  // Layout and hosting ask every node what it is many times over: a final class is recognised by its
  // type alone, which costs less than a cast through the hierarchy.
  template <class T, class Base>
  static const T* exactly(const Base* base) {
    if constexpr (std::is_final_v<T>) {
      return base && isSameType(typeid(*base), typeid(T)) ? static_cast<const T*>(base) : nullptr;
    } else {
      return dynamic_cast<const T*>(base);
    }
  }

  // A large tree has a great many nodes: the flags sit together, and what only some nodes need is held
  // apart, made when needed.
  Kind kind_ = Kind::primitive;
  bool isDirty_ : 1 = false;
  bool hasAppeared_ : 1 = false;
  // Whether a view of this subtree is shown by a platform view, at the revision it was worked out for.
  mutable bool hasPlatformViews_ : 1 = false;
  bool hasKey_ : 1 = false;
  std::uint32_t depth_ = 0;
  SpecPointer spec_;
  Node* parent_ = nullptr;
  class ViewGraph* graph_ = nullptr;
  NodeChildren children_;
  EnvironmentValues environment_;
  std::shared_ptr<View> instance_;
  PropertyContext::Slots slots_;
  std::unique_ptr<std::any> modifierState_;
  std::size_t key_ = 0;  // when it has one
  std::uint64_t evaluationCount_ = 0;
  std::uint64_t revision_ = 0;
  // The values of preference keys this subtree produced, at the revision they were worked out for (kept
  // only by views with several children).
  struct PreferenceMemo {
    std::type_index key;
    std::uint64_t revision;
    std::optional<std::any> value;
  };
  std::unique_ptr<std::vector<PreferenceMemo>> preferenceMemos_;
  // The revision at which the preference handlers of this subtree were last given its values.
  std::uint64_t handlersRevision_ = 0;
  // Written by layout and hosting, which read the tree as constant.
  mutable std::unique_ptr<LayoutRecord, LayoutRecordDeleter> layoutRecord_;
  mutable std::uint64_t platformViewsRevision_ = 0;
};

// Owns the tree of one hosted view. Main thread only; re-evaluation requested from other threads is
// posted to the main queue.
class ViewGraph final : public UpdateContext {
 public:
  // Bounds the evaluate / run handlers / apply preferences cycle of one update, so handlers that keep
  // writing different state cannot hang the program.
  static constexpr int kMaxPasses = 64;
  // Bounds how often one update lays the views out again for views that read their own geometry, so
  // content that keeps changing its reader's size cannot hang the program either.
  static constexpr int kMaxLayoutPasses = 8;
  // Bounds how many updates in a row may leave the layout to a later one (see scheduled updates below),
  // so a main queue that is never empty still sees its views laid out.
  static constexpr int kMaxLayoutDeferrals = 8;

  explicit ViewGraph(AnyView root, EnvironmentValues environment = {});
  ~ViewGraph() override;
  ViewGraph(const ViewGraph&) = delete;
  ViewGraph& operator=(const ViewGraph&) = delete;

  const std::shared_ptr<Node>& root() const { return root_; }
  const EnvironmentValues& environment() const { return environment_; }

  // Evaluates everything that was invalidated, runs the handlers that evaluation triggered and applies
  // preferences, repeating until nothing changes (at most kMaxPasses times), then lays the views out and
  // tells the host. Returns the passes made.
  //
  // An update that was posted to the main queue (because a view was invalidated) works the same, except
  // that when its evaluation posted work that is now waiting on the main queue (most often the change
  // signals of observable objects the new views made), it leaves the layout and the host to an update
  // posted after that work: the views that work invalidates are evaluated first, and everything is laid
  // out once.
  int update();
  bool needsUpdate() const;
  bool isUpdating() const { return isUpdating_; }

  // Replaces the environment at the root and re-evaluates the whole tree.
  void setEnvironment(EnvironmentValues environment);
  // Replaces the root view (state is kept where identities match).
  void setRoot(AnyView root);
  // Shows or hides the whole tree: appear and disappear handlers run, state is kept.
  void setVisible(bool isVisible);
  bool isVisible() const { return isVisible_; }

  // Marks a node for re-evaluation at the next update, posted to the main queue. Thread-safe.
  std::function<void()> invalidator(const std::shared_ptr<Node>& node);

  void enqueue(std::function<void()> work) override { pending_.push_back(std::move(work)); }

  // The animation of the transaction that last invalidated a view (see withAnimation), if it had one.
  const std::optional<Animation>& lastTransactionAnimation() const { return lastTransactionAnimation_; }

  // Called after every update (the host refreshes whatever it shows).
  void setDidUpdate(std::function<void()> didUpdate) { didUpdate_ = std::move(didUpdate); }
  // Called once the views of an update have settled (the host lays them out and tells the views that
  // read their geometry what they were given); returns whether that invalidated views, which are then
  // evaluated in the same update. At most kMaxLayoutPasses times per update.
  void setLayout(std::function<bool()> layout) { layout_ = std::move(layout); }

 private:
  void evaluate(Node& node, const SpecPointer& spec, const EnvironmentValues& environment, bool isNew);
  void reconcile(Node& node, std::span<const Child> children, const EnvironmentValues& environment);
  void remove(Node& node);
  void appear(Node& node);
  void disappear(Node& node);
  void markDirty(const std::shared_ptr<Node>& node);
  void scheduleUpdate();
  int update(bool mayDeferLayout);
  bool applyPreferences();
  void collectPreferenceHandlers(Node& node, std::vector<Node*>& handlers);
  static std::optional<std::any> preferenceValue(Node& node, const PreferenceKeyOps& key);
  // Starts a new revision for the evaluations that follow.
  void beginRevision();
  // Gives `node` and its ancestors the current revision.
  void touch(Node& node);

  std::shared_ptr<Node> root_;
  SpecPointer rootSpec_;
  EnvironmentValues environment_;
  std::vector<std::weak_ptr<Node>> dirty_;
  std::vector<std::function<void()>> pending_;
  std::function<void()> didUpdate_;
  std::function<bool()> layout_;
  std::optional<Animation> lastTransactionAnimation_;
  std::uint64_t revision_ = 0;
  std::shared_ptr<bool> alive_ = std::make_shared<bool>(true);
  bool isUpdateScheduled_ = false;
  bool isUpdating_ = false;
  bool isLayoutDeferred_ = false;  // an update left the layout to the next one
  int layoutDeferrals_ = 0;        // updates in a row that did
  bool isVisible_ = true;
};

}  // namespace ui::detail
