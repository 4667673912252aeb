// A running recognition of one request: its results and failures reach a handler on the recogniser's
// queue (the main queue), and it can be cancelled.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>

#include "platform/desktop/speech_service.h"  // RecognitionReport
#include "platform/speech/recognition_request.h"
#include "platform/speech/recognition_result.h"

namespace speech {

// The states of a task, with the platform's numbers.
enum class RecognitionTaskState : int {
  starting = 0,
  running = 1,
  finishing = 2,
  canceling = 3,
  completed = 4
};

// Called for each report: a result, an error, or both. A final result or an error is the last report.
using RecognitionResultHandler =
    std::function<void(const std::optional<RecognitionResult>&, const std::optional<RecognitionError>&)>;

// Thread-safe: one mutex guards the state; reports are handed to the main queue and the handler runs
// there, never inside the call that started or cancelled the task.
class RecognitionTask : public std::enable_shared_from_this<RecognitionTask> {
 public:
  RecognitionTask(const RecognitionTask&) = delete;
  RecognitionTask& operator=(const RecognitionTask&) = delete;

  // Stops recognising; the handler then hears one last report, a cancellation error. Results that were
  // on their way are dropped. Cancelling a finished or cancelled task does nothing.
  void cancel();
  bool isCancelled() const;
  RecognitionTaskState state() const;
  // The failure that ended the task, if one did.
  std::optional<RecognitionError> error() const;

  // Made by SpeechRecognizer: a task that recognises `request`, or, with a refusal, one that reports only
  // that failure.
  static std::shared_ptr<RecognitionTask> start(std::shared_ptr<AudioBufferRecognitionRequest> request,
                                                RecognitionResultHandler handler,
                                                std::optional<RecognitionError> refusal);

 private:
  RecognitionTask(std::shared_ptr<AudioBufferRecognitionRequest> request, RecognitionResultHandler handler);

  // Hands a report to the main queue (any thread).
  void post(const desktop::RecognitionReport& report, bool isCancellation);
  // Runs on the main queue.
  void handle(const desktop::RecognitionReport& report, bool isCancellation);

  const std::shared_ptr<AudioBufferRecognitionRequest> request_;
  const RecognitionResultHandler handler_;
  mutable std::mutex mutex_;
  RecognitionTaskState state_ = RecognitionTaskState::starting;
  bool isCancelled_ = false;
  std::uint64_t session_ = 0;
  std::optional<RecognitionError> error_;
};

}  // namespace speech
