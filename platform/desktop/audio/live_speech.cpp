#include "platform/desktop/audio/live_speech.h"

#include <fmt/format.h>

#include <algorithm>
#include <span>
#include <utility>

#include "platform/desktop/audio/espeak_synthesis.h"
#include "platform/desktop/audio/speech_decoder.h"
#include "platform/foundation/log.h"
#include "platform/foundation/run_loop.h"
#include "platform/foundation/text_error.h"

namespace desktop::audio {

namespace {

// Numbers handed out are unique in the process, whichever desktop hands them out.
std::atomic<std::uint64_t> nextNumber{1ull << 40};

// 64 ms of sound at the microphone's rate: the size of the buffers the taps receive.
constexpr std::uint32_t kCaptureFrames = 1024;
// The recognition failure of an utterance in which nothing was recognised.
constexpr int kNoSpeechErrorCode = 1110;
constexpr int kRecognizerFailureErrorCode = 1101;

// The buffer the capture thread is handing to the taps, for hear() called from a tap on that thread.
thread_local const LiveSpeech* deliveringSpeech = nullptr;
thread_local std::span<const std::int16_t> deliveredSamples;

RecognitionReport transcription(std::string text, bool isFinal) {
  RecognitionReport report;
  report.transcription = std::move(text);
  report.isFinal = isFinal;
  return report;
}

RecognitionReport failure(std::string description, int code) {
  RecognitionReport report;
  report.errorDescription = std::move(description);
  report.errorCode = code;
  return report;
}

}  // namespace

LiveSpeech::LiveSpeech() : LiveSpeech(systemSoundSystem()) {}

LiveSpeech::LiveSpeech(std::shared_ptr<SoundSystem> soundSystem)
    : missingRecognizerReason_(SpeechDecoder::missingModelReason()), soundSystem_(std::move(soundSystem)) {}

LiveSpeech::~LiveSpeech() {
  std::deque<QueuedUtterance> unspoken;
  {
    std::unique_lock lock(mutex_);
    isClosing_ = true;
    unspoken.swap(utterances_);
    if (stopsSpeaking_) stopsSpeaking_->store(true);
    runningEngines_.clear();
    stopCapture(lock);
  }
  utterancesChanged_.notify_all();
  sessionsChanged_.notify_all();
  if (speaker_.joinable()) speaker_.join();
  if (recognizer_.joinable()) recognizer_.join();
  for (auto& ended : endedCaptures_) {
    if (ended.joinable()) ended.join();
  }
  for (auto& queued : unspoken) {
    if (queued.sink) queued.sink(false);
  }
}

std::shared_ptr<SoundSystem> LiveSpeech::soundSystem() const {
  std::lock_guard lock(mutex_);
  return soundSystem_;
}

void LiveSpeech::setSoundSystem(std::shared_ptr<SoundSystem> soundSystem) {
  std::lock_guard lock(mutex_);
  soundSystem_ = std::move(soundSystem);
}

std::string LiveSpeech::missingMicrophoneReason() const {
  const auto system = soundSystem();
  if (!system)
    return "there is no sound system (no PulseAudio or PipeWire server answers, and ALSA has no device)";
  return system->missingMicrophoneReason();
}

std::size_t LiveSpeech::addUtteranceObserver(UtteranceObserver observer) {
  std::lock_guard lock(mutex_);
  const auto token = static_cast<std::size_t>(nextNumber++);
  utteranceObservers_.emplace(token, std::move(observer));
  return token;
}

void LiveSpeech::removeUtteranceObserver(std::size_t token) {
  UtteranceObserver removed;
  std::lock_guard lock(mutex_);
  if (auto found = utteranceObservers_.find(token); found != utteranceObservers_.end()) {
    removed = std::move(found->second);
    utteranceObservers_.erase(found);
  }
}

void LiveSpeech::tell(std::uint64_t synthesizer, const SpokenUtterance& utterance, UtteranceEvent event) {
  std::vector<UtteranceObserver> observers;
  {
    std::lock_guard lock(mutex_);
    for (const auto& [token, observer] : utteranceObservers_) observers.push_back(observer);
  }
  for (const auto& observer : observers) observer(synthesizer, utterance, event);
}

// --- Recognition service ---

bool LiveSpeech::canMakeRecognizer() const { return missingRecognizerReason_.empty(); }

bool LiveSpeech::canMakeRecognitionRequest() const { return true; }

bool LiveSpeech::isRecognizerAvailable() const { return missingRecognizerReason_.empty(); }

std::size_t LiveSpeech::addAvailabilityObserver(std::function<void(bool isAvailable)> observer) {
  // The model is there or not for the program's whole run, so observers are kept and never told.
  std::lock_guard lock(mutex_);
  const auto token = static_cast<std::size_t>(nextNumber++);
  availabilityObservers_.emplace(token, std::move(observer));
  return token;
}

void LiveSpeech::removeAvailabilityObserver(std::size_t token) {
  std::function<void(bool)> removed;
  std::lock_guard lock(mutex_);
  if (auto found = availabilityObservers_.find(token); found != availabilityObservers_.end()) {
    removed = std::move(found->second);
    availabilityObservers_.erase(found);
  }
}

void LiveSpeech::requestAuthorization(std::function<void()> answer) {
  {
    std::lock_guard lock(mutex_);
    ++authorizationRequestCount_;
  }
  if (auto missing = missingMicrophoneReason(); !missing.empty())
    foundation::log("Speech input is denied: there is no microphone, because " + missing);
  if (!missingRecognizerReason_.empty())
    foundation::log("Speech recognition is not available: " + missingRecognizerReason_);
  foundation::RunLoop::main().async(std::move(answer));
}

std::size_t LiveSpeech::authorizationRequestCount() const {
  std::lock_guard lock(mutex_);
  return authorizationRequestCount_;
}

std::uint64_t LiveSpeech::beginRecognition(ReportSink sink) {
  const std::uint64_t id = nextNumber++;
  {
    std::lock_guard lock(mutex_);
    sessions_.emplace(id, Session{std::move(sink), {}, false});
    if (!recognizer_.joinable() && !isClosing_) recognizer_ = std::thread([this] { recognize(); });
  }
  return id;
}

void LiveSpeech::endRecognition(std::uint64_t session) {
  ReportSink removed;  // destroyed outside the lock: it may hold the last reference to its task
  {
    std::lock_guard lock(mutex_);
    const auto found = sessions_.find(session);
    if (found == sessions_.end()) return;
    removed = std::move(found->second.sink);
    sessions_.erase(found);
  }
}

void LiveSpeech::hear(std::uint64_t session, std::uint32_t frameCount) {
  if (deliveringSpeech != this) return;
  const std::size_t count = std::min<std::size_t>(frameCount, deliveredSamples.size());
  const auto samples = deliveredSamples.last(count);
  {
    std::lock_guard lock(mutex_);
    const auto found = sessions_.find(session);
    if (found == sessions_.end()) return;
    found->second.heard.insert(found->second.heard.end(), samples.begin(), samples.end());
  }
  sessionsChanged_.notify_all();
}

// The recognising thread: the decoder follows one session's utterance at a time, the oldest session with
// something to hear first. A session's final report, or its error, is its last.
void LiveSpeech::recognize() {
  std::uint64_t decoding = 0;  // the session whose utterance the decoder follows
  std::string lastHypothesis;
  bool hasHeardSpeech = false;
  for (;;) {
    std::uint64_t id = 0;
    ReportSink sink;
    std::vector<std::int16_t> heard;
    bool hasInputEnded = false;
    {
      std::unique_lock lock(mutex_);
      sessionsChanged_.wait(lock, [&] {
        if (isClosing_) return true;
        return std::any_of(sessions_.begin(), sessions_.end(), [](const auto& entry) {
          return !entry.second.heard.empty() || entry.second.hasInputEnded;
        });
      });
      if (isClosing_) return;
      for (auto& [number, session] : sessions_) {
        if (session.heard.empty() && !session.hasInputEnded) continue;
        id = number;
        sink = session.sink;
        heard.swap(session.heard);
        hasInputEnded = session.hasInputEnded;
        break;
      }
    }
    // Ends the session with its last report, unless it ended meanwhile.
    const auto conclude = [&](const RecognitionReport& report) {
      {
        std::lock_guard lock(mutex_);
        if (sessions_.erase(id) == 0) return;
      }
      if (sink) sink(report);
    };
    if (!decoder_) {
      try {
        decoder_ = std::make_unique<SpeechDecoder>();
      } catch (const foundation::TextError& error) {
        conclude(failure(error.text(), kRecognizerFailureErrorCode));
        continue;
      }
    }
    if (decoding != id) {
      decoder_->begin();
      decoding = id;
      lastHypothesis.clear();
      hasHeardSpeech = false;
    }
    bool hasSpeechEnded = false;
    for (std::size_t offset = 0; offset < heard.size() && !hasSpeechEnded; offset += kCaptureFrames) {
      const auto piece = std::span<const std::int16_t>(heard).subspan(
          offset, std::min<std::size_t>(kCaptureFrames, heard.size() - offset));
      const auto progress = decoder_->process(piece);
      if (progress.isInSpeech) hasHeardSpeech = true;
      if (!progress.hypothesis.empty() && progress.hypothesis != lastHypothesis) {
        lastHypothesis = progress.hypothesis;
        if (sink) sink(transcription(lastHypothesis, false));
      }
      // The speaker fell silent: the utterance is over.
      hasSpeechEnded = hasHeardSpeech && !progress.isInSpeech;
    }
    if (!hasSpeechEnded && !hasInputEnded) continue;
    std::string text = decoder_->finish();
    decoding = 0;
    if (text.empty()) {
      conclude(failure("No speech was recognised", kNoSpeechErrorCode));
    } else {
      conclude(transcription(std::move(text), true));
    }
  }
}

// --- Microphone ---

CapturedAudioFormat LiveSpeech::inputFormat() const {
  return CapturedAudioFormat{static_cast<double>(SpeechDecoder::kSampleRate), 1};
}

std::size_t LiveSpeech::installTap(std::uint64_t engine, std::uint32_t, TapSink sink) {
  std::lock_guard lock(mutex_);
  const auto token = static_cast<std::size_t>(nextNumber++);
  taps_.emplace(token, Tap{engine, std::move(sink)});
  return token;
}

void LiveSpeech::removeTap(std::size_t token) {
  TapSink removed;
  std::lock_guard lock(mutex_);
  if (auto found = taps_.find(token); found != taps_.end()) {
    removed = std::move(found->second.sink);
    taps_.erase(found);
  }
}

std::optional<std::string> LiveSpeech::startAudioEngine(std::uint64_t engine) {
  std::shared_ptr<SoundSystem> system;
  {
    std::lock_guard lock(mutex_);
    if (isClosing_) return "The speech service is closing";
    if (capture_) {
      runningEngines_.insert(engine);
      return std::nullopt;
    }
    system = soundSystem_;
  }
  if (auto missing = missingMicrophoneReason(); !missing.empty()) return "No microphone: " + missing;
  std::unique_ptr<CaptureStream> stream;
  try {
    stream = system->openCapture(SpeechDecoder::kSampleRate);
  } catch (const foundation::TextError& error) {
    return "No microphone: " + error.text();
  }
  std::lock_guard lock(mutex_);
  runningEngines_.insert(engine);
  // Another engine may have started the microphone meanwhile; this stream is then not needed.
  if (!capture_) {
    auto shouldStop = std::make_shared<std::atomic<bool>>(false);
    capture_ = Capture{std::thread([this, stream = std::move(stream), shouldStop]() mutable {
                         captureMicrophone(std::move(stream), shouldStop);
                       }),
                       shouldStop};
  }
  return std::nullopt;
}

void LiveSpeech::stopAudioEngine(std::uint64_t engine) {
  std::unique_lock lock(mutex_);
  runningEngines_.erase(engine);
  if (runningEngines_.empty()) stopCapture(lock);
}

void LiveSpeech::stopCapture(std::unique_lock<std::mutex>& lock) {
  if (!capture_) return;
  Capture capture = std::move(*capture_);
  capture_.reset();
  capture.shouldStop->store(true);
  if (capture.thread.get_id() == std::this_thread::get_id()) {
    endedCaptures_.push_back(std::move(capture.thread));
    return;
  }
  lock.unlock();
  capture.thread.join();
  lock.lock();
}

void LiveSpeech::captureMicrophone(std::unique_ptr<CaptureStream> stream,
                                   std::shared_ptr<std::atomic<bool>> shouldStop) {
  std::vector<std::int16_t> buffer(kCaptureFrames);
  const CapturedAudioFormat format = inputFormat();
  while (!shouldStop->load()) {
    if (!stream->read(buffer)) {
      // The microphone's input ended: what the sessions heard is all they will hear.
      {
        std::lock_guard lock(mutex_);
        for (auto& [id, session] : sessions_) session.hasInputEnded = true;
      }
      sessionsChanged_.notify_all();
      return;
    }
    if (shouldStop->load()) return;
    std::vector<TapSink> listening;
    {
      std::lock_guard lock(mutex_);
      for (const auto& [token, tap] : taps_) {
        if (runningEngines_.count(tap.engine) != 0) listening.push_back(tap.sink);
      }
    }
    deliveringSpeech = this;
    deliveredSamples = buffer;
    for (const auto& sink : listening) sink(kCaptureFrames, format);
    deliveringSpeech = nullptr;
    deliveredSamples = {};
  }
}

// --- Loudspeaker ---

void LiveSpeech::speak(std::uint64_t synthesizer, SpokenUtterance utterance, SpeechSink sink) {
  {
    std::lock_guard lock(mutex_);
    if (!isClosing_) {
      utterances_.push_back(QueuedUtterance{synthesizer, std::move(utterance), std::move(sink)});
      if (!speaker_.joinable()) speaker_ = std::thread([this] { speakUtterances(); });
      sink = nullptr;
    }
  }
  utterancesChanged_.notify_all();
  if (sink) sink(false);
}

bool LiveSpeech::stopSpeaking(std::uint64_t synthesizer) {
  std::vector<QueuedUtterance> dropped;
  bool isStopped = false;
  {
    std::lock_guard lock(mutex_);
    for (auto it = utterances_.begin(); it != utterances_.end();) {
      if (it->synthesizer == synthesizer) {
        dropped.push_back(std::move(*it));
        it = utterances_.erase(it);
      } else {
        ++it;
      }
    }
    if (speakingSynthesizer_ == synthesizer && stopsSpeaking_ && !stopsSpeaking_->load()) {
      stopsSpeaking_->store(true);
      isStopped = true;
    }
  }
  for (const auto& queued : dropped) {
    tell(queued.synthesizer, queued.utterance, UtteranceEvent::stopped);
    if (queued.sink) queued.sink(false);
  }
  return isStopped || !dropped.empty();
}

bool LiveSpeech::isSpeaking(std::uint64_t synthesizer) const {
  std::lock_guard lock(mutex_);
  return speakingSynthesizer_ == synthesizer ||
         std::any_of(utterances_.begin(), utterances_.end(),
                     [&](const QueuedUtterance& queued) { return queued.synthesizer == synthesizer; });
}

// The speaking thread: one utterance after another, oldest first, until the service closes.
void LiveSpeech::speakUtterances() {
  for (;;) {
    QueuedUtterance queued;
    std::shared_ptr<std::atomic<bool>> shouldStop;
    {
      std::unique_lock lock(mutex_);
      utterancesChanged_.wait(lock, [&] { return isClosing_ || !utterances_.empty(); });
      if (isClosing_) return;
      queued = std::move(utterances_.front());
      utterances_.pop_front();
      speakingSynthesizer_ = queued.synthesizer;
      stopsSpeaking_ = shouldStop = std::make_shared<std::atomic<bool>>(false);
    }
    speakOne(queued, shouldStop);
  }
}

void LiveSpeech::speakOne(const QueuedUtterance& queued,
                          const std::shared_ptr<std::atomic<bool>>& shouldStop) {
  const auto system = soundSystem();
  tell(queued.synthesizer, queued.utterance, UtteranceEvent::started);
  std::unique_ptr<PlaybackStream> playback;
  bool isHeard = system != nullptr;
  bool isFinished = true;
  try {
    const int sampleRate = EspeakSynthesis::sampleRate();
    const auto outcome =
        EspeakSynthesis::synthesize(queued.utterance, [&](std::span<const std::int16_t> samples) {
          if (shouldStop->load()) return false;
          if (isHeard && !playback) {
            try {
              playback = system->openPlayback(sampleRate);
            } catch (const foundation::TextError& error) {
              foundation::log("Speech is not heard: " + error.text());
              isHeard = false;
            }
          }
          if (playback && !playback->write(samples)) {
            foundation::log("Speech is not heard: " + system->name() + " stopped playing");
            playback.reset();
            isHeard = false;
          }
          return !shouldStop->load();
        });
    isFinished = outcome == EspeakSynthesis::Outcome::finished && !shouldStop->load();
    if (playback) {
      if (isFinished) {
        isFinished = playback->drain([&] { return shouldStop->load(); });
      }
      if (!isFinished) playback->discard();
    }
  } catch (const foundation::TextError& error) {
    // Nothing can be said; the utterance ends as spoken, so whoever waits for its end is not left waiting.
    foundation::log("Speech is not synthesised: " + error.text());
  }
  playback.reset();
  {
    std::lock_guard lock(mutex_);
    speakingSynthesizer_.reset();
    stopsSpeaking_.reset();
  }
  tell(queued.synthesizer, queued.utterance, isFinished ? UtteranceEvent::finished : UtteranceEvent::stopped);
  if (queued.sink) queued.sink(isFinished);
}

}  // namespace desktop::audio
