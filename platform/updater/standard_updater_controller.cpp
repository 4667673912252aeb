#include "platform/updater/standard_updater_controller.h"

#include <utility>

namespace updater {

StandardUpdaterController::StandardUpdaterController(bool startingUpdater, foundation::URL downloadPage)
    : updater_(std::make_shared<Updater>(std::move(downloadPage))) {
  if (startingUpdater) updater_->startUpdater();
}

}  // namespace updater
