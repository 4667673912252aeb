// The content of the status item's popover: a header of controls over the native or the web chat, at the
// width the "size" preset gives and 700 points high.
#pragma once

#include <cstdint>
#include <memory>

#include "Quillo/app/app_state.h"
#include "Quillo/config/config_manager.h"
#include "platform/ui/app_storage.h"
#include "platform/ui/observable_object.h"
#include "platform/ui/view.h"
#include "platform/updater/standard_updater_controller.h"
#include "settings_store/default_binding.h"

namespace Quillo {

// The popover's height, whatever its width.
inline constexpr double kPopoverHeight = 700;

// Reads AppState from the environment. It owns no state of its own: the chat kind is the setting
// `showNative` (shared with the main window), the width the plain setting "size", the conversation lives
// in AppState.
class MenuContainerView final : public ui::View {
 public:
  MenuContainerView(std::shared_ptr<ConfigManager> config,
                    std::shared_ptr<updater::StandardUpdaterController> updaterController);

  ui::AnyView body() const override;

  // Puts every message of the conversation, system messages included, on the general pasteboard: its
  // role's mark, a line feed, its content and two line feeds.
  void copyConversationToPasteboard() const;
  // Empties the conversation's messages (its id, title and prompt stay) and the client's history, so the
  // next request carries no earlier exchange.
  void clearMainConversation() const;

 private:
  ui::AnyView header() const;

  ui::EnvironmentObject<AppState> appState_;
  Defaults::Default<bool> showNative_;
  ui::AppStorage<std::int64_t> size_{"size", 1};
  ui::ObservedObject<ConfigManager> config_;
  std::shared_ptr<updater::StandardUpdaterController> updaterController_;
};

}  // namespace Quillo
