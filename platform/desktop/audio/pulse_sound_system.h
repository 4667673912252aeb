// Sound through a PulseAudio server (PipeWire's Pulse server included), with its simple API.
#pragma once

#include <memory>
#include <string>

#include "platform/desktop/audio/sound_system.h"

namespace desktop::audio {

// Thread-safe: fixed after connect(); every stream has a connection of its own.
class PulseSoundSystem final : public SoundSystem {
 public:
  // The server of this session, or nullptr when none answers.
  static std::shared_ptr<PulseSoundSystem> connect();

  std::string name() const override { return "PulseAudio"; }
  std::unique_ptr<PlaybackStream> openPlayback(int sampleRate) override;
  std::string missingMicrophoneReason() const override { return missingMicrophoneReason_; }
  std::unique_ptr<CaptureStream> openCapture(int sampleRate) override;

 private:
  PulseSoundSystem() = default;
  std::string missingMicrophoneReason_;
};

}  // namespace desktop::audio
