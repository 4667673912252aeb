// Alerts, sheets, the beep and open and save panels as GTK dialogs.
#pragma once

#include "platform/desktop/alert_service.h"
#include "platform/desktop/file_panel_service.h"

namespace desktop::x11 {

// Main thread only, as the services ask.
class GtkAlerts final : public AlertService {
 public:
  // Shows a message dialog with the buttons in order (the first the default); a sheet is modal to the
  // window of this program with its title. Closing the dialog without a button (Escape, the window's
  // close button) answers with a button titled "Cancel" when there is one and is refused otherwise, so
  // no answer is made up.
  void present(AlertRequest request, Answer answer) override;
  void beep() override;
};

// Main thread only; each panel runs modally until the person chooses or cancels.
class GtkFilePanels final : public FilePanelService {
 public:
  std::optional<std::vector<std::string>> runOpenPanel(const FilePanelRequest& request) override;
  std::optional<std::string> runSavePanel(const FilePanelRequest& request) override;
};

}  // namespace desktop::x11
