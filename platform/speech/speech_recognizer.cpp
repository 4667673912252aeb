#include "platform/speech/speech_recognizer.h"

#include <optional>
#include <utility>

#include "platform/desktop/desktop.h"
#include "platform/desktop/permission_service.h"
#include "platform/desktop/speech_service.h"
#include "platform/foundation/run_loop.h"

namespace speech {

SpeechRecognizer::SpeechRecognizer(std::string localeIdentifier)
    : localeIdentifier_(std::move(localeIdentifier)) {}

std::shared_ptr<SpeechRecognizer> SpeechRecognizer::make(std::string localeIdentifier) {
  auto* desktop = desktop::Desktop::current();
  if (!desktop || localeIdentifier.empty() || !desktop->speech().canMakeRecognizer()) return nullptr;
  std::shared_ptr<SpeechRecognizer> recognizer(new SpeechRecognizer(std::move(localeIdentifier)));
  std::weak_ptr<SpeechRecognizer> weak = recognizer;
  recognizer->availabilityToken_ = desktop->speech().addAvailabilityObserver([weak](bool isAvailable) {
    foundation::RunLoop::main().async([weak, isAvailable] {
      if (auto self = weak.lock()) self->tellAvailability(isAvailable);
    });
  });
  return recognizer;
}

SpeechRecognizer::~SpeechRecognizer() {
  if (auto* desktop = desktop::Desktop::current()) {
    desktop->speech().removeAvailabilityObserver(availabilityToken_);
  }
}

SpeechRecognizerAuthorizationStatus SpeechRecognizer::authorizationStatus() {
  auto* desktop = desktop::Desktop::current();
  if (!desktop) return SpeechRecognizerAuthorizationStatus::restricted;
  if (desktop->permissions().isPermissionGranted(desktop::permission::speechRecognition))
    return SpeechRecognizerAuthorizationStatus::authorized;
  return desktop->speech().authorizationRequestCount() > 0
             ? SpeechRecognizerAuthorizationStatus::denied
             : SpeechRecognizerAuthorizationStatus::notDetermined;
}

void SpeechRecognizer::requestAuthorization(
    std::function<void(SpeechRecognizerAuthorizationStatus)> handler) {
  auto* desktop = desktop::Desktop::current();
  if (!desktop) {
    foundation::RunLoop::main().async([handler = std::move(handler)] {
      if (handler) handler(SpeechRecognizerAuthorizationStatus::restricted);
    });
    return;
  }
  // The answer is read when it is given, so a test can grant or deny in between.
  desktop->speech().requestAuthorization([handler = std::move(handler)] {
    if (handler) handler(authorizationStatus());
  });
}

bool SpeechRecognizer::isAvailable() const {
  auto* desktop = desktop::Desktop::current();
  return desktop && desktop->speech().isRecognizerAvailable();
}

void SpeechRecognizer::setDelegate(std::weak_ptr<SpeechRecognizerDelegate> delegate) {
  std::lock_guard lock(mutex_);
  delegate_ = std::move(delegate);
}

void SpeechRecognizer::tellAvailability(bool isAvailable) {
  std::shared_ptr<SpeechRecognizerDelegate> delegate;
  {
    std::lock_guard lock(mutex_);
    delegate = delegate_.lock();
  }
  if (delegate) delegate->availabilityDidChange(*this, isAvailable);
}

std::shared_ptr<RecognitionTask> SpeechRecognizer::recognitionTask(
    std::shared_ptr<AudioBufferRecognitionRequest> request, RecognitionResultHandler handler) {
  std::optional<RecognitionError> refusal;
  auto* desktop = desktop::Desktop::current();
  if (!request) {
    refusal = RecognitionError{recognition_error_code::unavailable, "No recognition request was given"};
  } else if (desktop && !desktop->permissions().isPermissionGranted(desktop::permission::speechRecognition)) {
    refusal = RecognitionError{recognition_error_code::notAuthorized, "Speech recognition is not authorized"};
  } else if (!isAvailable()) {
    refusal = RecognitionError{recognition_error_code::unavailable, "Speech recognition is not available"};
  }
  return RecognitionTask::start(std::move(request), std::move(handler), std::move(refusal));
}

}  // namespace speech
