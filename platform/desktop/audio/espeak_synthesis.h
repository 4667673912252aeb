// Speech synthesised by eSpeak NG: an utterance's text as sound, in the voice of its language, at its rate,
// pitch and volume.
#pragma once

#include <cstdint>
#include <functional>
#include <span>
#include <string>

#include "platform/desktop/speech_service.h"  // SpokenUtterance

namespace desktop::audio {

// eSpeak NG keeps its state for the whole process: one mutex serialises every synthesis, from any thread.
class EspeakSynthesis {
 public:
  enum class Outcome { finished, stopped };
  // Receives each piece of sound as it is made, on the synthesising thread; returns false to stop.
  using SampleSink = std::function<bool(std::span<const std::int16_t> samples)>;

  // The sample rate of all synthesised sound. Throws foundation::TextError when eSpeak NG cannot start
  // (its voice data is missing).
  static int sampleRate();
  // Synthesises the utterance on the calling thread, handing its sound to `sink` piece by piece. Throws
  // foundation::TextError when eSpeak NG cannot start or fails.
  static Outcome synthesize(const SpokenUtterance& utterance, const SampleSink& sink);

  // The name of the eSpeak NG voice that speaks a BCP 47 language tag ("en-US": "English (America)"): the
  // voice of the whole tag, else of its primary language, else the default voice. Throws as synthesize().
  static std::string voiceName(const std::string& languageTag);

  // eSpeak NG's settings for the platform's: the rate 0…1 (0.5 the normal pace) in words per minute, the
  // pitch multiplier 0.5…2 as eSpeak's pitch 0…100 (50 normal), the volume 0…1 as eSpeak's 0…100.
  static int wordsPerMinute(float rate);
  static int pitch(float pitchMultiplier);
  static int volume(float volume);
  // The eSpeak NG voice for a BCP 47 language tag ("en-US" → "en-us"); empty: the default voice.
  static std::string voiceLanguage(const std::string& languageTag);
};

}  // namespace desktop::audio
