// Speech on the live desktop: answers spoken through eSpeak NG into the sound system, stopped mid-way or
// finished without one, and speech heard through the microphone recognised by PocketSphinx.
#include "platform/desktop/audio/live_speech.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <fstream>
#include <thread>

#include "platform/desktop/audio/wave_audio.h"
#include "platform/foundation/log.h"
#include "platform/foundation/run_loop.h"
#include "tests/platform/desktop/audio/speech_fixture.h"
#include "tests/support/temporary_folder.h"

namespace {

using desktop::RecognitionReport;
using desktop::audio::FileSoundSystem;
using desktop::audio::LiveSpeech;
using desktop::audio::SpeechDecoder;
using livespeechtest::answerUtterance;
using livespeechtest::SpeechEnd;
using testing::HasSubstr;
using testing::StartsWith;
using testsupport::live::waitUntil;

constexpr std::uint64_t kSynthesizer = 7;

// What a recognition session reported, oldest first.
class Reports {
 public:
  desktop::SpeechService::ReportSink sink() {
    return [this](const RecognitionReport& report) {
      std::lock_guard lock(mutex_);
      reports_.push_back(report);
    };
  }
  std::vector<RecognitionReport> all() const {
    std::lock_guard lock(mutex_);
    return reports_;
  }
  bool hasLast() const {
    const auto reports = all();
    return !reports.empty() && (reports.back().isFinal || reports.back().errorDescription);
  }

 private:
  mutable std::mutex mutex_;
  std::vector<RecognitionReport> reports_;
};

// A sound system that cannot play, though it seemed to be there.
class BrokenSoundSystem final : public desktop::audio::SoundSystem {
 public:
  std::string name() const override { return "Broken"; }
  std::unique_ptr<desktop::audio::PlaybackStream> openPlayback(int) override {
    throw foundation::TextError("the device went away");
  }
  std::string missingMicrophoneReason() const override { return "the device went away"; }
  std::unique_ptr<desktop::audio::CaptureStream> openCapture(int) override {
    throw foundation::TextError("the device went away");
  }
};

// A sound system that keeps what each playback stream received, and lets a test act on the first sound.
class StreamsSoundSystem final : public desktop::audio::SoundSystem {
 public:
  struct Stream {
    std::vector<std::int16_t> samples;
    bool wasDiscarded = false;
  };
  // Called on the speaking thread after the first samples were written.
  std::function<void()> onFirstWrite;

  std::string name() const override { return "Streams"; }
  std::unique_ptr<desktop::audio::PlaybackStream> openPlayback(int) override {
    std::lock_guard lock(mutex_);
    streams_.emplace_back();
    return std::make_unique<Playback>(*this, streams_.size() - 1);
  }
  std::string missingMicrophoneReason() const override { return "it only plays"; }
  std::unique_ptr<desktop::audio::CaptureStream> openCapture(int) override {
    throw foundation::TextError("it only plays");
  }
  std::vector<Stream> streams() const {
    std::lock_guard lock(mutex_);
    return streams_;
  }

 private:
  class Playback final : public desktop::audio::PlaybackStream {
   public:
    Playback(StreamsSoundSystem& system, std::size_t index) : system_(system), index_(index) {}
    bool write(std::span<const std::int16_t> samples) override {
      bool isFirst = false;
      {
        std::lock_guard lock(system_.mutex_);
        auto& kept = system_.streams_[index_].samples;
        kept.insert(kept.end(), samples.begin(), samples.end());
        isFirst = !system_.hasWritten_;
        system_.hasWritten_ = true;
      }
      if (isFirst && system_.onFirstWrite) system_.onFirstWrite();
      return true;
    }
    bool drain(const std::function<bool()>& shouldStop) override { return !shouldStop(); }
    void discard() override {
      std::lock_guard lock(system_.mutex_);
      system_.streams_[index_].wasDiscarded = true;
    }

   private:
    StreamsSoundSystem& system_;
    std::size_t index_;
  };

  mutable std::mutex mutex_;
  std::vector<Stream> streams_;
  bool hasWritten_ = false;
};

// Speaks `text` as the Global window's answer into a WAVE file, and gives what was played.
desktop::audio::WaveAudio speakIntoFile(const std::string& text, const std::filesystem::path& file) {
  auto sound = livespeechtest::playingInto(file);
  LiveSpeech speech(sound);
  SpeechEnd end;
  speech.speak(kSynthesizer, answerUtterance(text), end.sink());
  EXPECT_TRUE(end.waitForEnds(1));
  EXPECT_EQ(end.ends(), std::vector<bool>{true});
  return sound->played();
}

// Recognises what the microphone hears from `file` in one session, through a tap of a running engine, as
// the speech layer does; gives the session's reports.
std::vector<RecognitionReport> recognizeThroughMicrophone(LiveSpeech& speech) {
  Reports reports;
  const std::uint64_t engine = 11;
  const std::uint64_t session = speech.beginRecognition(reports.sink());
  const auto tap = speech.installTap(
      engine, 1024,
      [&](std::uint32_t frames, const desktop::CapturedAudioFormat&) { speech.hear(session, frames); });
  EXPECT_EQ(speech.startAudioEngine(engine), std::nullopt);
  EXPECT_TRUE(waitUntil([&] { return reports.hasLast(); }, std::chrono::seconds(30)));
  speech.stopAudioEngine(engine);
  speech.removeTap(tap);
  return reports.all();
}

std::vector<RecognitionReport> recognizeThroughMicrophone(const std::filesystem::path& file) {
  LiveSpeech speech(livespeechtest::hearing(file));
  return recognizeThroughMicrophone(speech);
}

TEST(LiveSpeech, SpokenAnswerRecordedToAFileIsRecognisedAsHelloThroughTheFileInput) {
  REQUIRE_SYNTHESIS();
  REQUIRE_RECOGNITION();
  testsupport::TemporaryFolder folder;
  const auto file = folder.path() / "answer.wav";

  const auto played = speakIntoFile("Hello world.", file);

  EXPECT_EQ(played.sampleRate, desktop::audio::EspeakSynthesis::sampleRate());
  EXPECT_GT(played.duration(), 0.3);
  const auto recorded = desktop::audio::readWaveFile(file);
  EXPECT_EQ(recorded.samples, played.samples);
  SpeechDecoder decoder;
  EXPECT_THAT(decoder.transcribeFile(file), HasSubstr("hello"));
  EXPECT_THAT(decoder.transcribeFile(file), HasSubstr("hello"));  // the first leaves nothing behind
}

TEST(LiveSpeech, MicrophoneHearingARecordingReportsTheTextSoFarThenTheFinalText) {
  REQUIRE_SYNTHESIS();
  REQUIRE_RECOGNITION();
  testsupport::TemporaryFolder folder;
  const auto file = folder.path() / "answer.wav";
  speakIntoFile("Hello world.", file);

  const auto reports = recognizeThroughMicrophone(file);

  ASSERT_GE(reports.size(), 2u);
  for (std::size_t i = 0; i + 1 < reports.size(); ++i) {
    SCOPED_TRACE(i);
    EXPECT_FALSE(reports[i].isFinal);
    EXPECT_TRUE(reports[i].transcription.has_value());
    EXPECT_FALSE(reports[i].errorDescription.has_value());
  }
  EXPECT_TRUE(reports.back().isFinal);
  EXPECT_THAT(reports.back().transcription.value_or(""), HasSubstr("hello"));
}

TEST(LiveSpeech, EachRecordingIsRecognisedAfreshWhateverTheOneBeforeHeard) {
  REQUIRE_SYNTHESIS();
  REQUIRE_RECOGNITION();
  testsupport::TemporaryFolder folder;
  const auto file = folder.path() / "answer.wav";
  speakIntoFile("Hello world.", file);
  LiveSpeech speech(livespeechtest::hearing(file));
  for (int recording = 0; recording < 3; ++recording) {
    SCOPED_TRACE(recording);
    const auto reports = recognizeThroughMicrophone(speech);
    ASSERT_FALSE(reports.empty());
    EXPECT_TRUE(reports.back().isFinal);
    EXPECT_THAT(reports.back().transcription.value_or(""), HasSubstr("hello"));
  }
}

TEST(LiveSpeech, MicrophoneHearingOnlyQuietEndsTheSessionWithNoSpeechRecognised) {
  REQUIRE_RECOGNITION();
  testsupport::TemporaryFolder folder;
  const auto file = folder.path() / "quiet.wav";
  desktop::audio::writeWaveFile(file, {16000, std::vector<std::int16_t>(8000, 0)});

  const auto reports = recognizeThroughMicrophone(file);

  ASSERT_FALSE(reports.empty());
  EXPECT_EQ(reports.back().errorDescription, "No speech was recognised");
  EXPECT_FALSE(reports.back().isFinal);
}

TEST(LiveSpeech, FramesHeardOffTheMicrophonesThreadCarryNothingToRecognise) {
  REQUIRE_RECOGNITION();
  LiveSpeech speech(nullptr);
  Reports reports;
  const auto session = speech.beginRecognition(reports.sink());
  speech.hear(session, 1024);
  speech.endRecognition(session);
  EXPECT_TRUE(reports.all().empty());
}

TEST(LiveSpeech, UtterancesAreSpokenOneAfterAnotherEachStartedThenFinished) {
  REQUIRE_SYNTHESIS();
  auto sound = FileSoundSystem::make({});
  LiveSpeech speech(sound);
  std::mutex mutex;
  std::vector<std::string> events;
  speech.addUtteranceObserver(
      [&](std::uint64_t, const desktop::SpokenUtterance& utterance, LiveSpeech::UtteranceEvent event) {
        std::lock_guard lock(mutex);
        events.push_back(utterance.text + (event == LiveSpeech::UtteranceEvent::started    ? " started"
                                           : event == LiveSpeech::UtteranceEvent::finished ? " finished"
                                                                                           : " stopped"));
      });
  SpeechEnd end;
  speech.speak(kSynthesizer, answerUtterance("One."), end.sink());
  speech.speak(kSynthesizer, answerUtterance("Two."), end.sink());

  ASSERT_TRUE(end.waitForEnds(2));
  EXPECT_EQ(end.ends(), (std::vector<bool>{true, true}));
  std::lock_guard lock(mutex);
  EXPECT_EQ(events,
            (std::vector<std::string>{"One. started", "One. finished", "Two. started", "Two. finished"}));
  EXPECT_FALSE(speech.isSpeaking(kSynthesizer));
}

TEST(LiveSpeech, StoppingMidUtteranceCutsItShortAndDropsTheSynthesizersQueuedOnes) {
  REQUIRE_SYNTHESIS();
  const std::string text = "This answer is long enough that it is still being spoken when it is stopped.";
  testsupport::TemporaryFolder folder;
  const auto whole = speakIntoFile(text, folder.path() / "whole.wav");
  const auto otherWhole = speakIntoFile("Said all the same.", folder.path() / "other.wav");

  auto sound = std::make_shared<StreamsSoundSystem>();
  LiveSpeech speech(sound);
  // Stopped once its first sound has been played.
  sound->onFirstWrite = [&] { EXPECT_TRUE(speech.stopSpeaking(kSynthesizer)); };
  const std::uint64_t other = kSynthesizer + 1;
  SpeechEnd stopped;
  SpeechEnd queued;
  SpeechEnd others;
  speech.speak(kSynthesizer, answerUtterance(text), stopped.sink());
  speech.speak(kSynthesizer, answerUtterance("Never said."), queued.sink());
  speech.speak(other, answerUtterance("Said all the same."), others.sink());

  ASSERT_TRUE(stopped.waitForEnds(1));
  ASSERT_TRUE(queued.waitForEnds(1));
  ASSERT_TRUE(others.waitForEnds(1));
  EXPECT_EQ(stopped.ends(), std::vector<bool>{false});
  EXPECT_EQ(queued.ends(), std::vector<bool>{false});
  EXPECT_EQ(others.ends(), std::vector<bool>{true});
  const auto streams = sound->streams();
  ASSERT_EQ(streams.size(), 2u);
  EXPECT_GT(streams[0].samples.size(), 0u);
  EXPECT_LT(streams[0].samples.size(), whole.samples.size());
  EXPECT_TRUE(streams[0].wasDiscarded);
  // eSpeak NG's sound varies by a few samples from one rendition to the next.
  EXPECT_NEAR(static_cast<double>(streams[1].samples.size()), static_cast<double>(otherWhole.samples.size()),
              otherWhole.samples.size() * 0.05);
  EXPECT_FALSE(streams[1].wasDiscarded);
  EXPECT_FALSE(speech.isSpeaking(kSynthesizer));
  EXPECT_FALSE(speech.stopSpeaking(kSynthesizer));  // nothing left to stop
}

TEST(LiveSpeech, UtterancesFinishWhenThereIsNoSoundSystemOrItCannotPlay) {
  REQUIRE_SYNTHESIS();
  struct Case {
    std::string name;
    std::shared_ptr<desktop::audio::SoundSystem> sound;
    std::optional<std::string> logged;
  };
  const Case cases[] = {
      {"no sound system", nullptr, std::nullopt},
      {"a sound system that cannot play", std::make_shared<BrokenSoundSystem>(),
       "Speech is not heard: the device went away"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    foundation::LogCapture log;
    LiveSpeech speech(c.sound);
    SpeechEnd end;
    speech.speak(kSynthesizer, answerUtterance("Hello world."), end.sink());
    ASSERT_TRUE(end.waitForEnds(1));
    EXPECT_EQ(end.ends(), std::vector<bool>{true});
    if (c.logged) {
      EXPECT_TRUE(log.contains(*c.logged));
    }
  }
}

TEST(LiveSpeech, WithoutAMicrophoneSpeechInputIsDeniedAndSaysWhy) {
  testsupport::TemporaryFolder folder;
  const auto notWave = folder.path() / "not.wav";
  std::ofstream(notWave) << "plain text";
  struct Case {
    std::string name;
    std::shared_ptr<desktop::audio::SoundSystem> sound;
    bool hasMicrophone;
    std::string startFailure;  // beginning
  };
  const Case cases[] = {
      {"no sound system", nullptr, false, "No microphone: there is no sound system"},
      {"a sound system without input", FileSoundSystem::make({}), false,
       "No microphone: no recording stands in for a microphone"},
      {"a device that went away", std::make_shared<BrokenSoundSystem>(), false,
       "No microphone: the device went away"},
      {"an input that cannot be read", livespeechtest::hearing(notWave), true,
       "No microphone: " + notWave.string() + " is not a WAVE file"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    foundation::ScopedMainRunLoop mainLoop;
    foundation::LogCapture log;
    LiveSpeech speech(c.sound);
    EXPECT_EQ(speech.hasMicrophone(), c.hasMicrophone);
    bool isAnswered = false;
    speech.requestAuthorization([&] { isAnswered = true; });
    EXPECT_FALSE(isAnswered);  // never inside the call
    mainLoop.loop().runUntilIdle();
    EXPECT_TRUE(isAnswered);
    EXPECT_EQ(speech.authorizationRequestCount(), 1u);
    if (!c.hasMicrophone) {
      ASSERT_FALSE(log.lines().empty());
      EXPECT_THAT(log.lines().front(),
                  StartsWith("Speech input is denied: there is no microphone, because "));
    }
    const auto failure = speech.startAudioEngine(1);
    ASSERT_TRUE(failure.has_value());
    EXPECT_THAT(*failure, StartsWith(c.startFailure));
  }
}

TEST(LiveSpeech, FasterUtterancesTakeLessTime) {
  REQUIRE_SYNTHESIS();
  const auto spokenAt = [](float rate) {
    auto sound = FileSoundSystem::make({});
    LiveSpeech speech(sound);
    SpeechEnd end;
    speech.speak(kSynthesizer, {"Seven hundred and twelve.", "en-US", rate, 1.0f, 1.0f}, end.sink());
    EXPECT_TRUE(end.waitForEnds(1));
    return sound->played().samples.size();
  };
  const auto normal = spokenAt(0.5f);
  EXPECT_LT(spokenAt(0.9f), normal * 0.8);
  EXPECT_GT(spokenAt(0.2f), normal * 1.2);
}

TEST(LiveSpeech, SpeakingFromTwoThreadsAtOnceSpeaksEveryUtterance) {
  REQUIRE_SYNTHESIS();
  LiveSpeech speech(FileSoundSystem::make({}));
  SpeechEnd end;
  const auto speakFive = [&](std::uint64_t synthesizer) {
    for (int i = 0; i < 5; ++i) {
      speech.speak(synthesizer, answerUtterance("Yes."), end.sink());
      speech.isSpeaking(synthesizer);
    }
  };
  std::thread first(speakFive, 1);
  std::thread second(speakFive, 2);
  first.join();
  second.join();
  ASSERT_TRUE(end.waitForEnds(10));
  EXPECT_EQ(end.ends(), std::vector<bool>(10, true));
}

TEST(LiveSpeech, PlaysThroughThisMachinesSoundSystemWhenThereIsOne) {
  REQUIRE_SYNTHESIS();
  auto sound = desktop::audio::systemSoundSystem();
  if (!sound) {
    GTEST_SKIP() << "No sound system on this machine (no PulseAudio or PipeWire server, no ALSA device)";
  }
  LiveSpeech speech(sound);
  SpeechEnd end;
  speech.speak(kSynthesizer, answerUtterance("Hello."), end.sink());
  ASSERT_TRUE(end.waitForEnds(1));
  EXPECT_EQ(end.ends(), std::vector<bool>{true});
}

}  // namespace
