#include "Quillo/common/borderless_window.h"

namespace Quillo {

BorderlessWindow::BorderlessWindow(foundation::Rect contentRect, std::uint64_t /*styleMask*/,
                                   BackingStoreType backing, bool defer)
    : appkit::StyledWindow(contentRect, StyleMask::borderless, backing, defer) {}

}  // namespace Quillo
