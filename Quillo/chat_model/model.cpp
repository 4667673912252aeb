#include "Quillo/chat_model/model.h"

#include "platform/foundation/text_error.h"

namespace Quillo {
namespace {

struct ModelNames {
  const char* raw;
  const char* display;
};

ModelNames names(Model model) {
  switch (model) {
    case Model::turbo:
      return {"gpt-3.5-turbo", "GPT-3.5-turbo"};
    case Model::turbo31:
      return {"gpt-3.5-turbo-0301", "GPT-3.5-turbo-0301"};
    case Model::turbo1106:
      return {"gpt-3.5-turbo-1106", "GPT-3.5-turbo-1106"};
    case Model::turbo16k:
      return {"gpt-3.5-turbo-16k", "GPT-3.5 16k"};
    case Model::gpt4:
      return {"gpt-4", "GPT-4"};
    case Model::gpt4turbo128:
      return {"gpt-4-1106-preview", "GPT-4 Turbo"};
    case Model::gpt40125preview:
      return {"gpt-4-0125-preview", "GPT-4 (0125 Preview)"};
  }
  return {"gpt-3.5-turbo", "GPT-3.5-turbo"};
}

}  // namespace

std::string rawValue(Model model) { return names(model).raw; }

std::string displayName(Model model) { return names(model).display; }

std::optional<Model> fromRawValue(std::type_identity<Model>, const std::string& raw) {
  for (Model model : allModels) {
    if (raw == names(model).raw) return model;
  }
  return std::nullopt;
}

void to_json(foundation::Json& json, const Model& model) { json = rawValue(model); }

void from_json(const foundation::Json& json, Model& model) {
  std::string raw = foundation::stringValue(json);
  std::optional<Model> decoded = fromRawValue(std::type_identity<Model>{}, raw);
  if (!decoded) throw foundation::TextError("\"" + raw + "\" is not a model");
  model = *decoded;
}

}  // namespace Quillo
