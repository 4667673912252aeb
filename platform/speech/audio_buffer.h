// Captured audio as the audio engine hands it out: a format and buffers of frames in it.
#pragma once

#include <cstdint>

namespace speech {

struct AudioFormat {
  double sampleRate = 0;
  std::uint32_t channelCount = 0;
  bool operator==(const AudioFormat&) const = default;
};

// A buffer of captured PCM audio. Only its shape travels (no samples): nothing here analyses sound.
struct AudioPCMBuffer {
  AudioFormat format;
  std::uint32_t frameLength = 0;
};

}  // namespace speech
