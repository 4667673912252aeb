#include "platform/speech/recognition_request.h"

#include "platform/desktop/desktop.h"
#include "platform/desktop/speech_service.h"

namespace speech {

std::shared_ptr<AudioBufferRecognitionRequest> AudioBufferRecognitionRequest::make() {
  auto* desktop = desktop::Desktop::current();
  if (desktop && !desktop->speech().canMakeRecognitionRequest()) return nullptr;
  return std::shared_ptr<AudioBufferRecognitionRequest>(new AudioBufferRecognitionRequest());
}

void AudioBufferRecognitionRequest::setShouldReportPartialResults(bool shouldReport) {
  std::lock_guard lock(mutex_);
  shouldReportPartialResults_ = shouldReport;
}

bool AudioBufferRecognitionRequest::shouldReportPartialResults() const {
  std::lock_guard lock(mutex_);
  return shouldReportPartialResults_;
}

void AudioBufferRecognitionRequest::append(const AudioPCMBuffer& buffer) {
  std::uint64_t session = 0;
  {
    std::lock_guard lock(mutex_);
    if (hasEnded_) return;
    ++bufferCount_;
    frameCount_ += buffer.frameLength;
    session = session_;
  }
  if (session == 0) return;
  if (auto* desktop = desktop::Desktop::current()) desktop->speech().hear(session, buffer.frameLength);
}

void AudioBufferRecognitionRequest::endAudio() {
  std::lock_guard lock(mutex_);
  hasEnded_ = true;
}

std::uint64_t AudioBufferRecognitionRequest::appendedBufferCount() const {
  std::lock_guard lock(mutex_);
  return bufferCount_;
}

std::uint64_t AudioBufferRecognitionRequest::appendedFrameCount() const {
  std::lock_guard lock(mutex_);
  return frameCount_;
}

void AudioBufferRecognitionRequest::attachToSession(std::uint64_t session) {
  std::lock_guard lock(mutex_);
  session_ = session;
}

}  // namespace speech
