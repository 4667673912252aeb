// A small archive of a colour as a data block, for settings that keep colours which have no fixed
// colour-space form (the system's and catalogue colours, light/dark pairs).
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "platform/ui/color.h"

namespace ui {

// The archive of a colour of any kind: UTF-8 JSON text of the form
//   {"archive":"ui.Color","version":1,"root":<colour>}
// where a colour is an object with "kind" ("sRGB", "colorSpace", "system", "catalog", "dynamic") and the
// members of that kind. Nothing when the colour cannot be archived (a non-finite component).
std::optional<std::vector<std::uint8_t>> archivedColor(const Color& color);

// The colour of an archive made by archivedColor. Throws foundation::TextError describing the fault
// when the data is not such an archive.
Color unarchivedColor(std::span<const std::uint8_t> data);

}  // namespace ui
