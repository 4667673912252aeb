#include "platform/speech/speech_utterance.h"

#include <algorithm>
#include <cmath>

namespace speech {

namespace {

// A value that is not a number falls back to the setting's default.
float clamped(float value, float low, float high, float fallback) {
  if (std::isnan(value)) return fallback;
  return std::clamp(value, low, high);
}

}  // namespace

std::shared_ptr<SpeechSynthesisVoice> SpeechSynthesisVoice::withLanguage(const std::string& language) {
  if (language.empty()) return nullptr;
  return std::shared_ptr<SpeechSynthesisVoice>(new SpeechSynthesisVoice(language));
}

void SpeechUtterance::setPitchMultiplier(float pitchMultiplier) {
  pitchMultiplier_ = clamped(pitchMultiplier, 0.5f, 2.0f, 1.0f);
}

void SpeechUtterance::setRate(float rate) {
  rate_ = clamped(rate, kMinimumSpeechRate, kMaximumSpeechRate, kDefaultSpeechRate);
}

void SpeechUtterance::setVolume(float volume) { volume_ = clamped(volume, 0.0f, 1.0f, 1.0f); }

}  // namespace speech
