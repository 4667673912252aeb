#include "platform/ui/color_archive.h"

#include <string>
#include <string_view>

#include "platform/foundation/json_text.h"
#include "platform/foundation/text_error.h"

namespace ui {

namespace {

constexpr std::string_view archiveName = "ui.Color";
constexpr std::int64_t archiveVersion = 1;
// Light/dark pairs nest; an archive deeper than this is refused rather than followed.
constexpr int maximumDepth = 32;

using foundation::Json;
using foundation::TextError;

Json componentsJson(const std::vector<double>& components) {
  Json list = Json::array();
  for (double component : components) list.push_back(component);
  return list;
}

Json colorJson(const Color& color) {
  Json object = Json::object();
  switch (color.kind()) {
    case Color::Kind::sRGB:
    case Color::Kind::colorSpace: {
      const auto spaced = color.colorSpaceComponents();
      object["kind"] = color.kind() == Color::Kind::sRGB ? "sRGB" : "colorSpace";
      object["colorSpace"] = spaced->colorSpaceName;
      object["components"] = componentsJson(spaced->components);
      return object;
    }
    case Color::Kind::system:
      object["kind"] = "system";
      object["name"] = systemColorName(*color.systemColor());
      break;
    case Color::Kind::catalog:
      object["kind"] = "catalog";
      object["catalog"] = *color.catalogName();
      object["name"] = *color.colorName();
      break;
    case Color::Kind::dynamic:
      object["kind"] = "dynamic";
      object["light"] = colorJson(*color.lightColor());
      object["dark"] = colorJson(*color.darkColor());
      break;
  }
  object["opacity"] = color.opacityFactor();
  return object;
}

std::vector<double> componentsFromJson(const Json& object) {
  const Json& list = foundation::requiredMember(object, "components");
  if (!list.is_array()) throw TextError("The colour archive's components are not a list.");
  std::vector<double> components;
  for (const Json& component : list) components.push_back(foundation::doubleValue(component));
  return components;
}

Color colorFromJson(const Json& object, int depth) {
  if (depth > maximumDepth) throw TextError("The colour archive nests too deeply.");
  if (!object.is_object()) throw TextError("The colour archive holds something that is not a colour.");
  const std::string kind = foundation::requiredString(object, "kind");
  if (kind == "sRGB" || kind == "colorSpace") {
    const std::string space = foundation::requiredString(object, "colorSpace");
    std::vector<double> components = componentsFromJson(object);
    if (kind == "sRGB" && space == ColorSpaceName::sRGB && components.size() == 4) {
      return Color(components[0], components[1], components[2], components[3]);
    }
    auto color = Color::inColorSpace(space, std::move(components));
    if (!color) throw TextError("The colour archive holds components that do not fit their colour space.");
    return *color;
  }
  const double opacity = foundation::optionalDouble(object, "opacity").value_or(1.0);
  if (kind == "system") {
    const auto system = systemColorFromName(foundation::requiredString(object, "name"));
    if (!system) throw TextError("The colour archive names an unknown system colour.");
    return Color(*system).opacity(opacity);
  }
  if (kind == "catalog") {
    return Color::named(foundation::requiredString(object, "catalog"),
                        foundation::requiredString(object, "name"))
        .opacity(opacity);
  }
  if (kind == "dynamic") {
    return Color::dynamic(colorFromJson(foundation::requiredMember(object, "light"), depth + 1),
                          colorFromJson(foundation::requiredMember(object, "dark"), depth + 1))
        .opacity(opacity);
  }
  throw TextError("The colour archive holds a colour of an unknown kind.");
}

}  // namespace

std::optional<std::vector<std::uint8_t>> archivedColor(const Color& color) {
  Json archive = Json::object();
  archive["archive"] = archiveName;
  archive["version"] = archiveVersion;
  archive["root"] = colorJson(color);
  try {
    const std::string text = foundation::jsonText(archive);
    return std::vector<std::uint8_t>(text.begin(), text.end());
  } catch (const TextError&) {
    return std::nullopt;
  }
}

Color unarchivedColor(std::span<const std::uint8_t> data) {
  const std::string_view text(reinterpret_cast<const char*>(data.data()), data.size());
  const auto archive = foundation::parseJsonIfValid(text);
  if (!archive || !archive->is_object() || foundation::optionalString(*archive, "archive") != archiveName) {
    throw TextError("The data is not a colour archive.");
  }
  if (foundation::optionalInteger(*archive, "version") != archiveVersion) {
    throw TextError("The colour archive has a version this program does not read.");
  }
  return colorFromJson(foundation::requiredMember(*archive, "root"), 0);
}

}  // namespace ui
