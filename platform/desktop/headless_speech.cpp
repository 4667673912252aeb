#include "platform/desktop/headless_speech.h"

#include <algorithm>
#include <atomic>
#include <utility>

#include "platform/foundation/run_loop.h"

namespace desktop {

namespace {
std::atomic<std::uint64_t> nextNumber{1};
}  // namespace

bool HeadlessSpeech::canMakeRecognizer() const {
  std::lock_guard lock(mutex_);
  return canMakeRecognizer_;
}

void HeadlessSpeech::setCanMakeRecognizer(bool canMake) {
  std::lock_guard lock(mutex_);
  canMakeRecognizer_ = canMake;
}

bool HeadlessSpeech::canMakeRecognitionRequest() const {
  std::lock_guard lock(mutex_);
  return canMakeRecognitionRequest_;
}

void HeadlessSpeech::setCanMakeRecognitionRequest(bool canMake) {
  std::lock_guard lock(mutex_);
  canMakeRecognitionRequest_ = canMake;
}

bool HeadlessSpeech::isRecognizerAvailable() const {
  std::lock_guard lock(mutex_);
  return isRecognizerAvailable_;
}

void HeadlessSpeech::setRecognizerAvailable(bool isAvailable) {
  std::vector<std::function<void(bool)>> observers;
  {
    std::lock_guard lock(mutex_);
    if (isRecognizerAvailable_ == isAvailable) return;
    isRecognizerAvailable_ = isAvailable;
    for (const auto& [token, observer] : availabilityObservers_) observers.push_back(observer);
  }
  for (const auto& observer : observers) observer(isAvailable);
}

std::size_t HeadlessSpeech::addAvailabilityObserver(std::function<void(bool isAvailable)> observer) {
  std::lock_guard lock(mutex_);
  const std::size_t token = static_cast<std::size_t>(nextNumber++);
  availabilityObservers_.emplace(token, std::move(observer));
  return token;
}

void HeadlessSpeech::removeAvailabilityObserver(std::size_t token) {
  std::function<void(bool)> removed;
  {
    std::lock_guard lock(mutex_);
    const auto found = availabilityObservers_.find(token);
    if (found == availabilityObservers_.end()) return;
    removed = std::move(found->second);
    availabilityObservers_.erase(found);
  }
}

void HeadlessSpeech::requestAuthorization(std::function<void()> answer) {
  {
    std::lock_guard lock(mutex_);
    ++authorizationRequestCount_;
    if (holdsAuthorizationAnswers_) {
      heldAnswers_.push_back(std::move(answer));
      return;
    }
  }
  foundation::RunLoop::main().async(std::move(answer));
}

void HeadlessSpeech::setHoldsAuthorizationAnswers(bool holds) {
  std::lock_guard lock(mutex_);
  holdsAuthorizationAnswers_ = holds;
}

std::size_t HeadlessSpeech::pendingAuthorizationRequestCount() const {
  std::lock_guard lock(mutex_);
  return heldAnswers_.size();
}

std::size_t HeadlessSpeech::answerAuthorizationRequests() {
  std::vector<std::function<void()>> answers;
  {
    std::lock_guard lock(mutex_);
    answers.swap(heldAnswers_);
  }
  for (const auto& answer : answers) answer();
  return answers.size();
}

std::size_t HeadlessSpeech::authorizationRequestCount() const {
  std::lock_guard lock(mutex_);
  return authorizationRequestCount_;
}

std::uint64_t HeadlessSpeech::beginRecognition(ReportSink sink) {
  std::lock_guard lock(mutex_);
  const std::uint64_t id = nextNumber++;
  sessions_.push_back(Session{id, std::move(sink), 0});
  ++recognitionCount_;
  return id;
}

void HeadlessSpeech::endRecognition(std::uint64_t session) {
  ReportSink removed;  // destroyed outside the lock: it may hold the last reference to its task
  {
    std::lock_guard lock(mutex_);
    const auto found =
        std::find_if(sessions_.begin(), sessions_.end(), [&](const Session& s) { return s.id == session; });
    if (found == sessions_.end()) return;
    removed = std::move(found->sink);
    sessions_.erase(found);
  }
}

void HeadlessSpeech::hear(std::uint64_t session, std::uint32_t frameCount) {
  std::lock_guard lock(mutex_);
  for (auto& s : sessions_) {
    if (s.id == session) s.framesHeard += frameCount;
  }
}

bool HeadlessSpeech::isRecognizing() const {
  std::lock_guard lock(mutex_);
  return !sessions_.empty();
}

std::size_t HeadlessSpeech::recognitionCount() const {
  std::lock_guard lock(mutex_);
  return recognitionCount_;
}

std::uint64_t HeadlessSpeech::framesHeard() const {
  std::lock_guard lock(mutex_);
  return sessions_.empty() ? 0 : sessions_.back().framesHeard;
}

bool HeadlessSpeech::report(const RecognitionReport& report) {
  ReportSink sink;
  {
    std::lock_guard lock(mutex_);
    if (sessions_.empty()) return false;
    sink = sessions_.back().sink;
    // A final result or an error is the session's last report.
    if (report.isFinal || report.errorDescription) sessions_.pop_back();
  }
  if (sink) sink(report);
  return true;
}

bool HeadlessSpeech::recognize(const std::string& text, bool isFinal) {
  RecognitionReport r;
  r.transcription = text;
  r.isFinal = isFinal;
  return report(r);
}

bool HeadlessSpeech::failRecognition(const std::string& description, int code) {
  RecognitionReport r;
  r.errorDescription = description;
  r.errorCode = code;
  return report(r);
}

CapturedAudioFormat HeadlessSpeech::inputFormat() const {
  std::lock_guard lock(mutex_);
  return inputFormat_;
}

void HeadlessSpeech::setInputFormat(CapturedAudioFormat format) {
  std::lock_guard lock(mutex_);
  inputFormat_ = format;
}

std::size_t HeadlessSpeech::installTap(std::uint64_t engine, std::uint32_t bufferSize, TapSink sink) {
  std::lock_guard lock(mutex_);
  const std::size_t token = static_cast<std::size_t>(nextNumber++);
  taps_.emplace(token, Tap{engine, bufferSize, std::move(sink)});
  return token;
}

void HeadlessSpeech::removeTap(std::size_t token) {
  TapSink removed;
  {
    std::lock_guard lock(mutex_);
    const auto found = taps_.find(token);
    if (found == taps_.end()) return;
    removed = std::move(found->second.sink);
    taps_.erase(found);
  }
}

std::size_t HeadlessSpeech::tapCount() const {
  std::lock_guard lock(mutex_);
  return taps_.size();
}

std::optional<std::string> HeadlessSpeech::startAudioEngine(std::uint64_t engine) {
  std::lock_guard lock(mutex_);
  if (startFailure_) return startFailure_;
  runningEngines_.insert(engine);
  return std::nullopt;
}

void HeadlessSpeech::stopAudioEngine(std::uint64_t engine) {
  std::lock_guard lock(mutex_);
  runningEngines_.erase(engine);
}

void HeadlessSpeech::setAudioEngineStartFailure(std::optional<std::string> reason) {
  std::lock_guard lock(mutex_);
  startFailure_ = std::move(reason);
}

bool HeadlessSpeech::isAudioEngineRunning() const {
  std::lock_guard lock(mutex_);
  return !runningEngines_.empty();
}

std::size_t HeadlessSpeech::captureAudio(std::size_t count) {
  std::vector<Tap> listening;
  CapturedAudioFormat format;
  {
    std::lock_guard lock(mutex_);
    format = inputFormat_;
    for (const auto& [token, tap] : taps_) {
      if (runningEngines_.count(tap.engine) != 0) listening.push_back(tap);
    }
  }
  std::size_t delivered = 0;
  for (std::size_t i = 0; i < count; ++i) {
    for (const auto& tap : listening) {
      tap.sink(tap.bufferSize, format);
      ++delivered;
    }
  }
  return delivered;
}

void HeadlessSpeech::speak(std::uint64_t synthesizer, SpokenUtterance utterance, SpeechSink sink) {
  std::lock_guard lock(mutex_);
  spoken_.push_back(utterance);
  speaking_.push_back(QueuedUtterance{synthesizer, std::move(utterance), std::move(sink)});
}

bool HeadlessSpeech::stopSpeaking(std::uint64_t synthesizer) {
  std::vector<SpeechSink> stopped;
  {
    std::lock_guard lock(mutex_);
    for (auto it = speaking_.begin(); it != speaking_.end();) {
      if (it->synthesizer == synthesizer) {
        stopped.push_back(std::move(it->sink));
        it = speaking_.erase(it);
      } else {
        ++it;
      }
    }
  }
  for (const auto& sink : stopped) {
    if (sink) sink(false);
  }
  return !stopped.empty();
}

bool HeadlessSpeech::isSpeaking(std::uint64_t synthesizer) const {
  std::lock_guard lock(mutex_);
  return std::any_of(speaking_.begin(), speaking_.end(),
                     [&](const QueuedUtterance& q) { return q.synthesizer == synthesizer; });
}

std::vector<SpokenUtterance> HeadlessSpeech::utterances() const {
  std::lock_guard lock(mutex_);
  return spoken_;
}

std::vector<SpokenUtterance> HeadlessSpeech::pendingUtterances() const {
  std::lock_guard lock(mutex_);
  std::vector<SpokenUtterance> result;
  for (const auto& q : speaking_) result.push_back(q.utterance);
  return result;
}

bool HeadlessSpeech::finishUtterance() {
  SpeechSink sink;
  {
    std::lock_guard lock(mutex_);
    if (speaking_.empty()) return false;
    sink = std::move(speaking_.front().sink);
    speaking_.pop_front();
  }
  if (sink) sink(true);
  return true;
}

}  // namespace desktop
