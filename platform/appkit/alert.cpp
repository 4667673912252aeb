#include "platform/appkit/alert.h"

#include <cstddef>

#include "platform/desktop/headless_desktop.h"
#include "platform/foundation/log.h"
#include "platform/foundation/run_loop.h"

namespace appkit {
namespace {

struct ModalSession {
  bool isStopped = false;
  ModalResponse code = kModalResponseAbort;
};

// Main-thread state: the running modal loops, innermost last.
std::vector<std::shared_ptr<ModalSession>>& modalSessions() {
  static std::vector<std::shared_ptr<ModalSession>> sessions;
  return sessions;
}

// Shows the alert to the desktop and returns the response of the button it answers with. Without a
// desktop nobody can answer: the default (first) button is taken.
ModalResponse presentToDesktop(const Alert& alert, std::optional<std::string> sheetWindowTitle) {
  auto* desktop = desktop::HeadlessDesktop::current();
  if (!desktop) return kAlertFirstButtonReturn;
  desktop::AlertRequest request{alert.messageText(), alert.informativeText(),
                                static_cast<std::uint64_t>(alert.alertStyle()), alert.buttonTitles(),
                                std::move(sheetWindowTitle)};
  const std::size_t index = desktop->alerts().present(std::move(request));
  return kAlertFirstButtonReturn + static_cast<ModalResponse>(index);
}

}  // namespace

ModalResponse Alert::runModal() const {
  foundation::assertMainThread();
  const ModalResponse response = presentToDesktop(*this, std::nullopt);
  // The answer arrives through the main queue, after the work already waiting there.
  auto answered = std::make_shared<bool>(false);
  foundation::RunLoop::main().async([answered] { *answered = true; });
  foundation::RunLoop::main().runUntil([answered] { return *answered; });
  return response;
}

void Alert::beginSheetModal(const std::shared_ptr<Window>& window,
                            std::function<void(ModalResponse)> completion) const {
  foundation::assertMainThread();
  const ModalResponse response =
      presentToDesktop(*this, window ? std::optional<std::string>(window->title()) : std::nullopt);
  foundation::RunLoop::main().async([completion = std::move(completion), response] {
    if (completion) completion(response);
  });
}

ModalResponse runModalForWindow(Window&) {
  foundation::assertMainThread();
  auto session = std::make_shared<ModalSession>();
  modalSessions().push_back(session);
  const bool stopped = foundation::RunLoop::main().runUntil([session] { return session->isStopped; });
  std::erase(modalSessions(), session);
  if (!stopped) foundation::log("appkit: a modal loop ended without being stopped");
  return session->code;
}

void stopModalWithCode(ModalResponse code) {
  foundation::assertMainThread();
  if (modalSessions().empty()) return;
  auto& session = modalSessions().back();
  session->isStopped = true;
  session->code = code;
}

}  // namespace appkit
