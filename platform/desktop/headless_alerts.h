// Alerts and beeps as the headless desktop plays them: the application kit reports every alert it shows
// and every beep; a test reads them and answers the coming alerts from a script set beforehand, so no
// alert ever waits for a person.
#pragma once

#include <cstddef>
#include <deque>
#include <mutex>
#include <vector>

#include "platform/desktop/alert_service.h"

namespace desktop {

// Thread-safe: one mutex guards the records and the script.
class HeadlessAlerts final : public AlertService {
 public:
  // Answers for the coming alerts, oldest first: the index of the button a person presses (0: the first,
  // default button). Appended to what is still scripted.
  void scriptAnswers(const std::vector<std::size_t>& buttonIndexes);
  std::size_t scriptedAnswerCount() const;

  // The application kit shows an alert: it is recorded and answered at once, within the call, with the
  // next scripted answer, or with the first button when nothing is scripted. An answer beyond the
  // alert's buttons presses the first one.
  void present(AlertRequest request, Answer answer) override;
  // Every alert shown, oldest first.
  std::vector<AlertRequest> alerts() const;

  // The application asks for the system beep.
  void beep() override;
  std::size_t beepCount() const;

  // Forgets the records (the script stays).
  void clearRecords();

 private:
  mutable std::mutex mutex_;
  std::deque<std::size_t> script_;
  std::vector<AlertRequest> alerts_;
  std::size_t beepCount_ = 0;
};

}  // namespace desktop
