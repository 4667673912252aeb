// The application's one colour panel: a floating panel in which a person picks a colour for the active
// colour well.
#pragma once

#include <memory>

#include "platform/appkit/controls.h"
#include "platform/appkit/panel.h"

namespace appkit {

// Main thread only, like every window. Closing the panel only takes it off the screen.
class ColorPanel final : public Panel {
  struct Token {};

 public:
  using Components = ColorWell::Components;

  // The shared panel, made the first time it is asked for.
  static std::shared_ptr<ColorPanel> shared();
  explicit ColorPanel(Token);

  Components color() const { return color_; }
  // Shows a colour in the panel without telling the active well (the well's own colour, when it opens).
  void setColor(Components color) { color_ = color; }
  bool showsAlpha() const { return showsAlpha_; }
  void setShowsAlpha(bool showsAlpha) { showsAlpha_ = showsAlpha; }

  // The well the panel works for, if any.
  std::shared_ptr<ColorWell> activeWell() const { return activeWell_.lock(); }
  void setActiveWell(const std::shared_ptr<ColorWell>& well) { activeWell_ = well; }

  // A person picks a colour in the panel: it becomes the panel's colour and the active well's. Only a
  // panel on the screen can be used; returns whether the colour was taken.
  bool pickColor(Components color);

  // Takes the panel off the screen and leaves the active well inactive.
  void close() override;

 private:
  Components color_;
  bool showsAlpha_ = true;
  std::weak_ptr<ColorWell> activeWell_;
};

}  // namespace appkit
