#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <atomic>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "platform/foundation/run_loop.h"
#include "platform/foundation/text_error.h"
#include "platform/speech/audio_engine.h"
#include "platform/speech/recognition_request.h"
#include "platform/speech/speech_recognizer.h"
#include "platform/speech/speech_synthesizer.h"
#include "platform/speech/speech_utterance.h"
#include "speech_world.h"

namespace {

using speech::SpeechRecognizerAuthorizationStatus;
using speech_test::SpeechWorld;

struct Report {
  std::optional<speech::RecognitionResult> result;
  std::optional<speech::RecognitionError> error;
};

speech::RecognitionResultHandler collectInto(std::vector<Report>& reports) {
  return [&reports](const std::optional<speech::RecognitionResult>& result,
                    const std::optional<speech::RecognitionError>& error) {
    reports.push_back({result, error});
  };
}

TEST(SpeechRecognizer, AuthorisationFollowsThePermissionAndIsAnsweredLater) {
  SpeechWorld world;
  world.desktop.setPermissionGranted("speechRecognition", false);
  EXPECT_EQ(speech::SpeechRecognizer::authorizationStatus(),
            SpeechRecognizerAuthorizationStatus::notDetermined);

  std::vector<SpeechRecognizerAuthorizationStatus> answers;
  speech::SpeechRecognizer::requestAuthorization([&](auto status) { answers.push_back(status); });
  EXPECT_TRUE(answers.empty());
  world.runUntilIdle();
  EXPECT_EQ(answers, std::vector{SpeechRecognizerAuthorizationStatus::denied});

  world.desktop.setPermissionGranted("speechRecognition", true);
  speech::SpeechRecognizer::requestAuthorization([&](auto status) { answers.push_back(status); });
  world.runUntilIdle();
  EXPECT_EQ(answers.back(), SpeechRecognizerAuthorizationStatus::authorized);
}

TEST(SpeechRecognizer, NoneCanBeMadeWithoutARecognitionService) {
  EXPECT_EQ(speech::SpeechRecognizer::make("en-US"), nullptr);  // no desktop at all
  SpeechWorld world;
  EXPECT_EQ(speech::SpeechRecognizer::make(""), nullptr);
  world.speech().setCanMakeRecognizer(false);
  EXPECT_EQ(speech::SpeechRecognizer::make("en-US"), nullptr);
}

TEST(SpeechRecognizer, PartialResultsAreReportedOnlyWhenAskedFor) {
  for (bool partial : {false, true}) {
    SCOPED_TRACE(partial);
    SpeechWorld world;
    auto recognizer = speech::SpeechRecognizer::make("en-US");
    auto request = speech::AudioBufferRecognitionRequest::make();
    request->setShouldReportPartialResults(partial);
    std::vector<Report> reports;
    auto task = recognizer->recognitionTask(request, collectInto(reports));
    world.speech().recognize("one", false);
    world.speech().recognize("one two", true);
    EXPECT_TRUE(reports.empty());  // delivered on the main queue
    world.runUntilIdle();

    std::vector<std::string> texts;
    for (const auto& r : reports) texts.push_back(r.result->bestTranscription.formattedString);
    const std::vector<std::string> expected =
        partial ? std::vector<std::string>{"one", "one two"} : std::vector<std::string>{"one two"};
    EXPECT_EQ(texts, expected);
    EXPECT_TRUE(reports.back().result->isFinal);
    EXPECT_EQ(task->state(), speech::RecognitionTaskState::completed);
  }
}

TEST(SpeechRecognizer, ACancelledTaskReportsItsCancellationOnceAndNothingElse) {
  SpeechWorld world;
  auto recognizer = speech::SpeechRecognizer::make("en-US");
  auto request = speech::AudioBufferRecognitionRequest::make();
  request->setShouldReportPartialResults(true);
  std::vector<Report> reports;
  auto task = recognizer->recognitionTask(request, collectInto(reports));
  world.speech().recognize("on its way", false);  // posted before the cancel, dropped after it
  task->cancel();
  task->cancel();
  world.runUntilIdle();

  ASSERT_EQ(reports.size(), 1u);
  EXPECT_FALSE(reports[0].result);
  EXPECT_EQ(reports[0].error->code, speech::recognition_error_code::cancelled);
  EXPECT_TRUE(task->isCancelled());
  EXPECT_FALSE(world.speech().isRecognizing());
}

TEST(SpeechRecognizer, ReportsFromAServiceThreadArriveOnTheMainQueueAndStopAtTheCancellation) {
  SpeechWorld world;
  auto recognizer = speech::SpeechRecognizer::make("en-US");
  auto request = speech::AudioBufferRecognitionRequest::make();
  request->setShouldReportPartialResults(true);
  std::vector<Report> reports;
  bool allOnMain = true;
  auto task = recognizer->recognitionTask(request, [&](const auto& result, const auto& error) {
    allOnMain = allOnMain && foundation::isMainThread();
    reports.push_back({result, error});
  });
  std::atomic<bool> started{false};
  std::thread service([&] {
    for (int i = 0; i < 200; ++i) {
      world.speech().recognize(std::to_string(i), false);
      started = true;
    }
  });
  while (!started.load()) std::this_thread::yield();
  world.runUntilIdle();
  task->cancel();
  service.join();
  world.runUntilIdle();

  ASSERT_FALSE(reports.empty());
  EXPECT_TRUE(allOnMain);
  EXPECT_EQ(reports.back().error->code, speech::recognition_error_code::cancelled);
  for (std::size_t i = 0; i + 1 < reports.size(); ++i) {
    EXPECT_EQ(reports[i].result->bestTranscription.formattedString, std::to_string(i));
  }
}

TEST(SpeechRecognizer, AvailabilityChangesReachTheDelegateOnTheMainQueue) {
  struct Delegate : speech::SpeechRecognizerDelegate {
    void availabilityDidChange(speech::SpeechRecognizer&, bool isAvailable) override {
      seen.push_back(isAvailable);
    }
    std::vector<bool> seen;
  };
  SpeechWorld world;
  auto recognizer = speech::SpeechRecognizer::make("en-US");
  auto delegate = std::make_shared<Delegate>();
  recognizer->setDelegate(delegate);
  world.speech().setRecognizerAvailable(false);
  world.speech().setRecognizerAvailable(false);  // no change
  EXPECT_TRUE(delegate->seen.empty());
  world.runUntilIdle();
  EXPECT_FALSE(recognizer->isAvailable());
  world.speech().setRecognizerAvailable(true);
  world.runUntilIdle();
  EXPECT_EQ(delegate->seen, (std::vector<bool>{false, true}));
}

TEST(AudioEngine, AnInputBusCarriesOneTap) {
  SpeechWorld world;
  speech::AudioEngine engine;
  auto& input = engine.inputNode();
  EXPECT_EQ(input.outputFormat(0), (speech::AudioFormat{48000.0, 1}));
  input.installTap(0, 1024, input.outputFormat(0), nullptr);
  EXPECT_THROW(input.installTap(0, 1024, input.outputFormat(0), nullptr), foundation::TextError);
  EXPECT_THROW(input.installTap(1, 1024, input.outputFormat(0), nullptr), foundation::TextError);
  input.removeTap(0);
  input.removeTap(0);
  EXPECT_NO_THROW(input.installTap(0, 512, input.outputFormat(0), nullptr));
}

TEST(AudioEngine, TapsHearBuffersOnlyWhileTheEngineRuns) {
  SpeechWorld world;
  speech::AudioEngine engine;
  std::atomic<std::uint64_t> frames{0};
  engine.inputNode().installTap(0, 1024, speech::AudioFormat{16000.0, 1},
                                [&](const speech::AudioPCMBuffer& b) {
                                  EXPECT_EQ(b.format, (speech::AudioFormat{16000.0, 1}));
                                  frames += b.frameLength;
                                });
  EXPECT_EQ(world.speech().captureAudio(2), 0u);
  engine.prepare();
  engine.start();
  std::thread capture([&] { world.speech().captureAudio(3); });
  capture.join();
  EXPECT_EQ(frames.load(), 3u * 1024u);
  engine.stop();
  EXPECT_FALSE(engine.isRunning());
  EXPECT_EQ(world.speech().captureAudio(1), 0u);
}

TEST(AudioEngine, CannotStartWithoutAnInputDevice) {
  speech::AudioEngine engine;  // no desktop
  EXPECT_THROW(engine.start(), foundation::TextError);
  EXPECT_FALSE(engine.isRunning());
}

TEST(SpeechUtterance, SettingsStayInTheirRanges) {
  struct Case {
    float value;
    float rate;
    float pitch;
  };
  const Case cases[] = {
      {0.55f, 0.55f, 0.55f}, {-1.0f, 0.0f, 0.5f}, {3.0f, 1.0f, 2.0f}, {std::nanf(""), 0.5f, 1.0f}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.value);
    speech::SpeechUtterance utterance("text");
    utterance.setRate(c.value);
    utterance.setPitchMultiplier(c.value);
    EXPECT_EQ(utterance.rate(), c.rate);
    EXPECT_EQ(utterance.pitchMultiplier(), c.pitch);
  }
  EXPECT_EQ(speech::SpeechSynthesisVoice::withLanguage(""), nullptr);
  EXPECT_EQ(speech::SpeechSynthesisVoice::withLanguage("en-US")->language(), "en-US");
}

TEST(SpeechSynthesizer, StoppingCancelsEveryQueuedUtterance) {
  struct Delegate : speech::SpeechSynthesizerDelegate {
    void speechSynthesizerDidFinish(speech::SpeechSynthesizer&, const speech::SpeechUtterance& u) override {
      events.push_back("finished " + u.text());
    }
    void speechSynthesizerDidCancel(speech::SpeechSynthesizer&, const speech::SpeechUtterance& u) override {
      events.push_back("cancelled " + u.text());
    }
    std::vector<std::string> events;
  };
  SpeechWorld world;
  auto synthesizer = speech::SpeechSynthesizer::make();
  auto delegate = std::make_shared<Delegate>();
  synthesizer->setDelegate(delegate);
  for (const char* text : {"one", "two", "three"})
    synthesizer->speak(std::make_shared<speech::SpeechUtterance>(text));
  world.speech().finishUtterance();
  EXPECT_TRUE(synthesizer->stopSpeaking(speech::SpeechBoundary::immediate));
  EXPECT_FALSE(synthesizer->isSpeaking());
  EXPECT_FALSE(synthesizer->stopSpeaking(speech::SpeechBoundary::word));
  world.runUntilIdle();
  EXPECT_EQ(delegate->events, (std::vector<std::string>{"finished one", "cancelled two", "cancelled three"}));
}

}  // namespace
