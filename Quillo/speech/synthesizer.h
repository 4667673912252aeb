// Speaks a text aloud in US English and publishes when it has been spoken.
#pragma once

#include <cstddef>
#include <memory>
#include <string>

#include "platform/speech/speech_synthesizer.h"
#include "platform/ui/observable_object.h"

namespace Quillo {

// Main thread only: `speak` is called there and the synthesiser's callbacks arrive on the main queue.
class Synthesizer : public ui::ObservableObject,
                    public speech::SpeechSynthesizerDelegate,
                    public std::enable_shared_from_this<Synthesizer> {
 public:
  static std::shared_ptr<Synthesizer> make();
  // Stops whatever is still being spoken.
  ~Synthesizer() override;
  Synthesizer(const Synthesizer&) = delete;
  Synthesizer& operator=(const Synthesizer&) = delete;

  // False while an utterance is being spoken, true once the last one handed over has been spoken.
  ui::Published<bool> finished{this, false};

  // Speaks `text` after whatever is still being spoken.
  void speak(const std::string& text);

  void speechSynthesizerDidFinish(speech::SpeechSynthesizer& synthesizer,
                                  const speech::SpeechUtterance& utterance) override;
  void speechSynthesizerDidCancel(speech::SpeechSynthesizer& synthesizer,
                                  const speech::SpeechUtterance& utterance) override;

  const std::shared_ptr<speech::SpeechSynthesizer>& speechSynthesizer() const { return speechSynthesizer_; }

 private:
  Synthesizer();

  std::shared_ptr<speech::SpeechSynthesizer> speechSynthesizer_;
  std::size_t unfinishedUtterances_ = 0;
};

}  // namespace Quillo
