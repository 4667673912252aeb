#include "Quillo/speech/new_speech.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <thread>
#include <vector>

#include "speech_world.h"

namespace {

using speech_test::Recorded;
using speech_test::SpeechWorld;
using ::testing::ElementsAre;

class NewSpeechTest : public ::testing::Test {
 protected:
  // A recording that has got its authorisation answer and runs.
  std::shared_ptr<Quillo::NewSpeech> recordingSpeech() {
    auto speech = Quillo::NewSpeech::make(false);
    speech->startRecording();
    world.runUntilIdle();
    return speech;
  }

  void expectIdle(const Quillo::NewSpeech& speech) {
    EXPECT_FALSE(speech.isRecording.get());
    EXPECT_FALSE(speech.hasRecognitionTask());
    EXPECT_EQ(speech.recognitionRequest(), nullptr);
    EXPECT_EQ(world.speech().tapCount(), 0u);
    EXPECT_FALSE(world.speech().isAudioEngineRunning());
    EXPECT_FALSE(world.speech().isRecognizing());
  }

  SpeechWorld world;
};

TEST_F(NewSpeechTest, StartsOutOfConversationIdleAndSilent) {
  auto speech = Quillo::NewSpeech::make(false);
  world.runUntilIdle();
  EXPECT_FALSE(speech->inConversation.get());
  EXPECT_EQ(speech->transcript.get(), "");
  EXPECT_NE(speech->speechRecognizer(), nullptr);
  EXPECT_EQ(speech->speechRecognizer()->localeIdentifier(), "en-US");
  EXPECT_EQ(world.speech().authorizationRequestCount(), 0u);
  expectIdle(*speech);
}

TEST_F(NewSpeechTest, MadeInConversationAsksForAuthorisationAndRecords) {
  auto speech = Quillo::NewSpeech::make(true);
  EXPECT_TRUE(speech->inConversation.get());
  world.runUntilIdle();
  EXPECT_EQ(world.speech().authorizationRequestCount(), 2u);  // its own question and the recording's
  EXPECT_TRUE(speech->isRecording.get());
  EXPECT_TRUE(world.speech().isRecognizing());
}

TEST_F(NewSpeechTest, IsRecordingTurnsTrueOnlyAfterTheAnswerAndTheMainQueue) {
  world.speech().setHoldsAuthorizationAnswers(true);
  auto speech = Quillo::NewSpeech::make(false);
  Recorded<bool> recording(speech->isRecording);

  speech->startRecording();
  EXPECT_FALSE(speech->isRecording.get());
  EXPECT_EQ(world.speech().tapCount(), 1u);
  EXPECT_TRUE(world.speech().isAudioEngineRunning());
  world.runUntilIdle();
  EXPECT_FALSE(speech->isRecording.get());  // no answer yet
  EXPECT_FALSE(speech->hasRecognitionTask());

  // The answer arrives on a thread of the service's own.
  std::thread answering([&] { world.speech().answerAuthorizationRequests(); });
  answering.join();
  EXPECT_TRUE(speech->hasRecognitionTask());
  EXPECT_FALSE(speech->isRecording.get());  // scheduled, the main queue has not run
  world.runUntilIdle();
  EXPECT_TRUE(speech->isRecording.get());
  EXPECT_TRUE(world.speech().isRecognizing());
  EXPECT_TRUE(speech->recognitionRequest()->shouldReportPartialResults());
  EXPECT_THAT(recording.values, ElementsAre(false, true));
}

TEST_F(NewSpeechTest, PartialAndFinalResultsUpdateTheTranscriptThenTheRecordingEnds) {
  auto speech = recordingSpeech();
  Recorded<std::string> transcript(speech->transcript);

  for (const std::string text : {"what", "what is", "what is the"}) {
    ASSERT_TRUE(world.speech().recognize(text, false));
    world.runUntilIdle();
    EXPECT_EQ(speech->transcript.get(), text);
    EXPECT_TRUE(speech->isRecording.get());
  }
  ASSERT_TRUE(world.speech().recognize("what is the time", true));
  world.runUntilIdle();

  EXPECT_EQ(speech->transcript.get(), "what is the time");
  expectIdle(*speech);
  EXPECT_THAT(transcript.values, ElementsAre("", "what", "what is", "what is the", "what is the time"));
  EXPECT_TRUE(world.log.lines().empty());
}

TEST_F(NewSpeechTest, BuffersAreDroppedUntilTheRequestExistsThenReachIt) {
  world.speech().setHoldsAuthorizationAnswers(true);
  auto speech = Quillo::NewSpeech::make(false);
  speech->startRecording();
  EXPECT_EQ(world.speech().captureAudio(3), 3u);  // heard by the tap, dropped: no request yet

  world.speech().answerAuthorizationRequests();
  world.runUntilIdle();
  world.speech().captureAudio(2);
  EXPECT_EQ(world.speech().framesHeard(), 2u * 1024u);
  EXPECT_EQ(speech->recognitionRequest()->appendedFrameCount(), 2u * 1024u);
  EXPECT_EQ(speech->recognitionRequest()->appendedBufferCount(), 2u);
}

TEST_F(NewSpeechTest, StopEndsTheRecordingAndKeepsTheTranscript) {
  auto speech = recordingSpeech();
  world.speech().recognize("hello", false);
  world.runUntilIdle();

  speech->stopRecording();
  EXPECT_TRUE(speech->isRecording.get());  // scheduled on the main queue
  world.runUntilIdle();
  expectIdle(*speech);
  EXPECT_EQ(speech->transcript.get(), "hello");
  EXPECT_EQ(world.speech().captureAudio(1), 0u);

  // Stopping again, or a report that comes too late, does no harm.
  speech->stopRecording();
  EXPECT_FALSE(world.speech().recognize("late", true));
  world.runUntilIdle();
  expectIdle(*speech);
  EXPECT_EQ(speech->transcript.get(), "hello");
  EXPECT_TRUE(world.log.lines().empty());  // the cancelled task's report is not a failure of ours
}

TEST_F(NewSpeechTest, StoppingWhenNothingRecordsDoesNoHarm) {
  auto speech = Quillo::NewSpeech::make(false);
  speech->stopRecording();
  speech->stopRecording();
  world.runUntilIdle();
  expectIdle(*speech);
}

TEST_F(NewSpeechTest, FailuresOfRecognitionEndTheRecording) {
  struct Case {
    std::string name;
    std::function<void(desktop::HeadlessDesktop&)> beforeStart;
    std::function<void(desktop::HeadlessSpeech&)> whileRecording;
    std::string logLine;
  };
  const std::vector<Case> cases = {
      {"service error", nullptr,
       [](desktop::HeadlessSpeech& speech) { speech.failRecognition("No speech detected", 1110); },
       "Speech recognition ended: No speech detected"},
      {"permission denied",
       [](desktop::HeadlessDesktop& d) { d.setPermissionGranted("speechRecognition", false); }, nullptr,
       "Speech recognition ended: Speech recognition is not authorized"},
      {"recogniser unavailable",
       [](desktop::HeadlessDesktop& d) { d.speech().setRecognizerAvailable(false); }, nullptr,
       "Speech recognition ended: Speech recognition is not available"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    SpeechWorld local;
    if (c.beforeStart) c.beforeStart(local.desktop);
    auto speech = Quillo::NewSpeech::make(false);
    speech->inConversation.set(true);
    speech->transcript.set("earlier words");
    Recorded<bool> recording(speech->isRecording);
    speech->startRecording();
    local.runUntilIdle();
    if (c.whileRecording) c.whileRecording(local.speech());
    local.runUntilIdle();

    EXPECT_FALSE(speech->isRecording.get());
    EXPECT_FALSE(speech->hasRecognitionTask());
    EXPECT_EQ(local.speech().tapCount(), 0u);
    EXPECT_FALSE(local.speech().isAudioEngineRunning());
    EXPECT_THAT(recording.values, ElementsAre(false, true, false));
    EXPECT_EQ(speech->transcript.get(), "earlier words");
    EXPECT_TRUE(speech->inConversation.get());
    EXPECT_EQ(local.log.lines(), std::vector<std::string>{c.logLine});
  }
}

TEST_F(NewSpeechTest, WithoutARecogniserNothingRecordsAndTheFailureIsLogged) {
  world.speech().setCanMakeRecognizer(false);
  auto speech = Quillo::NewSpeech::make(false);
  EXPECT_EQ(speech->speechRecognizer(), nullptr);
  speech->startRecording();
  world.runUntilIdle();
  expectIdle(*speech);
  EXPECT_EQ(world.speech().authorizationRequestCount(), 0u);
  EXPECT_EQ(world.log.lines(), std::vector<std::string>{"Unable to create a SpeechRecognizer object"});
}

TEST_F(NewSpeechTest, WithoutARecognitionRequestTheRecordingEndsAndTheFailureIsLogged) {
  world.speech().setCanMakeRecognitionRequest(false);
  auto speech = Quillo::NewSpeech::make(false);
  Recorded<bool> recording(speech->isRecording);
  speech->startRecording();
  world.runUntilIdle();
  expectIdle(*speech);
  EXPECT_EQ(world.speech().recognitionCount(), 0u);
  EXPECT_THAT(recording.values, ElementsAre(false, false));
  EXPECT_EQ(world.log.lines(),
            std::vector<std::string>{"Unable to create a SFSpeechAudioBufferRecognitionRequest object"});
}

TEST_F(NewSpeechTest, AnEngineThatCannotStartLeavesTheObjectIdle) {
  struct Case {
    std::string name;
    std::function<void(desktop::HeadlessDesktop&)> setUp;
    std::string logLine;
  };
  const std::vector<Case> cases = {
      {"no input device",
       [](desktop::HeadlessDesktop& d) { d.speech().setAudioEngineStartFailure("No input device"); },
       "Unable to start the audio engine: No input device"},
      {"microphone refused", [](desktop::HeadlessDesktop& d) { d.setPermissionGranted("microphone", false); },
       "Unable to start the audio engine: Microphone access is not granted"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    SpeechWorld local;
    c.setUp(local.desktop);
    auto speech = Quillo::NewSpeech::make(false);
    speech->startRecording();
    local.runUntilIdle();  // the authorisation answer comes, and must not start a recognition

    EXPECT_FALSE(speech->isRecording.get());
    EXPECT_FALSE(speech->hasRecognitionTask());
    EXPECT_EQ(local.speech().tapCount(), 0u);
    EXPECT_FALSE(local.speech().isAudioEngineRunning());
    EXPECT_EQ(local.speech().recognitionCount(), 0u);
    EXPECT_EQ(local.log.lines(), std::vector<std::string>{c.logLine});
  }
}

TEST_F(NewSpeechTest, StartingWhileRecordingRestartsCleanly) {
  auto speech = recordingSpeech();
  world.speech().recognize("first", false);
  world.runUntilIdle();

  speech->startRecording();  // the owner listens again before the running recording ended
  world.runUntilIdle();
  EXPECT_EQ(world.speech().tapCount(), 1u);
  EXPECT_EQ(world.speech().recognitionCount(), 2u);
  EXPECT_TRUE(world.speech().isRecognizing());
  EXPECT_TRUE(speech->isRecording.get());  // the first task's cancellation did not end the second
  EXPECT_EQ(speech->transcript.get(), "first");

  world.speech().recognize("second", false);
  world.runUntilIdle();
  EXPECT_EQ(speech->transcript.get(), "second");
  EXPECT_TRUE(world.log.lines().empty());
}

TEST_F(NewSpeechTest, AStopBeforeTheAnswerKeepsTheRecordingStopped) {
  world.speech().setHoldsAuthorizationAnswers(true);
  auto speech = Quillo::NewSpeech::make(false);
  speech->startRecording();
  speech->stopRecording();
  world.speech().answerAuthorizationRequests();
  world.runUntilIdle();
  expectIdle(*speech);
  EXPECT_EQ(world.speech().recognitionCount(), 0u);
}

TEST_F(NewSpeechTest, InConversationStaysAsTheOwnerLeftIt) {
  auto speech = Quillo::NewSpeech::make(false);
  for (bool owner : {true, false}) {
    speech->inConversation.set(owner);
    speech->startRecording();
    world.runUntilIdle();
    world.speech().recognize("words", true);
    world.runUntilIdle();
    speech->startRecording();
    world.runUntilIdle();
    world.speech().failRecognition("Network lost");
    world.runUntilIdle();
    speech->stopRecording();
    world.runUntilIdle();
    EXPECT_EQ(speech->inConversation.get(), owner);
  }
}

TEST_F(NewSpeechTest, GoingAwayWhileRecordingReleasesTheMicrophone) {
  auto speech = recordingSpeech();
  speech.reset();
  EXPECT_EQ(world.speech().tapCount(), 0u);
  EXPECT_FALSE(world.speech().isAudioEngineRunning());
  EXPECT_FALSE(world.speech().isRecognizing());
  world.runUntilIdle();  // the cancelled task's report finds nobody
  EXPECT_TRUE(world.log.lines().empty());
}

TEST_F(NewSpeechTest, CaptureAndAnswerThreadsMeetTheMainThreadSafely) {
  world.speech().setHoldsAuthorizationAnswers(true);
  auto speech = Quillo::NewSpeech::make(false);
  std::atomic<bool> done{false};
  std::thread capture([&] {
    while (!done.load()) world.speech().captureAudio(1);
  });
  std::thread answering([&] {
    while (!done.load()) world.speech().answerAuthorizationRequests();
  });
  for (int round = 0; round < 50; ++round) {
    speech->startRecording();
    world.runUntilIdle();
    if (round % 2 == 0) speech->stopRecording();
  }
  done = true;
  capture.join();
  answering.join();
  world.speech().answerAuthorizationRequests();
  world.runUntilIdle();
  // The last round left a recording running, with exactly one tap.
  EXPECT_EQ(world.speech().tapCount(), 1u);
  EXPECT_TRUE(world.speech().isAudioEngineRunning());
  EXPECT_TRUE(speech->isRecording.get());
  EXPECT_TRUE(speech->hasRecognitionTask());
  speech->stopRecording();
  world.runUntilIdle();
  expectIdle(*speech);
}

}  // namespace
