#include "platform/ui/window_host.h"

namespace ui::testing {

WindowHost::WindowHost(AnyView root, Size windowSize, std::shared_ptr<const TextMeasurer> measurer,
                       ColorScheme colorScheme)
    : Host(std::move(root), colorScheme),
      window_(std::make_shared<appkit::Window>(Rect({0, 0}, windowSize))) {
  hostingView_ = HostingView::make(graph(), Rect({0, 0}, windowSize), std::move(measurer));
  window_->setContentView(hostingView_);
  // Work the first update posted (representables' deferred work) runs before the test looks.
  settle();
}

WindowHost::~WindowHost() {
  window_->setContentView(nullptr);
  hostingView_.reset();
}

Rect WindowHost::frame(const ViewRef& view, CoordinateSpace space) const {
  auto found = hostingView_->frame(view.node());
  if (!found) throw InspectionError("not laid out: " + view.typeName() + " in:\n" + dump());
  if (space == CoordinateSpace::local) return Rect({0, 0}, found->size);
  return hostingView_->convertRectToView(*found, nullptr);
}

std::vector<Rect> WindowHost::imageFrames(const ViewRef& text, CoordinateSpace space) const {
  const Rect target = frame(text, space);
  const Rect laidOut = *hostingView_->frame(text.node());
  std::vector<Rect> frames;
  for (const auto& picture : hostingView_->layout().imageFrames(text.node())) {
    // From the hosting view's coordinates to the text's, then into the space asked for.
    frames.emplace_back(target.minX() + picture.minX() - laidOut.minX(),
                        target.minY() + picture.minY() - laidOut.minY(), picture.width(), picture.height());
  }
  return frames;
}

std::optional<Size> WindowHost::contentSize(const ViewRef& scrollView) const {
  return hostingView_->layout().contentSize(scrollView.node());
}

std::shared_ptr<appkit::View> WindowHost::platformView(const ViewRef& view) const {
  return hostingView_->platformView(view.node());
}

void WindowHost::resize(Size size) {
  window_->setFrame(Rect(window_->frame().origin, size));
  settle();
}

}  // namespace ui::testing
