#include "Quillo/speech/new_speech.h"

#include <fmt/format.h>

#include <utility>

#include "platform/foundation/log.h"
#include "platform/foundation/run_loop.h"
#include "platform/foundation/text_error.h"

namespace Quillo {

namespace {

constexpr const char* kLocale = "en-US";
constexpr int kBus = 0;
constexpr std::uint32_t kBufferSize = 1024;

}  // namespace

NewSpeech::NewSpeech()
    : speechRecognizer_(speech::SpeechRecognizer::make(kLocale)),
      audioEngine_(std::make_unique<speech::AudioEngine>()),
      recording_(std::make_shared<Recording>()) {}

std::shared_ptr<NewSpeech> NewSpeech::make(bool inConversation) {
  std::shared_ptr<NewSpeech> object(new NewSpeech());
  if (object->speechRecognizer_) object->speechRecognizer_->setDelegate(object);
  if (inConversation) {
    object->inConversation.set(true);
    speech::SpeechRecognizer::requestAuthorization([](speech::SpeechRecognizerAuthorizationStatus) {});
    object->startRecording();
  }
  return object;
}

NewSpeech::~NewSpeech() {
  audioEngine_->stop();
  audioEngine_->inputNode().removeTap(kBus);
  endRecognition();
}

void NewSpeech::endRecognition() {
  std::shared_ptr<speech::RecognitionTask> task;
  {
    std::lock_guard lock(recording_->mutex);
    ++recording_->generation;
    recording_->request.reset();
    task = std::move(recording_->task);
  }
  if (task) task->cancel();
}

std::shared_ptr<speech::AudioBufferRecognitionRequest> NewSpeech::recognitionRequest() const {
  std::lock_guard lock(recording_->mutex);
  return recording_->request;
}

std::shared_ptr<speech::RecognitionTask> NewSpeech::recognitionTask() const {
  std::lock_guard lock(recording_->mutex);
  return recording_->task;
}

bool NewSpeech::isLive(std::uint64_t generation) const {
  std::lock_guard lock(recording_->mutex);
  return recording_->generation == generation;
}

void NewSpeech::startRecording() {
  foundation::assertMainThread();
  // The input node carries one tap per bus, so a recording that still runs ends before the next begins.
  if (audioEngine_->inputNode().hasTap(kBus) || hasRecognitionTask()) stopRecording();

  auto recognizer = speech::SpeechRecognizer::make(kLocale);
  if (!recognizer) {
    foundation::log("Unable to create a SpeechRecognizer object");
    return;
  }

  std::uint64_t generation = 0;
  std::shared_ptr<speech::RecognitionTask> earlierTask;
  {
    std::lock_guard lock(recording_->mutex);
    generation = ++recording_->generation;
    earlierTask = std::move(recording_->task);
  }
  if (earlierTask) earlierTask->cancel();

  auto& input = audioEngine_->inputNode();
  const speech::AudioFormat format = input.outputFormat(kBus);
  try {
    // Runs on the capture thread: buffers go to the current request, or are dropped while there is none.
    input.installTap(kBus, kBufferSize, format,
                     [recording = recording_](const speech::AudioPCMBuffer& buffer) {
                       std::shared_ptr<speech::AudioBufferRecognitionRequest> request;
                       {
                         std::lock_guard lock(recording->mutex);
                         request = recording->request;
                       }
                       if (request) request->append(buffer);
                     });
  } catch (const foundation::TextError& failure) {
    foundation::log(fmt::format("Unable to listen to the microphone: {}", failure.text()));
    stopRecording();
    return;
  }

  std::weak_ptr<NewSpeech> weak = weak_from_this();
  // The answer is not examined: without authorisation the task reports an error, which ends the recording.
  speech::SpeechRecognizer::requestAuthorization(
      [weak, recording = recording_, generation, recognizer](speech::SpeechRecognizerAuthorizationStatus) {
        std::lock_guard lock(recording->mutex);
        // A recording stopped or replaced before the answer came stays stopped.
        if (recording->generation != generation) return;
        auto request = speech::AudioBufferRecognitionRequest::make();
        if (!request) {
          foundation::log("Unable to create a SFSpeechAudioBufferRecognitionRequest object");
          foundation::RunLoop::main().async([weak, generation] {
            if (auto self = weak.lock(); self && self->isLive(generation)) self->stopRecording();
          });
          return;
        }
        recording->request = request;
        foundation::RunLoop::main().async([weak, generation] {
          if (auto self = weak.lock(); self && self->isLive(generation)) self->isRecording.set(true);
        });
        request->setShouldReportPartialResults(true);
        // The recogniser never calls the handler inside this call, so holding the lock here is safe.
        recording->task = recognizer->recognitionTask(
            request, [weak, generation](const std::optional<speech::RecognitionResult>& result,
                                        const std::optional<speech::RecognitionError>& error) {
              if (auto self = weak.lock()) self->handleReport(generation, result, error);
            });
      });

  audioEngine_->prepare();
  try {
    audioEngine_->start();
  } catch (const foundation::TextError& failure) {
    foundation::log(fmt::format("Unable to start the audio engine: {}", failure.text()));
    stopRecording();
  }
}

void NewSpeech::handleReport(std::uint64_t generation, const std::optional<speech::RecognitionResult>& result,
                             const std::optional<speech::RecognitionError>& error) {
  // Reports of a recording that was stopped or replaced (a cancelled task reports its cancellation) must
  // not end the recording that runs now.
  if (!isLive(generation)) return;
  if (error) {
    foundation::log(fmt::format("Speech recognition ended: {}", error->localizedDescription));
    stopRecording();
  }
  if (result) {
    transcript.set(result->bestTranscription.formattedString);
    if (result->isFinal && isLive(generation)) stopRecording();
  }
}

void NewSpeech::stopRecording() {
  foundation::assertMainThread();
  audioEngine_->stop();
  std::weak_ptr<NewSpeech> weak = weak_from_this();
  foundation::RunLoop::main().async([weak] {
    if (auto self = weak.lock()) self->isRecording.set(false);
  });
  audioEngine_->inputNode().removeTap(kBus);
  endRecognition();
}

}  // namespace Quillo
