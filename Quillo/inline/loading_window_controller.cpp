#include "Quillo/inline/loading_window_controller.h"

#include <cfloat>
#include <cmath>
#include <string>

#include "Quillo/inline/accessibility_access.h"
#include "platform/appkit/screen.h"
#include "platform/foundation/run_loop.h"
#include "platform/ui/font.h"
#include "platform/ui/layout/text_measurer.h"

namespace Quillo {
namespace {

constexpr double kLabelPointSize = 28;
constexpr double kBounceHeight = 5;
constexpr double kBounceDuration = 0.5;
constexpr double kCornerInset = 20;
constexpr double kGapAboveLine = 5;

// The label's natural size: its text set in its font.
foundation::Size labelSize(const appkit::Label& label) {
  return ui::defaultTextMeasurer()->measure(
      label.stringValue(),
      ui::Font::system(kLabelPointSize, ui::FontWeight::bold, ui::FontDesign::monospaced), std::nullopt);
}

}  // namespace

LoadingWindowController::LoadingWindowController()
    : appkit::WindowController(std::make_shared<FloatingPanel>(std::string(title))) {
  effectView_ = std::make_shared<appkit::VisualEffectView>();
  effectView_->setBlendingMode(appkit::VisualEffectView::BlendingMode::behindWindow);
  effectView_->setState(appkit::VisualEffectView::State::active);
  effectView_->setMaterial(appkit::VisualEffectView::Material::sidebar);

  label_ = appkit::Label::labelWithString(std::string(brain));
  label_->setFont(appkit::Label::Font::monospacedSystemFont(kLabelPointSize, appkit::Label::Weight::bold));
  label_->setWantsLayer(true);
  label_->layer()->setShadowOpacity(0.3f);
  label_->layer()->setShadowOffset({0, 3});
  label_->layer()->setShadowRadius(3);
  effectView_->addSubview(label_);

  // The background is as wide and as high as the label plus the margin on both sides, and the label sits
  // in its centre; the panel takes the background's size.
  const foundation::Size size = labelSize(*label_);
  const foundation::Size contentSize{size.width + 2 * margin, size.height + 2 * margin};
  window()->setFrame({{0, 0}, contentSize});
  window()->setContentView(effectView_);
  label_->setFrame({{(contentSize.width - size.width) / 2, (contentSize.height - size.height) / 2}, size});

  std::weak_ptr<appkit::VisualEffectView> container = effectView_;
  std::weak_ptr<appkit::Label> weakLabel = label_;
  foundation::RunLoop::main().async([container, weakLabel] {
    const auto view = container.lock();
    const auto label = weakLabel.lock();
    if (view && label) addBounceAnimation(*view, *label);
  });
}

std::shared_ptr<FloatingPanel> LoadingWindowController::panel() const {
  return std::static_pointer_cast<FloatingPanel>(window());
}

void LoadingWindowController::addBounceAnimation(const appkit::View& container, appkit::Label& label) {
  const double base = container.frame().height() / 2 - label.frame().height() / 2;
  appkit::KeyframeAnimation bounce;
  bounce.keyPath = "position.y";
  bounce.values = {base, base + kBounceHeight, base};
  bounce.keyTimes = {0, 0.5, 1};
  bounce.duration = kBounceDuration;
  bounce.repeatCount = FLT_MAX;
  label.setWantsLayer(true);
  label.layer()->addAnimation(std::move(bounce), "bounce");
}

std::optional<foundation::Point> loadingWindowOrigin(
    double panelWidth, const std::optional<foundation::Rect>& triggerLineBounds) {
  const auto screen = appkit::Screen::mainScreen();
  if (!screen) return std::nullopt;
  const foundation::Rect screenFrame = screen->frame();
  foundation::Point origin{screenFrame.maxX() - kCornerInset - panelWidth, screenFrame.minY() + kCornerInset};
  if (!triggerLineBounds) return origin;
  const auto line = flipToScreenCoordinates(*triggerLineBounds);
  if (!line || !std::isnormal(line->minX()) || !std::isnormal(line->minY())) return origin;
  const double height = std::isnormal(line->height()) ? line->height() : 0;
  const foundation::Point aboveLine{line->minX(), line->minY() + height + kGapAboveLine};
  return screenFrame.contains(aboveLine) ? aboveLine : origin;
}

}  // namespace Quillo
