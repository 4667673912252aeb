#include "platform/ui/inspector.h"

#include <fmt/format.h>

#include <algorithm>

#include "platform/appkit/application.h"

namespace ui::testing {

using detail::Node;

namespace {

void preorder(const std::shared_ptr<Node>& node,
              const std::function<void(const std::shared_ptr<Node>&)>& visit) {
  visit(node);
  for (const auto& child : node->children()) preorder(child, visit);
}

std::vector<ViewRef> collect(const std::shared_ptr<Node>& root, const ViewQuery& query) {
  std::vector<ViewRef> result;
  preorder(root, [&](const std::shared_ptr<Node>& node) {
    if (query.matches(*node)) result.emplace_back(node);
  });
  return result;
}

const detail::TextSpec* textOf(const Node& node) { return node.primitiveAs<detail::TextSpec>(); }

bool subtreeShowsText(const Node& node, const std::string& text) {
  if (auto* spec = textOf(node); spec && spec->string() == text) return true;
  if (auto* label = node.modifierAs<AccessibilityLabelModifier>(); label && label->label == text) return true;
  return std::any_of(node.children().begin(), node.children().end(),
                     [&](const auto& child) { return subtreeShowsText(*child, text); });
}

// Whether `child` is the view a parent wraps (the modified content, or a body), so the parent's
// modifiers apply to it.
bool isWrappedBy(const Node& child, const Node& parent) {
  if (parent.kind() == Node::Kind::composite) return true;
  return parent.kind() == Node::Kind::modified && !parent.children().empty() &&
         parent.children().front().get() == &child;
}

bool isControl(const Node& node) {
  return node.primitiveAs<detail::ButtonSpec>() || node.primitiveAs<detail::ToggleSpec>() ||
         node.primitiveAs<detail::LinkSpec>();
}

std::shared_ptr<Node> controlFor(const std::shared_ptr<Node>& node) {
  for (Node* current = node.get(); current; current = current->parent()) {
    if (isControl(*current)) return current->shared_from_this();
  }
  std::shared_ptr<Node> found;
  preorder(node, [&](const std::shared_ptr<Node>& candidate) {
    if (!found && isControl(*candidate)) found = candidate;
  });
  return found;
}

void dumpInto(const Node& node, int depth, std::string& out) {
  // A run of a ForEach's views is dumped as those views, standing in the ForEach itself.
  if (auto* container = node.primitiveAs<detail::ContainerSpec>();
      container && container->isRunOfForEach()) {
    for (const auto& child : node.children()) dumpInto(*child, depth, out);
    return;
  }
  std::string line;
  switch (node.kind()) {
    case Node::Kind::primitive:
      line = static_cast<const detail::PrimitiveSpec&>(*node.spec()).describe();
      break;
    case Node::Kind::composite:
      line = node.typeName();
      break;
    case Node::Kind::modified:
      line = node.modifier()->describe();
      break;
  }
  out += std::string(static_cast<std::size_t>(depth) * 2, ' ') + line + "\n";
  for (const auto& child : node.children()) dumpInto(*child, depth + 1, out);
}

}  // namespace

ViewQuery text(std::string text) {
  return ViewQuery("text \"" + text + "\"", [text](const Node& node) {
    auto* spec = textOf(node);
    return spec && spec->string() == text;
  });
}

ViewQuery textContaining(std::string part) {
  return ViewQuery("text containing \"" + part + "\"", [part](const Node& node) {
    auto* spec = textOf(node);
    return spec && spec->string().find(part) != std::string::npos;
  });
}

ViewQuery button(std::string label) {
  return ViewQuery("button \"" + label + "\"", [label](const Node& node) {
    return node.primitiveAs<detail::ButtonSpec>() && subtreeShowsText(node, label);
  });
}

ViewQuery type(std::string name) {
  return ViewQuery("view of type " + name, [name](const Node& node) {
    return node.kind() != Node::Kind::modified && node.typeName() == name;
  });
}

ViewQuery identifier(std::string identifier) {
  return ViewQuery("view with identifier \"" + identifier + "\"", [identifier](const Node& node) {
    auto* m = node.modifierAs<AccessibilityIdentifierModifier>();
    return m && m->identifier == identifier;
  });
}

ViewQuery accessibilityLabel(std::string label) {
  return ViewQuery("view with accessibility label \"" + label + "\"", [label](const Node& node) {
    auto* m = node.modifierAs<AccessibilityLabelModifier>();
    return m && m->label == label;
  });
}

ViewQuery textField(std::string title) {
  return ViewQuery("text field \"" + title + "\"", [title](const Node& node) {
    auto* spec = node.primitiveAs<detail::TextInputSpec>();
    return spec && spec->title == title;
  });
}

ViewQuery toggle(std::string label) {
  return ViewQuery("toggle \"" + label + "\"", [label](const Node& node) {
    return node.primitiveAs<detail::ToggleSpec>() && subtreeShowsText(node, label);
  });
}

ViewQuery picker(std::string title) {
  return ViewQuery("picker \"" + title + "\"", [title](const Node& node) {
    auto* spec = node.primitiveAs<detail::PickerSpec>();
    return spec && spec->title == title;
  });
}

std::string dump(const Node& node) {
  std::string out;
  dumpInto(node, 0, out);
  return out;
}

// ViewRef

std::string ViewRef::text() const {
  std::string found;
  bool isFound = false;
  preorder(node_, [&](const std::shared_ptr<Node>& node) {
    if (isFound) return;
    if (auto* spec = textOf(*node)) {
      found = spec->string();
      isFound = true;
    }
  });
  return found;
}

std::vector<const detail::Modifier*> ViewRef::modifiers() const {
  std::vector<const detail::Modifier*> outer;
  const Node* current = node_.get();
  while (current->parent() && isWrappedBy(*current, *current->parent())) {
    current = current->parent();
    if (auto* m = current->modifier()) outer.push_back(m);
  }
  std::vector<const detail::Modifier*> result(outer.rbegin(), outer.rend());
  current = node_.get();
  while (true) {
    if (auto* m = current->modifier()) result.push_back(m);
    if (current->kind() == Node::Kind::primitive || current->children().empty()) break;
    current = current->children().front().get();
  }
  return result;
}

EdgeInsets ViewRef::padding() const {
  EdgeInsets total;
  for (auto* m : modifiersOf<PaddingModifier>()) total += m->insets();
  return total;
}

double ViewRef::opacity() const {
  double total = 1;
  for (auto* m : modifiersOf<OpacityModifier>()) total *= m->opacity;
  return total;
}

std::pair<double, double> ViewRef::offset() const {
  std::pair<double, double> total{0, 0};
  for (auto* m : modifiersOf<OffsetModifier>()) {
    total.first += m->x;
    total.second += m->y;
  }
  return total;
}

std::optional<Animation> ViewRef::animation() const {
  auto* m = modifier<AnimationModifier>();
  return m ? m->animation : std::nullopt;
}

std::optional<std::string> ViewRef::help() const {
  auto* m = modifier<HelpModifier>();
  return m ? std::optional<std::string>(m->text) : std::nullopt;
}

std::optional<ShapeOutline> ViewRef::clipShape() const {
  auto* m = modifier<ClipShapeModifier>();
  return m ? std::optional<ShapeOutline>(m->shape) : std::nullopt;
}

std::optional<ViewRef> ViewRef::background() const {
  // The background modifier's node holds the content first and the background view second.
  const Node* current = node_.get();
  std::vector<const Node*> chain;
  while (current->parent() && isWrappedBy(*current, *current->parent())) current = current->parent();
  for (const Node* n = current;; n = n->children().front().get()) {
    if (n->modifierAs<BackgroundModifier>() && n->children().size() > 1) return ViewRef(n->children()[1]);
    if (n->kind() == Node::Kind::primitive || n->children().empty()) break;
  }
  return std::nullopt;
}

const EnvironmentValues& ViewRef::environment() const {
  // What the view itself sees: below all of its own modifiers.
  const Node* current = node_.get();
  while (current->kind() == Node::Kind::modified && !current->children().empty()) {
    current = current->children().front().get();
  }
  return current->environment();
}

Color ViewRef::foregroundStyle() const { return environment().foregroundStyle().value_or(Color::primary()); }

ResolvedColor ViewRef::resolvedForegroundColor() const {
  return foregroundStyle().resolved(environment().colorScheme());
}

Font ViewRef::font() const { return environment().font().value_or(Font::body()); }

bool ViewRef::isEnabled() const { return environment().isEnabled(); }

std::vector<ViewRef> ViewRef::children() const {
  std::vector<ViewRef> result;
  for (const auto& child : node_->children()) result.emplace_back(child);
  return result;
}

std::optional<ViewRef> ViewRef::parent() const {
  if (!node_->parent()) return std::nullopt;
  return ViewRef(node_->parent()->shared_from_this());
}

ViewRef ViewRef::find(const ViewQuery& query) const {
  auto all = findAll(query);
  if (all.empty()) throw InspectionError("no " + query.description() + " in:\n" + testing::dump(*node_));
  return all.front();
}

std::vector<ViewRef> ViewRef::findAll(const ViewQuery& query) const { return collect(node_, query); }

bool ViewRef::exists(const ViewQuery& query) const { return !findAll(query).empty(); }

// Host

// Claims the main thread without running anything yet: work the view posted while it was made (such as
// the first signal of an observation) must find the view graph in place.
Host::MainQueue::MainQueue() { foundation::RunLoop::main().runUntilIdle(0); }

Host::MainQueue::~MainQueue() { foundation::RunLoop::main().resetForTesting(); }

// The manual clock starts at the time of the clock it replaces, so work the view posted while it was
// made (due at that time) is due on the manual clock too.
Host::Host(AnyView root, ColorScheme colorScheme)
    : clock_(std::make_shared<foundation::ManualClock>(foundation::currentClock()->now())),
      clockScope_(clock_),
      desktopScope_(desktop_) {
  EnvironmentValues environment;
  environment.set<ColorSchemeKey>(colorScheme);
  ownGraph_ = std::make_unique<detail::ViewGraph>(std::move(root), std::move(environment));
  setGraph(*ownGraph_);
  settle();
}

Host::~Host() {
  forgetHovered();
  ownGraph_.reset();
  loop_.loop().runUntilIdle();
  // Windows the test showed stay in the application's list until closed; the next test starts without
  // them.
  appkit::Application::shared().resetForTesting();
  loop_.loop().runUntilIdle();
}

ViewRef Inspector::find(const ViewQuery& query) const { return root().find(query); }

ViewRef Inspector::find(const ViewQuery& query, std::size_t index) const {
  auto all = findAll(query);
  if (index >= all.size()) {
    throw InspectionError(fmt::format("fewer than {} of {} in:\n{}", index + 1, query.description(), dump()));
  }
  return all[index];
}

std::vector<ViewRef> Inspector::findAll(const ViewQuery& query) const { return root().findAll(query); }

bool Inspector::exists(const ViewQuery& query) const { return root().exists(query); }

void Inspector::tap(const ViewRef& view) {
  auto control = controlFor(view.nodePointer());
  if (!control) throw InspectionError("nothing to tap at " + view.typeName() + " in:\n" + dump());
  if (!control->environment().isEnabled()) return;
  if (auto* button = control->primitiveAs<detail::ButtonSpec>()) {
    if (button->action) button->action();
  } else if (auto* toggle = control->primitiveAs<detail::ToggleSpec>()) {
    toggle->isOn.set(!toggle->isOn.get());
  } else if (auto* link = control->primitiveAs<detail::LinkSpec>()) {
    control->environment().get<OpenURLKey>()(link->destination);
  }
  settle();
}

void Inspector::tapLink(const ViewRef& text, const std::string& linkText) {
  const auto* spec = text.primitive<detail::TextSpec>();
  if (!spec) throw InspectionError("not a text: " + text.typeName() + " in:\n" + dump());
  // Neighbouring runs with one link (styled differently) are one link.
  const auto shown = spec->attributedString();
  std::optional<std::string> link;
  std::string linked;
  std::optional<std::string> found;
  auto close = [&] {
    if (link && linked.find(linkText) != std::string::npos && !found) found = link;
    linked.clear();
  };
  for (const auto& run : shown.runs()) {
    if (shown.attributes(run).link != link) {
      close();
      link = shown.attributes(run).link;
    }
    if (link) linked += shown.text(run);
  }
  close();
  if (!found) throw InspectionError("no link showing \"" + linkText + "\" in:\n" + dump());
  const auto url = foundation::URL::parse(*found);
  if (!url) throw InspectionError("the link \"" + *found + "\" makes no URL");
  text.node().environment().get<OpenURLKey>()(*url);
  settle();
}

namespace {
const detail::TextInputSpec& inputOf(const ViewRef& field, const std::string& dumped) {
  auto* spec = field.primitive<detail::TextInputSpec>();
  if (!spec) {
    auto inner = field.findAll(ViewQuery(
        "text input", [](const Node& node) { return node.primitiveAs<detail::TextInputSpec>() != nullptr; }));
    if (!inner.empty()) spec = inner.front().primitive<detail::TextInputSpec>();
  }
  if (!spec) throw InspectionError("not a text field: " + field.typeName() + " in:\n" + dumped);
  return *spec;
}
}  // namespace

void Inspector::type(const ViewRef& field, const std::string& text) {
  const auto& input = inputOf(field, dump());
  if (!field.isEnabled()) return;
  input.text.set(input.text.get() + text);
  settle();
}

void Inspector::setText(const ViewRef& field, const std::string& text) {
  const auto& input = inputOf(field, dump());
  if (!field.isEnabled()) return;
  input.text.set(text);
  settle();
}

void Inspector::select(const ViewRef& picker, const std::string& option) {
  auto* spec = picker.primitive<detail::PickerSpec>();
  if (!spec) throw InspectionError("not a picker: " + picker.typeName() + " in:\n" + dump());
  auto it = std::find(spec->optionTitles.begin(), spec->optionTitles.end(), option);
  if (it == spec->optionTitles.end()) throw InspectionError("no option \"" + option + "\" in:\n" + dump());
  if (!picker.isEnabled()) return;
  spec->select(static_cast<std::size_t>(it - spec->optionTitles.begin()));
  settle();
}

void Inspector::focus(const ViewRef& field) {
  const FocusedModifier* target = nullptr;
  for (auto* m : field.modifiers()) {
    if (auto* focused = dynamic_cast<const FocusedModifier*>(m)) target = focused;
  }
  if (!target) throw InspectionError("no focus connection at " + field.typeName() + " in:\n" + dump());
  for (const auto& other : findAll(ViewQuery(
           "focused", [](const Node& node) { return node.modifierAs<FocusedModifier>() != nullptr; }))) {
    auto* m = other.node().modifierAs<FocusedModifier>();
    if (m != target && m->isFocused()) m->setFocused(false);
  }
  target->setFocused(true);
  settle();
}

void Inspector::submit(const ViewRef& field) {
  inputOf(field, dump());
  for (const Node* current = &field.node(); current; current = current->parent()) {
    if (auto* m = current->modifierAs<SubmitModifier>(); m && m->action) m->action();
  }
  settle();
}

void Inspector::hover(const ViewRef& view) {
  std::vector<std::shared_ptr<Node>> regions;
  for (Node* current = view.nodePointer().get(); current; current = current->parent()) {
    if (current->modifierAs<HoverModifier>()) regions.push_back(current->shared_from_this());
  }
  // The view's own hover modifiers below it (a view with a body found by type).
  for (Node* current = view.nodePointer().get();
       current->kind() != Node::Kind::primitive && !current->children().empty();) {
    current = current->children().front().get();
    if (current->modifierAs<HoverModifier>()) regions.push_back(current->shared_from_this());
  }
  for (const auto& old : hovered_) {
    if (std::find(regions.begin(), regions.end(), old) == regions.end() && old->isAttached()) {
      old->modifierAs<HoverModifier>()->action(false);
    }
  }
  for (const auto& region : regions) {
    if (std::find(hovered_.begin(), hovered_.end(), region) == hovered_.end()) {
      region->modifierAs<HoverModifier>()->action(true);
    }
  }
  hovered_ = std::move(regions);
  settle();
}

void Inspector::unhover() {
  for (const auto& old : hovered_) {
    if (old->isAttached()) old->modifierAs<HoverModifier>()->action(false);
  }
  hovered_.clear();
  settle();
}

bool Inspector::pressKey(const std::string& key, EventModifiers modifiers) {
  auto matches = findAll(ViewQuery("keyboard shortcut", [&](const Node& node) {
    auto* m = node.modifierAs<KeyboardShortcutModifier>();
    return m && m->shortcut.key == key && m->shortcut.modifiers == modifiers;
  }));
  for (const auto& match : matches) {
    auto control = controlFor(match.nodePointer());
    if (!control || !control->environment().isEnabled()) continue;
    tap(ViewRef(control));
    return true;
  }
  return false;
}

void Host::show() {
  ownGraph_->setVisible(true);
  settle();
}

void Host::hide() {
  ownGraph_->setVisible(false);
  settle();
}

void Host::setColorScheme(ColorScheme scheme) {
  auto environment = ownGraph_->environment();
  environment.set<ColorSchemeKey>(scheme);
  ownGraph_->setEnvironment(std::move(environment));
  settle();
}

void Host::setRoot(AnyView root) {
  ownGraph_->setRoot(std::move(root));
  settle();
}

void Host::advance(foundation::Duration duration) {
  loop_.loop().advanceAndRun(*clock_, duration);
  settle();
}

void Inspector::settle() {
  for (int round = 0; round < 100; ++round) {
    foundation::RunLoop::main().runUntilIdle();
    if (!graph_->needsUpdate()) return;
    graph_->update();
  }
}

bool Host::runUntil(const std::function<bool()>& isDone) {
  bool done = loop_.loop().runUntil(isDone);
  settle();
  return done;
}

}  // namespace ui::testing
