#include "platform/desktop/headless_alerts.h"

#include <algorithm>

namespace desktop {

void HeadlessAlerts::scriptAnswers(const std::vector<std::size_t>& buttonIndexes) {
  std::lock_guard lock(mutex_);
  script_.insert(script_.end(), buttonIndexes.begin(), buttonIndexes.end());
}

std::size_t HeadlessAlerts::scriptedAnswerCount() const {
  std::lock_guard lock(mutex_);
  return script_.size();
}

void HeadlessAlerts::present(AlertRequest request, Answer answer) {
  std::size_t buttonIndex = 0;
  {
    std::lock_guard lock(mutex_);
    if (!script_.empty()) {
      buttonIndex = script_.front();
      script_.pop_front();
    }
    const std::size_t buttonCount = std::max<std::size_t>(1, request.buttonTitles.size());
    if (buttonIndex >= buttonCount) buttonIndex = 0;
    alerts_.push_back(std::move(request));
  }
  // Outside the lock: the answer may show the next alert.
  if (answer) answer(buttonIndex);
}

std::vector<AlertRequest> HeadlessAlerts::alerts() const {
  std::lock_guard lock(mutex_);
  return alerts_;
}

void HeadlessAlerts::beep() {
  std::lock_guard lock(mutex_);
  ++beepCount_;
}

std::size_t HeadlessAlerts::beepCount() const {
  std::lock_guard lock(mutex_);
  return beepCount_;
}

void HeadlessAlerts::clearRecords() {
  std::lock_guard lock(mutex_);
  alerts_.clear();
  beepCount_ = 0;
}

}  // namespace desktop
