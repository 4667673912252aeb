#include "Quillo/settings_panes/picker_options.h"

namespace Quillo {

std::vector<Model> selectableModels() {
  std::vector<Model> models;
  for (Model model : allModels) {
    if (model != Model::turbo31) models.push_back(model);
  }
  return models;
}

std::vector<ui::PickerOption<Model>> modelOptions(const std::vector<Model>& models) {
  std::vector<std::pair<Model, std::string>> titled;
  titled.reserve(models.size());
  for (Model model : models) titled.emplace_back(model, displayName(model));
  return verbatimOptions(titled);
}

}  // namespace Quillo
