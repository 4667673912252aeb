#include "platform/speech/audio_engine.h"

#include <fmt/format.h>

#include <atomic>
#include <utility>

#include "platform/desktop/desktop.h"
#include "platform/desktop/permission_service.h"
#include "platform/desktop/speech_service.h"
#include "platform/foundation/text_error.h"

namespace speech {

namespace {

std::atomic<std::uint64_t> nextEngineId{1};

AudioFormat formatOf(const desktop::CapturedAudioFormat& format) {
  return AudioFormat{format.sampleRate, format.channelCount};
}

}  // namespace

AudioInputNode::~AudioInputNode() {
  auto* desktop = desktop::Desktop::current();
  if (!desktop) return;
  for (const auto& [bus, token] : taps_) desktop->speech().removeTap(token);
}

AudioFormat AudioInputNode::outputFormat(int bus) const {
  auto* desktop = desktop::Desktop::current();
  if (bus != 0 || !desktop) return AudioFormat{};
  return formatOf(desktop->speech().inputFormat());
}

void AudioInputNode::installTap(int bus, std::uint32_t bufferSize, AudioFormat format, TapBlock block) {
  if (bus != 0) throw foundation::TextError(fmt::format("The input node has no bus {}", bus));
  std::lock_guard lock(mutex_);
  if (taps_.count(bus) != 0) throw foundation::TextError(fmt::format("Bus {} already has a tap", bus));
  auto* desktop = desktop::Desktop::current();
  // Without a microphone the tap is kept but never hears anything.
  if (!desktop) {
    taps_.emplace(bus, 0);
    return;
  }
  const std::size_t token = desktop->speech().installTap(
      engine_, bufferSize,
      [format, block = std::move(block)](std::uint32_t frameCount,
                                         const desktop::CapturedAudioFormat& captured) {
        AudioPCMBuffer buffer{format.sampleRate > 0 ? format : formatOf(captured), frameCount};
        if (block) block(buffer);
      });
  taps_.emplace(bus, token);
}

void AudioInputNode::removeTap(int bus) {
  std::size_t token = 0;
  {
    std::lock_guard lock(mutex_);
    const auto found = taps_.find(bus);
    if (found == taps_.end()) return;
    token = found->second;
    taps_.erase(found);
  }
  if (token == 0) return;
  if (auto* desktop = desktop::Desktop::current()) desktop->speech().removeTap(token);
}

bool AudioInputNode::hasTap(int bus) const {
  std::lock_guard lock(mutex_);
  return taps_.count(bus) != 0;
}

AudioEngine::AudioEngine() : id_(nextEngineId.fetch_add(1)), inputNode_(id_) {}

AudioEngine::~AudioEngine() { stop(); }

void AudioEngine::prepare() {}

void AudioEngine::start() {
  auto* desktop = desktop::Desktop::current();
  if (!desktop) throw foundation::TextError("No audio input device");
  if (!desktop->permissions().isPermissionGranted(desktop::permission::microphone))
    throw foundation::TextError("Microphone access is not granted");
  std::lock_guard lock(mutex_);
  if (isRunning_) return;
  if (auto failure = desktop->speech().startAudioEngine(id_)) throw foundation::TextError(*failure);
  isRunning_ = true;
}

void AudioEngine::stop() {
  std::lock_guard lock(mutex_);
  if (!isRunning_) return;
  isRunning_ = false;
  if (auto* desktop = desktop::Desktop::current()) desktop->speech().stopAudioEngine(id_);
}

bool AudioEngine::isRunning() const {
  std::lock_guard lock(mutex_);
  return isRunning_;
}

}  // namespace speech
