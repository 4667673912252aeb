// Listens to the microphone in US English and publishes the text recognised so far, with the flag that a
// hands-free conversation is on.
#pragma once

#include <cstdint>
#include <memory>
#include <mutex>
#include <optional>
#include <string>

#include "platform/speech/audio_engine.h"
#include "platform/speech/recognition_request.h"
#include "platform/speech/recognition_task.h"
#include "platform/speech/speech_recognizer.h"
#include "platform/ui/observable_object.h"

namespace Quillo {

// The published fields are changed on the main thread only: recognition results arrive on the main queue
// (the recogniser's queue) and `isRecording` is set through it. The current request and task are touched
// on the main thread, on the thread that answers the authorisation request and (the request) on the
// capture thread; one mutex guards them together with the number of the live recording.
class NewSpeech : public ui::ObservableObject,
                  public speech::SpeechRecognizerDelegate,
                  public std::enable_shared_from_this<NewSpeech> {
 public:
  // With true, the conversation is on at once: authorisation is asked for and recording starts.
  static std::shared_ptr<NewSpeech> make(bool inConversation);

  ~NewSpeech() override;
  NewSpeech(const NewSpeech&) = delete;
  NewSpeech& operator=(const NewSpeech&) = delete;

  // A hands-free conversation is on; set by the owner, never by recording.
  ui::Published<bool> inConversation{this, false};
  // The best transcription of the latest result; kept after a recording ends.
  ui::Published<std::string> transcript{this, ""};
  // From the authorisation answer of a recording until it stops.
  ui::Published<bool> isRecording{this, false};

  // Starts listening (main thread). A recording still running is stopped first. When no recogniser can be
  // made or the audio engine cannot start, the failure is logged and the object stays idle.
  void startRecording();
  // Stops listening (main thread); harmless when nothing records.
  void stopRecording();

  // The recogniser made with the object (nullptr when none could be made).
  const std::shared_ptr<speech::SpeechRecognizer>& speechRecognizer() const { return speechRecognizer_; }
  std::shared_ptr<speech::AudioBufferRecognitionRequest> recognitionRequest() const;
  std::shared_ptr<speech::RecognitionTask> recognitionTask() const;
  bool hasRecognitionTask() const { return recognitionTask() != nullptr; }
  speech::AudioEngine& audioEngine() { return *audioEngine_; }

 private:
  NewSpeech();

  // What the capture thread and the authorisation answer share with the object; held by them so that
  // neither needs the object itself.
  struct Recording {
    std::mutex mutex;
    std::uint64_t generation = 0;  // bumped by every start and stop; a closure of an older one is stale
    std::shared_ptr<speech::AudioBufferRecognitionRequest> request;
    std::shared_ptr<speech::RecognitionTask> task;
  };

  void beginRecognition(std::uint64_t generation,
                        const std::shared_ptr<speech::SpeechRecognizer>& recognizer);
  void handleReport(std::uint64_t generation, const std::optional<speech::RecognitionResult>& result,
                    const std::optional<speech::RecognitionError>& error);
  bool isLive(std::uint64_t generation) const;
  // Makes every closure of the current recording stale, drops its request and cancels its task.
  void endRecognition();

  std::shared_ptr<speech::SpeechRecognizer> speechRecognizer_;
  std::unique_ptr<speech::AudioEngine> audioEngine_;
  std::shared_ptr<Recording> recording_;
};

}  // namespace Quillo
