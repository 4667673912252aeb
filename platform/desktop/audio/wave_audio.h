// Mono 16-bit sound in memory, read from and written to WAVE files, and brought to another sample rate.
#pragma once

#include <cstdint>
#include <filesystem>
#include <span>
#include <vector>

namespace desktop::audio {

struct WaveAudio {
  int sampleRate = 16000;
  std::vector<std::int16_t> samples;
  // The length in seconds.
  double duration() const { return sampleRate > 0 ? static_cast<double>(samples.size()) / sampleRate : 0; }
};

// Reads a PCM WAVE file of 16-bit samples, mono or stereo (mixed down to mono). Throws
// foundation::TextError saying what is wrong with a file that cannot be read or is not such a file.
WaveAudio readWaveFile(const std::filesystem::path& file);
// Writes a 16-bit mono PCM WAVE file, replacing one that is there. Throws foundation::TextError when it
// cannot be written.
void writeWaveFile(const std::filesystem::path& file, const WaveAudio& audio);

// The same sound at another sample rate (linear interpolation, enough for speech).
std::vector<std::int16_t> resampled(std::span<const std::int16_t> samples, int fromRate, int toRate);

}  // namespace desktop::audio
