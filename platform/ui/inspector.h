// The test inspector: hosts a view on a headless desktop with a manual clock, finds views in the
// evaluated tree, reads their resolved properties and acts on them as a person would.
#pragma once

#include <chrono>
#include <functional>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <typeinfo>
#include <utility>
#include <vector>

#include "platform/desktop/headless_desktop.h"
#include "platform/foundation/clock.h"
#include "platform/foundation/run_loop.h"
#include "platform/ui/view.h"
#include "platform/ui/view_graph.h"
#include "platform/ui/views.h"

namespace ui::testing {

// Thrown when a search finds nothing (or a control cannot do what was asked); the text holds a dump of
// the tree, so a failing test shows what was there.
class InspectionError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// A predicate over evaluated views, with a description for failure messages.
class ViewQuery {
 public:
  ViewQuery(std::string description, std::function<bool(const detail::Node&)> matches)
      : description_(std::move(description)), matches_(std::move(matches)) {}
  const std::string& description() const { return description_; }
  bool matches(const detail::Node& node) const { return matches_(node); }

 private:
  std::string description_;
  std::function<bool(const detail::Node&)> matches_;
};

// A text view showing exactly `text`.
ViewQuery text(std::string text);
// A text view whose text contains `part`.
ViewQuery textContaining(std::string part);
// A button whose label shows `label` (as text or accessibility label).
ViewQuery button(std::string label);
// Built-in views by name ("HStack", "Circle", "TextField", ...) or views with a body by type.
ViewQuery type(std::string name);
template <class V>
ViewQuery type() {
  return ViewQuery("view of type " + detail::readableTypeName(typeid(V)),
                   [](const detail::Node& node) { return node.spec()->identityType() == typeid(V); });
}
// The view (the content of the modifier) with this accessibility identifier or label.
ViewQuery identifier(std::string identifier);
ViewQuery accessibilityLabel(std::string label);
// A text field, secure field or text editor with this placeholder.
ViewQuery textField(std::string title);
ViewQuery toggle(std::string label);
ViewQuery picker(std::string title);

// One evaluated view. Properties are resolved the way the view is shown: modifiers around it (in the
// chain of modifiers and bodies that wrap it), environment values as it sees them.
class ViewRef {
 public:
  explicit ViewRef(std::shared_ptr<detail::Node> node) : node_(std::move(node)) {}

  const detail::Node& node() const { return *node_; }
  const std::shared_ptr<detail::Node>& nodePointer() const { return node_; }
  std::string typeName() const { return node_->typeName(); }
  bool isAttached() const { return node_->isAttached(); }

  // The text shown: this text view's, or the first one inside this view.
  std::string text() const;
  // The built-in view itself, or a body's first built-in view.
  template <class P>
  const P* primitive() const {
    return node_->primitiveAs<P>();
  }

  // The modifiers wrapping this view, outermost first, and the first one of a kind (nearest the view).
  std::vector<const detail::Modifier*> modifiers() const;
  template <class M>
  const M* modifier() const {
    auto all = modifiers();
    for (auto it = all.rbegin(); it != all.rend(); ++it) {
      if (auto* found = dynamic_cast<const M*>(*it)) return found;
    }
    return nullptr;
  }
  template <class M>
  std::vector<const M*> modifiersOf() const {
    std::vector<const M*> result;
    for (auto* m : modifiers()) {
      if (auto* found = dynamic_cast<const M*>(m)) result.push_back(found);
    }
    return result;
  }

  // All padding around the view, summed per edge.
  EdgeInsets padding() const;
  // The product of the opacities around the view.
  double opacity() const;
  // The sum of the offsets around the view.
  std::pair<double, double> offset() const;
  std::optional<Animation> animation() const;
  std::optional<std::string> help() const;
  std::optional<ShapeOutline> clipShape() const;
  // The view drawn behind this one (nearest background), if any.
  std::optional<ViewRef> background() const;
  // The foreground colour and font as the view sees them (the primary colour and the body style when
  // nothing set them), and the foreground colour resolved for the colour scheme it is shown in.
  Color foregroundStyle() const;
  ResolvedColor resolvedForegroundColor() const;
  Font font() const;
  bool isEnabled() const;
  const EnvironmentValues& environment() const;

  std::vector<ViewRef> children() const;
  std::optional<ViewRef> parent() const;
  ViewRef find(const ViewQuery& query) const;
  std::vector<ViewRef> findAll(const ViewQuery& query) const;
  bool exists(const ViewQuery& query) const;

  bool operator==(const ViewRef& other) const { return node_ == other.node_; }

 private:
  std::shared_ptr<detail::Node> node_;
};

// The tree below `node` as indented text: one line per view or modifier, children two spaces in.
std::string dump(const detail::Node& node);

// Finds the views of one evaluated tree and acts on them as a person would. Every action runs the main
// queue until idle and brings the views up to date before returning. Works on any view graph: a host's own,
// or the one behind a window's hosting view. Main thread only.
class Inspector {
 public:
  explicit Inspector(detail::ViewGraph& graph) : graph_(&graph) {}
  virtual ~Inspector() = default;
  Inspector(const Inspector&) = delete;
  Inspector& operator=(const Inspector&) = delete;

  detail::ViewGraph& graph() { return *graph_; }
  ViewRef root() const { return ViewRef(graph_->root()); }

  ViewRef find(const ViewQuery& query) const;
  std::vector<ViewRef> findAll(const ViewQuery& query) const;
  bool exists(const ViewQuery& query) const;
  ViewRef find(const ViewQuery& query, std::size_t index) const;

  // Clicks the button, toggle or link the view belongs to (or the one inside it). A disabled control
  // does nothing.
  void tap(const ViewRef& view);
  void tap(const ViewQuery& query) { tap(find(query)); }
  // Clicks the link of a text whose linked characters include `linkText`: its URL goes to the open-URL
  // action the text sees. Fails when the text has no such link, or its link makes no URL.
  void tapLink(const ViewRef& text, const std::string& linkText);
  // Types `text` at the end of a text field's or editor's text.
  void type(const ViewRef& field, const std::string& text);
  // Replaces a field's text.
  void setText(const ViewRef& field, const std::string& text);
  // Chooses the option titled `option` of a picker.
  void select(const ViewRef& picker, const std::string& option);
  // Gives keyboard focus to the field (the nearest `focused` connection around it); every other
  // connected field loses it.
  void focus(const ViewRef& field);
  // Presses return in a text field: runs the submit handlers around it.
  void submit(const ViewRef& field);
  // Moves the pointer over the view (every hover region containing it is entered, others left), or off
  // every view.
  void hover(const ViewRef& view);
  void unhover();
  // Presses a key with modifiers: triggers the control carrying a matching keyboard shortcut. Returns
  // whether one did.
  bool pressKey(const std::string& key, EventModifiers modifiers = EventModifiers::none);

  // Runs the main queue until idle and brings the views up to date.
  void settle();

  std::string dump() const { return testing::dump(*graph_->root()); }

 protected:
  // For hosts that make their graph after this base.
  Inspector() = default;
  void setGraph(detail::ViewGraph& graph) { graph_ = &graph; }
  void forgetHovered() { hovered_.clear(); }

 private:
  detail::ViewGraph* graph_ = nullptr;
  std::vector<std::shared_ptr<detail::Node>> hovered_;
};

// Hosts a view for a test: a manual clock installed as the current clock and a headless desktop
// installed as the current desktop, for the host's lifetime; the calling thread is the main thread. Work
// the view posted while it was made is kept (it runs once the view is in place); whatever is left on the main
// queue when the host ends is dropped, and so are the windows the test showed.
class Host : public Inspector {
 public:
  explicit Host(AnyView root, ColorScheme colorScheme = ColorScheme::light);
  ~Host() override;

  desktop::HeadlessDesktop& desktop() { return desktop_; }
  foundation::ManualClock& clock() { return *clock_; }

  // Shows or hides the hosted view: appear and disappear handlers run, view state is kept.
  void show();
  void hide();
  void setColorScheme(ColorScheme scheme);
  void setRoot(AnyView root);

  // Advances the manual clock, running delayed work as it falls due, then settles.
  void advance(foundation::Duration duration);
  void advance(double seconds) { advance(foundation::durationFromSeconds(seconds)); }
  // Runs the main queue (also work posted by other threads) until `isDone` holds; false on time-out.
  bool runUntil(const std::function<bool()>& isDone);

  // The animation of the last change of view state (see withAnimation).
  std::optional<Animation> lastTransactionAnimation() const { return ownGraph_->lastTransactionAnimation(); }

 private:
  // Takes over the main queue on construction and empties it on destruction (after the graph is gone).
  struct MainQueue {
    MainQueue();
    ~MainQueue();
    MainQueue(const MainQueue&) = delete;
    MainQueue& operator=(const MainQueue&) = delete;
    foundation::RunLoop& loop() const { return foundation::RunLoop::main(); }
  };
  MainQueue loop_;
  std::shared_ptr<foundation::ManualClock> clock_;
  foundation::ScopedClock clockScope_;
  desktop::HeadlessDesktop desktop_;
  desktop::HeadlessDesktop::Scope desktopScope_;
  std::unique_ptr<detail::ViewGraph> ownGraph_;
};

}  // namespace ui::testing
