// The selectable chat models, in the order of every model picker.
#pragma once

#include <array>
#include <optional>
#include <string>
#include <type_traits>

#include "platform/foundation/json_text.h"

namespace Quillo {

enum class Model { turbo, turbo31, turbo1106, turbo16k, gpt4, gpt4turbo128, gpt40125preview };

inline constexpr std::array<Model, 7> allModels = {Model::turbo,          Model::turbo31, Model::turbo1106,
                                                   Model::turbo16k,       Model::gpt4,    Model::gpt4turbo128,
                                                   Model::gpt40125preview};

// The wire name ("gpt-3.5-turbo", ...); also the model's identity in lists.
std::string rawValue(Model model);
// The model of a wire name, or nothing for any other text.
std::optional<Model> fromRawValue(std::type_identity<Model>, const std::string& raw);
// The name a picker shows ("GPT-3.5-turbo", "GPT-4 Turbo", ...).
std::string displayName(Model model);

// Coded as its raw value (a JSON string); decoding a name that is not a model throws foundation::TextError.
// As a setting it is stored as the JSON text of the raw value, e.g. "\"gpt-4\"".
void to_json(foundation::Json& json, const Model& model);
void from_json(const foundation::Json& json, Model& model);

}  // namespace Quillo
