// A text to speak with its voice and delivery, and the voices that speak them.
#pragma once

#include <memory>
#include <string>

namespace speech {

// The speaking rates of utterances.
inline constexpr float kMinimumSpeechRate = 0.0f;
inline constexpr float kDefaultSpeechRate = 0.5f;
inline constexpr float kMaximumSpeechRate = 1.0f;

// A voice of the speech synthesiser, known by its language.
class SpeechSynthesisVoice {
 public:
  // The voice for a BCP 47 language tag ("en-US"), or nullptr for an empty tag.
  static std::shared_ptr<SpeechSynthesisVoice> withLanguage(const std::string& language);
  const std::string& language() const { return language_; }

 private:
  explicit SpeechSynthesisVoice(std::string language) : language_(std::move(language)) {}
  std::string language_;
};

// An utterance; its settings are read when it is handed to a synthesiser. Touched on one thread.
class SpeechUtterance {
 public:
  explicit SpeechUtterance(std::string text) : text_(std::move(text)) {}

  const std::string& text() const { return text_; }

  // 0.5 to 2.0 (values outside are clamped); 1.0 by default.
  float pitchMultiplier() const { return pitchMultiplier_; }
  void setPitchMultiplier(float pitchMultiplier);
  // kMinimumSpeechRate to kMaximumSpeechRate (clamped); kDefaultSpeechRate by default.
  float rate() const { return rate_; }
  void setRate(float rate);
  // 0.0 to 1.0 (clamped); 1.0 by default.
  float volume() const { return volume_; }
  void setVolume(float volume);
  // No voice: the default voice.
  const std::shared_ptr<SpeechSynthesisVoice>& voice() const { return voice_; }
  void setVoice(std::shared_ptr<SpeechSynthesisVoice> voice) { voice_ = std::move(voice); }

 private:
  std::string text_;
  float pitchMultiplier_ = 1.0f;
  float rate_ = kDefaultSpeechRate;
  float volume_ = 1.0f;
  std::shared_ptr<SpeechSynthesisVoice> voice_;
};

}  // namespace speech
