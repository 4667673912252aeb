#include "platform/appkit/color_panel.h"

namespace appkit {

namespace {
// The panel's content size.
constexpr double kPanelWidth = 226, kPanelHeight = 320;
}  // namespace

std::shared_ptr<ColorPanel> ColorPanel::shared() {
  static const auto panel = std::make_shared<ColorPanel>(Token{});
  return panel;
}

ColorPanel::ColorPanel(Token)
    : Panel(foundation::Rect(0, 0, kPanelWidth, kPanelHeight),
            StyleMask::titled | StyleMask::closable | StyleMask::resizable | StyleMask::utilityWindow,
            BackingStoreType::buffered, false) {
  setTitle("Colors");
  setLevel(Level::floating);
}

bool ColorPanel::pickColor(Components color) {
  if (!isVisible()) return false;
  color_ = color;
  if (auto well = activeWell()) well->takeColorFromPanel(color);
  return true;
}

void ColorPanel::close() {
  orderOut();
  if (auto well = activeWell()) well->deactivate();
  activeWell_.reset();
}

}  // namespace appkit
