// The standard updater controller: owns the application's updater and offers the "check for updates"
// action that menus and buttons call.
#pragma once

#include <memory>

#include "platform/foundation/url.h"
#include "platform/updater/updater.h"

namespace updater {

class StandardUpdaterController {
 public:
  // A controller whose updater takes users to `downloadPage`; with `startingUpdater` the updater starts
  // at once, otherwise when startUpdater() is called.
  StandardUpdaterController(bool startingUpdater, foundation::URL downloadPage);
  StandardUpdaterController(const StandardUpdaterController&) = delete;
  StandardUpdaterController& operator=(const StandardUpdaterController&) = delete;

  const std::shared_ptr<Updater>& updater() const { return updater_; }
  void startUpdater() { updater_->startUpdater(); }
  // The action of a "Check for Updates…" command.
  void checkForUpdates() { updater_->checkForUpdates(); }

 private:
  std::shared_ptr<Updater> updater_;
};

}  // namespace updater
