#include "platform/ui/material.h"

#include <memory>

namespace ui {

Color materialTint(MaterialThickness thickness) {
  double opacity = 0.65;
  switch (thickness) {
    case MaterialThickness::ultraThin:
      opacity = 0.35;
      break;
    case MaterialThickness::thin:
      opacity = 0.5;
      break;
    case MaterialThickness::regular:
      opacity = 0.65;
      break;
    case MaterialThickness::thick:
      opacity = 0.8;
      break;
    case MaterialThickness::ultraThick:
      opacity = 0.9;
      break;
    case MaterialThickness::bar:
      opacity = 0.75;
      break;
  }
  return Color::dynamic(Color(0.97, 0.97, 0.97, opacity), Color(0.16, 0.16, 0.17, opacity));
}

std::string materialName(MaterialThickness thickness) {
  switch (thickness) {
    case MaterialThickness::ultraThin:
      return "ultraThinMaterial";
    case MaterialThickness::thin:
      return "thinMaterial";
    case MaterialThickness::regular:
      return "regularMaterial";
    case MaterialThickness::thick:
      return "thickMaterial";
    case MaterialThickness::ultraThick:
      return "ultraThickMaterial";
    case MaterialThickness::bar:
      return "bar";
  }
  return "regularMaterial";
}

Material::Material(MaterialThickness thickness)
    : AnyView(std::make_shared<detail::MaterialSpec>(thickness)) {}

}  // namespace ui
