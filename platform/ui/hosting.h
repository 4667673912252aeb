// Hosting: shows an evaluated view tree in the platform view hierarchy. After every update of the tree
// the hosting view lays it out in its bounds and brings its platform views up to date: controls (text
// fields, text editors, buttons, check boxes, tab views, segmented pickers, colour wells, search fields)
// and representable views, each inside a host view of its own, and scroll views and lists (a scroll view
// around a table), in the order the tree draws them; an overlay's platform views come after those of the
// view it overlays, a background's before. Platform views, and the state they keep (a text view's
// caret), live as long as the view they realise keeps its identity.
//
// What a person does to a platform view reaches the tree: clicks run buttons and turn check boxes over,
// choose tabs, segments and colours; typing edits the bound text; Return submits a field. Keyboard focus
// is the window's: a field connected to focus state (`focused`) has the state true exactly while it is
// its window's first responder. Clicks, Tab and the window's other focus moves write the state; the
// view setting the state moves the window's focus (once the hosting view is in a window).
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

#include "platform/appkit/view.h"
#include "platform/ui/layout/layout_pass.h"
#include "platform/ui/layout/text_measurer.h"
#include "platform/ui/view.h"
#include "platform/ui/view_graph.h"

namespace ui {

namespace detail {
// The title of the platform control that realises a view (a button, a menu item): the first text shown
// inside it; empty when it shows none.
std::string controlTitle(const Node& node);
}  // namespace detail

// The view a platform view of the tree sits in; its runtime class name contains "ViewHost".
class PlatformViewHost final : public appkit::View {
 public:
  using appkit::View::View;
};

// The height of a title bar, which overlaps the top of the content of a titled window with a full-size
// content view.
inline constexpr double titlebarHeight = 28;

// The platform view at the top of a hosted tree; its runtime class name contains "HostingView". Main
// thread only.
//
// The tree is laid out in the safe area: the bounds less what the window's chrome covers (the title bar,
// when the hosting view fills a titled window with a full-size content view) and less the additional
// insets; views that ignore the safe area reach into the rest. Subclasses may report other insets.
// Subclasses are made through the protected constructor and refreshed once made.
class HostingView : public appkit::View {
 protected:
  struct Token {};

 public:
  // Shows a tree of its own, evaluated from `root`.
  static std::shared_ptr<HostingView> make(AnyView root, Rect frame,
                                           std::shared_ptr<const TextMeasurer> measurer = nullptr);
  // Shows the tree of `graph`, which must outlive the hosting view.
  static std::shared_ptr<HostingView> make(detail::ViewGraph& graph, Rect frame,
                                           std::shared_ptr<const TextMeasurer> measurer = nullptr);

  HostingView(Token, Rect frame, std::unique_ptr<detail::ViewGraph> ownGraph, detail::ViewGraph& graph,
              std::shared_ptr<const TextMeasurer> measurer);
  ~HostingView() override;

  // A new size lays the tree out again.
  void setFrame(Rect frame) override;
  // Lays the tree out in the bounds and brings the platform views up to date; runs after every update
  // of the tree. Representable views are made here and updated once the hierarchy is in place. When
  // called outside an update (a new size), geometry readers given another geometry are evaluated again
  // first, through an update of the tree.
  void refresh();

  // In a window the fields' focus states take effect, and the tree is laid out in the window's safe area.
  void viewDidMoveToWindow() override;

  // The insets from each edge of the bounds that the window's chrome covers, plus the additional ones.
  virtual EdgeInsets safeAreaInsets() const;
  // Insets added to the chrome's; zero until set. A new value lays the tree out again.
  virtual EdgeInsets additionalSafeAreaInsets() const { return additionalSafeAreaInsets_; }
  virtual void setAdditionalSafeAreaInsets(EdgeInsets insets);
  // The bounds less the safe-area insets.
  virtual Rect safeAreaRect() const;

  // Where the tree draws something (a colour that is not clear, a material, a shape, a text, an image)
  // and where its platform views lie: the places that take a press of the pointer when the window lets
  // clicks through elsewhere.
  std::vector<Rect> clickableRects() const override;

  detail::ViewGraph& graph() { return *graph_; }
  const LayoutPass& layout() const { return pass_; }
  using appkit::View::frame;
  // A view's frame in the hosting view's coordinates, when it was placed.
  std::optional<Rect> frame(const detail::Node& node) const { return pass_.frame(node); }
  // The platform view that realises a view, and the host view around it, if it has them.
  std::shared_ptr<appkit::View> platformView(const detail::Node& node) const;
  std::shared_ptr<appkit::View> host(const detail::Node& node) const;

 protected:
  // For subclasses, which call refresh() once they are owned by a shared pointer.
  HostingView(AnyView root, Rect frame, std::shared_ptr<const TextMeasurer> measurer);
  // Told after the platform views have been brought up to date with the tree (after every update and
  // every new size).
  virtual void hostedViewsDidChange() {}

 private:
  struct Entry;
  struct Place;
  void connectGraph();
  // Lays the tree out in the bounds and its safe area.
  void layoutTree();
  // The entry of a platform view showing `node`, noted as shown by the run being realised, if any.
  Entry* entryFor(const detail::Node& node, int kind);
  Entry* madeEntryFor(const detail::Node& node, int kind);
  // Whether a view of the subtree of `node` is shown by a platform view (worked out once per revision).
  static bool hasPlatformViews(const detail::Node& node);
  void realise(const detail::Node& node, Place& place);
  void realisePlatformView(const detail::Node& node, int kind, const Rect& frame, Place& place);
  // `realise` for a run of a ForEach's views, which shows what it showed before while it is unchanged.
  void realiseRun(const detail::Node& run, const Rect& frame, Place& place);
  void configure(Entry& entry, const detail::Node& node);
  void show(bool reportsGeometry);
  bool isFirstResponder(const appkit::View& view) const;
  void resignFocus(appkit::View& view);
  // Moves the window's focus to the field whose focus state says it has it (the first, in tree order),
  // or takes it from a field whose state says it lost it.
  void followFocusStates();

  std::unique_ptr<detail::ViewGraph> ownGraph_;
  detail::ViewGraph* graph_;
  LayoutPass pass_;
  std::unordered_map<const detail::Node*, std::unique_ptr<Entry>> entries_;
  std::unordered_map<const detail::Node*, std::unique_ptr<Entry>> rowEntries_;
  struct RealisedRun;
  std::unordered_map<const detail::Node*, std::unique_ptr<RealisedRun>> realisedRuns_;
  std::vector<Entry*>* realisedEntries_ = nullptr;  // where the entries a run shows are noted
  std::vector<Entry*> toUpdate_;
  std::vector<Entry*> focusables_;  // the fields shown, in tree order
  std::uint64_t generation_ = 0;
  bool isRefreshing_ = false;
  // Whether the layout made when the update settled is still that of the tree.
  bool isLayoutCurrent_ = false;
  EdgeInsets additionalSafeAreaInsets_;
  EdgeInsets laidOutInsets_;  // the safe-area insets of the last layout
};

}  // namespace ui
