// The speech synthesiser: speaks utterances one after another and tells its delegate when each one has
// been spoken to its end or was stopped.
#pragma once

#include <cstdint>
#include <memory>
#include <mutex>

#include "platform/speech/speech_utterance.h"

namespace speech {

class SpeechSynthesizer;

// Told on the main queue. An utterance ends with exactly one of the two calls.
class SpeechSynthesizerDelegate {
 public:
  virtual ~SpeechSynthesizerDelegate() = default;
  virtual void speechSynthesizerDidFinish(SpeechSynthesizer& synthesizer, const SpeechUtterance& utterance) {
    (void)synthesizer;
    (void)utterance;
  }
  virtual void speechSynthesizerDidCancel(SpeechSynthesizer& synthesizer, const SpeechUtterance& utterance) {
    (void)synthesizer;
    (void)utterance;
  }
};

// Where stopping may cut an utterance short. Headless speech stops at once either way.
enum class SpeechBoundary : int { immediate = 0, word = 1 };

// Thread-safe: the delegate is guarded by a mutex; the queue of utterances is the desktop's.
class SpeechSynthesizer : public std::enable_shared_from_this<SpeechSynthesizer> {
 public:
  static std::shared_ptr<SpeechSynthesizer> make();
  ~SpeechSynthesizer();
  SpeechSynthesizer(const SpeechSynthesizer&) = delete;
  SpeechSynthesizer& operator=(const SpeechSynthesizer&) = delete;

  // The delegate is held weakly.
  void setDelegate(std::weak_ptr<SpeechSynthesizerDelegate> delegate);

  // Queues an utterance behind those not yet spoken. Without a loudspeaker (no desktop) an utterance ends
  // at once as spoken, so whoever waits for its end is not left waiting.
  void speak(std::shared_ptr<SpeechUtterance> utterance);
  // Stops the utterance being spoken and drops the queued ones (each told as cancelled). Returns whether
  // anything was stopped.
  bool stopSpeaking(SpeechBoundary boundary);
  bool isSpeaking() const;

 private:
  SpeechSynthesizer();
  void tell(const std::shared_ptr<SpeechUtterance>& utterance, bool finished);

  const std::uint64_t id_;
  mutable std::mutex mutex_;
  std::weak_ptr<SpeechSynthesizerDelegate> delegate_;
};

}  // namespace speech
