// The "Global" tab of the settings window: the Global window's hot key, model and speech options.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "Quillo/chat_model/model.h"
#include "platform/ui/view.h"
#include "settings_store/default_binding.h"

namespace Quillo {

class GlobalSettings final : public ui::View {
 public:
  GlobalSettings();

  ui::AnyView body() const override;
  static ui::AnyView tabLabel();

 private:
  Defaults::Default<Model> globalApiModel_;
  Defaults::Default<std::string> apiKey_;
  Defaults::Default<bool> speakGlobalOutLoud_;
  Defaults::Default<std::int64_t> maxLengthForSpeaking_;
  Defaults::Default<bool> conversationModeEnabled_;
};

}  // namespace Quillo
