// The "Advanced" tab of the settings window: the switch to a custom chat endpoint and its base address.
#pragma once

#include <string>

#include "platform/ui/view.h"
#include "settings_store/default_binding.h"

namespace Quillo {

// `azureKey` holds the custom endpoint's base URL (not a key); the chat client reads both settings at
// every request. Switching the custom endpoint off keeps the stored address.
class AdvancedSettings final : public ui::View {
 public:
  AdvancedSettings();

  ui::AnyView body() const override;
  static ui::AnyView tabLabel();

 private:
  Defaults::Default<std::string> azureKey_;
  Defaults::Default<bool> useCustomAPI_;
};

}  // namespace Quillo
