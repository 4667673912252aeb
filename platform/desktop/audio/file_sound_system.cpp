#include "platform/desktop/audio/file_sound_system.h"

#include <algorithm>
#include <chrono>
#include <thread>
#include <utility>

#include "platform/foundation/log.h"
#include "platform/foundation/text_error.h"

namespace desktop::audio {

class FilePlayback final : public PlaybackStream {
 public:
  FilePlayback(std::shared_ptr<FileSoundSystem> system, int sampleRate)
      : system_(std::move(system)), sampleRate_(sampleRate) {}
  ~FilePlayback() override {
    try {
      system_->save();
    } catch (const foundation::TextError& failure) {
      foundation::log(failure.text());
    }
  }
  bool write(std::span<const std::int16_t> samples) override {
    system_->append(samples, sampleRate_);
    return true;
  }
  bool drain(const std::function<bool()>&) override {
    system_->save();
    return true;
  }
  // What was written reached the file at once: nothing waits to be dropped.
  void discard() override {}

 private:
  std::shared_ptr<FileSoundSystem> system_;
  int sampleRate_;
};

namespace {

// Delivers the samples in the time a real microphone takes to capture them, sped up by the pace; the
// stream's clock starts at its first read.
class FileCapture final : public CaptureStream {
 public:
  FileCapture(std::vector<std::int16_t> samples, int sampleRate, double pace)
      : samples_(std::move(samples)), sampleRate_(sampleRate), pace_(pace) {}
  bool read(std::span<std::int16_t> out) override {
    if (position_ >= samples_.size()) return false;
    if (!start_) start_ = std::chrono::steady_clock::now();
    const std::size_t count = std::min(out.size(), samples_.size() - position_);
    std::copy_n(samples_.begin() + static_cast<std::ptrdiff_t>(position_), count, out.begin());
    std::fill(out.begin() + static_cast<std::ptrdiff_t>(count), out.end(), 0);
    position_ += count;
    const auto due = *start_ + std::chrono::duration_cast<std::chrono::steady_clock::duration>(
                                   std::chrono::duration<double>(position_ / (sampleRate_ * pace_)));
    std::this_thread::sleep_until(due);
    return true;
  }

 private:
  std::vector<std::int16_t> samples_;
  int sampleRate_;
  double pace_;
  std::size_t position_ = 0;
  std::optional<std::chrono::steady_clock::time_point> start_;
};

}  // namespace

std::shared_ptr<FileSoundSystem> FileSoundSystem::make(Options options) {
  if (options.capturePace <= 0) options.capturePace = 1.0;
  return std::shared_ptr<FileSoundSystem>(new FileSoundSystem(std::move(options)));
}

std::unique_ptr<PlaybackStream> FileSoundSystem::openPlayback(int sampleRate) {
  return std::make_unique<FilePlayback>(shared_from_this(), sampleRate);
}

std::string FileSoundSystem::missingMicrophoneReason() const {
  return options_.captureFile ? "" : "no recording stands in for a microphone";
}

std::unique_ptr<CaptureStream> FileSoundSystem::openCapture(int sampleRate) {
  if (!options_.captureFile) throw foundation::TextError(missingMicrophoneReason());
  const WaveAudio heard = readWaveFile(*options_.captureFile);
  auto samples = resampled(heard.samples, heard.sampleRate, sampleRate);
  samples.insert(samples.begin(), static_cast<std::size_t>(options_.leadingSilence * sampleRate), 0);
  samples.resize(samples.size() + static_cast<std::size_t>(options_.trailingSilence * sampleRate), 0);
  return std::make_unique<FileCapture>(std::move(samples), sampleRate, options_.capturePace);
}

WaveAudio FileSoundSystem::played() const {
  std::lock_guard lock(mutex_);
  return played_;
}

void FileSoundSystem::append(std::span<const std::int16_t> samples, int sampleRate) {
  std::lock_guard lock(mutex_);
  if (!hasPlayed_) {
    played_.sampleRate = sampleRate;
    hasPlayed_ = true;
  }
  if (sampleRate == played_.sampleRate) {
    played_.samples.insert(played_.samples.end(), samples.begin(), samples.end());
  } else {
    const auto converted = resampled(samples, sampleRate, played_.sampleRate);
    played_.samples.insert(played_.samples.end(), converted.begin(), converted.end());
  }
}

void FileSoundSystem::save() const {
  if (!options_.playbackFile) return;
  std::lock_guard lock(mutex_);
  writeWaveFile(*options_.playbackFile, played_);
}

}  // namespace desktop::audio
