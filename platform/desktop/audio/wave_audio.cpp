#include "platform/desktop/audio/wave_audio.h"

#include <fmt/format.h>

#include <cstring>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>

#include "platform/foundation/text_error.h"

namespace desktop::audio {

namespace {

std::uint32_t littleEndian32(const unsigned char* bytes) {
  return static_cast<std::uint32_t>(bytes[0]) | static_cast<std::uint32_t>(bytes[1]) << 8 |
         static_cast<std::uint32_t>(bytes[2]) << 16 | static_cast<std::uint32_t>(bytes[3]) << 24;
}

std::uint16_t littleEndian16(const unsigned char* bytes) {
  return static_cast<std::uint16_t>(bytes[0] | bytes[1] << 8);
}

void put32(std::string& out, std::uint32_t value) {
  for (int i = 0; i < 4; ++i) out.push_back(static_cast<char>((value >> (8 * i)) & 0xff));
}

void put16(std::string& out, std::uint16_t value) {
  out.push_back(static_cast<char>(value & 0xff));
  out.push_back(static_cast<char>(value >> 8));
}

}  // namespace

WaveAudio readWaveFile(const std::filesystem::path& file) {
  std::ifstream in(file, std::ios::binary);
  if (!in) throw foundation::TextError(fmt::format("{} cannot be opened", file.string()));
  const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  const auto* data = reinterpret_cast<const unsigned char*>(bytes.data());
  const auto notWave = [&](std::string_view why) {
    return foundation::TextError(
        fmt::format("{} is not a WAVE file of 16-bit samples: {}", file.string(), why));
  };
  if (bytes.size() < 12 || std::memcmp(data, "RIFF", 4) != 0 || std::memcmp(data + 8, "WAVE", 4) != 0)
    throw notWave("it does not start as one");
  std::optional<int> sampleRate;
  int channels = 0;
  std::size_t offset = 12;
  while (offset + 8 <= bytes.size()) {
    const std::uint32_t size = littleEndian32(data + offset + 4);
    const std::size_t body = offset + 8;
    if (size > bytes.size() - body) throw notWave("a chunk runs past its end");
    if (std::memcmp(data + offset, "fmt ", 4) == 0) {
      if (size < 16) throw notWave("its format is cut short");
      const std::uint16_t encoding = littleEndian16(data + body);
      channels = littleEndian16(data + body + 2);
      const std::uint32_t rate = littleEndian32(data + body + 4);
      const std::uint16_t bits = littleEndian16(data + body + 14);
      if (encoding != 1 || bits != 16) throw notWave("its samples are not 16-bit PCM");
      if (channels < 1 || channels > 2) throw notWave("it has neither one nor two channels");
      if (rate == 0 || rate > 384000) throw notWave("its sample rate is out of range");
      sampleRate = static_cast<int>(rate);
    } else if (std::memcmp(data + offset, "data", 4) == 0) {
      if (!sampleRate) throw notWave("its samples come before their format");
      WaveAudio audio;
      audio.sampleRate = *sampleRate;
      const std::size_t frames = size / (2u * static_cast<std::size_t>(channels));
      audio.samples.reserve(frames);
      for (std::size_t frame = 0; frame < frames; ++frame) {
        int sum = 0;
        for (int channel = 0; channel < channels; ++channel)
          sum += static_cast<std::int16_t>(littleEndian16(data + body + 2 * (frame * channels + channel)));
        audio.samples.push_back(static_cast<std::int16_t>(sum / channels));
      }
      return audio;
    }
    offset = body + size + (size % 2);  // chunks are padded to an even length
  }
  throw notWave("it holds no samples");
}

void writeWaveFile(const std::filesystem::path& file, const WaveAudio& audio) {
  const auto dataSize = static_cast<std::uint32_t>(audio.samples.size() * 2);
  std::string out;
  out.reserve(44 + dataSize);
  out += "RIFF";
  put32(out, 36 + dataSize);
  out += "WAVEfmt ";
  put32(out, 16);
  put16(out, 1);  // PCM
  put16(out, 1);  // mono
  put32(out, static_cast<std::uint32_t>(audio.sampleRate));
  put32(out, static_cast<std::uint32_t>(audio.sampleRate) * 2);
  put16(out, 2);
  put16(out, 16);
  out += "data";
  put32(out, dataSize);
  for (const std::int16_t sample : audio.samples) put16(out, static_cast<std::uint16_t>(sample));
  std::ofstream stream(file, std::ios::binary | std::ios::trunc);
  stream.write(out.data(), static_cast<std::streamsize>(out.size()));
  if (!stream) throw foundation::TextError(fmt::format("{} cannot be written", file.string()));
}

std::vector<std::int16_t> resampled(std::span<const std::int16_t> samples, int fromRate, int toRate) {
  if (fromRate == toRate || samples.empty() || fromRate <= 0 || toRate <= 0)
    return {samples.begin(), samples.end()};
  const double step = static_cast<double>(fromRate) / toRate;
  const auto count = static_cast<std::size_t>(static_cast<double>(samples.size()) / step);
  std::vector<std::int16_t> out;
  out.reserve(count);
  for (std::size_t i = 0; i < count; ++i) {
    const double position = static_cast<double>(i) * step;
    const auto index = static_cast<std::size_t>(position);
    const double fraction = position - static_cast<double>(index);
    const double next = index + 1 < samples.size() ? samples[index + 1] : samples[index];
    out.push_back(static_cast<std::int16_t>(samples[index] * (1 - fraction) + next * fraction));
  }
  return out;
}

}  // namespace desktop::audio
