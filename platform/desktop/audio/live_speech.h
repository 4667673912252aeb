// Speech on the live desktop: eSpeak NG speaks each utterance through the sound system, and PocketSphinx
// recognises what the sound system's microphone hears, each on a thread of its own.
#pragma once

#include <atomic>
#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "platform/desktop/audio/sound_system.h"
#include "platform/desktop/speech_service.h"

namespace desktop::audio {

class SpeechDecoder;

// Thread-safe: one mutex guards the queue of utterances, the taps and engines, the recognition sessions and
// the sound system; sinks, taps and observers are called outside it. Three kinds of thread do the audio
// work: the speaking thread synthesises and plays one utterance after another, the capture thread reads
// the microphone while an engine runs and hands each buffer to the taps, and the recognising thread feeds
// what sessions heard to the decoder and reports their results. Sinks are called on those threads (the
// speech layer above hops to the main queue); authorisation answers are posted to the main queue.
class LiveSpeech final : public SpeechService {
 public:
  // With this machine's sound system (see systemSoundSystem()).
  LiveSpeech();
  // With the given sound system; nullptr: there is none, so utterances are synthesised and finish unheard,
  // and there is no microphone.
  explicit LiveSpeech(std::shared_ptr<SoundSystem> soundSystem);
  ~LiveSpeech() override;
  LiveSpeech(const LiveSpeech&) = delete;
  LiveSpeech& operator=(const LiveSpeech&) = delete;

  // The sound system played through and captured from (nullptr: none). A replacement is used from the
  // next utterance and the next start of the microphone on.
  std::shared_ptr<SoundSystem> soundSystem() const;
  void setSoundSystem(std::shared_ptr<SoundSystem> soundSystem);
  // Empty when there is a microphone; otherwise why there is none, said to a person. Without one, speech
  // input is denied.
  std::string missingMicrophoneReason() const;
  bool hasMicrophone() const { return missingMicrophoneReason().empty(); }
  // Empty when recognisers can be made; otherwise why not (the speech model is missing).
  const std::string& missingRecognizerReason() const { return missingRecognizerReason_; }

  // What happens to an utterance, told to observers on the speaking thread (or, for an utterance stopped
  // before its turn came, on the thread that stopped it).
  enum class UtteranceEvent { started, finished, stopped };
  using UtteranceObserver =
      std::function<void(std::uint64_t synthesizer, const SpokenUtterance& utterance, UtteranceEvent event)>;
  std::size_t addUtteranceObserver(UtteranceObserver observer);
  void removeUtteranceObserver(std::size_t token);

  // --- Recognition service ---

  // Recognisers can be made, and are available, while the speech model is installed.
  bool canMakeRecognizer() const override;
  bool canMakeRecognitionRequest() const override;
  bool isRecognizerAvailable() const override;
  std::size_t addAvailabilityObserver(std::function<void(bool isAvailable)> observer) override;
  void removeAvailabilityObserver(std::size_t token) override;

  // An X session asks no one: the answer is posted to the main queue at once. Without a microphone the
  // denial is said in the log.
  void requestAuthorization(std::function<void()> answer) override;
  std::size_t authorizationRequestCount() const override;

  // A session hears the microphone's buffers that reach it through hear() while it runs; it reports the
  // text heard so far whenever that changes, and a final result when the speaker falls silent or the
  // microphone's input ends (an error when nothing was recognised, or when the model cannot load).
  std::uint64_t beginRecognition(ReportSink sink) override;
  void endRecognition(std::uint64_t session) override;
  // The samples are those of the buffer the capture thread is handing to the taps; frames heard on any
  // other thread are not this microphone's, and carry nothing to recognise.
  void hear(std::uint64_t session, std::uint32_t frameCount) override;

  // --- Microphone ---

  // 16 kHz mono, what the recogniser hears.
  CapturedAudioFormat inputFormat() const override;
  std::size_t installTap(std::uint64_t engine, std::uint32_t bufferSize, TapSink sink) override;
  void removeTap(std::size_t token) override;
  // The microphone captures while any engine runs. Without one, the reason starts with "No microphone".
  std::optional<std::string> startAudioEngine(std::uint64_t engine) override;
  void stopAudioEngine(std::uint64_t engine) override;

  // --- Loudspeaker ---

  void speak(std::uint64_t synthesizer, SpokenUtterance utterance, SpeechSink sink) override;
  bool stopSpeaking(std::uint64_t synthesizer) override;
  bool isSpeaking(std::uint64_t synthesizer) const override;

 private:
  struct QueuedUtterance {
    std::uint64_t synthesizer = 0;
    SpokenUtterance utterance;
    SpeechSink sink;
  };
  struct Session {
    ReportSink sink;
    std::vector<std::int16_t> heard;  // not yet decoded
    bool hasInputEnded = false;
  };
  struct Tap {
    std::uint64_t engine = 0;
    TapSink sink;
  };
  struct Capture {
    std::thread thread;
    std::shared_ptr<std::atomic<bool>> shouldStop;
  };

  void speakUtterances();
  void speakOne(const QueuedUtterance& queued, const std::shared_ptr<std::atomic<bool>>& shouldStop);
  void tell(std::uint64_t synthesizer, const SpokenUtterance& utterance, UtteranceEvent event);
  void captureMicrophone(std::unique_ptr<CaptureStream> stream,
                         std::shared_ptr<std::atomic<bool>> shouldStop);
  void recognize();
  // Ends the capture that runs, if any, joining its thread unless called on it. Lock not held.
  void stopCapture(std::unique_lock<std::mutex>& lock);

  const std::string missingRecognizerReason_;

  mutable std::mutex mutex_;
  std::shared_ptr<SoundSystem> soundSystem_;
  bool isClosing_ = false;

  std::map<std::size_t, UtteranceObserver> utteranceObservers_;
  std::deque<QueuedUtterance> utterances_;
  std::optional<std::uint64_t> speakingSynthesizer_;  // of the utterance being spoken
  std::shared_ptr<std::atomic<bool>> stopsSpeaking_;  // set to stop the utterance being spoken
  std::condition_variable utterancesChanged_;
  std::thread speaker_;

  std::map<std::size_t, std::function<void(bool)>> availabilityObservers_;
  std::size_t authorizationRequestCount_ = 0;
  std::map<std::uint64_t, Session> sessions_;
  std::condition_variable sessionsChanged_;
  std::thread recognizer_;
  std::unique_ptr<SpeechDecoder> decoder_;  // recognising thread only

  std::map<std::size_t, Tap> taps_;
  std::set<std::uint64_t> runningEngines_;
  std::optional<Capture> capture_;
  std::vector<std::thread> endedCaptures_;  // stopped from their own thread; joined later
};

}  // namespace desktop::audio
