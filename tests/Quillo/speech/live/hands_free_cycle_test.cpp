// The Global window's speech objects on the live X11 desktop: the answer spoken by the synthesiser, what a
// person says heard and recognised by the recogniser, and one hands-free cycle through a chat service.
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <gtk/gtk.h>

#include <filesystem>
#include <memory>
#include <string>

#include "Quillo/chat_client/chat_gpt_api.h"
#include "Quillo/speech/new_speech.h"
#include "Quillo/speech/synthesizer.h"
#include "platform/desktop/audio/speech_decoder.h"
#include "platform/desktop/audio/wave_audio.h"
#include "platform/desktop/desktop_choice.h"
#include "platform/desktop/permission_service.h"
#include "platform/desktop/x11/x11_desktop.h"
#include "platform/foundation/json_text.h"
#include "platform/foundation/log.h"
#include "platform/foundation/run_loop.h"
#include "platform/foundation/text_error.h"
#include "tests/support/live/file_sound.h"
#include "tests/support/live/live_session.h"
#include "tests/support/loopback_server.h"
#include "tests/support/temporary_folder.h"

namespace {

using testing::HasSubstr;
using testsupport::live::fileSoundSystem;

constexpr const char* kCompletionsPath = "/v1/chat/completions";

// A chat service's whole reply carrying `content`.
std::string completionBody(const std::string& content) {
  foundation::Json body = {{"id", "chatcmpl-1"},
                           {"object", "chat.completion"},
                           {"choices",
                            {{{"index", 0},
                              {"message", {{"role", "assistant"}, {"content", content}}},
                              {"finish_reason", "stop"}}}}};
  return body.dump();
}

// A tokenizer that counts one token per byte: enough for a short history.
std::shared_ptr<GPTTokenizer::GPTEncoder> byteCountingEncoder() {
  foundation::Json table = foundation::Json::object();
  unsigned next = 256;
  const auto utf8 = [](unsigned codePoint) {
    std::string text;
    if (codePoint < 0x80) {
      text.push_back(static_cast<char>(codePoint));
    } else {
      text.push_back(static_cast<char>(0xC0 | (codePoint >> 6)));
      text.push_back(static_cast<char>(0x80 | (codePoint & 0x3F)));
    }
    return text;
  };
  for (unsigned byte = 0; byte < 256; ++byte) {
    const bool isPrintable = (byte >= 33 && byte <= 126) || (byte >= 161 && byte <= 172) || byte >= 174;
    table[utf8(isPrintable ? byte : next++)] = byte;
  }
  return std::make_shared<GPTTokenizer::GPTEncoder>("#version: 0.2\n", table.dump());
}

class LiveSpeechObjects : public testing::Test {
 protected:
  void SetUp() override {
    QUILLO_REQUIRE_LIVE_SESSION();
    if (auto missing = desktop::audio::SpeechDecoder::missingModelReason(); !missing.empty()) {
      GTEST_SKIP() << "No speech recognition: " << missing;
    }
    live = desktop::x11::X11Desktop::open(desktop::processEnvironment());
    scope = std::make_unique<desktop::Desktop::Scope>(*live);
  }
  void TearDown() override {
    scope.reset();
    live.reset();
  }

  // Serves the display and the main queue until `condition` holds; false when it did not in time.
  static bool serveUntil(const std::function<bool()>& condition) {
    return testsupport::live::waitUntil(
        [&] {
          while (gtk_events_pending()) gtk_main_iteration_do(FALSE);
          foundation::RunLoop::main().runUntilIdle();
          return condition();
        },
        std::chrono::seconds(30));
  }

  // The synthesiser speaks `text` as the Global window does; true once it published that it finished.
  static bool speak(Quillo::Synthesizer& synthesizer, const std::string& text) {
    synthesizer.speak(text);
    EXPECT_FALSE(synthesizer.finished.get());
    return serveUntil([&] { return synthesizer.finished.get(); });
  }

  // One recording of the recogniser, from its start until it stopped by itself; the transcript.
  static std::string listen(Quillo::NewSpeech& newSpeech) {
    bool wasRecording = false;
    auto subscription = newSpeech.isRecording.publisher().sink(
        [&](bool isRecording) { wasRecording = wasRecording || isRecording; });
    newSpeech.startRecording();
    EXPECT_FALSE(newSpeech.isRecording.get());  // only once the authorisation answer has arrived
    foundation::RunLoop::main().runUntilIdle();
    EXPECT_TRUE(serveUntil([&] { return wasRecording && !newSpeech.isRecording.get(); }));
    EXPECT_FALSE(newSpeech.hasRecognitionTask());
    return newSpeech.transcript.get();
  }

  foundation::ScopedMainRunLoop mainLoop;
  std::unique_ptr<desktop::x11::X11Desktop> live;
  std::unique_ptr<desktop::Desktop::Scope> scope;
  testsupport::TemporaryFolder folder;
};

TEST_F(LiveSpeechObjects, TheDesktopsSpeechIsLiveAndGrantsTheMicrophoneOnlyWhenThereIsOne) {
  auto& speech = live->speech();
  EXPECT_TRUE(speech.canMakeRecognizer());
  EXPECT_TRUE(live->permissions().isPermissionGranted(desktop::permission::speechRecognition));
  speech.setSoundSystem(nullptr);
  EXPECT_FALSE(live->permissions().isPermissionGranted(desktop::permission::microphone));
  speech.setSoundSystem(fileSoundSystem(std::nullopt, folder.path() / "any.wav"));
  EXPECT_TRUE(live->permissions().isPermissionGranted(desktop::permission::microphone));
}

TEST_F(LiveSpeechObjects, AnAnswerSpokenIntoAFileIsHeardBackAsHello) {
  const auto answer = folder.path() / "answer.wav";
  live->speech().setSoundSystem(fileSoundSystem(answer, std::nullopt));
  auto synthesizer = Quillo::Synthesizer::make();
  foundation::LogCapture log;

  ASSERT_TRUE(speak(*synthesizer, "Hello world."));
  EXPECT_EQ(log.lines(), (std::vector<std::string>{"Done", "finished"}));

  live->speech().setSoundSystem(fileSoundSystem(std::nullopt, answer));
  auto newSpeech = Quillo::NewSpeech::make(false);
  EXPECT_THAT(listen(*newSpeech), HasSubstr("hello"));
  EXPECT_FALSE(newSpeech->inConversation.get());
}

TEST_F(LiveSpeechObjects, HandsFreeCycleHearsAsksSpeaksAndListensAgain) {
  // What the person says, recorded beforehand.
  const auto question = folder.path() / "question.wav";
  live->speech().setSoundSystem(fileSoundSystem(question, std::nullopt));
  auto synthesizer = Quillo::Synthesizer::make();
  ASSERT_TRUE(speak(*synthesizer, "Hello world."));

  testsupport::LoopbackServer service;
  service.reply("POST", kCompletionsPath, testsupport::ScriptedReply::json(completionBody("Hello world.")));
  Quillo::ChatGPTAPI client("sk-test", service.url(kCompletionsPath), byteCountingEncoder());

  // Listening: the person's question is recognised.
  live->speech().setSoundSystem(fileSoundSystem(std::nullopt, question));
  auto newSpeech = Quillo::NewSpeech::make(false);
  newSpeech->inConversation.set(true);
  const std::string heard = listen(*newSpeech);
  ASSERT_THAT(heard, HasSubstr("hello"));

  // Asking: the recognised text goes to the chat service.
  const std::string reply = client.fetchReply(heard, Quillo::Model::turbo, "Reply short", 0.5);
  ASSERT_EQ(reply, "Hello world.");
  const auto requests = service.requests();
  ASSERT_EQ(requests.size(), 1u);
  EXPECT_THAT(requests.front().body, HasSubstr(heard));

  // Speaking: the answer is spoken to its end.
  const auto answer = folder.path() / "answer.wav";
  live->speech().setSoundSystem(fileSoundSystem(answer, std::nullopt));
  ASSERT_TRUE(speak(*synthesizer, reply));

  EXPECT_GT(desktop::audio::readWaveFile(answer).duration(), 0.3);

  // Listening again once it has been said: the person speaks again. (eSpeak NG's renditions of the same
  // text differ slightly from one to the next, and PocketSphinx hears some of them otherwise; the
  // recording of the question is the one known to be heard as "hello".)
  live->speech().setSoundSystem(fileSoundSystem(std::nullopt, question));
  EXPECT_THAT(listen(*newSpeech), HasSubstr("hello"));
  EXPECT_TRUE(newSpeech->inConversation.get());
}

TEST_F(LiveSpeechObjects, WithoutAMicrophoneRecordingIsDeniedClearlyAndStaysIdle) {
  live->speech().setSoundSystem(nullptr);
  foundation::LogCapture log;
  auto newSpeech = Quillo::NewSpeech::make(false);
  newSpeech->startRecording();
  EXPECT_TRUE(serveUntil([&] { return mainLoop.loop().pendingCount() == 0; }));
  EXPECT_FALSE(newSpeech->isRecording.get());
  EXPECT_FALSE(newSpeech->hasRecognitionTask());
  EXPECT_FALSE(newSpeech->audioEngine().isRunning());
  EXPECT_TRUE(log.contains(
      "Speech input is denied: there is no microphone, because there is no sound system (no PulseAudio or "
      "PipeWire server answers, and ALSA has no device)"));
  EXPECT_TRUE(log.contains("Unable to start the audio engine: Microphone access is not granted"));
}

}  // namespace
