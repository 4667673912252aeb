// Alerts and beeps as the headless desktop plays them: the application kit reports every alert it shows
// and every beep; a test reads them and answers the coming alerts from a script set beforehand, so no
// alert ever waits for a person.
#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

namespace desktop {

// One alert as it was shown.
struct AlertRequest {
  std::string messageText;
  std::string informativeText;
  // The application kit's raw alert style (0 warning, 1 informational, 2 critical).
  std::uint64_t style = 0;
  // The button titles in order; empty: the platform's single default button.
  std::vector<std::string> buttonTitles;
  // The title of the window the alert is a sheet on; nothing for an application-modal alert.
  std::optional<std::string> sheetWindowTitle;

  bool operator==(const AlertRequest&) const = default;
};

// Thread-safe: one mutex guards the records and the script.
class HeadlessAlerts {
 public:
  // Answers for the coming alerts, oldest first: the index of the button a person presses (0: the first,
  // default button). Appended to what is still scripted.
  void scriptAnswers(const std::vector<std::size_t>& buttonIndexes);
  std::size_t scriptedAnswerCount() const;

  // The application kit shows an alert: it is recorded and answered at once with the next scripted
  // answer, or with the first button when nothing is scripted. An answer beyond the alert's buttons
  // presses the first one.
  std::size_t present(AlertRequest request);
  // Every alert shown, oldest first.
  std::vector<AlertRequest> alerts() const;

  // The application asks for the system beep.
  void beep();
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
