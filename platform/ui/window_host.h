// The test inspector with geometry: hosts a view in a window through a hosting view, laid out with the
// fixed-metric text measurer unless told otherwise, and reads frames in window and local coordinates
// and the platform views that realise views.
#pragma once

#include <memory>
#include <optional>
#include <vector>

#include "platform/appkit/view.h"
#include "platform/appkit/window.h"
#include "platform/ui/hosting.h"
#include "platform/ui/inspector.h"
#include "platform/ui/layout/text_measurer.h"

namespace ui::testing {

// Where a frame is read: the window's coordinates (origin at the top-left of its content, y growing
// downwards), or the view's own (origin at its top-left corner).
enum class CoordinateSpace { window, local };

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

 private:
  std::shared_ptr<appkit::Window> window_;
  std::shared_ptr<HostingView> hostingView_;
};

}  // namespace ui::testing
