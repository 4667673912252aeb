// A recognition request fed with captured audio buffers, as a recognition task consumes it.
#pragma once

#include <cstdint>
#include <memory>
#include <mutex>

#include "platform/speech/audio_buffer.h"

namespace speech {

// Thread-safe: one mutex guards the settings, the counts and the session the request feeds, because
// buffers arrive on the capture thread while the request is set up and handed to a task elsewhere.
class AudioBufferRecognitionRequest {
 public:
  // A new request, or nullptr when the recognition service cannot make one.
  static std::shared_ptr<AudioBufferRecognitionRequest> make();

  AudioBufferRecognitionRequest(const AudioBufferRecognitionRequest&) = delete;
  AudioBufferRecognitionRequest& operator=(const AudioBufferRecognitionRequest&) = delete;

  // Whether the task reports results before the final one (false by default).
  void setShouldReportPartialResults(bool shouldReport);
  bool shouldReportPartialResults() const;

  // Appends a buffer of audio to recognise. Buffers appended after endAudio() are dropped.
  void append(const AudioPCMBuffer& buffer);
  // No more audio will follow.
  void endAudio();

  // How many buffers and frames were appended (and kept).
  std::uint64_t appendedBufferCount() const;
  std::uint64_t appendedFrameCount() const;

  // Used by the recognition task that consumes the request: later buffers reach this session.
  void attachToSession(std::uint64_t session);

 private:
  AudioBufferRecognitionRequest() = default;

  mutable std::mutex mutex_;
  bool shouldReportPartialResults_ = false;
  bool hasEnded_ = false;
  std::uint64_t bufferCount_ = 0;
  std::uint64_t frameCount_ = 0;
  std::uint64_t session_ = 0;
};

}  // namespace speech
