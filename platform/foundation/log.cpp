#include "platform/foundation/log.h"

#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <mutex>

namespace foundation {

struct LogCapture::State {
  mutable std::mutex mutex;  // guards lines
  std::vector<std::string> lines;
  LogCapture::Output output = LogCapture::Output::terminal;
};

namespace {
// Guards the current capture and serialises writes, so lines from several threads never interleave.
std::mutex& logMutex() {
  static std::mutex mutex;
  return mutex;
}
LogCapture::State* currentCapture = nullptr;

void write(std::string_view line, bool isReadText) {
  std::lock_guard lock(logMutex());
  if (currentCapture != nullptr) {
    if (isReadText && currentCapture->output != LogCapture::Output::terminal) return;
    std::lock_guard captureLock(currentCapture->mutex);
    currentCapture->lines.emplace_back(line);
    return;
  }
  if (isReadText && ::isatty(::fileno(stdout)) == 0) return;
  std::fwrite(line.data(), 1, line.size(), stdout);
  std::fputc('\n', stdout);
  std::fflush(stdout);
}

}  // namespace

void log(std::string_view line) { write(line, false); }

void logReadText(std::string_view line) { write(line, true); }

std::string redactedSecret(std::string_view secret) {
  if (secret.size() < 12) return "…";
  return std::string(secret.substr(0, 3)) + "…" + std::string(secret.substr(secret.size() - 4));
}

LogCapture::LogCapture(Output output) : state_(new State) {
  state_->output = output;
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
