// Speech recognised by PocketSphinx with its US English model: utterances fed piece by piece, with the
// text heard so far, whether someone is speaking, and the final text; and whole recordings at once.
#pragma once

#include <cstdint>
#include <filesystem>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "platform/desktop/audio/wave_audio.h"

struct ps_decoder_s;

namespace desktop::audio {

// Touched by one thread at a time.
class SpeechDecoder {
 public:
  // The sample rate the model hears.
  static constexpr int kSampleRate = 16000;

  // Empty when the model is installed; otherwise what is missing, said to a person.
  static std::string missingModelReason();

  // Loads the model (about half a second). Throws foundation::TextError when it cannot.
  SpeechDecoder();
  ~SpeechDecoder();
  SpeechDecoder(const SpeechDecoder&) = delete;
  SpeechDecoder& operator=(const SpeechDecoder&) = delete;

  // Starts an utterance; one in progress is dropped.
  void begin();
  bool isInUtterance() const { return isInUtterance_; }

  struct Progress {
    std::string hypothesis;   // the text heard so far in this utterance
    bool isInSpeech = false;  // someone is speaking at the end of these samples
  };
  // Hears samples at kSampleRate (begins an utterance when none is in progress).
  Progress process(std::span<const std::int16_t> samples);
  // Ends the utterance in progress: the text heard in it (empty when none is in progress).
  std::string finish();

  // The text heard in a recording: its sound, with a moment of quiet on either side, as one utterance.
  std::string transcribe(const WaveAudio& audio);
  // The same for a WAVE file. Throws foundation::TextError when the file cannot be read.
  std::string transcribeFile(const std::filesystem::path& file);

 private:
  std::string hypothesis() const;

  std::unique_ptr<ps_decoder_s, int (*)(ps_decoder_s*)> decoder_;
  std::vector<float> initialCepstralMean_;
  bool isInUtterance_ = false;
};

}  // namespace desktop::audio
