#include "platform/ui/view_graph.h"

#include <algorithm>
#include <span>
#include <unordered_map>
#include <unordered_set>

#include "platform/foundation/log.h"
#include "platform/foundation/run_loop.h"

namespace ui::detail {

NodeChildren& NodeChildren::operator=(NodeChildren&& other) noexcept {
  if (this != &other) {
    release();
    take(other);
  }
  return *this;
}

void NodeChildren::take(NodeChildren& other) noexcept {
  if (other.isInPlace()) {
    if (other.size_ == 1) {
      ::new (&one_) value_type(std::move(other.one_));
      other.one_.~value_type();
    }
    capacity_ = 1;
  } else {
    many_ = other.many_;
    capacity_ = other.capacity_;
    other.capacity_ = 1;
  }
  size_ = other.size_;
  other.size_ = 0;
}

void NodeChildren::clear() noexcept {
  std::destroy_n(data(), size_);
  size_ = 0;
}

void NodeChildren::release() noexcept {
  clear();
  if (!isInPlace()) {
    std::allocator<value_type>().deallocate(many_, capacity_);
    capacity_ = 1;
  }
}

void NodeChildren::reserve(std::size_t capacity) {
  if (capacity <= capacity_) return;
  value_type* storage = std::allocator<value_type>().allocate(capacity);
  std::uninitialized_move_n(data(), size_, storage);
  const std::uint32_t size = size_;
  release();
  many_ = storage;
  size_ = size;
  capacity_ = static_cast<std::uint32_t>(capacity);
}

void NodeChildren::push_back(value_type child) {
  if (size_ == capacity_) reserve(std::max<std::size_t>(2, 2 * std::size_t{capacity_}));
  ::new (data() + size_) value_type(std::move(child));
  ++size_;
}

namespace {

Node::Kind kindOf(const ViewSpec& spec) {
  switch (spec.form()) {
    case ViewSpec::Form::composite:
      return Node::Kind::composite;
    case ViewSpec::Form::modified:
      return Node::Kind::modified;
    case ViewSpec::Form::primitive:
      break;
  }
  return Node::Kind::primitive;
}

// Whether a view at a place keeps the identity of the node there: same kind of view (and for built-ins
// the same name) and the same explicit id.
bool hasSameIdentity(const ViewSpec& a, const ViewSpec& b) {
  if (a.identityType() != b.identityType() || a.explicitIdentity() != b.explicitIdentity()) return false;
  // Built-in views of one class may still be different views ("List" and "Form" are both containers).
  const auto* primitive =
      a.form() == ViewSpec::Form::primitive ? static_cast<const PrimitiveSpec*>(&a) : nullptr;
  return !primitive || !primitive->hasVariableTypeName() || a.typeName() == b.typeName();
}

// Revisions are counted for all graphs together, so a node made where a removed one lay never looks
// like it. Main thread only, as the graphs are.
std::uint64_t lastRevision = 0;

// What reconcile keeps about the keys of a node's children from one evaluation to the next: whether no
// two are the same, and while they are not, the keyed children's keys with their positions, ordered by
// key (not current once children moved). Kept only for nodes with keyed children, on the thread of
// their graph; an entry goes when its node leaves the tree, and one whose node is gone is never read.
struct ChildKeys {
  std::weak_ptr<const Node> node;
  bool areDistinct = true;
  bool isIndexCurrent = true;
  std::vector<std::pair<std::size_t, std::size_t>> index;
};

std::unordered_map<const Node*, ChildKeys>& childKeysByNode() {
  thread_local std::unordered_map<const Node*, ChildKeys> byNode;
  return byNode;
}

}  // namespace

const Modifier* Node::modifier() const {
  if (kind_ != Kind::modified) return nullptr;
  return &static_cast<const ModifiedSpec&>(*spec_).modifier();
}

ViewGraph::ViewGraph(AnyView root, EnvironmentValues environment)
    : rootSpec_(root.spec()), environment_(std::move(environment)) {
  root_ = std::make_shared<Node>();
  root_->graph_ = this;
  root_->kind_ = kindOf(*rootSpec_);
  beginRevision();
  evaluate(*root_, rootSpec_, environment_, true);
  update();
}

ViewGraph::~ViewGraph() {
  *alive_ = false;
  if (root_) {
    remove(*root_);
    // Disappear handlers run while the graph can still take their work; what they post is dropped.
    for (std::size_t i = 0; i < pending_.size(); ++i) {
      auto work = std::move(pending_[i]);
      work();
    }
  }
}

bool ViewGraph::needsUpdate() const {
  return !pending_.empty() || std::any_of(dirty_.begin(), dirty_.end(), [](const auto& weak) {
    auto node = weak.lock();
    return node && node->isDirty_ && node->isAttached();
  });
}

int ViewGraph::update() { return update(false); }

int ViewGraph::update(bool mayDeferLayout) {
  if (isUpdating_) return 0;
  isUpdating_ = true;
  isUpdateScheduled_ = false;
  auto& mainLoop = foundation::RunLoop::main();
  const std::size_t waitingBefore = mayDeferLayout ? mainLoop.pendingCount() : 0;
  int passes = 0;
  int layoutPasses = 0;
  while (passes < kMaxPasses) {
    ++passes;
    std::vector<std::shared_ptr<Node>> dirty;
    for (auto& weak : dirty_) {
      if (auto node = weak.lock(); node && node->isDirty_ && node->isAttached()) dirty.push_back(node);
    }
    dirty_.clear();
    // Outer views first: re-evaluating a view re-evaluates its subtree, which clears dirty descendants.
    std::stable_sort(dirty.begin(), dirty.end(),
                     [](const auto& a, const auto& b) { return a->depth_ < b->depth_; });
    beginRevision();
    for (auto& node : dirty) {
      if (node->isDirty_ && node->isAttached()) evaluate(*node, node->spec_, node->environment_, false);
    }
    auto work = std::move(pending_);
    pending_.clear();
    for (auto& item : work) item();
    bool changedPreferences = applyPreferences();
    if (!changedPreferences && pending_.empty() && !needsUpdate()) {
      // Settled: views that read their laid-out geometry may change with the layout. Never on the last
      // pass, so what the layout invalidates is always evaluated within this update.
      if (!layout_ || passes == kMaxPasses) break;
      if (mayDeferLayout && layoutPasses == 0 && layoutDeferrals_ < kMaxLayoutDeferrals &&
          mainLoop.pendingCount() > waitingBefore && mainLoop.hasDueWork()) {
        ++layoutDeferrals_;
        isLayoutDeferred_ = true;
        break;
      }
      layoutDeferrals_ = 0;
      isLayoutDeferred_ = false;
      if (layoutPasses == kMaxLayoutPasses) {
        foundation::log(
            "View graph: the views reading their geometry did not settle after the maximum "
            "number of layout passes");
        break;
      }
      ++layoutPasses;
      if (!layout_()) break;
    }
  }
  if (passes == kMaxPasses && needsUpdate()) {
    foundation::log("View graph: the views did not settle after the maximum number of update passes");
  }
  isUpdating_ = false;
  if (isLayoutDeferred_) {
    // The host is told once the views are laid out.
    scheduleUpdate();
    return passes;
  }
  if (didUpdate_) didUpdate_();
  if (needsUpdate()) scheduleUpdate();
  return passes;
}

void ViewGraph::setEnvironment(EnvironmentValues environment) {
  environment_ = std::move(environment);
  beginRevision();
  evaluate(*root_, rootSpec_, environment_, false);
  update();
}

void ViewGraph::setRoot(AnyView root) {
  rootSpec_ = root.spec();
  beginRevision();
  if (!hasSameIdentity(*root_->spec_, *rootSpec_)) {
    remove(*root_);
    root_ = std::make_shared<Node>();
    root_->graph_ = this;
    root_->kind_ = kindOf(*rootSpec_);
    evaluate(*root_, rootSpec_, environment_, true);
  } else {
    evaluate(*root_, rootSpec_, environment_, false);
  }
  update();
}

void ViewGraph::setVisible(bool isVisible) {
  if (isVisible == isVisible_) return;
  isVisible_ = isVisible;
  if (isVisible) {
    appear(*root_);
  } else {
    disappear(*root_);
  }
  update();
}

std::function<void()> ViewGraph::invalidator(const std::shared_ptr<Node>& node) {
  std::weak_ptr<bool> alive = alive_;
  std::weak_ptr<Node> weakNode = node;
  ViewGraph* graph = this;
  return [alive, weakNode, graph] {
    auto mark = [alive, weakNode, graph] {
      auto isAlive = alive.lock();
      auto target = weakNode.lock();
      if (isAlive && *isAlive && target && target->isAttached()) graph->markDirty(target);
    };
    if (foundation::isMainThread()) {
      if (auto isAlive = alive.lock(); isAlive && *isAlive)
        graph->lastTransactionAnimation_ = currentTransactionAnimation();
      mark();
    } else {
      foundation::RunLoop::main().async(mark);
    }
  };
}

void ViewGraph::markDirty(const std::shared_ptr<Node>& node) {
  if (!node->isDirty_) {
    node->isDirty_ = true;
    dirty_.push_back(node);
  }
  scheduleUpdate();
}

void ViewGraph::scheduleUpdate() {
  if (isUpdateScheduled_ || isUpdating_) return;
  isUpdateScheduled_ = true;
  std::weak_ptr<bool> alive = alive_;
  foundation::RunLoop::main().async([alive, this] {
    // An update that ran in the meantime (called directly) did this one's work.
    if (auto isAlive = alive.lock(); isAlive && *isAlive && isUpdateScheduled_) update(true);
  });
}

void ViewGraph::evaluate(Node& node, const SpecPointer& spec, const EnvironmentValues& environment,
                         bool isNew) {
  const bool isSameEnvironment = !isNew && environment.isEquivalent(node.environment_);
  if (!isNew && !node.isDirty_ && isSameEnvironment && spec == node.spec_) {
    // The very description evaluated here last, seeing the same values: it would describe the same
    // subtree again (views below that must change are marked dirty and evaluated on their own).
    return;
  }
  if (node.kind_ == Node::Kind::composite && !isNew && !node.isDirty_ && node.instance_ &&
      isSameEnvironment) {
    const auto& composite = static_cast<const CompositeSpecBase&>(*spec);
    if (composite.isEqualTo(*node.instance_)) {
      // The same view seeing the same values: its body would describe the same subtree.
      node.spec_ = spec;
      return;
    }
  }
  // A node takes a new revision only when what it shows changes: a built-in view always (its values are
  // not compared), a modifier unless it has the same effect as the one it replaces in an equivalent
  // environment, a view with a body never for its own sake (it is laid out and drawn as its body is).
  // Children that change, come or go give it a new revision through their own evaluation or reconcile.
  bool isChanged = isNew || node.kind_ == Node::Kind::primitive;
  if (!isChanged && node.kind_ == Node::Kind::modified) {
    const auto& previous = static_cast<const ModifiedSpec&>(*node.spec_).modifier();
    isChanged =
        !static_cast<const ModifiedSpec&>(*spec).modifier().hasSameEffect(previous) || !isSameEnvironment;
  }
  node.spec_ = spec;
  // An equivalent environment is not taken over: the views below keep seeing the very set they saw, and
  // compare it with their own at the cost of a pointer rather than value by value.
  if (!isSameEnvironment) node.environment_ = environment;
  node.isDirty_ = false;
  if (isChanged) touch(node);
  const EnvironmentValues& seen = node.environment_;
  switch (node.kind_) {
    case Node::Kind::composite: {
      const auto& composite = static_cast<const CompositeSpecBase&>(*spec);
      if (!node.instance_ || !composite.assignTo(*node.instance_)) node.instance_ = composite.makeInstance();
      // Binding runs no evaluation, so one list of properties serves every view in turn.
      thread_local std::vector<DynamicProperty*> properties;
      composite.propertiesOf(*node.instance_, properties);
      // Storage of properties past the last one of this view (one of another type had more) goes.
      std::erase_if(node.slots_,
                    [&](const PropertyContext::Slot& slot) { return slot.property >= properties.size(); });
      std::function<void()> invalidate;
      const PropertyContext::MakeInvalidator makeInvalidator = [this, &node] {
        return invalidator(node.shared_from_this());
      };
      for (std::size_t i = 0; i < properties.size(); ++i) {
        PropertyContext context(node.slots_, i, seen, invalidate, makeInvalidator);
        properties[i]->bind(context);
      }
      ++node.evaluationCount_;
      AnyView body = node.instance_->body();
      const Child content{body.spec(), std::nullopt};
      reconcile(node, std::span(&content, 1), seen);
      break;
    }
    case Node::Kind::primitive:
      reconcile(node, static_cast<const PrimitiveSpec&>(*spec).children(), seen);
      break;
    case Node::Kind::modified: {
      const auto& modified = static_cast<const ModifiedSpec&>(*spec);
      EnvironmentValues inner = seen;
      modified.modifier().transformEnvironment(inner);
      // What the content saw before, when it is equivalent, for the same reason as above.
      if (!node.children_.empty() && inner.isEquivalent(node.children_.front()->environment_)) {
        inner = node.children_.front()->environment_;
      }
      auto attached = modified.modifier().attachedViews();
      if (attached.empty()) {
        const Child content{modified.content(), std::nullopt};
        reconcile(node, std::span(&content, 1), inner);
      } else {
        std::vector<Child> children;
        children.reserve(attached.size() + 1);
        children.push_back(Child{modified.content(), std::nullopt});
        for (auto& view : attached) children.push_back(Child{std::move(view), std::nullopt});
        reconcile(node, children, inner);
      }
      modified.modifier().evaluated(node, *this, isNew);
      break;
    }
  }
  if (isNew && isVisible_ && !node.hasAppeared_) {
    node.hasAppeared_ = true;
    if (auto* modifier = node.modifier()) modifier->appeared(node, *this);
  }
}

void ViewGraph::reconcile(Node& node, std::span<const Child> children, const EnvironmentValues& environment) {
  auto old = std::move(node.children_);
  node.children_.clear();
  node.children_.reserve(children.size());
  std::vector<bool> isReused(old.size(), false);
  // Keyed children are found by key, the others by position: a child unkeyed at position i can only be
  // the old unkeyed child at i (positions are indices). While the old keys are distinct, a child keyed k
  // is the old child with key k, so the old child at the same index is tried first, and only children
  // inserted, removed or moved are looked up, in the node's index of its children's keys; that index is
  // kept from one reconcile to the next and brought up to date entry by entry, so a long list whose end
  // changes costs no more than a walk along it. Old keys that repeat (rare) are looked up in a table made
  // here, the first child with a key taking it.
  // Nodes whose children have no keys keep no entry.
  auto& byNode = childKeysByNode();
  auto entry = byNode.find(&node);
  if (entry != byNode.end() && entry->second.node.lock().get() != &node) {
    byNode.erase(entry);
    entry = byNode.end();
  }
  const bool hasKeyedChildren =
      std::any_of(children.begin(), children.end(), [](const Child& c) { return c.key; });
  if (entry == byNode.end() && hasKeyedChildren) {
    // Children from before without an entry had no keys.
    entry = byNode.emplace(&node, ChildKeys{}).first;
    entry->second.node = node.weak_from_this();
  }
  if (old.empty() && entry == byNode.end() && !hasKeyedChildren) {
    // The first children of a view (most views of a new tree): there is nothing to match them with.
    if (!children.empty()) touch(node);
    for (auto& child : children) {
      auto fresh = std::make_shared<Node>();
      fresh->kind_ = kindOf(*child.spec);
      fresh->parent_ = &node;
      fresh->graph_ = this;
      fresh->depth_ = node.depth_ + 1;
      node.children_.push_back(std::move(fresh));
      evaluate(*node.children_.back(), child.spec, environment, true);
    }
    return;
  }
  ChildKeys noKeys;
  ChildKeys& keys = entry == byNode.end() ? noKeys : entry->second;
  const bool hadDistinctKeys = keys.areDistinct;
  auto& keyIndex = keys.index;
  auto byKey = [](const std::pair<std::size_t, std::size_t>& entry, std::size_t key) {
    return entry.first < key;
  };
  auto indexed = [&](std::size_t key) -> std::optional<std::size_t> {
    if (!keys.isIndexCurrent) {
      keyIndex.clear();
      for (std::size_t j = 0; j < old.size(); ++j) {
        if (old[j]->hasKey_) keyIndex.emplace_back(old[j]->key_, j);
      }
      std::sort(keyIndex.begin(), keyIndex.end());
      keys.isIndexCurrent = true;
    }
    auto it = std::lower_bound(keyIndex.begin(), keyIndex.end(), key, byKey);
    return it != keyIndex.end() && it->first == key ? std::optional<std::size_t>(it->second) : std::nullopt;
  };
  std::unordered_map<std::size_t, std::size_t> oldByKey;
  bool isKeyTableMade = false;
  auto oldWithKey = [&](std::size_t key) -> std::optional<std::size_t> {
    if (hadDistinctKeys) return indexed(key);
    if (!isKeyTableMade) {
      isKeyTableMade = true;
      oldByKey.reserve(old.size());
      for (std::size_t j = 0; j < old.size(); ++j) {
        if (old[j]->hasKey_) oldByKey.emplace(old[j]->key_, j);
      }
    }
    auto it = oldByKey.find(key);
    return it == oldByKey.end() ? std::nullopt : std::optional<std::size_t>(it->second);
  };
  // Whether the new keys are distinct, worked out from the keyed children not kept in place (each of
  // which may repeat the key of a child kept in place, or of another one not kept in place); whether the
  // index can follow entry by entry (no child moved).
  bool hasDistinctKeys = hadDistinctKeys;
  bool isIndexFollowable = hadDistinctKeys;
  // Many children out of place (a list reordered) are counted at the end instead.
  constexpr std::size_t kDisplacedKeysFollowed = 64;
  bool areKeysCountedAtEnd = !hadDistinctKeys;
  std::vector<std::size_t> displacedKeys;
  std::vector<std::pair<std::shared_ptr<Node>, bool>> matched;  // node, isNew
  matched.reserve(children.size());
  for (std::size_t i = 0; i < children.size(); ++i) {
    const auto& child = children[i];
    std::optional<std::size_t> candidate;
    const bool isInPlace = i < old.size() && old[i]->key() == child.key;
    if (!child.key) {
      if (isInPlace) candidate = i;
    } else if (hadDistinctKeys && isInPlace) {
      candidate = i;
    } else {
      candidate = oldWithKey(*child.key);
    }
    std::shared_ptr<Node> found;
    if (candidate) {
      const std::size_t j = *candidate;
      if (!isReused[j] && (old[j]->spec_ == child.spec || hasSameIdentity(*old[j]->spec_, *child.spec))) {
        found = old[j];
        isReused[j] = true;
      }
    }
    if (child.key && hadDistinctKeys && !(found && *candidate == i)) {
      if (found) isIndexFollowable = false;  // moved
      if (displacedKeys.size() == kDisplacedKeysFollowed) areKeysCountedAtEnd = true;
      if (hasDistinctKeys && !areKeysCountedAtEnd) {
        const auto owner = indexed(*child.key);
        if (owner && *owner != i && *owner < children.size() && children[*owner].key == child.key) {
          hasDistinctKeys = false;
        } else if (std::find(displacedKeys.begin(), displacedKeys.end(), *child.key) != displacedKeys.end()) {
          hasDistinctKeys = false;
        } else {
          displacedKeys.push_back(*child.key);
        }
      }
    }
    if (found) {
      matched.emplace_back(found, false);
    } else {
      auto fresh = std::make_shared<Node>();
      fresh->kind_ = kindOf(*child.spec);
      fresh->parent_ = &node;
      fresh->graph_ = this;
      fresh->hasKey_ = child.key.has_value();
      fresh->key_ = child.key.value_or(0);
      fresh->depth_ = node.depth_ + 1;
      matched.emplace_back(fresh, true);
    }
  }
  if (areKeysCountedAtEnd) {
    std::unordered_set<std::size_t> keys;
    keys.reserve(children.size());
    hasDistinctKeys = std::all_of(children.begin(), children.end(), [&keys](const Child& child) {
      return !child.key || keys.insert(*child.key).second;
    });
  }
  keys.areDistinct = hasDistinctKeys;
  if (hasDistinctKeys && isIndexFollowable && keys.isIndexCurrent) {
    // Children kept in place keep their entries; those that left give theirs up, new ones add theirs.
    for (std::size_t j = 0; j < old.size(); ++j) {
      if (isReused[j] || !old[j]->hasKey_) continue;
      auto it = std::lower_bound(keyIndex.begin(), keyIndex.end(), old[j]->key_, byKey);
      if (it != keyIndex.end() && it->first == old[j]->key_ && it->second == j) keyIndex.erase(it);
    }
    for (std::size_t i = 0; i < children.size(); ++i) {
      if (!matched[i].second || !children[i].key) continue;
      const std::pair<std::size_t, std::size_t> entry{*children[i].key, i};
      keyIndex.insert(std::lower_bound(keyIndex.begin(), keyIndex.end(), entry), entry);
    }
  } else {
    keys.isIndexCurrent = false;
  }
  if (!hasKeyedChildren && entry != byNode.end()) byNode.erase(entry);
  // Views that left go first, so their disappear handlers run before the newcomers' appear handlers.
  bool isRearranged = matched.size() != old.size();
  for (std::size_t j = 0; j < old.size(); ++j) {
    if (!isReused[j]) {
      remove(*old[j]);
      isRearranged = true;
    }
  }
  for (std::size_t i = 0; i < matched.size() && !isRearranged; ++i) {
    isRearranged = matched[i].first != old[i];
  }
  // Children that left or moved change the view's layout though none of them was evaluated anew.
  if (isRearranged) touch(node);
  for (std::size_t i = 0; i < matched.size(); ++i) {
    node.children_.push_back(std::move(matched[i].first));
    evaluate(*node.children_.back(), children[i].spec, environment, matched[i].second);
  }
}

void ViewGraph::beginRevision() { revision_ = ++lastRevision; }

void ViewGraph::touch(Node& node) {
  // Ancestors of a node with the current revision have it too, so the walk stops at the first one.
  for (Node* current = &node; current && current->revision_ != revision_; current = current->parent_) {
    current->revision_ = revision_;
  }
}

void ViewGraph::appear(Node& node) {
  if (!node.hasAppeared_) {
    node.hasAppeared_ = true;
    if (auto* modifier = node.modifier()) modifier->appeared(node, *this);
  }
  for (auto& child : node.children_) appear(*child);
}

void ViewGraph::disappear(Node& node) {
  for (auto& child : node.children_) disappear(*child);
  if (node.hasAppeared_) {
    node.hasAppeared_ = false;
    if (auto* modifier = node.modifier()) modifier->disappeared(node, *this);
  }
}

void ViewGraph::remove(Node& node) {
  disappear(node);
  std::vector<Node*> stack{&node};
  while (!stack.empty()) {
    Node* current = stack.back();
    stack.pop_back();
    for (auto& child : current->children_) stack.push_back(child.get());
    // A removed view keeps its subtree (an inspector may still hold it) but no longer knows the tree it
    // left, whose nodes may go away before it does.
    if (current == &node) current->parent_ = nullptr;
    current->graph_ = nullptr;
    current->isDirty_ = false;
    if (!current->children_.empty()) childKeysByNode().erase(current);
    // State and subscriptions go with the view.
    current->slots_.clear();
  }
}

void ViewGraph::collectPreferenceHandlers(Node& node, std::vector<Node*>& handlers) {
  // A subtree's preference values depend on the subtree alone: while it keeps the revision at which its
  // handlers were given them, they have nothing new to be told, and it is not walked.
  if (node.handlersRevision_ == node.revision_) return;
  if (node.modifierAs<PreferenceChangeModifier>()) handlers.push_back(&node);
  for (auto& child : node.children_) collectPreferenceHandlers(*child, handlers);
  node.handlersRevision_ = node.revision_;
}

std::optional<std::any> ViewGraph::preferenceValue(Node& node, const PreferenceKeyOps& key) {
  if (node.children_.size() <= 1) {
    // A view with at most one child only passes its child's value on (through its modifier): a memo here
    // would keep a copy of what the nearest view below with several children keeps already, and most views
    // of a large tree are such links. Walking down to that view costs a step per view.
    std::optional<std::any> value;
    if (!node.children_.empty()) {
      if (auto childValue = preferenceValue(*node.children_.front(), key)) {
        value = key.defaultValue();
        key.reduce(*value, *childValue);
      }
    }
    if (auto* modifier = node.modifier()) modifier->preference(key, value);
    return value;
  }
  // A subtree's value depends on the subtree alone, so it is worked out again only once it changed.
  if (!node.preferenceMemos_) node.preferenceMemos_ = std::make_unique<std::vector<Node::PreferenceMemo>>();
  auto& memos = *node.preferenceMemos_;
  auto memo = std::find_if(memos.begin(), memos.end(),
                           [&key](const Node::PreferenceMemo& m) { return m.key == key.key; });
  if (memo != memos.end() && memo->revision == node.revision_) return memo->value;
  std::optional<std::any> value;
  for (const auto& child : node.children_) {
    auto childValue = preferenceValue(*child, key);
    if (!childValue) continue;
    if (!value) value = key.defaultValue();
    key.reduce(*value, *childValue);
  }
  if (auto* modifier = node.modifier()) modifier->preference(key, value);
  // The children's values may have added memos of their own, but never to this node: `memo` still holds.
  if (memo == memos.end()) {
    memos.push_back(Node::PreferenceMemo{key.key, node.revision_, value});
  } else {
    memo->revision = node.revision_;
    memo->value = value;
  }
  return value;
}

bool ViewGraph::applyPreferences() {
  std::vector<Node*> handlers;
  collectPreferenceHandlers(*root_, handlers);
  bool didCall = false;
  for (Node* node : handlers) {
    const auto* modifier = node->modifierAs<PreferenceChangeModifier>();
    if (node->children_.empty()) continue;
    auto value = preferenceValue(*node->children_.front(), modifier->key);
    std::any current = value ? *value : modifier->key.defaultValue();
    auto& delivered = node->modifierState();
    if (delivered.has_value() && modifier->key.isEqual(delivered, current)) continue;
    delivered = current;
    modifier->action(current);
    didCall = true;
  }
  return didCall;
}

}  // namespace ui::detail
