#include "platform/appkit/open_panel.h"

#include <utility>

#include "platform/desktop/desktop.h"
#include "platform/desktop/file_panel_service.h"
#include "platform/foundation/run_loop.h"

namespace appkit {

std::shared_ptr<OpenPanel> OpenPanel::openPanel() { return std::make_shared<OpenPanel>(Token{}); }

ModalResponse OpenPanel::runModal() {
  urls_.clear();
  auto* desktop = desktop::Desktop::current();
  if (!desktop) return kModalResponseCancel;
  desktop::FilePanelRequest request;
  request.kind = desktop::FilePanelRequest::Kind::open;
  request.canChooseFiles = canChooseFiles_;
  request.canChooseDirectories = canChooseDirectories_;
  request.allowsMultipleSelection = allowsMultipleSelection_;
  auto paths = desktop->filePanels().runOpenPanel(request);
  if (!paths) return kModalResponseCancel;
  for (const auto& path : *paths) urls_.push_back(foundation::URL::fileURL(path));
  if (!allowsMultipleSelection_ && urls_.size() > 1) urls_.erase(urls_.begin() + 1, urls_.end());
  return kModalResponseOK;
}

void OpenPanel::begin(std::function<void(ModalResponse)> completionHandler) {
  foundation::RunLoop::main().async(
      [self = shared_from_this(), completionHandler = std::move(completionHandler)] {
        const auto response = self->runModal();
        if (completionHandler) completionHandler(response);
      });
}

}  // namespace appkit
