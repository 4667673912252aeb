#include "Quillo/inline/ui_element.h"

#include <fmt/format.h>

#include <utility>

#include "Quillo/inline/accessibility_access.h"
#include "platform/accessibility/attributes.h"
#include "platform/foundation/uuid.h"

namespace Quillo {
namespace {

// The shortest decimal form that reads back as the same number, with at least one digit after the point.
std::string decimal(double number) {
  std::string text = fmt::format("{}", number);
  if (text.find_first_not_of("-0123456789") == std::string::npos) text += ".0";
  return text;
}

std::string describe(const std::optional<std::string>& text) { return text ? *text : "<nil>"; }

std::string describe(const std::optional<std::vector<std::string>>& list) {
  if (!list) return "<nil>";
  std::string text = "[";
  for (std::size_t i = 0; i < list->size(); ++i) {
    if (i > 0) text += ", ";
    text += "\"" + (*list)[i] + "\"";
  }
  return text + "]";
}

}  // namespace

UIElement::UIElement(std::string id, std::optional<ax::Element> ref, std::string role,
                     std::optional<std::string> subrole, foundation::Point position, foundation::Size size,
                     std::optional<std::string> title, std::optional<std::string> value,
                     std::optional<std::string> description, std::optional<std::string> help,
                     std::optional<std::string> roleDescription, std::optional<std::string> placeholderValue,
                     std::optional<bool> enabled, std::optional<std::vector<std::string>> actions,
                     std::optional<std::vector<std::string>> attributes)
    : id(std::move(id)),
      ref(std::move(ref)),
      role(std::move(role)),
      subrole(std::move(subrole)),
      position(position),
      size(size),
      title(std::move(title)),
      value(std::move(value)),
      description(std::move(description)),
      help(std::move(help)),
      roleDescription(std::move(roleDescription)),
      placeholderValue(std::move(placeholderValue)),
      enabled(enabled),
      actions(std::move(actions)),
      attributes(std::move(attributes)) {}

std::shared_ptr<UIElement> UIElement::fromElement(const ax::Element& element) {
  const auto values = copyMultipleAttributeValues(
      element, {ax::attribute::role, ax::attribute::position, ax::attribute::size, ax::attribute::subrole});
  if (!values || values->size() != 4) return nullptr;
  const ax::Object* roleObject = std::get_if<ax::Object>(&(*values)[0]);
  const std::string* role = roleObject != nullptr ? roleObject->string() : nullptr;
  const foundation::Point* position = std::get_if<foundation::Point>(&(*values)[1]);
  const foundation::Size* size = std::get_if<foundation::Size>(&(*values)[2]);
  if (role == nullptr || position == nullptr || size == nullptr) return nullptr;
  std::optional<std::string> subrole;
  if (const ax::Object* subroleObject = std::get_if<ax::Object>(&(*values)[3])) {
    if (const std::string* text = subroleObject->string()) subrole = *text;
  }
  return std::make_shared<UIElement>(foundation::UUID::random().uuidString(), element, *role,
                                     std::move(subrole), *position, *size, std::nullopt, std::nullopt,
                                     std::nullopt, std::nullopt, std::nullopt, std::nullopt, std::nullopt,
                                     std::nullopt, std::nullopt);
}

std::string UIElement::debugDescription() const {
  return fmt::format(
      "id={}, role={}, subrole={}, frame=({}, {}, {}, {}), title={}, description={}, value={}, "
      "attributes={}, actions={}",
      id, role, describe(subrole), decimal(position.x), decimal(position.y), decimal(size.width),
      decimal(size.height), describe(title), describe(description), describe(value), describe(attributes),
      describe(actions));
}

}  // namespace Quillo
