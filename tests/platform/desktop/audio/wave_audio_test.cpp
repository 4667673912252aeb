// WAVE files as the file sound system and the recogniser's file input read and write them.
#include "platform/desktop/audio/wave_audio.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <fstream>
#include <string>

#include "platform/foundation/text_error.h"
#include "tests/support/temporary_folder.h"

namespace {

using desktop::audio::readWaveFile;
using desktop::audio::WaveAudio;
using desktop::audio::writeWaveFile;

void writeBytes(const std::filesystem::path& file, const std::string& bytes) {
  std::ofstream(file, std::ios::binary) << bytes;
}

std::string le32(std::uint32_t v) {
  return {static_cast<char>(v & 0xff), static_cast<char>((v >> 8) & 0xff),
          static_cast<char>((v >> 16) & 0xff), static_cast<char>(v >> 24)};
}
std::string le16(std::uint16_t v) { return {static_cast<char>(v & 0xff), static_cast<char>(v >> 8)}; }

// A WAVE file's bytes with a format chunk of these values, then `data`.
std::string waveBytes(std::uint16_t encoding, std::uint16_t channels, std::uint32_t rate, std::uint16_t bits,
                      const std::string& data, std::string extraChunk = "") {
  std::string format = "fmt " + le32(16) + le16(encoding) + le16(channels) + le32(rate) +
                       le32(rate * channels * bits / 8) +
                       le16(static_cast<std::uint16_t>(channels * bits / 8)) + le16(bits);
  std::string body =
      "WAVE" + format + extraChunk + "data" + le32(static_cast<std::uint32_t>(data.size())) + data;
  return "RIFF" + le32(static_cast<std::uint32_t>(body.size())) + body;
}

TEST(WaveAudio, WrittenFilesReadBackAsTheSameSound) {
  testsupport::TemporaryFolder folder;
  const WaveAudio audio{22050, {0, 1, -1, 32767, -32768, 1234}};
  writeWaveFile(folder.path() / "a.wav", audio);
  const auto read = readWaveFile(folder.path() / "a.wav");
  EXPECT_EQ(read.sampleRate, 22050);
  EXPECT_EQ(read.samples, audio.samples);
}

TEST(WaveAudio, StereoIsMixedDownAndUnknownChunksAreSkipped) {
  testsupport::TemporaryFolder folder;
  const auto file = folder.path() / "stereo.wav";
  writeBytes(file, waveBytes(1, 2, 8000, 16,
                             le16(100) + le16(300) + le16(static_cast<std::uint16_t>(-50)) + le16(50),
                             "LIST" + le32(3) + "abc" + std::string(1, '\0')));
  const auto read = readWaveFile(file);
  EXPECT_EQ(read.sampleRate, 8000);
  EXPECT_EQ(read.samples, (std::vector<std::int16_t>{200, 0}));
}

TEST(WaveAudio, FilesThatAreNotSixteenBitWaveAreRefusedSayingWhy) {
  struct Case {
    std::string name;
    std::string bytes;
    std::string why;
  };
  const Case cases[] = {
      {"plain text", "hello", "it does not start as one"},
      {"eight-bit samples", waveBytes(1, 1, 8000, 8, "ab"), "its samples are not 16-bit PCM"},
      {"floating-point samples", waveBytes(3, 1, 8000, 16, "ab"), "its samples are not 16-bit PCM"},
      {"six channels", waveBytes(1, 6, 8000, 16, "ab"), "it has neither one nor two channels"},
      {"no sample rate", waveBytes(1, 1, 0, 16, "ab"), "its sample rate is out of range"},
      {"a chunk longer than the file", "RIFF" + le32(100) + "WAVE" + "data" + le32(1000) + "ab",
       "a chunk runs past its end"},
      {"samples before their format", "RIFF" + le32(14) + "WAVE" + "data" + le32(2) + "ab",
       "its samples come before their format"},
      {"no samples", "RIFF" + le32(4) + "WAVE", "it holds no samples"},
  };
  testsupport::TemporaryFolder folder;
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const auto file = folder.path() / "bad.wav";
    writeBytes(file, c.bytes);
    try {
      readWaveFile(file);
      ADD_FAILURE() << "read";
    } catch (const foundation::TextError& error) {
      EXPECT_EQ(error.text(), file.string() + " is not a WAVE file of 16-bit samples: " + c.why);
    }
  }
  try {
    readWaveFile(folder.path() / "missing.wav");
    ADD_FAILURE() << "read";
  } catch (const foundation::TextError& error) {
    EXPECT_EQ(error.text(), (folder.path() / "missing.wav").string() + " cannot be opened");
  }
}

TEST(WaveAudio, ResamplingKeepsTheDurationAndTheShape) {
  const std::vector<std::int16_t> ramp{0, 100, 200, 300, 400, 500, 600, 700};
  EXPECT_EQ(desktop::audio::resampled(ramp, 8000, 8000), ramp);
  EXPECT_EQ(desktop::audio::resampled(ramp, 8000, 4000), (std::vector<std::int16_t>{0, 200, 400, 600}));
  EXPECT_EQ(desktop::audio::resampled(ramp, 8000, 16000).size(), 16u);
  EXPECT_EQ(desktop::audio::resampled(ramp, 8000, 16000)[1], 50);
}

}  // namespace
