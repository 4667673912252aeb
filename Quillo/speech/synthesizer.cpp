#include "Quillo/speech/synthesizer.h"

#include "platform/foundation/log.h"
#include "platform/foundation/run_loop.h"

namespace Quillo {

namespace {

constexpr const char* kLanguage = "en-US";
constexpr float kPitchMultiplier = 1.0f;
constexpr float kRate = 0.55f;

}  // namespace

Synthesizer::Synthesizer() : speechSynthesizer_(speech::SpeechSynthesizer::make()) {}

std::shared_ptr<Synthesizer> Synthesizer::make() {
  std::shared_ptr<Synthesizer> object(new Synthesizer());
  object->speechSynthesizer_->setDelegate(object);
  return object;
}

Synthesizer::~Synthesizer() { speechSynthesizer_->stopSpeaking(speech::SpeechBoundary::immediate); }

void Synthesizer::speak(const std::string& text) {
  foundation::assertMainThread();
  finished.set(false);
  auto utterance = std::make_shared<speech::SpeechUtterance>(text);
  utterance->setPitchMultiplier(kPitchMultiplier);
  utterance->setRate(kRate);
  utterance->setVoice(speech::SpeechSynthesisVoice::withLanguage(kLanguage));
  ++unfinishedUtterances_;
  speechSynthesizer_->speak(utterance);
  foundation::log("Done");
}

void Synthesizer::speechSynthesizerDidFinish(speech::SpeechSynthesizer&, const speech::SpeechUtterance&) {
  foundation::log("finished");
  if (unfinishedUtterances_ > 0) --unfinishedUtterances_;
  // An utterance that ends while another still waits to be spoken is not the end of speaking: a listener
  // that resumed now would hear the synthesiser's own voice.
  if (unfinishedUtterances_ == 0) finished.set(true);
}

void Synthesizer::speechSynthesizerDidCancel(speech::SpeechSynthesizer&, const speech::SpeechUtterance&) {
  if (unfinishedUtterances_ > 0) --unfinishedUtterances_;
}

}  // namespace Quillo
