#include "platform/appkit/save_panel.h"

#include <utility>

#include "platform/desktop/desktop.h"
#include "platform/desktop/file_panel_service.h"
#include "platform/foundation/run_loop.h"

namespace appkit {

std::shared_ptr<SavePanel> SavePanel::savePanel() { return std::make_shared<SavePanel>(Token{}); }

ModalResponse SavePanel::runModal() {
  url_.reset();
  auto* desktop = desktop::Desktop::current();
  if (!desktop) return kModalResponseCancel;
  desktop::FilePanelRequest request;
  request.kind = desktop::FilePanelRequest::Kind::save;
  request.nameFieldStringValue = nameFieldStringValue_;
  auto path = desktop->filePanels().runSavePanel(request);
  if (!path) return kModalResponseCancel;
  url_ = foundation::URL::fileURL(*path);
  return kModalResponseOK;
}

void SavePanel::begin(std::function<void(ModalResponse)> completionHandler) {
  foundation::RunLoop::main().async(
      [self = shared_from_this(), completionHandler = std::move(completionHandler)] {
        const auto response = self->runModal();
        if (completionHandler) completionHandler(response);
      });
}

}  // namespace appkit
