#include "platform/speech/speech_synthesizer.h"

#include <atomic>
#include <utility>

#include "platform/desktop/desktop.h"
#include "platform/desktop/speech_service.h"
#include "platform/foundation/run_loop.h"

namespace speech {

namespace {
std::atomic<std::uint64_t> nextSynthesizerId{1};
}  // namespace

SpeechSynthesizer::SpeechSynthesizer() : id_(nextSynthesizerId.fetch_add(1)) {}

std::shared_ptr<SpeechSynthesizer> SpeechSynthesizer::make() {
  return std::shared_ptr<SpeechSynthesizer>(new SpeechSynthesizer());
}

SpeechSynthesizer::~SpeechSynthesizer() {
  // A synthesiser that goes away falls silent; its callbacks find nobody to tell.
  if (auto* desktop = desktop::Desktop::current()) desktop->speech().stopSpeaking(id_);
}

void SpeechSynthesizer::setDelegate(std::weak_ptr<SpeechSynthesizerDelegate> delegate) {
  std::lock_guard lock(mutex_);
  delegate_ = std::move(delegate);
}

void SpeechSynthesizer::speak(std::shared_ptr<SpeechUtterance> utterance) {
  if (!utterance) return;
  std::weak_ptr<SpeechSynthesizer> weak = weak_from_this();
  auto* desktop = desktop::Desktop::current();
  if (!desktop) {
    foundation::RunLoop::main().async([weak, utterance] {
      if (auto self = weak.lock()) self->tell(utterance, true);
    });
    return;
  }
  desktop::SpokenUtterance spoken{utterance->text(), utterance->voice() ? utterance->voice()->language() : "",
                                  utterance->rate(), utterance->pitchMultiplier(), utterance->volume()};
  desktop->speech().speak(id_, std::move(spoken), [weak, utterance](bool finished) {
    foundation::RunLoop::main().async([weak, utterance, finished] {
      if (auto self = weak.lock()) self->tell(utterance, finished);
    });
  });
}

bool SpeechSynthesizer::stopSpeaking(SpeechBoundary boundary) {
  (void)boundary;
  auto* desktop = desktop::Desktop::current();
  return desktop && desktop->speech().stopSpeaking(id_);
}

bool SpeechSynthesizer::isSpeaking() const {
  auto* desktop = desktop::Desktop::current();
  return desktop && desktop->speech().isSpeaking(id_);
}

void SpeechSynthesizer::tell(const std::shared_ptr<SpeechUtterance>& utterance, bool finished) {
  std::shared_ptr<SpeechSynthesizerDelegate> delegate;
  {
    std::lock_guard lock(mutex_);
    delegate = delegate_.lock();
  }
  if (!delegate) return;
  if (finished) {
    delegate->speechSynthesizerDidFinish(*this, *utterance);
  } else {
    delegate->speechSynthesizerDidCancel(*this, *utterance);
  }
}

}  // namespace speech
