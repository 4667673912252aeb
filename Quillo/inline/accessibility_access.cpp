#include "Quillo/inline/accessibility_access.h"

#include <type_traits>

#include "platform/accessibility/element_access.h"
#include "platform/appkit/screen.h"

namespace Quillo {
namespace {

template <class T, class Extract>
AttributeRead<T> readAttribute(const ax::Element& element, std::string_view attribute, Extract extract) {
  const ax::CopyResult result = ax::copyAttributeValue(element, attribute);
  if (result.error != ax::Error::success) return {result.error, std::nullopt};
  return {ax::Error::success, extract(result.value)};
}

}  // namespace

AttributeRead<std::string> copyStringAttribute(const ax::Element& element, std::string_view attribute) {
  return readAttribute<std::string>(element, attribute,
                                    [](const ax::Object& value) -> std::optional<std::string> {
                                      if (const std::string* text = value.string()) return *text;
                                      return std::nullopt;
                                    });
}

AttributeRead<ax::Range> copyRangeAttribute(const ax::Element& element, std::string_view attribute) {
  return readAttribute<ax::Range>(element, attribute,
                                  [](const ax::Object& value) -> std::optional<ax::Range> {
                                    if (const ax::Value* boxed = value.value())
                                      return boxed->get<ax::Range>();
                                    return std::nullopt;
                                  });
}

AttributeRead<ax::Element> copyElementAttribute(const ax::Element& element, std::string_view attribute) {
  return readAttribute<ax::Element>(element, attribute,
                                    [](const ax::Object& value) -> std::optional<ax::Element> {
                                      if (const ax::Element* found = value.element()) return *found;
                                      return std::nullopt;
                                    });
}

std::optional<foundation::Rect> copyBoundsForRange(const ax::Element& element, ax::Range range) {
  const ax::CopyResult result =
      ax::copyParameterizedAttributeValue(element, "AXBoundsForRange", packAXValue(range));
  if (result.error != ax::Error::success) return std::nullopt;
  if (const ax::Value* boxed = result.value.value()) return boxed->get<foundation::Rect>();
  return std::nullopt;
}

AXPlainValue unpackAXValue(const ax::Object& object) {
  if (const ax::Element* element = object.element()) return *element;
  if (const ax::Value* boxed = object.value()) {
    return std::visit([](const auto& plain) -> AXPlainValue { return plain; }, boxed->payload());
  }
  return object;
}

ax::Object packAXValue(const AXPackableValue& value) {
  return std::visit(
      [](const auto& plain) -> ax::Object {
        using T = std::decay_t<decltype(plain)>;
        if constexpr (std::is_same_v<T, bool> || std::is_same_v<T, std::string>) {
          return ax::Object(plain);
        } else {
          return ax::Object(ax::Value(plain));
        }
      },
      value);
}

std::optional<std::vector<AXPlainValue>> copyMultipleAttributeValues(
    const ax::Element& element, const std::vector<std::string>& attributes) {
  const ax::CopyResult result =
      ax::copyMultipleAttributeValues(element, attributes, ax::CopyMultipleAttributeOptions::none);
  if (result.error != ax::Error::success) return std::nullopt;
  const ax::Object::Array* values = result.value.array();
  if (values == nullptr) return std::nullopt;
  std::vector<AXPlainValue> plain;
  plain.reserve(values->size());
  for (const auto& value : *values) plain.push_back(unpackAXValue(value));
  return plain;
}

std::optional<std::vector<std::string>> copyActionNames(const ax::Element& element) {
  const ax::CopyResult result = ax::copyActionNames(element);
  if (result.error != ax::Error::success) return std::nullopt;
  const ax::Object::Array* values = result.value.array();
  if (values == nullptr) return std::nullopt;
  std::vector<std::string> names;
  for (const auto& value : *values) {
    const std::string* name = value.string();
    if (name == nullptr) return std::nullopt;
    names.push_back(*name);
  }
  return names;
}

std::optional<foundation::Rect> flipToScreenCoordinates(foundation::Rect rect) {
  const auto screens = appkit::Screen::screens();
  if (screens.empty()) return std::nullopt;
  const double screenHeight = screens.front().frame().height();
  return foundation::Rect(rect.origin.x, screenHeight - rect.origin.y - rect.height(), rect.width(),
                          rect.height());
}

}  // namespace Quillo
