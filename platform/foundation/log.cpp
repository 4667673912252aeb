#include "platform/foundation/log.h"

#include <algorithm>
#include <cstdio>
#include <mutex>

namespace foundation {

struct LogCapture::State {
  mutable std::mutex mutex;  // guards lines
  std::vector<std::string> lines;
};

namespace {
// Guards the current capture and serialises writes, so lines from several threads never interleave.
std::mutex& logMutex() {
  static std::mutex mutex;
  return mutex;
}
LogCapture::State* currentCapture = nullptr;
}  // namespace

void log(std::string_view line) {
  std::lock_guard lock(logMutex());
  if (currentCapture != nullptr) {
    std::lock_guard captureLock(currentCapture->mutex);
    currentCapture->lines.emplace_back(line);
    return;
  }
  std::fwrite(line.data(), 1, line.size(), stdout);
  std::fputc('\n', stdout);
  std::fflush(stdout);
}

std::string redactedSecret(std::string_view secret) {
  if (secret.size() < 12) return "…";
  return std::string(secret.substr(0, 3)) + "…" + std::string(secret.substr(secret.size() - 4));
}

LogCapture::LogCapture() : state_(new State) {
  std::lock_guard lock(logMutex());
  previous_ = currentCapture;
  currentCapture = state_;
}

LogCapture::~LogCapture() {
  {
    std::lock_guard lock(logMutex());
    currentCapture = previous_;
  }
  delete state_;
}

std::vector<std::string> LogCapture::lines() const {
  std::lock_guard lock(state_->mutex);
  return state_->lines;
}

bool LogCapture::contains(std::string_view line) const {
  std::lock_guard lock(state_->mutex);
  return std::find(state_->lines.begin(), state_->lines.end(), line) != state_->lines.end();
}

}  // namespace foundation
