#include "platform/updater/updater.h"

#include <utility>

#include "platform/appkit/workspace.h"
#include "platform/foundation/log.h"

namespace updater {

Updater::Updater(foundation::URL downloadPage) : downloadPage_(std::move(downloadPage)) {}

void Updater::startUpdater() {
  if (isStarted_) return;
  isStarted_ = true;
  canCheckForUpdates_.send(true);
}

void Updater::checkForUpdates() {
  if (!canCheckForUpdates()) return;
  canCheckForUpdates_.send(false);
  if (!appkit::Workspace::shared().open(downloadPage_)) {
    foundation::log("Could not open the download page " + downloadPage_.absoluteString());
  }
  canCheckForUpdates_.send(true);
}

}  // namespace updater
