// A window controller that shows one view in a window of its own: the roadmap window and the windows the
// settings panes open.
#pragma once

#include <memory>

#include "platform/appkit/styled_window.h"
#include "platform/appkit/window_controller.h"
#include "platform/ui/view.h"

namespace Quillo {

class WindowController : public appkit::WindowController {
 public:
  // The content size of every window made from a view.
  static constexpr double kContentSide = 600;

  // Hosts `rootView` in a new titled, closable, resizable window whose content is 600 x 600 points,
  // whatever the view's own ideal size, centred on the main screen. It neither titles nor shows the
  // window: the caller sets the title and calls showWindow().
  explicit WindowController(ui::AnyView rootView);
  // A controller over an existing window.
  explicit WindowController(std::shared_ptr<appkit::StyledWindow> window);
};

}  // namespace Quillo
