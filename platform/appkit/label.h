// A text label: a text field that shows a text and cannot be edited or selected, optionally backed by a
// layer (for a shadow or an animation).
#pragma once

#include <memory>
#include <string>

#include "platform/appkit/controls.h"
#include "platform/appkit/layer.h"

namespace appkit {

class Label : public TextField {
 public:
  // Font weights, with the platform's raw values.
  struct Weight {
    static constexpr double regular = 0;
    static constexpr double medium = 0.23;
    static constexpr double semibold = 0.3;
    static constexpr double bold = 0.4;
  };
  // The font a label draws with: the system font (monospaced or not) of a size and weight.
  struct Font {
    double pointSize = 13;
    double weight = Weight::regular;
    bool isMonospaced = false;

    static Font systemFont(double size, double weight = Weight::regular) { return {size, weight, false}; }
    static Font monospacedSystemFont(double size, double weight) { return {size, weight, true}; }
    bool operator==(const Font&) const = default;
  };

  // A label showing `text` in the system font of 13 points.
  static std::shared_ptr<Label> labelWithString(std::string text) {
    auto label = std::make_shared<Label>();
    label->setStringValue(std::move(text));
    return label;
  }

  using TextField::TextField;

  const Font& font() const { return font_; }
  void setFont(Font font) { font_ = font; }
  bool isEditable() const { return false; }
  bool isSelectable() const { return false; }
  bool isBezeled() const { return false; }
  bool drawsBackground() const { return false; }

  // The layer exists while the label wants one.
  bool wantsLayer() const { return layer_ != nullptr; }
  void setWantsLayer(bool wantsLayer) {
    if (wantsLayer && !layer_) layer_ = std::make_shared<Layer>();
    if (!wantsLayer) layer_.reset();
  }
  const std::shared_ptr<Layer>& layer() const { return layer_; }

 private:
  Font font_;
  std::shared_ptr<Layer> layer_;
};

}  // namespace appkit
