#include "platform/desktop/audio/speech_decoder.h"

#include <cmn.h>
#include <feat.h>
#include <pocketsphinx.h>

#include <filesystem>
#include <system_error>
#include <type_traits>
#include <vector>

#include "platform/foundation/text_error.h"

namespace desktop::audio {

namespace {

static_assert(std::is_same_v<mfcc_t, float>, "PocketSphinx is built with floating-point features");

namespace fs = std::filesystem;

const fs::path& modelFolder() {
  static const fs::path folder = fs::path(QUILLO_POCKETSPHINX_MODEL_DIR) / "en-us";
  return folder;
}
fs::path acousticModel() { return modelFolder() / "en-us"; }
fs::path languageModel() { return modelFolder() / "en-us.lm.bin"; }
fs::path dictionary() { return modelFolder() / "cmudict-en-us.dict"; }

}  // namespace

std::string SpeechDecoder::missingModelReason() {
  std::error_code error;
  for (const auto& part : {acousticModel() / "mdef", languageModel(), dictionary()}) {
    if (!fs::exists(part, error))
      return "the US English speech model (package pocketsphinx-en-us) is not installed: " + part.string() +
             " is missing";
  }
  return {};
}

SpeechDecoder::SpeechDecoder() : decoder_(nullptr, &ps_free) {
  if (auto missing = missingModelReason(); !missing.empty()) throw foundation::TextError(missing);
  const std::string hmm = acousticModel().string();
  const std::string lm = languageModel().string();
  const std::string dict = dictionary().string();
  // PocketSphinx logs every step of loading on standard error; its failures show in the results instead.
  cmd_ln_t* config = cmd_ln_init(nullptr, ps_args(), TRUE, "-hmm", hmm.c_str(), "-lm", lm.c_str(), "-dict",
                                 dict.c_str(), "-logfn", "/dev/null", nullptr);
  if (config == nullptr) throw foundation::TextError("PocketSphinx does not accept its settings");
  ps_decoder_t* decoder = ps_init(config);
  cmd_ln_free_r(config);  // the decoder holds its own reference
  if (decoder == nullptr) throw foundation::TextError("PocketSphinx cannot load the US English speech model");
  decoder_.reset(decoder);
  const cmn_t* normalisation = ps_get_feat(decoder)->cmn_struct;
  if (normalisation != nullptr && normalisation->cmn_mean != nullptr)
    initialCepstralMean_.assign(normalisation->cmn_mean, normalisation->cmn_mean + normalisation->veclen);
}

SpeechDecoder::~SpeechDecoder() {
  if (isInUtterance_) ps_end_utt(decoder_.get());
}

void SpeechDecoder::begin() {
  if (isInUtterance_) ps_end_utt(decoder_.get());
  // The decoder adapts its estimate of the channel (the cepstral mean) to what it hears, across utterances.
  // Each utterance starts again from the model's own estimate, so that what one recording heard (digital
  // quiet, another microphone) never skews the next: without this, a second "hello world" after the first
  // is heard as "oh will".
  if (!initialCepstralMean_.empty())
    cmn_live_set(ps_get_feat(decoder_.get())->cmn_struct, initialCepstralMean_.data());
  ps_start_utt(decoder_.get());
  isInUtterance_ = true;
}

SpeechDecoder::Progress SpeechDecoder::process(std::span<const std::int16_t> samples) {
  if (!isInUtterance_) begin();
  if (!samples.empty()) ps_process_raw(decoder_.get(), samples.data(), samples.size(), FALSE, FALSE);
  return Progress{hypothesis(), ps_get_in_speech(decoder_.get()) != 0};
}

std::string SpeechDecoder::finish() {
  if (!isInUtterance_) return {};
  ps_end_utt(decoder_.get());
  isInUtterance_ = false;
  return hypothesis();
}

std::string SpeechDecoder::hypothesis() const {
  std::int32_t score = 0;
  const char* text = ps_get_hyp(decoder_.get(), &score);
  return text != nullptr ? text : "";
}

std::string SpeechDecoder::transcribe(const WaveAudio& audio) {
  auto samples = resampled(audio.samples, audio.sampleRate, kSampleRate);
  // The model finds the edges of speech best with quiet around it.
  const std::vector<std::int16_t> quiet(kSampleRate / 2, 0);
  begin();
  process(quiet);
  process(samples);
  process(quiet);
  return finish();
}

std::string SpeechDecoder::transcribeFile(const std::filesystem::path& file) {
  return transcribe(readWaveFile(file));
}

}  // namespace desktop::audio
