// The hosting view that puts the sidebar into its window.
#pragma once

#include <memory>

#include "Quillo/sidebar/overlay_view.h"
#include "platform/ui/hosting.h"

namespace Quillo {

// Shows an OverlayView; presses of the pointer are handled as in any hosting view. Main thread only.
class OverlayHostingView final : public ui::HostingView {
 public:
  // Takes the window's size once it is the window's content view.
  static std::shared_ptr<OverlayHostingView> make(OverlayView rootView);

 private:
  explicit OverlayHostingView(OverlayView rootView);
};

}  // namespace Quillo
