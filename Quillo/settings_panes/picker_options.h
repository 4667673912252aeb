// Options of the settings panes' pickers whose titles are names shown as they stand: models, trigger
// words and keys, text sizes. (Titles written in the panes' code are localization keys instead.)
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "Quillo/chat_model/model.h"
#include "platform/ui/views.h"

namespace Quillo {

// Every model the panes offer when nothing narrows the choice: all but "gpt-3.5-turbo-0301".
std::vector<Model> selectableModels();

// One option per model, in the given order, titled with its display name.
std::vector<ui::PickerOption<Model>> modelOptions(const std::vector<Model>& models);

// One option per value, titled with the text given, as it stands.
template <class T>
std::vector<ui::PickerOption<T>> verbatimOptions(const std::vector<std::pair<T, std::string>>& titled) {
  std::vector<ui::PickerOption<T>> options;
  options.reserve(titled.size());
  for (const auto& [value, title] : titled) options.push_back({value, ui::Text::verbatim(title)});
  return options;
}

}  // namespace Quillo
