#include "platform/ui/hosting.h"

#include <algorithm>
#include <string>
#include <utility>

#include "platform/appkit/controls.h"
#include "platform/appkit/responder.h"
#include "platform/appkit/search_field.h"
#include "platform/appkit/styled_window.h"
#include "platform/ui/layout/geometry_reader.h"
#include "platform/ui/material.h"
#include "platform/ui/modifiers.h"
#include "platform/ui/representable.h"
#include "platform/ui/text_field_modifiers.h"
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
  segmentedControl,
  colorWell,
  searchField,
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
  if (node.primitiveAs<detail::TabViewSpec>()) return tabView;
  if (node.primitiveAs<detail::ColorPickerSpec>()) return colorWell;
  // A pop-up menu opens only when clicked and draws its title itself; segments are a platform control.
  if (node.primitiveAs<detail::PickerSpec>() &&
      node.environment().get<PickerStyleKey>() == PickerStyle::segmented) {
    return segmentedControl;
  }
  if (auto* container = node.primitiveAs<detail::ContainerSpec>()) {
    const auto name = container->typeName();
    if (name == "ScrollView") return scrollView;
    if (name == "List") return list;
  }
  return none;
}

// Whether `child` is the view a parent wraps (the modified content, or a body), so the parent's
// modifiers apply to it.
bool isWrappedBy(const Node& child, const Node& parent) {
  if (parent.kind() == Node::Kind::composite) return true;
  return parent.kind() == Node::Kind::modified && !parent.children().empty() &&
         parent.children().front().get() == &child;
}

// The focus state a field is connected to: the nearest `focused` modifier wrapping it.
const FocusedModifier* focusConnection(const Node& field) {
  for (const Node* current = &field; current->parent() && isWrappedBy(*current, *current->parent());) {
    current = current->parent();
    if (auto* connection = current->modifierAs<FocusedModifier>()) return connection;
  }
  return nullptr;
}

// Keeps a field's focus state with its platform view's focus.
std::function<void(bool)> focusFollower(std::weak_ptr<const Node> weak) {
  return [weak](bool isFirstResponder) {
    auto node = weak.lock();
    if (!node || !node->isAttached()) return;
    if (auto* connection = focusConnection(*node);
        connection && connection->isFocused() != isFirstResponder) {
      connection->setFocused(isFirstResponder);
    }
  };
}

// Runs the submit handlers around a field, nearest first.
void submit(const Node& field) {
  for (const Node* current = &field; current; current = current->parent()) {
    if (auto* m = current->modifierAs<SubmitModifier>(); m && m->action) m->action();
  }
}

// The image an option label shows, looked for through its modifiers.
const detail::ImageSpec* imageOf(const detail::SpecPointer& label) {
  for (const detail::ViewSpec* spec = label.get(); spec;) {
    if (auto* image = dynamic_cast<const detail::ImageSpec*>(spec)) return image;
    auto* modified = dynamic_cast<const detail::ModifiedSpec*>(spec);
    if (!modified) return nullptr;
    spec = modified->content().get();
  }
  return nullptr;
}

Rect relative(const Rect& frame, Point origin) {
  return Rect(frame.minX() - origin.x, frame.minY() - origin.y, frame.width(), frame.height());
}

template <class P>
const P* attached(const std::weak_ptr<const Node>& weak) {
  auto node = weak.lock();
  return node && node->isAttached() ? node->primitiveAs<P>() : nullptr;
}

const detail::TextInputSpec* inputOf(const std::weak_ptr<const Node>& weak) {
  return attached<detail::TextInputSpec>(weak);
}

// A field bound through a formatter takes what was typed when the typing is committed, and shows what
// the stored value reads as afterwards.
void commitTyping(const std::weak_ptr<const Node>& weak, appkit::TextField& field) {
  auto* input = inputOf(weak);
  if (input && input->commit) field.setStringValue(input->commit(field.stringValue()));
}

}  // namespace

std::string detail::controlTitle(const Node& node) {
  if (auto* text = node.primitiveAs<detail::TextSpec>()) return text->string();
  for (const auto& child : node.children()) {
    auto found = controlTitle(*child);
    if (!found.empty()) return found;
  }
  return {};
}

struct HostingView::Entry {
  std::weak_ptr<const Node> node;
  int kind = none;
  std::shared_ptr<appkit::View> outer;         // what the parent shows: the host view, or a table cell
  std::shared_ptr<appkit::View> platformView;  // the control itself
  std::shared_ptr<appkit::View> container;     // where the platform views of the content go
  detail::SpecPointer updatedWith;             // the value a representable was last updated with
  std::uint64_t generation = 0;
};

// What a run of a ForEach's views added to the hierarchy the last time it was shown, kept while only scroll
// views show it (they hold nothing that can change while their views keep their revision and place).
struct HostingView::RealisedRun {
  std::weak_ptr<const Node> node;
  std::uint64_t revision = 0;
  std::uint64_t arranged = 0;
  Rect frame;
  Point origin;
  std::uint64_t generation = 0;
  std::vector<std::shared_ptr<appkit::View>> subviews;
  std::vector<Entry*> entries;
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

HostingView::HostingView(AnyView root, Rect frame, std::shared_ptr<const TextMeasurer> measurer)
    : appkit::View(frame),
      ownGraph_(std::make_unique<detail::ViewGraph>(std::move(root))),
      graph_(ownGraph_.get()),
      pass_(std::move(measurer)) {
  connectGraph();
}

HostingView::HostingView(Token, Rect frame, std::unique_ptr<detail::ViewGraph> ownGraph,
                         detail::ViewGraph& graph, std::shared_ptr<const TextMeasurer> measurer)
    : appkit::View(frame), ownGraph_(std::move(ownGraph)), graph_(&graph), pass_(std::move(measurer)) {
  connectGraph();
}

void HostingView::connectGraph() {
  graph_->setDidUpdate([this] { show(false); });
  graph_->setLayout([this] {
    // Views shown are not laid out again while they are being brought up to date.
    if (isRefreshing_) return false;
    layoutTree();
    bool isChanged = detail::reportGeometry(pass_);
    isLayoutCurrent_ = !isChanged;
    return isChanged;
  });
}

void HostingView::layoutTree() {
  laidOutInsets_ = safeAreaInsets();
  pass_.layout(*graph_->root(), bounds().size, laidOutInsets_);
}

EdgeInsets HostingView::safeAreaInsets() const {
  EdgeInsets insets = additionalSafeAreaInsets();
  auto styled = std::dynamic_pointer_cast<appkit::StyledWindow>(window());
  if (styled && styled->contentView().get() == this) {
    using Mask = appkit::StyledWindow::StyleMask;
    const auto mask = styled->styleMask();
    if ((mask & Mask::titled) != 0 && (mask & Mask::fullSizeContentView) != 0) insets.top += titlebarHeight;
  }
  return insets;
}

void HostingView::setAdditionalSafeAreaInsets(EdgeInsets insets) {
  if (insets == additionalSafeAreaInsets_) return;
  additionalSafeAreaInsets_ = insets;
  if (generation_ > 0) refresh();
}

Rect HostingView::safeAreaRect() const {
  const EdgeInsets insets = safeAreaInsets();
  const Rect area = bounds();
  return Rect(area.minX() + insets.leading, area.minY() + insets.top,
              std::max(0.0, area.width() - insets.leading - insets.trailing),
              std::max(0.0, area.height() - insets.top - insets.bottom));
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
  if (!isLayoutCurrent_) layoutTree();
  isLayoutCurrent_ = false;
  if (reportsGeometry && !graph_->isUpdating() && detail::reportGeometry(pass_)) {
    // The update evaluates the readers, lays out again until they settle and shows the result.
    graph_->update();
    return;
  }
  isRefreshing_ = true;
  ++generation_;
  toUpdate_.clear();
  focusables_.clear();
  Place top{{0, 0}, {}};
  realise(*graph_->root(), top);
  setSubviews(std::move(top.subviews));
  auto isStale = [this](const auto& item) { return item.second->generation != generation_; };
  std::erase_if(entries_, isStale);
  std::erase_if(rowEntries_, isStale);
  std::erase_if(realisedRuns_, [&isStale](const auto& item) { return !item.second || isStale(item); });
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
  followFocusStates();
  hostedViewsDidChange();
}

HostingView::Entry* HostingView::entryFor(const Node& node, int kind) {
  Entry* entry = madeEntryFor(node, kind);
  if (realisedEntries_) realisedEntries_->push_back(entry);
  return entry;
}

HostingView::Entry* HostingView::madeEntryFor(const Node& node, int kind) {
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
    case segmentedControl:
      slot->platformView = std::make_shared<appkit::SegmentedControl>();
      break;
    case colorWell:
      slot->platformView = std::make_shared<appkit::ColorWell>();
      break;
    case searchField:
      slot->platformView = std::make_shared<appkit::SearchField>();
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
      // What a person types into a field bound through a formatter stays until it is committed.
      const bool isTyping = input->commit && isFirstResponder(field);
      if (!isTyping && field.stringValue() != input->text.get()) field.setStringValue(input->text.get());
      field.setPlaceholderString(input->title);
      field.setEnabled(isEnabled);
      field.textDidChange = [weak](const std::string& text) {
        if (auto* current = inputOf(weak); current && !current->commit) current->text.set(text);
      };
      // The closures live in the field, so the field outlives every call of them.
      auto* fieldPointer = &field;
      field.action = [weak, fieldPointer] {
        commitTyping(weak, *fieldPointer);
        if (auto node = weak.lock(); node && node->isAttached()) submit(*node);
      };
      field.cancelOperation = [weak] {
        auto node = weak.lock();
        return node && node->isAttached() && performExitCommand(*node);
      };
      auto follow = focusFollower(weak);
      field.firstResponderDidChange = [weak, fieldPointer, follow](bool isFirstResponder) {
        if (!isFirstResponder) commitTyping(weak, *fieldPointer);
        follow(isFirstResponder);
      };
      break;
    }
    case textEditor: {
      auto& textView = static_cast<appkit::TextView&>(*entry.container);
      auto* input = node.primitiveAs<detail::TextInputSpec>();
      if (textView.string() != input->text.get()) textView.setString(input->text.get());
      textView.setEditable(isEnabled);
      if (!isEnabled) resignFocus(textView);
      textView.textDidChange = [weak](const std::string& text) {
        if (auto* current = inputOf(weak)) current->text.set(text);
      };
      textView.firstResponderDidChange = focusFollower(weak);
      break;
    }
    case button:
    case toggle: {
      auto& control = static_cast<appkit::Button&>(*entry.platformView);
      control.setTitle(node.children().empty() ? std::string()
                                               : detail::controlTitle(*node.children().front()));
      control.setEnabled(isEnabled);
      if (auto* spec = node.primitiveAs<detail::ToggleSpec>()) control.setState(spec->isOn.get());
      control.action = [weak] {
        if (auto* button = attached<detail::ButtonSpec>(weak)) {
          if (button->action) button->action();
        } else if (auto* toggle = attached<detail::ToggleSpec>(weak)) {
          toggle->isOn.set(!toggle->isOn.get());
        }
      };
      break;
    }
    case tabView: {
      auto& tabs = static_cast<appkit::TabView&>(*entry.platformView);
      std::vector<std::string> labels;
      std::vector<double> widths;
      for (const auto& tab : node.children()) {
        labels.push_back(tab->children().empty() ? std::string()
                                                 : detail::controlTitle(*tab->children().front()));
        auto label = tab->children().empty() ? std::nullopt : pass_.frame(*tab->children().front());
        widths.push_back(label ? label->width() : 0);
      }
      tabs.setTabLabels(std::move(labels));
      tabs.setLabelWidths(std::move(widths));
      tabs.setSelectedIndex(node.primitiveAs<detail::TabViewSpec>()->selectedIndex);
      tabs.didSelectTab = [weak](std::size_t index) {
        if (auto* spec = attached<detail::TabViewSpec>(weak); spec && spec->select) spec->select(index);
      };
      break;
    }
    case segmentedControl: {
      auto& control = static_cast<appkit::SegmentedControl&>(*entry.platformView);
      auto* picker = node.primitiveAs<detail::PickerSpec>();
      std::vector<std::string> images;
      bool areTemplates = false;
      for (const auto& label : picker->optionLabels) {
        auto* image = imageOf(label);
        images.push_back(image ? image->name : std::string());
        areTemplates = areTemplates || (image && image->isTemplate);
      }
      control.setLabels(picker->optionTitles);
      control.setImageNames(std::move(images));
      control.setImagesTemplates(areTemplates);
      const auto selected = picker->selectedIndex();
      control.setSelectedSegment(selected ? static_cast<int>(*selected) : -1);
      control.setEnabled(isEnabled);
      auto* controlPointer = &control;
      control.action = [weak, controlPointer] {
        auto* current = attached<detail::PickerSpec>(weak);
        if (current && controlPointer->selectedSegment() >= 0) {
          current->select(static_cast<std::size_t>(controlPointer->selectedSegment()));
        }
      };
      break;
    }
    case colorWell: {
      auto& well = static_cast<appkit::ColorWell&>(*entry.platformView);
      auto* picker = node.primitiveAs<detail::ColorPickerSpec>();
      const auto shown = picker->selection.get().resolved(node.environment().colorScheme());
      well.setColor({shown.red, shown.green, shown.blue, shown.opacity});
      well.setSupportsAlpha(picker->supportsOpacity);
      well.setEnabled(isEnabled);
      if (!isEnabled) well.deactivate();
      auto* wellPointer = &well;
      well.action = [weak, wellPointer] {
        if (auto* current = attached<detail::ColorPickerSpec>(weak)) {
          const auto picked = wellPointer->color();
          current->selection.set(Color(picked.red, picked.green, picked.blue, picked.alpha));
        }
      };
      break;
    }
    case searchField: {
      auto& field = static_cast<appkit::SearchField&>(*entry.platformView);
      auto* searchable = node.modifierAs<SearchableModifier>();
      if (field.stringValue() != searchable->text.get()) field.setStringValue(searchable->text.get());
      field.setEnabled(isEnabled);
      field.textDidChange = [weak](const std::string& text) {
        auto node = weak.lock();
        if (!node || !node->isAttached()) return;
        if (auto* current = node->modifierAs<SearchableModifier>()) current->text.set(text);
      };
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
  if (entry.kind == textField || entry.kind == secureField || entry.kind == textEditor) {
    focusables_.push_back(&entry);
  }
}

bool HostingView::isFirstResponder(const appkit::View& view) const {
  auto window = this->window();
  return window && appkit::firstResponder(*window).get() == &view;
}

void HostingView::resignFocus(appkit::View& view) {
  if (auto window = this->window(); window && appkit::firstResponder(*window).get() == &view) {
    appkit::makeFirstResponder(*window, nullptr);
  }
}

std::vector<Rect> HostingView::clickableRects() const {
  std::vector<Rect> rects;
  const auto scheme = graph_->environment().colorScheme();
  for (const auto& [node, frame] : pass_.frames()) {
    bool draws = node->primitiveAs<detail::ShapeSpec>() || node->primitiveAs<detail::MaterialSpec>() ||
                 node->primitiveAs<detail::TextSpec>() || node->primitiveAs<detail::ImageSpec>();
    if (auto* color = node->primitiveAs<detail::ColorSpec>())
      draws = color->color.resolved(scheme).opacity > 0;
    if (draws && frame.width() > 0 && frame.height() > 0) rects.push_back(frame);
  }
  for (const auto& subview : subviews()) {
    if (!subview->isHidden()) rects.push_back(subview->frame());
  }
  // The frames of the layout are in the hosting view's own coordinates already (origin at its top-left).
  const Rect visible = bounds();
  std::erase_if(rects, [&](const Rect& rect) {
    return rect.maxX() <= visible.minX() || rect.minX() >= visible.maxX() || rect.maxY() <= visible.minY() ||
           rect.minY() >= visible.maxY();
  });
  return rects;
}

void HostingView::viewDidMoveToWindow() {
  if (generation_ > 0 && safeAreaInsets() != laidOutInsets_) refresh();
  followFocusStates();
}

void HostingView::followFocusStates() {
  auto window = this->window();
  if (!window) return;
  const auto current = appkit::firstResponder(*window);
  std::shared_ptr<appkit::View> wanted;
  bool isFocusLeaving = false;
  for (Entry* entry : focusables_) {
    auto node = entry->node.lock();
    auto* connection = node ? focusConnection(*node) : nullptr;
    if (!connection) continue;
    const auto& responder = entry->kind == textEditor ? entry->container : entry->platformView;
    const bool hasFocus = current == responder;
    if (connection->isFocused() && !hasFocus && !wanted &&
        dynamic_cast<appkit::Responder&>(*responder).acceptsFirstResponder()) {
      wanted = responder;
    } else if (!connection->isFocused() && hasFocus) {
      isFocusLeaving = true;
    }
  }
  // A field refusing focus (disabled) keeps its state; the window keeps what focus it has.
  if (wanted) {
    appkit::makeFirstResponder(*window, wanted);
  } else if (isFocusLeaving) {
    appkit::makeFirstResponder(*window, nullptr);
  }
}

bool HostingView::hasPlatformViews(const Node& node) {
  if (node.platformViewsRevision_ == node.revision()) return node.hasPlatformViews_;
  bool has = kindOf(node) != none || node.modifierAs<SearchableModifier>();
  // Every child is asked, so each keeps its answer for the next update.
  for (const auto& child : node.children()) has = hasPlatformViews(*child) || has;
  node.platformViewsRevision_ = node.revision();
  node.hasPlatformViews_ = has;
  return has;
}

void HostingView::realise(const Node& node, Place& place) {
  // A subtree without platform views adds nothing to the hierarchy, wherever it was placed.
  if (!hasPlatformViews(node)) return;
  auto frame = pass_.frame(node);
  if (!frame) return;  // not shown (an option of a closed menu, a subview a layout left out)
  if (auto* container = node.primitiveAs<detail::ContainerSpec>();
      container && container->isRunOfForEach()) {
    realiseRun(node, *frame, place);
    return;
  }
  if (int kind = kindOf(node); kind != none) {
    // Views that are more than their control (a labelled colour well, a titled picker) host the control
    // where it sits.
    const bool isControlPart = kind == segmentedControl || kind == colorWell;
    realisePlatformView(node, kind, isControlPart ? pass_.controlFrame(node).value_or(*frame) : *frame,
                        place);
    return;
  }
  const auto& children = node.children();
  // A search field comes before the view it searches.
  if (node.modifierAs<SearchableModifier>()) {
    if (auto field = pass_.controlFrame(node)) {
      Entry& entry = *entryFor(node, searchField);
      entry.generation = generation_;
      configure(entry, node);
      entry.outer->setFrame(relative(*field, place.origin));
      entry.platformView->setFrame(Rect(0, 0, field->width(), field->height()));
      entry.outer->setSubviews({entry.platformView});
      place.subviews.push_back(entry.outer);
    }
  }
  // A background is drawn (and hosted) behind the view it belongs to.
  if (node.modifierAs<BackgroundModifier>()) {
    for (std::size_t i = 1; i < children.size(); ++i) realise(*children[i], place);
    if (!children.empty()) realise(*children.front(), place);
    return;
  }
  for (const auto& child : children) realise(*child, place);
}

void HostingView::realiseRun(const Node& run, const Rect& frame, Place& place) {
  auto& kept = realisedRuns_[&run];
  const auto arranged = pass_.arrangedIn(run);
  // The run shown in the last refresh, unchanged, arranged in the same run of layout and in the same
  // place: its platform views are those it showed then, where they were.
  if (kept && kept->generation + 1 == generation_ && kept->node.lock().get() == &run &&
      kept->revision == run.revision() && arranged && kept->arranged == *arranged && kept->frame == frame &&
      kept->origin == place.origin) {
    kept->generation = generation_;
    for (Entry* entry : kept->entries) entry->generation = generation_;
    place.subviews.insert(place.subviews.end(), kept->subviews.begin(), kept->subviews.end());
    return;
  }
  std::vector<Entry*> entries;
  auto* outer = std::exchange(realisedEntries_, &entries);
  Place inside{place.origin, {}};
  for (const auto& child : run.children()) realise(*child, inside);
  realisedEntries_ = outer;
  if (outer) outer->insert(outer->end(), entries.begin(), entries.end());
  const bool isKeepable = arranged && std::all_of(entries.begin(), entries.end(), [](const Entry* entry) {
                            return entry->kind == scrollView;
                          });
  if (isKeepable) {
    if (!kept) kept = std::make_unique<RealisedRun>();
    *kept = RealisedRun{run.weak_from_this(), run.revision(), *arranged,       frame,
                        place.origin,         generation_,    inside.subviews, std::move(entries)};
  } else {
    kept.reset();
  }
  place.subviews.insert(place.subviews.end(), std::make_move_iterator(inside.subviews.begin()),
                        std::make_move_iterator(inside.subviews.end()));
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
