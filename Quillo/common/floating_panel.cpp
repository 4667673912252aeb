#include "Quillo/common/floating_panel.h"

namespace Quillo {

FloatingPanel::FloatingPanel(const std::optional<std::string>& title)
    : appkit::Panel(foundation::Rect{}, baseStyleMask, BackingStoreType::buffered, true) {
  if (title) {
    setTitle(*title);
    setStyleMask(styleMask() | StyleMask::titled);
    setTitlebarAppearsTransparent(true);
    setTitleVisibility(TitleVisibility::hidden);
  }
  setLevel(Level::popUpMenu);
  setMovable(true);
  setMovableByWindowBackground(true);
  setCollectionBehavior(collectionBehavior() | CollectionBehavior::fullScreenAuxiliary);
  setCollectionBehavior(collectionBehavior() | CollectionBehavior::canJoinAllSpaces);
  setIgnoresMouseEvents(false);
}

foundation::Rect FloatingPanel::constrainFrameRect(foundation::Rect frameRect,
                                                   const std::optional<appkit::Screen>&) const {
  return frameRect;
}

}  // namespace Quillo
