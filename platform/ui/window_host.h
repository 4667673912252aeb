// The test inspector with geometry: hosts a view in a window through a hosting view, laid out with the
// fixed-metric text measurer unless told otherwise, and reads frames in window and local coordinates
// and the platform views that realise views.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <vector>
#include <string>

#include "platform/appkit/event.h"
#include "platform/appkit/view.h"
#include "platform/appkit/window.h"
#include "platform/ui/hosting.h"
#include "platform/ui/inspector.h"
#include "platform/ui/layout/text_measurer.h"

namespace ui::testing {

// Where a frame is read: the window's coordinates (origin at the top-left of its content, y growing
// downwards), or the view's own (origin at its top-left corner).
enum class CoordinateSpace { window, local };

// Hosts the view in a window that is its application's key window from the start, as a window just
// opened is, and acts on it through the window as a person does: clicks at a view, key presses through
// the application's event dispatch (its monitors, then the key window's first responder).
class WindowHost : public Host {
 public:
  explicit WindowHost(
      AnyView root, Size windowSize = {800, 600},
      std::shared_ptr<const TextMeasurer> measurer = std::make_shared<FixedMetricTextMeasurer>(),
      ColorScheme colorScheme = ColorScheme::light);
  ~WindowHost();

  appkit::Window& window() { return *window_; }
  const std::shared_ptr<appkit::Window>& windowPointer() const { return window_; }
  HostingView& hostingView() { return *hostingView_; }

  // The frame of a view that was laid out; fails with a dump of the tree when it was not placed.
  Rect frame(const ViewRef& view, CoordinateSpace space = CoordinateSpace::window) const;
  Rect frame(const ViewQuery& query, CoordinateSpace space = CoordinateSpace::window) const {
    return frame(find(query), space);
  }
  // The frames of the pictures standing in a text's lines, in order.
  std::vector<Rect> imageFrames(const ViewRef& text, CoordinateSpace space = CoordinateSpace::window) const;
  // The size of a scroll view's or list's content.
  std::optional<Size> contentSize(const ViewRef& scrollView) const;
  // The platform view realising a view (a text field, a text editor's scroll view, a representable's
  // view), if it has one.
  std::shared_ptr<appkit::View> platformView(const ViewRef& view) const;
  // Resizes the window (and the hosting view filling it), laying the views out again.
  void resize(Size size);

  // Presses and releases the pointer's button at the centre of the view's frame (or at a point of the
  // window).
  void click(const ViewRef& view);
  void click(const ViewQuery& query) { click(find(query)); }
  void click(Point pointInWindow);
  // Presses one key with modifiers; the characters it types default to those of the key (a line break
  // for Return, a tab for Tab, ...).
  void press(std::uint16_t keyCode, appkit::ModifierFlags modifiers = {},
             std::optional<std::string> characters = std::nullopt);
  void pressReturn(appkit::ModifierFlags modifiers = {});
  void pressTab();
  void pressShiftTab();
  // Types each character of `text` as a key press of its own.
  void typeText(const std::string& text);

  // The platform view with the window's keyboard focus, if any, and whether it is the one realising
  // `view` (or lies inside it, as a text editor's text view does).
  std::shared_ptr<appkit::View> firstResponder() const;
  bool hasFocus(const ViewRef& view) const;
  bool hasFocus(const ViewQuery& query) const { return hasFocus(find(query)); }

 private:
  std::shared_ptr<appkit::Window> window_;
  std::shared_ptr<HostingView> hostingView_;
};

}  // namespace ui::testing
