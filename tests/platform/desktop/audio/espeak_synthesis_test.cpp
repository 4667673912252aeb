// eSpeak NG's voices and settings for the platform's utterances.
#include "platform/desktop/audio/espeak_synthesis.h"

#include <gtest/gtest.h>

#include <cmath>

#include "tests/platform/desktop/audio/speech_fixture.h"

namespace {

using desktop::audio::EspeakSynthesis;

TEST(EspeakSynthesis, SpeaksInTheVoiceOfTheUtterancesLanguage) {
  REQUIRE_SYNTHESIS();
  struct Case {
    std::string languageTag;
    std::string voice;
  };
  const Case cases[] = {
      {"en-US", "English (America)"},
      {"de-DE", "German"},  // no voice of its own for Germany: German
      {"fr", "French (France)"},
      {"EN_us", "English (America)"},
      {"", "English (Great Britain)"},       // the default voice
      {"xx-YY", "English (Great Britain)"},  // no such language
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.languageTag);
    EXPECT_EQ(EspeakSynthesis::voiceName(c.languageTag), c.voice);
  }
}

TEST(EspeakSynthesis, TurnsRatePitchAndVolumeIntoItsOwnSettings) {
  struct Case {
    float value;
    int wordsPerMinute;
    int pitch;
    int volume;
  };
  const Case cases[] = {
      {0.0f, 80, 25, 0},    // rate and volume at their least; the pitch multiplier clamped to 0.5
      {0.5f, 175, 25, 50},  // the normal rate
      {0.6f, 230, 30, 60},   {1.0f, 450, 50, 100},  // the fastest rate; the normal pitch
      {2.0f, 450, 100, 100},                        // out of range: clamped
      {-1.0f, 80, 25, 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.value);
    EXPECT_EQ(EspeakSynthesis::wordsPerMinute(c.value), c.wordsPerMinute);
    EXPECT_EQ(EspeakSynthesis::pitch(c.value), c.pitch);
    EXPECT_EQ(EspeakSynthesis::volume(c.value), c.volume);
  }
  EXPECT_EQ(EspeakSynthesis::wordsPerMinute(std::nanf("")), 175);
  EXPECT_EQ(EspeakSynthesis::pitch(std::nanf("")), 50);
  EXPECT_EQ(EspeakSynthesis::volume(std::nanf("")), 100);
}

}  // namespace
