// The sound system the live desktop plays through and captures from: 16-bit mono streams of samples at a
// rate the caller chooses.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <span>
#include <string>

namespace desktop::audio {

// Sound on its way to the loudspeaker. Touched by one thread at a time.
class PlaybackStream {
 public:
  virtual ~PlaybackStream() = default;
  // Queues samples for playing; blocks while the device's buffer is full. False when the device failed.
  virtual bool write(std::span<const std::int16_t> samples) = 0;
  // Waits until everything written has been played, asking `shouldStop` now and then; false when it said
  // to stop first.
  virtual bool drain(const std::function<bool()>& shouldStop) = 0;
  // Drops what was written and not yet played.
  virtual void discard() = 0;
};

// Sound from the microphone. Touched by one thread at a time.
class CaptureStream {
 public:
  virtual ~CaptureStream() = default;
  // Fills `samples` with the next captured ones, waiting for them as long as it takes. False when no more
  // will come (the device failed or the input ended).
  virtual bool read(std::span<std::int16_t> samples) = 0;
};

// Thread-safe: streams may be opened from any thread.
class SoundSystem {
 public:
  virtual ~SoundSystem() = default;
  // Its name as a person knows it ("PulseAudio", "ALSA").
  virtual std::string name() const = 0;
  // A stream to the default output. Throws foundation::TextError saying why none can be opened.
  virtual std::unique_ptr<PlaybackStream> openPlayback(int sampleRate) = 0;
  // Whether there is a microphone to capture from; when there is none, the reason, said to a person.
  virtual std::string missingMicrophoneReason() const = 0;
  bool hasMicrophone() const { return missingMicrophoneReason().empty(); }
  // A stream from the default input. Throws foundation::TextError saying why none can be opened.
  virtual std::unique_ptr<CaptureStream> openCapture(int sampleRate) = 0;
};

// The sound system of this machine: PulseAudio's server (PipeWire's serves it too) when one answers,
// else ALSA's default device when one opens, else nullptr: there is no sound system.
std::shared_ptr<SoundSystem> systemSoundSystem();

}  // namespace desktop::audio
