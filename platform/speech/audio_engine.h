// The audio engine: captures the default input through its input node, whose taps receive the captured
// buffers while the engine runs.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <mutex>

#include "platform/speech/audio_buffer.h"

namespace speech {

class AudioEngine;

// The engine's input node. It has one bus, 0. Thread-safe: one mutex guards the taps.
class AudioInputNode {
 public:
  // Runs on the capture thread for each buffer.
  using TapBlock = std::function<void(const AudioPCMBuffer& buffer)>;

  AudioInputNode(const AudioInputNode&) = delete;
  AudioInputNode& operator=(const AudioInputNode&) = delete;

  // The format the microphone delivers on `bus` (a zero format for a bus the node does not have).
  AudioFormat outputFormat(int bus) const;

  // Installs the tap of `bus`: buffers of `bufferSize` frames in `format` (the bus's own format when
  // `format` has a zero sample rate) reach `block` while the engine runs. A bus carries one tap: a second
  // one, or a bus the node does not have, throws foundation::TextError.
  void installTap(int bus, std::uint32_t bufferSize, AudioFormat format, TapBlock block);
  // Removes the tap of `bus`, if there is one.
  void removeTap(int bus);
  bool hasTap(int bus) const;

 private:
  friend class AudioEngine;
  explicit AudioInputNode(std::uint64_t engine) : engine_(engine) {}
  ~AudioInputNode();

  const std::uint64_t engine_;
  mutable std::mutex mutex_;
  std::map<int, std::size_t> taps_;  // bus → the desktop's tap token
};

// Thread-safe: the running flag is guarded by a mutex; the input node guards its own taps.
class AudioEngine {
 public:
  AudioEngine();
  ~AudioEngine();
  AudioEngine(const AudioEngine&) = delete;
  AudioEngine& operator=(const AudioEngine&) = delete;

  AudioInputNode& inputNode() { return inputNode_; }

  // Gets ready to start (nothing to do headless; kept so callers read as on the platform).
  void prepare();
  // Starts capturing. Throws foundation::TextError when it cannot: no input device, microphone access
  // not granted ("microphone" permission), or the device fails.
  void start();
  // Stops capturing; stopping a stopped engine does nothing.
  void stop();
  bool isRunning() const;

 private:
  const std::uint64_t id_;
  AudioInputNode inputNode_;
  mutable std::mutex mutex_;
  bool isRunning_ = false;
};

}  // namespace speech
