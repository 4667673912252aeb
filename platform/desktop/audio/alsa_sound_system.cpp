#include "platform/desktop/audio/alsa_sound_system.h"

#include <alsa/asoundlib.h>

#include <chrono>
#include <mutex>
#include <thread>
#include <utility>

#include "platform/foundation/text_error.h"

namespace desktop::audio {

namespace {

using Device = std::unique_ptr<snd_pcm_t, decltype(&snd_pcm_close)>;

// ALSA prints its own complaints (a missing card, say) on standard error; the reasons it returns are
// reported instead, once, where they matter.
void quietAlsaLibrary(const char*, int, const char*, int, const char*, ...) {}

// The default device set up for 16-bit mono samples at `sampleRate`, about a tenth of a second of
// latency; the error text when it does not open.
Device openDevice(snd_pcm_stream_t direction, int sampleRate, std::string& failure) {
  static std::once_flag quiet;
  std::call_once(quiet, [] { snd_lib_error_set_handler(&quietAlsaLibrary); });
  snd_pcm_t* handle = nullptr;
  int error = snd_pcm_open(&handle, "default", direction, 0);
  if (error < 0) {
    failure = snd_strerror(error);
    return Device(nullptr, &snd_pcm_close);
  }
  Device device(handle, &snd_pcm_close);
  error = snd_pcm_set_params(handle, SND_PCM_FORMAT_S16_LE, SND_PCM_ACCESS_RW_INTERLEAVED, 1,
                             static_cast<unsigned>(sampleRate), 1, 100000);
  if (error < 0) {
    failure = snd_strerror(error);
    return Device(nullptr, &snd_pcm_close);
  }
  return device;
}

class AlsaPlayback final : public PlaybackStream {
 public:
  AlsaPlayback(Device device, int sampleRate) : device_(std::move(device)), sampleRate_(sampleRate) {}
  bool write(std::span<const std::int16_t> samples) override {
    while (!samples.empty()) {
      snd_pcm_sframes_t written = snd_pcm_writei(device_.get(), samples.data(), samples.size());
      // An underrun (the device ran dry between two writes) is recovered from; anything else ends playing.
      if (written < 0) written = snd_pcm_recover(device_.get(), static_cast<int>(written), 1);
      if (written < 0) return false;
      samples = samples.subspan(static_cast<std::size_t>(written));
    }
    return true;
  }
  bool drain(const std::function<bool()>& shouldStop) override {
    // The device's delay is what remains to be heard; the last moments are waited for in one go.
    for (;;) {
      snd_pcm_sframes_t delay = 0;
      if (snd_pcm_delay(device_.get(), &delay) < 0 || delay < sampleRate_ / 50) break;
      if (shouldStop()) return false;
      std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    snd_pcm_drain(device_.get());
    return true;
  }
  void discard() override { snd_pcm_drop(device_.get()); }

 private:
  Device device_;
  int sampleRate_;
};

class AlsaCapture final : public CaptureStream {
 public:
  explicit AlsaCapture(Device device) : device_(std::move(device)) {}
  bool read(std::span<std::int16_t> samples) override {
    while (!samples.empty()) {
      snd_pcm_sframes_t count = snd_pcm_readi(device_.get(), samples.data(), samples.size());
      if (count < 0) count = snd_pcm_recover(device_.get(), static_cast<int>(count), 1);
      if (count < 0) return false;
      samples = samples.subspan(static_cast<std::size_t>(count));
    }
    return true;
  }

 private:
  Device device_;
};

}  // namespace

std::shared_ptr<AlsaSoundSystem> AlsaSoundSystem::open() {
  std::string failure;
  if (!openDevice(SND_PCM_STREAM_PLAYBACK, 22050, failure)) return nullptr;
  std::shared_ptr<AlsaSoundSystem> system(new AlsaSoundSystem());
  if (!openDevice(SND_PCM_STREAM_CAPTURE, 16000, failure))
    system->missingMicrophoneReason_ = "ALSA's default device has no input (" + failure + ")";
  return system;
}

std::unique_ptr<PlaybackStream> AlsaSoundSystem::openPlayback(int sampleRate) {
  std::string failure;
  auto device = openDevice(SND_PCM_STREAM_PLAYBACK, sampleRate, failure);
  if (!device) throw foundation::TextError("ALSA does not play: " + failure);
  return std::make_unique<AlsaPlayback>(std::move(device), sampleRate);
}

std::unique_ptr<CaptureStream> AlsaSoundSystem::openCapture(int sampleRate) {
  std::string failure;
  auto device = openDevice(SND_PCM_STREAM_CAPTURE, sampleRate, failure);
  if (!device) throw foundation::TextError("ALSA does not record: " + failure);
  return std::make_unique<AlsaCapture>(std::move(device));
}

}  // namespace desktop::audio
