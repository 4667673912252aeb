#include "platform/appkit/alert.h"

#include <cstddef>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <utility>

#include "platform/desktop/alert_service.h"
#include "platform/desktop/desktop.h"
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

// Shows the alert to the desktop and hands the response of the button it is answered with to `answer`,
// through the main queue, so the answer always comes after the work already waiting there. Without a
// desktop nobody can answer: the default (first) button is taken.
void presentToDesktop(const Alert& alert, std::optional<std::string> sheetWindowTitle,
                      std::function<void(ModalResponse)> answer) {
  auto post = [answer = std::move(answer)](std::size_t buttonIndex) {
    foundation::RunLoop::main().async([answer, buttonIndex] {
      if (answer) answer(kAlertFirstButtonReturn + static_cast<ModalResponse>(buttonIndex));
    });
  };
  auto* desktop = desktop::Desktop::current();
  if (!desktop) return post(0);
  desktop::AlertRequest request{alert.messageText(), alert.informativeText(),
                                static_cast<std::uint64_t>(alert.alertStyle()), alert.buttonTitles(),
                                std::move(sheetWindowTitle)};
  desktop->alerts().present(std::move(request), std::move(post));
}

}  // namespace

ModalResponse Alert::runModal() const {
  foundation::assertMainThread();
  auto response = std::make_shared<std::optional<ModalResponse>>();
  presentToDesktop(*this, std::nullopt, [response](ModalResponse answered) { *response = answered; });
  foundation::RunLoop::main().runUntil([response] { return response->has_value(); });
  if (!*response) foundation::log("appkit: an alert ended without an answer");
  return response->value_or(kModalResponseAbort);
}

void Alert::beginSheetModal(const std::shared_ptr<Window>& window,
                            std::function<void(ModalResponse)> completion) const {
  foundation::assertMainThread();
  presentToDesktop(*this, window ? std::optional<std::string>(window->title()) : std::nullopt,
                   std::move(completion));
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
