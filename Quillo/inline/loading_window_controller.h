// The small floating window with a bouncing brain that shows while the Inline assistant waits for and
// types an answer. It never takes the keyboard focus from the application being written into.
#pragma once

#include <memory>
#include <optional>
#include <string_view>

#include "Quillo/common/floating_panel.h"
#include "platform/appkit/label.h"
#include "platform/appkit/visual_effect_view.h"
#include "platform/appkit/window_controller.h"
#include "platform/foundation/geometry.h"

namespace Quillo {

// Main thread only.
class LoadingWindowController : public appkit::WindowController {
 public:
  static constexpr std::string_view title = "Quillo Inline Loading…";
  static constexpr std::string_view brain = "\U0001F9E0";
  // Room around the label on every side.
  static constexpr double margin = 10;

  // Builds the panel and its content (a blurred background holding the label, sized to the label with
  // the margin on every side) and schedules the bounce on the main queue, once the views have frames.
  LoadingWindowController();

  std::shared_ptr<FloatingPanel> panel() const;
  const std::shared_ptr<appkit::VisualEffectView>& effectView() const { return effectView_; }
  const std::shared_ptr<appkit::Label>& label() const { return label_; }

  // Makes the label bob 5 points up and down, every half second, for as long as the window lives.
  static void addBounceAnimation(const appkit::View& container, appkit::Label& label);

 private:
  std::shared_ptr<appkit::VisualEffectView> effectView_;
  std::shared_ptr<appkit::Label> label_;
};

// Where the loading panel's bottom-left corner goes (window-system coordinates): 5 points above the
// trigger line and level with its left edge when the line's bounds (accessibility coordinates) are known,
// lie on the main screen and have normal, non-zero coordinates; otherwise 20 points inside the
// bottom-right corner of the main screen. None when there is no screen at all.
std::optional<foundation::Point> loadingWindowOrigin(
    double panelWidth, const std::optional<foundation::Rect>& triggerLineBounds);

}  // namespace Quillo
