#include "Quillo/speech/synthesizer.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "speech_world.h"

namespace {

using speech_test::Recorded;
using speech_test::SpeechWorld;
using ::testing::ElementsAre;

TEST(Synthesizer, SpeaksInUSEnglishAtTheChosenRateAndPitch) {
  SpeechWorld world;
  auto synthesizer = Quillo::Synthesizer::make();
  synthesizer->speak("The answer is 4.");

  const std::vector<desktop::SpokenUtterance> expected = {
      {"The answer is 4.", "en-US", 0.55f, 1.0f, 1.0f},
  };
  EXPECT_EQ(world.speech().utterances(), expected);
  EXPECT_TRUE(synthesizer->speechSynthesizer()->isSpeaking());
}

TEST(Synthesizer, PublishesFinishedOnlyOnceTheUtteranceHasBeenSpoken) {
  SpeechWorld world;
  auto synthesizer = Quillo::Synthesizer::make();
  Recorded<bool> finished(synthesizer->finished);

  synthesizer->speak("Hello");
  world.runUntilIdle();
  EXPECT_FALSE(synthesizer->finished.get());
  EXPECT_EQ(world.log.lines(), std::vector<std::string>{"Done"});  // written at once, not at the end

  ASSERT_TRUE(world.speech().finishUtterance());
  EXPECT_FALSE(synthesizer->finished.get());  // the callback comes through the main queue
  world.runUntilIdle();
  EXPECT_TRUE(synthesizer->finished.get());
  EXPECT_THAT(world.log.lines(), ElementsAre("Done", "finished"));

  synthesizer->speak("Again");
  EXPECT_FALSE(synthesizer->finished.get());
  world.speech().finishUtterance();
  world.runUntilIdle();
  EXPECT_THAT(finished.values, ElementsAre(false, false, true, false, true));
}

TEST(Synthesizer, FinishedWaitsForTheLastQueuedUtterance) {
  SpeechWorld world;
  auto synthesizer = Quillo::Synthesizer::make();
  synthesizer->speak("First answer");
  synthesizer->speak("Second answer");
  EXPECT_EQ(world.speech().pendingUtterances().size(), 2u);

  world.speech().finishUtterance();
  world.runUntilIdle();
  EXPECT_FALSE(synthesizer->finished.get());  // the second one is still being spoken
  world.speech().finishUtterance();
  world.runUntilIdle();
  EXPECT_TRUE(synthesizer->finished.get());
  EXPECT_THAT(world.log.lines(), ElementsAre("Done", "Done", "finished", "finished"));
}

TEST(Synthesizer, GoingAwayStopsSpeaking) {
  SpeechWorld world;
  auto synthesizer = Quillo::Synthesizer::make();
  synthesizer->speak("A long answer");
  synthesizer->speak("and more");
  synthesizer.reset();
  EXPECT_TRUE(world.speech().pendingUtterances().empty());
  EXPECT_FALSE(world.speech().finishUtterance());
  world.runUntilIdle();  // the stopped utterances' callbacks find nobody
  EXPECT_THAT(world.log.lines(), ElementsAre("Done", "Done"));
}

TEST(Synthesizer, WithoutALoudspeakerAnUtteranceEndsAtOnce) {
  foundation::ScopedMainRunLoop mainLoop;
  foundation::LogCapture log;
  ASSERT_EQ(desktop::HeadlessDesktop::current(), nullptr);
  auto synthesizer = Quillo::Synthesizer::make();
  synthesizer->speak("Nobody hears this");
  EXPECT_FALSE(synthesizer->finished.get());
  mainLoop.loop().runUntilIdle();
  EXPECT_TRUE(synthesizer->finished.get());
  EXPECT_THAT(log.lines(), ElementsAre("Done", "finished"));
}

}  // namespace
