// Materials: translucent fills that blur what lies behind them, from the thinnest to the thickest.
#pragma once

#include <string>

#include "platform/ui/color.h"
#include "platform/ui/view.h"
#include "platform/ui/view_spec.h"

namespace ui {

enum class MaterialThickness { ultraThin, thin, regular, thick, ultraThick, bar };

// The material's name as the platform spells it ("thinMaterial").
std::string materialName(MaterialThickness thickness);
// The tint a material lays over what it blurs: light or dark with the scheme, more opaque the thicker it is.
Color materialTint(MaterialThickness thickness);

namespace detail {
class MaterialSpec final : public PrimitiveSpec {
 public:
  explicit MaterialSpec(MaterialThickness thickness) : thickness(thickness) {}
  MaterialThickness thickness;
  std::string typeName() const override { return "Material"; }
  std::string describe() const override { return "Material " + materialName(thickness); }
};
}  // namespace detail

// A material is a view that fills the space offered to it, like a colour; used mostly as a background.
class Material : public AnyView {
 public:
  explicit Material(MaterialThickness thickness);
  static Material ultraThin() { return Material(MaterialThickness::ultraThin); }
  static Material thin() { return Material(MaterialThickness::thin); }
  static Material regular() { return Material(MaterialThickness::regular); }
  static Material thick() { return Material(MaterialThickness::thick); }
  static Material ultraThick() { return Material(MaterialThickness::ultraThick); }
  static Material bar() { return Material(MaterialThickness::bar); }
};

}  // namespace ui
