#include "platform/ui/hosting.h"

#include <algorithm>
#include <string>
#include <utility>

#include "platform/appkit/controls.h"
#include "platform/ui/layout/geometry_reader.h"
#include "platform/ui/modifiers.h"
#include "platform/ui/representable.h"
#include "platform/ui/views.h"

namespace ui {

using detail::Node;

namespace {

enum Kind : int {
  none,
  textField,
  secureField,
  textEditor,
  button,
  toggle,
  representable,
  scrollView,
  list,
  listRow,
  tabView,
};

int kindOf(const Node& node) {
  if (node.kind() != Node::Kind::primitive) return none;
  if (auto* input = node.primitiveAs<detail::TextInputSpec>()) {
    switch (input->kind) {
      case detail::TextInputSpec::Kind::textField:
        return textField;
      case detail::TextInputSpec::Kind::secureField:
        return secureField;
      case detail::TextInputSpec::Kind::textEditor:
        return textEditor;
    }
  }
  if (node.primitiveAs<detail::ButtonSpec>()) return button;
  if (node.primitiveAs<detail::ToggleSpec>()) return toggle;
  if (node.primitiveAs<detail::RepresentableSpec>()) return representable;
  if (auto* container = node.primitiveAs<detail::ContainerSpec>()) {
    const auto name = container->typeName();
    if (name == "ScrollView") return scrollView;
    if (name == "List") return list;
    if (name == "TabView") return tabView;
  }
  return none;
}

// The first text shown inside a view (a button's title).
std::string firstText(const Node& node) {
  if (auto* text = node.primitiveAs<detail::TextSpec>()) return text->string();
  for (const auto& child : node.children()) {
    auto found = firstText(*child);
    if (!found.empty()) return found;
  }
  return {};
}

Rect relative(const Rect& frame, Point origin) {
  return Rect(frame.minX() - origin.x, frame.minY() - origin.y, frame.width(), frame.height());
}

const detail::TextInputSpec* inputOf(const std::weak_ptr<const Node>& weak) {
  auto node = weak.lock();
  return node && node->isAttached() ? node->primitiveAs<detail::TextInputSpec>() : nullptr;
}

}  // namespace

struct HostingView::Entry {
  std::weak_ptr<const Node> node;
  int kind = none;
  std::shared_ptr<appkit::View> outer;         // what the parent shows: the host view, or a table cell
  std::shared_ptr<appkit::View> platformView;  // the control itself
  std::shared_ptr<appkit::View> container;     // where the platform views of the content go
  detail::SpecPointer updatedWith;             // the value a representable was last updated with
  std::uint64_t generation = 0;
};

// Where the platform views of a part of the tree go: a container view, the position of its origin in
// the hosting view's coordinates, and its new subviews, back to front.
struct HostingView::Place {
  Point origin;
  std::vector<std::shared_ptr<appkit::View>> subviews;
};

std::shared_ptr<HostingView> HostingView::make(AnyView root, Rect frame,
                                               std::shared_ptr<const TextMeasurer> measurer) {
  auto graph = std::make_unique<detail::ViewGraph>(std::move(root));
  auto& graphReference = *graph;
  auto view =
      std::make_shared<HostingView>(Token{}, frame, std::move(graph), graphReference, std::move(measurer));
  view->refresh();
  return view;
}

std::shared_ptr<HostingView> HostingView::make(detail::ViewGraph& graph, Rect frame,
                                               std::shared_ptr<const TextMeasurer> measurer) {
  auto view = std::make_shared<HostingView>(Token{}, frame, nullptr, graph, std::move(measurer));
  view->refresh();
  return view;
}

HostingView::HostingView(Token, Rect frame, std::unique_ptr<detail::ViewGraph> ownGraph,
                         detail::ViewGraph& graph, std::shared_ptr<const TextMeasurer> measurer)
    : appkit::View(frame), ownGraph_(std::move(ownGraph)), graph_(&graph), pass_(std::move(measurer)) {
  graph_->setDidUpdate([this] { show(false); });
  graph_->setLayout([this] {
    // Views shown are not laid out again while they are being brought up to date.
    if (isRefreshing_) return false;
    pass_.layout(*graph_->root(), bounds().size);
    bool isChanged = detail::reportGeometry(pass_);
    isLayoutCurrent_ = !isChanged;
    return isChanged;
  });
}

HostingView::~HostingView() {
  graph_->setDidUpdate(nullptr);
  graph_->setLayout(nullptr);
}

void HostingView::setFrame(Rect frame) {
  bool isResized = frame.size != this->frame().size;
  appkit::View::setFrame(frame);
  if (isResized && generation_ > 0) refresh();
}

std::shared_ptr<appkit::View> HostingView::platformView(const Node& node) const {
  auto found = entries_.find(&node);
  return found == entries_.end() ? nullptr : found->second->platformView;
}

std::shared_ptr<appkit::View> HostingView::host(const Node& node) const {
  auto found = entries_.find(&node);
  return found == entries_.end() ? nullptr : found->second->outer;
}

void HostingView::refresh() { show(true); }

void HostingView::show(bool reportsGeometry) {
  // Making or updating a representable may change state; the update that follows comes back here.
  if (isRefreshing_) {
    isLayoutCurrent_ = false;
    return;
  }
  // The layout made when the update settled is reused once, right after that update.
  if (!isLayoutCurrent_) pass_.layout(*graph_->root(), bounds().size);
  isLayoutCurrent_ = false;
  if (reportsGeometry && !graph_->isUpdating() && detail::reportGeometry(pass_)) {
    // The update evaluates the readers, lays out again until they settle and shows the result.
    graph_->update();
    return;
  }
  isRefreshing_ = true;
  ++generation_;
  toUpdate_.clear();
  Place top{{0, 0}, {}};
  realise(*graph_->root(), top);
  setSubviews(std::move(top.subviews));
  auto isStale = [this](const auto& item) { return item.second->generation != generation_; };
  std::erase_if(entries_, isStale);
  std::erase_if(rowEntries_, isStale);
  // Representables are updated once the hierarchy is complete, so each sees its final place.
  auto pending = std::move(toUpdate_);
  toUpdate_.clear();
  for (Entry* entry : pending) {
    auto node = entry->node.lock();
    if (!node) continue;
    auto* spec = node->primitiveAs<detail::RepresentableSpec>();
    entry->updatedWith = node->spec();
    spec->value().updateView(*entry->platformView, RepresentableContext{node->environment()});
  }
  isRefreshing_ = false;
}

HostingView::Entry* HostingView::entryFor(const Node& node, int kind) {
  // A list row can be a control itself: its cell is kept apart from the control's host.
  auto& slot = kind == listRow ? rowEntries_[&node] : entries_[&node];
  auto current = slot ? slot->node.lock() : nullptr;
  if (slot && current.get() == &node && slot->kind == kind) return slot.get();
  slot = std::make_unique<Entry>();
  slot->node = node.shared_from_this();
  slot->kind = kind;
  switch (kind) {
    case textField:
      slot->platformView = std::make_shared<appkit::TextField>();
      break;
    case secureField:
      slot->platformView = std::make_shared<appkit::SecureTextField>();
      break;
    case textEditor: {
      auto scroll = std::make_shared<appkit::ScrollView>();
      slot->container = std::make_shared<appkit::TextView>();
      scroll->setDocumentView(slot->container);
      slot->platformView = scroll;
      break;
    }
    case button:
    case toggle: {
      auto control = std::make_shared<appkit::Button>();
      control->setKind(kind == toggle ? appkit::Button::Kind::checkbox : appkit::Button::Kind::push);
      slot->platformView = control;
      break;
    }
    case representable: {
      auto* spec = node.primitiveAs<detail::RepresentableSpec>();
      slot->platformView = spec->value().makeView(RepresentableContext{node.environment()});
      if (!slot->platformView) slot->platformView = std::make_shared<appkit::View>();
      break;
    }
    case scrollView: {
      auto scroll = std::make_shared<appkit::ScrollView>();
      slot->container = std::make_shared<appkit::View>();
      scroll->setDocumentView(slot->container);
      slot->platformView = scroll;
      break;
    }
    case list: {
      auto scroll = std::make_shared<appkit::ScrollView>();
      slot->container = std::make_shared<appkit::TableView>();
      scroll->setDocumentView(slot->container);
      slot->platformView = scroll;
      break;
    }
    case listRow:
      slot->platformView = std::make_shared<appkit::TableCellView>();
      slot->outer = slot->platformView;
      slot->container = slot->platformView;
      return slot.get();
    case tabView:
      slot->platformView = std::make_shared<appkit::TabView>();
      slot->container = slot->platformView;
      break;
    default:
      slot->platformView = std::make_shared<appkit::View>();
      break;
  }
  // Scroll views (and lists, which scroll) sit among the other views directly, without a host: the view
  // after one finds it as its own earlier sibling.
  if (kind == scrollView || kind == list) {
    slot->outer = slot->platformView;
  } else {
    slot->outer = std::make_shared<PlatformViewHost>();
  }
  if (kind == representable) toUpdate_.push_back(slot.get());
  return slot.get();
}

void HostingView::configure(Entry& entry, const Node& node) {
  const bool isEnabled = node.environment().isEnabled();
  std::weak_ptr<const Node> weak = entry.node;
  switch (entry.kind) {
    case textField:
    case secureField: {
      auto& field = static_cast<appkit::TextField&>(*entry.platformView);
      auto* input = node.primitiveAs<detail::TextInputSpec>();
      if (field.stringValue() != input->text.get()) field.setStringValue(input->text.get());
      field.setPlaceholderString(input->title);
      field.setEnabled(isEnabled);
      field.textDidChange = [weak](const std::string& text) {
        if (auto* current = inputOf(weak)) current->text.set(text);
      };
      break;
    }
    case textEditor: {
      auto& textView = static_cast<appkit::TextView&>(*entry.container);
      auto* input = node.primitiveAs<detail::TextInputSpec>();
      if (textView.string() != input->text.get()) textView.setString(input->text.get());
      textView.setEditable(isEnabled);
      textView.textDidChange = [weak](const std::string& text) {
        if (auto* current = inputOf(weak)) current->text.set(text);
      };
      break;
    }
    case button:
    case toggle: {
      auto& control = static_cast<appkit::Button&>(*entry.platformView);
      control.setTitle(node.children().empty() ? std::string() : firstText(*node.children().front()));
      control.setEnabled(isEnabled);
      if (auto* spec = node.primitiveAs<detail::ToggleSpec>()) control.setState(spec->isOn.get());
      break;
    }
    case tabView: {
      std::vector<std::string> labels;
      for (const auto& tab : node.children()) {
        labels.push_back(tab->children().empty() ? std::string() : firstText(*tab->children().front()));
      }
      static_cast<appkit::TabView&>(*entry.platformView).setTabLabels(std::move(labels));
      break;
    }
    case representable:
      if (entry.updatedWith != node.spec() &&
          std::find(toUpdate_.begin(), toUpdate_.end(), &entry) == toUpdate_.end()) {
        toUpdate_.push_back(&entry);
      }
      break;
    default:
      break;
  }
}

void HostingView::realise(const Node& node, Place& place) {
  auto frame = pass_.frame(node);
  if (!frame) return;  // not shown (another tab, a subview a layout left out)
  if (int kind = kindOf(node); kind != none) {
    realisePlatformView(node, kind, *frame, place);
    return;
  }
  const auto& children = node.children();
  // A background is drawn (and hosted) behind the view it belongs to.
  if (node.modifierAs<BackgroundModifier>()) {
    for (std::size_t i = 1; i < children.size(); ++i) realise(*children[i], place);
    if (!children.empty()) realise(*children.front(), place);
    return;
  }
  for (const auto& child : children) realise(*child, place);
}

void HostingView::realisePlatformView(const Node& node, int kind, const Rect& frame, Place& place) {
  Entry& entry = *entryFor(node, kind);
  entry.generation = generation_;
  configure(entry, node);
  entry.outer->setFrame(relative(frame, place.origin));
  if (entry.outer != entry.platformView)
    entry.platformView->setFrame(Rect(0, 0, frame.width(), frame.height()));
  place.subviews.push_back(entry.outer);

  switch (kind) {
    case scrollView: {
      Place inside{frame.origin, {}};
      Size contentSize = pass_.contentSize(node).value_or(frame.size);
      if (!node.children().empty()) {
        const Node& content = *node.children().front();
        if (auto contentFrame = pass_.frame(content)) inside.origin = contentFrame->origin;
        realise(content, inside);
      }
      entry.container->setFrame(Rect(inside.origin.x - frame.minX(), inside.origin.y - frame.minY(),
                                     contentSize.width, contentSize.height));
      entry.container->setSubviews(std::move(inside.subviews));
      return;
    }
    case list: {
      Size contentSize = pass_.contentSize(node).value_or(frame.size);
      entry.container->setFrame(Rect(0, 0, contentSize.width, contentSize.height));
      std::vector<std::shared_ptr<appkit::View>> cells;
      for (const Node* row : detail::arrangedItems(node, true)) {
        auto rowFrame = pass_.frame(*row);
        if (!rowFrame) continue;
        Entry& cell = *entryFor(*row, listRow);
        cell.generation = generation_;
        Rect cellFrame(0, rowFrame->minY() - frame.minY(), contentSize.width, rowFrame->height());
        cell.outer->setFrame(cellFrame);
        Place inside{{frame.minX(), rowFrame->minY()}, {}};
        realise(*row, inside);
        cell.outer->setSubviews(std::move(inside.subviews));
        cells.push_back(cell.outer);
      }
      entry.container->setSubviews(std::move(cells));
      return;
    }
    case tabView: {
      Place inside{frame.origin, {}};
      for (const auto& child : node.children()) realise(*child, inside);
      entry.container->setSubviews(std::move(inside.subviews));
      entry.outer->setSubviews({entry.platformView});
      return;
    }
    case textEditor:
      entry.container->setFrame(Rect(0, 0, frame.width(), frame.height()));
      entry.outer->setSubviews({entry.platformView});
      return;
    default: {
      // Content of a control (a button's label) that needs platform views of its own goes in the same
      // host, in front of the control.
      Place inside{frame.origin, {entry.platformView}};
      for (const auto& child : node.children()) realise(*child, inside);
      entry.outer->setSubviews(std::move(inside.subviews));
      return;
    }
  }
}

}  // namespace ui
