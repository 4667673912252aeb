#include "settings_store/bridges.h"

#include <cmath>
#include <exception>

#include "platform/ui/color_archive.h"
#include "settings_store/any_serializable.h"

namespace Defaults {

std::optional<std::string> URLBridge::encodeForStore(const std::optional<foundation::URL>& url) const {
  if (!url) return std::nullopt;
  return detail::jsonTextForm(std::optional<std::string>(url->absoluteString()));
}

std::optional<foundation::URL> URLBridge::decodeFromStore(const std::optional<std::string>& text) const {
  auto absolute = detail::valueOfJsonTextForm<std::string>(text);
  if (!absolute) return std::nullopt;
  return foundation::URL::parse(*absolute);
}

std::optional<std::string> UUIDBridge::encodeForStore(const std::optional<foundation::UUID>& uuid) const {
  if (!uuid) return std::nullopt;
  return uuid->uuidString();
}

std::optional<foundation::UUID> UUIDBridge::decodeFromStore(const std::optional<std::string>& text) const {
  if (!text) return std::nullopt;
  return foundation::UUID::parse(*text);
}

std::optional<PlistValue> ColorBridge::encodeForStore(const std::optional<ui::Color>& color) const {
  if (!color) return std::nullopt;
  if (auto spaced = color->colorSpaceComponents(); spaced && !spaced->components.empty()) {
    PlistValue::Array components;
    for (double component : spaced->components) components.emplace_back(component);
    return PlistValue(
        PlistValue::Array{PlistValue(spaced->colorSpaceName), PlistValue(std::move(components))});
  }
  auto archive = ui::archivedColor(*color);
  if (!archive) return std::nullopt;
  return PlistValue(std::move(*archive));
}

std::optional<ui::Color> ColorBridge::decodeFromStore(const std::optional<PlistValue>& object) const {
  if (!object) return std::nullopt;
  if (const auto* data = object->dataValue()) {
    try {
      return ui::unarchivedColor(*data);
    } catch (const std::exception& error) {
      foundation::log(error.what());
      return std::nullopt;
    }
  }
  const auto* list = object->arrayValue();
  if (!list || list->size() < 2) return std::nullopt;
  const auto* spaceName = (*list)[0].stringValue();
  const auto* storedComponents = (*list)[1].arrayValue();
  if (!spaceName || !storedComponents) return std::nullopt;
  std::vector<double> components;
  for (const PlistValue& stored : *storedComponents) {
    auto component = Serialization<double>::fromPropertyList(stored);
    if (!component || !std::isfinite(*component)) return std::nullopt;
    components.push_back(*component);
  }
  // An sRGB colour reads back as the plain sRGB colour it was written from.
  if (*spaceName == ui::ColorSpaceName::sRGB && components.size() == 4 && components[3] >= 0 &&
      components[3] <= 1) {
    return ui::Color(components[0], components[1], components[2], components[3]);
  }
  // A component count that does not fit the colour space gives nothing.
  return ui::Color::inColorSpace(*spaceName, std::move(components));
}

std::optional<PlistValue> AnyBridge::encodeForStore(const std::optional<AnySerializable>& value) const {
  if (!value) return std::nullopt;
  return value->value();
}

std::optional<AnySerializable> AnyBridge::decodeFromStore(const std::optional<PlistValue>& object) const {
  return AnySerializable(object);
}

}  // namespace Defaults
