#include "Quillo/app/main_window_rules.h"

#include <string>

#include "Quillo/chat_model/settings_keys.h"
#include "Quillo/settings_panes/settings_view.h"
#include "platform/appkit/application.h"
#include "platform/appkit/styled_window.h"
#include "platform/foundation/run_loop.h"
#include "platform/ui/app_storage.h"

namespace Quillo {

void mainWindowAppeared() {
  foundation::RunLoop::main().asyncAfter(kWindowLevelDelay, [] { applyWindowLevels(); });
  applyActivationPolicy();
}

void applyActivationPolicy() {
  appkit::Application::shared().setActivationPolicy(Defaults::get(Keys::showNormalApp())
                                                        ? appkit::ActivationPolicy::regular
                                                        : appkit::ActivationPolicy::accessory);
}

void setMainAndSettingsWindowLevels(bool floatOnTop) {
  const int level = floatOnTop ? appkit::StyledWindow::Level::floating : appkit::StyledWindow::Level::normal;
  for (const auto& window : appkit::Application::shared().windows()) {
    if (window->title() == kMainWindowTitle) window->setLevel(level);
    if (window->title() == kSettingsWindowTitle) window->setLevel(level);
  }
}

void closeMainWindows() {
  for (const auto& window : appkit::Application::shared().windows()) {
    if (window->title() == kMainWindowTitle) window->close();
  }
}

void applyWindowLevels() {
  setMainAndSettingsWindowLevels(ui::AppStorage<bool>("floatOnTop", false).get());
  if (!Defaults::get(Keys::showNormalApp())) closeMainWindows();
}

}  // namespace Quillo
