// A sound system of files: what it plays is written to a WAVE file, and its microphone hears a WAVE file,
// at the pace of a real one, followed by quiet. For recognising a recording and for tests.
#pragma once

#include <cstddef>
#include <filesystem>
#include <memory>
#include <mutex>
#include <optional>
#include <string>

#include "platform/desktop/audio/sound_system.h"
#include "platform/desktop/audio/wave_audio.h"

namespace desktop::audio {

// Thread-safe: one mutex guards what was played.
class FileSoundSystem final : public SoundSystem, public std::enable_shared_from_this<FileSoundSystem> {
 public:
  struct Options {
    // Where what is played goes: every stream's samples one after another, the file rewritten whenever
    // a stream is drained or closed. None: played sound is kept in memory only.
    std::optional<std::filesystem::path> playbackFile;
    // What the microphone hears; none: there is no microphone.
    std::optional<std::filesystem::path> captureFile;
    // How much faster than real time the microphone delivers (1: as a real one does).
    double capturePace = 1.0;
    // Quiet heard before the file, in seconds (a person seldom speaks the moment the microphone opens).
    double leadingSilence = 0.0;
    // Quiet heard after the file, in seconds, before the microphone's input ends.
    double trailingSilence = 1.5;
  };

  static std::shared_ptr<FileSoundSystem> make(Options options);

  std::string name() const override { return "WAVE files"; }
  std::unique_ptr<PlaybackStream> openPlayback(int sampleRate) override;
  std::string missingMicrophoneReason() const override;
  std::unique_ptr<CaptureStream> openCapture(int sampleRate) override;

  // Everything played so far, at the rate of the first stream.
  WaveAudio played() const;

 private:
  explicit FileSoundSystem(Options options) : options_(std::move(options)) {}
  friend class FilePlayback;
  void append(std::span<const std::int16_t> samples, int sampleRate);
  void save() const;

  const Options options_;
  mutable std::mutex mutex_;
  WaveAudio played_;
  bool hasPlayed_ = false;
};

}  // namespace desktop::audio
