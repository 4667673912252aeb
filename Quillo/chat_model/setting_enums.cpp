#include "Quillo/chat_model/font_size.h"
#include "Quillo/chat_model/inline_trigger.h"
#include "platform/foundation/text_error.h"

namespace Quillo {

std::string rawValue(InlineTrigger trigger) {
  return trigger == InlineTrigger::normalReturn ? "normalReturn" : "shiftReturn";
}

std::optional<InlineTrigger> fromRawValue(std::type_identity<InlineTrigger>, const std::string& raw) {
  for (InlineTrigger trigger : allInlineTriggers) {
    if (rawValue(trigger) == raw) return trigger;
  }
  return std::nullopt;
}

void to_json(foundation::Json& json, const InlineTrigger& trigger) { json = rawValue(trigger); }

void from_json(const foundation::Json& json, InlineTrigger& trigger) {
  std::string raw = foundation::stringValue(json);
  std::optional<InlineTrigger> decoded = fromRawValue(std::type_identity<InlineTrigger>{}, raw);
  if (!decoded) throw foundation::TextError("\"" + raw + "\" is not an Inline trigger");
  trigger = *decoded;
}

std::string rawValue(FontSize size) {
  switch (size) {
    case FontSize::small:
      return "small";
    case FontSize::medium:
      return "medium";
    case FontSize::large:
      return "large";
    case FontSize::xLarge:
      return "xLarge";
  }
  return "small";
}

std::optional<FontSize> fromRawValue(std::type_identity<FontSize>, const std::string& raw) {
  for (FontSize size : allFontSizes) {
    if (rawValue(size) == raw) return size;
  }
  return std::nullopt;
}

}  // namespace Quillo
