#include "platform/ui/material.h"

#include <memory>

namespace ui {

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
