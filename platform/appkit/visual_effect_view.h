// A view that blurs what lies behind it with one of the system's materials.
#pragma once

#include <cstdint>

#include "platform/appkit/view.h"

namespace appkit {

class VisualEffectView : public View {
 public:
  // The platform's raw values.
  enum class BlendingMode : std::int64_t { behindWindow = 0, withinWindow = 1 };
  enum class State : std::int64_t { followsWindowActiveState = 0, active = 1, inactive = 2 };
  enum class Material : std::int64_t {
    titlebar = 3,
    selection = 4,
    menu = 5,
    popover = 6,
    sidebar = 7,
    headerView = 10,
    sheet = 11,
    windowBackground = 12,
    hudWindow = 13,
    fullScreenUI = 15,
    toolTip = 17,
    contentBackground = 18,
    underWindowBackground = 21,
    underPageBackground = 22,
  };

  using View::View;

  BlendingMode blendingMode() const { return blendingMode_; }
  void setBlendingMode(BlendingMode mode) { blendingMode_ = mode; }
  State state() const { return state_; }
  void setState(State state) { state_ = state; }
  Material material() const { return material_; }
  void setMaterial(Material material) { material_ = material; }

 private:
  BlendingMode blendingMode_ = BlendingMode::behindWindow;
  State state_ = State::followsWindowActiveState;
  Material material_ = Material::windowBackground;
};

}  // namespace appkit
