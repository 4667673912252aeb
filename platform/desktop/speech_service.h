// Speech on the desktop: the recognition service (recognisers, authorisation, recognition sessions), the
// microphone (its format, taps that receive captured buffers, audio engines that start and stop) and the
// loudspeaker (utterances spoken one after another).
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>

namespace desktop {

// What a recognition session reports: a transcription so far (final or not), an error, or both.
struct RecognitionReport {
  std::optional<std::string> transcription;
  bool isFinal = false;
  std::optional<std::string> errorDescription;
  int errorCode = 0;
};

// The format of captured audio.
struct CapturedAudioFormat {
  double sampleRate = 48000.0;
  std::uint32_t channelCount = 1;
  bool operator==(const CapturedAudioFormat&) const = default;
};

// One utterance handed to the loudspeaker, with the settings it is spoken with.
struct SpokenUtterance {
  std::string text;
  std::string voiceLanguage;  // empty: the default voice
  float rate = 0.5f;
  float pitchMultiplier = 1.0f;
  float volume = 1.0f;
  bool operator==(const SpokenUtterance&) const = default;
};

// Numbers handed out (sessions, tap and observer tokens) are unique in the process, across desktops, so a
// speech object that outlives a desktop never touches another desktop's session, tap or observer. Sinks,
// taps and answers may be called on any thread; their owners hop to the main queue themselves.
class SpeechService {
 public:
  using ReportSink = std::function<void(const RecognitionReport&)>;
  // Called with the number of frames of one captured buffer.
  using TapSink = std::function<void(std::uint32_t frameCount, const CapturedAudioFormat& format)>;
  // Called once per utterance: true when it was spoken to its end, false when it was stopped.
  using SpeechSink = std::function<void(bool finished)>;

  virtual ~SpeechService() = default;

  // --- Recognition service ---

  // Whether a recogniser can be made at all.
  virtual bool canMakeRecognizer() const = 0;
  // Whether a recognition request can be made.
  virtual bool canMakeRecognitionRequest() const = 0;
  // Whether recognisers are available right now; changes are told to the observers.
  virtual bool isRecognizerAvailable() const = 0;
  virtual std::size_t addAvailabilityObserver(std::function<void(bool isAvailable)> observer) = 0;
  virtual void removeAvailabilityObserver(std::size_t token) = 0;

  // Asks the person for authorisation; `answer` runs once they have answered (the permission service then
  // tells the outcome).
  virtual void requestAuthorization(std::function<void()> answer) = 0;
  // How many times this program asked for authorisation; a permission asked for and not granted counts
  // as denied.
  virtual std::size_t authorizationRequestCount() const = 0;

  // Starts a recognition session, whose reports go to `sink` until a final result or an error. Returns the
  // session's number (never 0).
  virtual std::uint64_t beginRecognition(ReportSink sink) = 0;
  // Ends a session (cancelled by its task); later reports go nowhere.
  virtual void endRecognition(std::uint64_t session) = 0;
  // A session's request received a buffer of `frameCount` frames.
  virtual void hear(std::uint64_t session, std::uint32_t frameCount) = 0;

  // --- Microphone ---

  virtual CapturedAudioFormat inputFormat() const = 0;
  // Taps of an engine's input node; a tap receives buffers of `bufferSize` frames while its engine runs.
  virtual std::size_t installTap(std::uint64_t engine, std::uint32_t bufferSize, TapSink sink) = 0;
  virtual void removeTap(std::size_t token) = 0;
  // Starts capturing for an engine; the reason when it cannot, nothing when it runs.
  virtual std::optional<std::string> startAudioEngine(std::uint64_t engine) = 0;
  virtual void stopAudioEngine(std::uint64_t engine) = 0;

  // --- Loudspeaker ---

  // Queues an utterance of a synthesiser; utterances are spoken one after another, oldest first.
  virtual void speak(std::uint64_t synthesizer, SpokenUtterance utterance, SpeechSink sink) = 0;
  // Stops every utterance of a synthesiser (each sink hears false); returns whether any was queued.
  virtual bool stopSpeaking(std::uint64_t synthesizer) = 0;
  virtual bool isSpeaking(std::uint64_t synthesizer) const = 0;
};

}  // namespace desktop
