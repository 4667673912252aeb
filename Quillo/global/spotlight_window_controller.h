// The controller of the Global window: a floating, non-activating panel titled "Quillo Global" whose
// content is a blurred backdrop exactly the size of the Global view it holds. A new controller, and with
// it a new view, is made every time the window opens.
#pragma once

#include <memory>

#include "Quillo/common/floating_panel.h"
#include "Quillo/global/hosting_view_suppressing_safe_area.h"
#include "platform/appkit/visual_effect_view.h"
#include "platform/appkit/window_controller.h"

namespace Quillo {

inline constexpr const char* kSpotlightWindowTitle = "Quillo Global";

// Main thread only.
class SpotlightWindowController final : public appkit::WindowController {
 public:
  // Builds the panel and its content; the panel is sized to the view but not shown.
  SpotlightWindowController();

  std::shared_ptr<FloatingPanel> panel() const;
  // The panel's content view: the blurred backdrop, holding the hosting view as its only subview.
  std::shared_ptr<appkit::VisualEffectView> effectView() const;
  std::shared_ptr<NSHostingViewSuppressingSafeArea> hostingView() const;
};

}  // namespace Quillo
