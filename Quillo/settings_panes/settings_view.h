// The content of the settings window: one tab per settings pane, in a fixed order.
#pragma once

#include "Quillo/app/app_state.h"
#include "platform/ui/observable_object.h"
#include "platform/ui/view.h"

namespace Quillo {

// The title by which the application shell and the General pane find the settings window.
inline constexpr const char* kSettingsWindowTitle = "Quillo Settings";

// The tabs: General, Web, Menu Bar, Global, Inline, Sidebar, Prompts, About, Advanced, Donate; the first
// is selected when the window opens. The panes are made anew at each evaluation; every value they show
// lives in the settings store, a plain user-defaults key or AppState, whose Accessibility flag is the one
// value handed down (to the Inline pane).
class SettingsView final : public ui::View {
 public:
  ui::AnyView body() const override;

 private:
  ui::EnvironmentObject<AppState> appState_;
};

}  // namespace Quillo
