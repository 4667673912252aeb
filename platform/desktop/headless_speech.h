// Speech as the headless desktop plays it: the recognition service (whether recognisers can be made and
// are available, authorisation answers, recognition sessions that a test feeds with partial and final
// results or an error), the microphone (the input format, taps that receive captured buffers, audio
// engines that start or fail to start) and the loudspeaker (utterances spoken one after another until a
// test finishes them). The speech layer (platform/speech) reaches it as the speech service; tests script it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <mutex>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "platform/desktop/speech_service.h"

namespace desktop {

// Thread-safe: one mutex guards all state; sinks, taps and answers are called outside it, on the calling
// thread (a test may feed audio or answer authorisation from a thread of its own, as the platform does).
class HeadlessSpeech final : public SpeechService {
 public:
  // --- Recognition service ---

  // Whether a recogniser can be made at all (true by default).
  bool canMakeRecognizer() const override;
  void setCanMakeRecognizer(bool canMake);
  // Whether a recognition request can be made (true by default).
  bool canMakeRecognitionRequest() const override;
  void setCanMakeRecognitionRequest(bool canMake);

  // Whether recognisers are available right now (true by default). A change is told to the observers.
  bool isRecognizerAvailable() const override;
  void setRecognizerAvailable(bool isAvailable);
  std::size_t addAvailabilityObserver(std::function<void(bool isAvailable)> observer) override;
  void removeAvailabilityObserver(std::size_t token) override;

  // Authorisation requests. By default each answer is posted to the main queue as it is asked; with
  // holding on, answers wait until answerAuthorizationRequests() runs them on the calling thread.
  void requestAuthorization(std::function<void()> answer) override;
  void setHoldsAuthorizationAnswers(bool holds);
  std::size_t pendingAuthorizationRequestCount() const;
  // Runs the held answers in the order they were asked; returns how many ran.
  std::size_t answerAuthorizationRequests();
  // How many times authorisation was asked for.
  std::size_t authorizationRequestCount() const override;

  // Recognition sessions, one per running recognition task. Returns the session's number (never 0).
  std::uint64_t beginRecognition(ReportSink sink) override;
  // The session ends (cancelled by its task); later reports go nowhere.
  void endRecognition(std::uint64_t session) override;
  // A session's request received a buffer of `frameCount` frames.
  void hear(std::uint64_t session, std::uint32_t frameCount) override;

  // For tests: whether a session runs, how many ever began, and frames heard by the newest running one.
  bool isRecognizing() const;
  std::size_t recognitionCount() const;
  std::uint64_t framesHeard() const;
  // For tests: the newest running session recognises `text` so far; a final result ends the session.
  // Returns false when no session runs.
  bool recognize(const std::string& text, bool isFinal);
  // For tests: the newest running session fails with an error, which ends it. False when none runs.
  bool failRecognition(const std::string& description, int code = 1);

  // --- Microphone ---

  CapturedAudioFormat inputFormat() const override;
  void setInputFormat(CapturedAudioFormat format);
  // Taps of an engine's input node; a tap receives buffers of `bufferSize` frames while its engine runs.
  std::size_t installTap(std::uint64_t engine, std::uint32_t bufferSize, TapSink sink) override;
  void removeTap(std::size_t token) override;
  std::size_t tapCount() const;

  // Starting an engine fails with the reason set here (none by default); nothing: it runs.
  std::optional<std::string> startAudioEngine(std::uint64_t engine) override;
  void stopAudioEngine(std::uint64_t engine) override;
  void setAudioEngineStartFailure(std::optional<std::string> reason);
  bool isAudioEngineRunning() const;

  // For tests: the microphone captures `count` buffers; each tap of a running engine receives them.
  // Returns the number of buffers delivered in all.
  std::size_t captureAudio(std::size_t count);

  // --- Loudspeaker ---

  // Queues an utterance of a synthesiser; utterances are spoken one after another, oldest first.
  void speak(std::uint64_t synthesizer, SpokenUtterance utterance, SpeechSink sink) override;
  // Stops every utterance of a synthesiser (each sink hears false); returns whether any was queued.
  bool stopSpeaking(std::uint64_t synthesizer) override;
  bool isSpeaking(std::uint64_t synthesizer) const override;

  // For tests: every utterance ever handed over, oldest first, and the ones still to be finished.
  std::vector<SpokenUtterance> utterances() const;
  std::vector<SpokenUtterance> pendingUtterances() const;
  // For tests: the utterance being spoken reaches its end. Returns false when nothing is spoken.
  bool finishUtterance();

 private:
  struct Session {
    std::uint64_t id = 0;
    ReportSink sink;
    std::uint64_t framesHeard = 0;
  };
  struct Tap {
    std::uint64_t engine = 0;
    std::uint32_t bufferSize = 0;
    TapSink sink;
  };
  struct QueuedUtterance {
    std::uint64_t synthesizer = 0;
    SpokenUtterance utterance;
    SpeechSink sink;
  };

  bool report(const RecognitionReport& report);

  mutable std::mutex mutex_;
  bool canMakeRecognizer_ = true;
  bool canMakeRecognitionRequest_ = true;
  bool isRecognizerAvailable_ = true;
  std::map<std::size_t, std::function<void(bool)>> availabilityObservers_;
  bool holdsAuthorizationAnswers_ = false;
  std::vector<std::function<void()>> heldAnswers_;
  std::size_t authorizationRequestCount_ = 0;
  std::vector<Session> sessions_;  // running ones, oldest first
  std::size_t recognitionCount_ = 0;
  CapturedAudioFormat inputFormat_;
  std::map<std::size_t, Tap> taps_;
  std::set<std::uint64_t> runningEngines_;
  std::optional<std::string> startFailure_;
  std::deque<QueuedUtterance> speaking_;
  std::vector<SpokenUtterance> spoken_;
};

}  // namespace desktop
