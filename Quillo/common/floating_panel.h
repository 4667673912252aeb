// The non-activating floating panel of the Global window and of the Inline loading window: it floats above
// other applications' windows on every space, and takes keyboard focus only when allowed to.
#pragma once

#include <optional>
#include <string>

#include "platform/appkit/panel.h"

namespace Quillo {

class FloatingPanel : public appkit::Panel {
 public:
  // The panel's style mask before a title adds the titled bit: non-activating, full-size content view.
  static constexpr std::uint64_t baseStyleMask =
      StyleMask::nonactivatingPanel | StyleMask::fullSizeContentView;

  // A panel of zero size at the origin; callers size and place it. A title is kept but not shown, over a
  // transparent title bar.
  explicit FloatingPanel(const std::optional<std::string>& title);

  // False until set: the loading window must never take the focus from the field being written into.
  bool canBecomeKeyWindow() const override { return canBecomeKey_; }
  void setCanBecomeKeyWindow(bool canBecomeKey) { canBecomeKey_ = canBecomeKey; }

  // The panel may be placed anywhere, also across or beyond a screen's edge.
  foundation::Rect constrainFrameRect(foundation::Rect frameRect,
                                      const std::optional<appkit::Screen>& screen) const override;

 private:
  bool canBecomeKey_ = false;
};

}  // namespace Quillo
