#include "platform/speech/recognition_task.h"

#include <utility>

#include "platform/desktop/desktop.h"
#include "platform/desktop/speech_service.h"
#include "platform/foundation/run_loop.h"

namespace speech {

RecognitionTask::RecognitionTask(std::shared_ptr<AudioBufferRecognitionRequest> request,
                                 RecognitionResultHandler handler)
    : request_(std::move(request)), handler_(std::move(handler)) {}

std::shared_ptr<RecognitionTask> RecognitionTask::start(
    std::shared_ptr<AudioBufferRecognitionRequest> request, RecognitionResultHandler handler,
    std::optional<RecognitionError> refusal) {
  std::shared_ptr<RecognitionTask> task(new RecognitionTask(request, std::move(handler)));
  auto* desktop = desktop::Desktop::current();
  if (!refusal && !desktop) {
    refusal = RecognitionError{recognition_error_code::unavailable, "Speech recognition is not available"};
  }
  if (refusal) {
    desktop::RecognitionReport report;
    report.errorDescription = refusal->localizedDescription;
    report.errorCode = refusal->code;
    task->post(report, false);
    return task;
  }
  // The service keeps a running task alive until its last report, as the platform does.
  const std::uint64_t session = desktop->speech().beginRecognition(
      [task](const desktop::RecognitionReport& report) { task->post(report, false); });
  {
    std::lock_guard lock(task->mutex_);
    task->session_ = session;
    task->state_ = RecognitionTaskState::running;
  }
  if (request) request->attachToSession(session);
  return task;
}

void RecognitionTask::cancel() {
  std::uint64_t session = 0;
  {
    std::lock_guard lock(mutex_);
    if (isCancelled_ || state_ == RecognitionTaskState::completed) return;
    isCancelled_ = true;
    state_ = RecognitionTaskState::canceling;
    session = session_;
  }
  if (session != 0) {
    if (auto* desktop = desktop::Desktop::current()) desktop->speech().endRecognition(session);
  }
  desktop::RecognitionReport report;
  report.errorDescription = "Recognition request was cancelled";
  report.errorCode = recognition_error_code::cancelled;
  post(report, true);
}

bool RecognitionTask::isCancelled() const {
  std::lock_guard lock(mutex_);
  return isCancelled_;
}

RecognitionTaskState RecognitionTask::state() const {
  std::lock_guard lock(mutex_);
  return state_;
}

std::optional<RecognitionError> RecognitionTask::error() const {
  std::lock_guard lock(mutex_);
  return error_;
}

void RecognitionTask::post(const desktop::RecognitionReport& report, bool isCancellation) {
  foundation::RunLoop::main().async(
      [self = shared_from_this(), report, isCancellation] { self->handle(report, isCancellation); });
}

void RecognitionTask::handle(const desktop::RecognitionReport& report, bool isCancellation) {
  std::optional<RecognitionResult> result;
  std::optional<RecognitionError> error;
  {
    std::lock_guard lock(mutex_);
    if (state_ == RecognitionTaskState::completed) return;
    if (isCancelled_ && !isCancellation) return;
    const bool isPartial = report.transcription && !report.isFinal;
    if (isPartial && !report.errorDescription && request_ && !request_->shouldReportPartialResults()) return;
    if (report.transcription)
      result = RecognitionResult{Transcription{*report.transcription}, report.isFinal};
    if (report.errorDescription) error = RecognitionError{report.errorCode, *report.errorDescription};
    if (report.isFinal || error) {
      state_ = RecognitionTaskState::completed;
      error_ = error;
    }
  }
  if (handler_) handler_(result, error);
}

}  // namespace speech
