// A speech recogniser for one locale: its availability, the user's authorisation of speech recognition,
// and recognition tasks over audio-buffer requests.
#pragma once

#include <cstddef>
#include <functional>
#include <memory>
#include <mutex>
#include <string>

#include "platform/speech/recognition_request.h"
#include "platform/speech/recognition_task.h"

namespace speech {

// The user's answer about speech recognition, with the platform's numbers.
enum class SpeechRecognizerAuthorizationStatus : int {
  notDetermined = 0,
  denied = 1,
  restricted = 2,
  authorized = 3
};

class SpeechRecognizer;

// Told, on the main queue, when a recogniser becomes available or unavailable.
class SpeechRecognizerDelegate {
 public:
  virtual ~SpeechRecognizerDelegate() = default;
  virtual void availabilityDidChange(SpeechRecognizer& recognizer, bool isAvailable) {
    (void)recognizer;
    (void)isAvailable;
  }
};

// Results, failures and availability changes are delivered on the main queue (the recogniser's queue).
// Thread-safe: the delegate is guarded by a mutex; the rest is fixed at creation.
class SpeechRecognizer : public std::enable_shared_from_this<SpeechRecognizer> {
 public:
  // A recogniser for a locale identifier ("en-US"), or nullptr when none can be made (no recognition
  // service, or an empty identifier).
  static std::shared_ptr<SpeechRecognizer> make(std::string localeIdentifier);

  ~SpeechRecognizer();
  SpeechRecognizer(const SpeechRecognizer&) = delete;
  SpeechRecognizer& operator=(const SpeechRecognizer&) = delete;

  // The user's current answer: authorized while the "speechRecognition" permission is granted; denied
  // once asked and not granted; restricted without a recognition service.
  static SpeechRecognizerAuthorizationStatus authorizationStatus();
  // Asks the user. The answer arrives later on a thread of the service's choosing, never inside this call.
  static void requestAuthorization(std::function<void(SpeechRecognizerAuthorizationStatus)> handler);

  const std::string& localeIdentifier() const { return localeIdentifier_; }
  bool isAvailable() const;

  // The delegate is held weakly.
  void setDelegate(std::weak_ptr<SpeechRecognizerDelegate> delegate);

  // Starts recognising the audio appended to `request`. Never calls `handler` before returning. Without
  // authorisation, or while the recogniser is unavailable, the task reports only that failure.
  std::shared_ptr<RecognitionTask> recognitionTask(std::shared_ptr<AudioBufferRecognitionRequest> request,
                                                   RecognitionResultHandler handler);

 private:
  explicit SpeechRecognizer(std::string localeIdentifier);
  void tellAvailability(bool isAvailable);

  const std::string localeIdentifier_;
  std::size_t availabilityToken_ = 0;
  mutable std::mutex mutex_;
  std::weak_ptr<SpeechRecognizerDelegate> delegate_;
};

}  // namespace speech
