// What the live speech tests share: waiting for what the speech threads report, the eSpeak NG and
// PocketSphinx prerequisites, and a spoken answer recorded to a WAVE file.
#pragma once

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <filesystem>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "platform/desktop/audio/espeak_synthesis.h"
#include "platform/desktop/audio/file_sound_system.h"
#include "platform/desktop/audio/live_speech.h"
#include "platform/desktop/audio/speech_decoder.h"
#include "platform/foundation/text_error.h"
#include "tests/support/live/live_session.h"

namespace livespeechtest {

// Why eSpeak NG cannot speak here; empty when it can.
inline std::string missingSynthesisReason() {
  try {
    desktop::audio::EspeakSynthesis::sampleRate();
    return {};
  } catch (const foundation::TextError& error) {
    return error.text();
  }
}

#define REQUIRE_SYNTHESIS()                                                        \
  do {                                                                             \
    if (auto reason = ::livespeechtest::missingSynthesisReason(); !reason.empty()) \
      GTEST_SKIP() << "No speech synthesis: " << reason;                           \
  } while (false)

#define REQUIRE_RECOGNITION()                                                                 \
  do {                                                                                        \
    if (auto reason = ::desktop::audio::SpeechDecoder::missingModelReason(); !reason.empty()) \
      GTEST_SKIP() << "No speech recognition: " << reason;                                    \
  } while (false)

// What a speech sink heard: nothing yet, or whether the utterance was finished.
class SpeechEnd {
 public:
  desktop::SpeechService::SpeechSink sink() {
    return [this](bool finished) {
      std::lock_guard lock(mutex_);
      ends_.push_back(finished);
    };
  }
  std::vector<bool> ends() const {
    std::lock_guard lock(mutex_);
    return ends_;
  }
  bool waitForEnds(std::size_t count) const {
    return testsupport::live::waitUntil([&] { return ends().size() >= count; });
  }

 private:
  mutable std::mutex mutex_;
  std::vector<bool> ends_;
};

// A sound system that plays into `file` and has no microphone.
inline std::shared_ptr<desktop::audio::FileSoundSystem> playingInto(std::filesystem::path file) {
  desktop::audio::FileSoundSystem::Options options;
  options.playbackFile = std::move(file);
  return desktop::audio::FileSoundSystem::make(std::move(options));
}

// A sound system whose microphone hears `file`, `pace` times faster than real time.
inline std::shared_ptr<desktop::audio::FileSoundSystem> hearing(std::filesystem::path file,
                                                                double pace = 8.0) {
  desktop::audio::FileSoundSystem::Options options;
  options.captureFile = std::move(file);
  options.capturePace = pace;
  options.leadingSilence = 0.5;
  return desktop::audio::FileSoundSystem::make(std::move(options));
}

// An utterance of the answer as the Global window speaks it: US English, at its rate.
inline desktop::SpokenUtterance answerUtterance(std::string text) {
  return desktop::SpokenUtterance{std::move(text), "en-US", 0.55f, 1.0f, 1.0f};
}

}  // namespace livespeechtest
