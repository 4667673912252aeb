// The "Web" tab of the settings window: the two options of the embedded web chat.
#pragma once

#include "platform/ui/app_storage.h"
#include "platform/ui/view.h"
#include "settings_store/default_binding.h"

namespace Quillo {

// "useCustomUserAgent" is a plain user-defaults value (not a typed setting) that the web chat reads
// under the same key when it makes its web view.
class WebSettings final : public ui::View {
 public:
  WebSettings(ui::AppStorage<bool> useCustomUserAgent, Defaults::Default<bool> webDefaultToGPT4);

  ui::AnyView body() const override;
  static ui::AnyView tabLabel();

 private:
  ui::AppStorage<bool> useCustomUserAgent_;
  Defaults::Default<bool> webDefaultToGPT4_;
};

}  // namespace Quillo
