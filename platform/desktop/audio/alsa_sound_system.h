// Sound through ALSA's default devices, where no sound server runs.
#pragma once

#include <memory>
#include <string>

#include "platform/desktop/audio/sound_system.h"

namespace desktop::audio {

// Thread-safe: fixed after open(); every stream opens the device for itself.
class AlsaSoundSystem final : public SoundSystem {
 public:
  // ALSA's default devices, or nullptr when the default output does not open (no sound card).
  static std::shared_ptr<AlsaSoundSystem> open();

  std::string name() const override { return "ALSA"; }
  std::unique_ptr<PlaybackStream> openPlayback(int sampleRate) override;
  std::string missingMicrophoneReason() const override { return missingMicrophoneReason_; }
  std::unique_ptr<CaptureStream> openCapture(int sampleRate) override;

 private:
  AlsaSoundSystem() = default;
  std::string missingMicrophoneReason_;
};

}  // namespace desktop::audio
