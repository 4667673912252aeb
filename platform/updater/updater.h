// The update framework's updater: whether a check for a newer build can start now, and the check itself,
// which takes the user to the application's download page.
#pragma once

#include <memory>

#include "platform/concurrency/publisher.h"
#include "platform/concurrency/subject.h"
#include "platform/foundation/url.h"

namespace updater {

// A check is possible once the updater has started, and not while a check is under way. Its state is a
// subject, so it may be read and observed from any thread; checks are started on the main thread.
class Updater {
 public:
  explicit Updater(foundation::URL downloadPage);
  Updater(const Updater&) = delete;
  Updater& operator=(const Updater&) = delete;

  const foundation::URL& downloadPage() const { return downloadPage_; }

  // Starts the updater; from then on checks are possible. Starting it again does nothing.
  void startUpdater();
  bool isStarted() const { return isStarted_; }

  bool canCheckForUpdates() const { return canCheckForUpdates_.value(); }
  // The current value at once, then every change.
  concurrency::AnyPublisher<bool> canCheckForUpdatesPublisher() const {
    return canCheckForUpdates_.eraseToAnyPublisher();
  }

  // Checks for updates: opens the download page, where the user finds the newest build. While it is being
  // opened no other check can start. Nothing happens while no check is possible; a page the desktop
  // cannot open is reported as a diagnostic line.
  void checkForUpdates();

 private:
  foundation::URL downloadPage_;
  bool isStarted_ = false;
  concurrency::CurrentValueSubject<bool> canCheckForUpdates_{false};
};

}  // namespace updater
