#include "platform/desktop/audio/pulse_sound_system.h"

#include <pulse/error.h>
#include <pulse/simple.h>

#include <chrono>
#include <thread>
#include <utility>

#include "platform/foundation/text_error.h"

namespace desktop::audio {

namespace {

constexpr std::chrono::microseconds kPollInterval{20000};

using Connection = std::unique_ptr<pa_simple, decltype(&pa_simple_free)>;

// A connection with one stream of 16-bit mono samples; the error text when there is none.
Connection openStream(pa_stream_direction_t direction, int sampleRate, std::string& failure) {
  pa_sample_spec spec{};
  spec.format = PA_SAMPLE_S16LE;
  spec.rate = static_cast<std::uint32_t>(sampleRate);
  spec.channels = 1;
  int error = 0;
  pa_simple* stream = pa_simple_new(nullptr, "Quillo", direction, nullptr,
                                    direction == PA_STREAM_PLAYBACK ? "Speech" : "Speech input", &spec,
                                    nullptr, nullptr, &error);
  if (stream == nullptr) failure = pa_strerror(error);
  return Connection(stream, &pa_simple_free);
}

class PulsePlayback final : public PlaybackStream {
 public:
  explicit PulsePlayback(Connection connection) : connection_(std::move(connection)) {}
  bool write(std::span<const std::int16_t> samples) override {
    int error = 0;
    return pa_simple_write(connection_.get(), samples.data(), samples.size_bytes(), &error) >= 0;
  }
  bool drain(const std::function<bool()>& shouldStop) override {
    int error = 0;
    // The server's latency is what remains to be heard; the last moments are waited for in one go.
    for (;;) {
      const pa_usec_t remaining = pa_simple_get_latency(connection_.get(), &error);
      if (remaining == static_cast<pa_usec_t>(-1) ||
          remaining < static_cast<pa_usec_t>(kPollInterval.count()))
        break;
      if (shouldStop()) return false;
      std::this_thread::sleep_for(kPollInterval);
    }
    pa_simple_drain(connection_.get(), &error);
    return true;
  }
  void discard() override {
    int error = 0;
    pa_simple_flush(connection_.get(), &error);
  }

 private:
  Connection connection_;
};

class PulseCapture final : public CaptureStream {
 public:
  explicit PulseCapture(Connection connection) : connection_(std::move(connection)) {}
  bool read(std::span<std::int16_t> samples) override {
    int error = 0;
    return pa_simple_read(connection_.get(), samples.data(), samples.size_bytes(), &error) >= 0;
  }

 private:
  Connection connection_;
};

}  // namespace

std::shared_ptr<PulseSoundSystem> PulseSoundSystem::connect() {
  std::string failure;
  if (!openStream(PA_STREAM_PLAYBACK, 22050, failure)) return nullptr;
  std::shared_ptr<PulseSoundSystem> system(new PulseSoundSystem());
  if (!openStream(PA_STREAM_RECORD, 16000, failure))
    system->missingMicrophoneReason_ = "the PulseAudio server has no input to record from (" + failure + ")";
  return system;
}

std::unique_ptr<PlaybackStream> PulseSoundSystem::openPlayback(int sampleRate) {
  std::string failure;
  auto connection = openStream(PA_STREAM_PLAYBACK, sampleRate, failure);
  if (!connection) throw foundation::TextError("PulseAudio does not play: " + failure);
  return std::make_unique<PulsePlayback>(std::move(connection));
}

std::unique_ptr<CaptureStream> PulseSoundSystem::openCapture(int sampleRate) {
  std::string failure;
  auto connection = openStream(PA_STREAM_RECORD, sampleRate, failure);
  if (!connection) throw foundation::TextError("PulseAudio does not record: " + failure);
  return std::make_unique<PulseCapture>(std::move(connection));
}

}  // namespace desktop::audio
