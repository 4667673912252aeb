#include "platform/desktop/audio/espeak_synthesis.h"

#include <espeak-ng/espeak_ng.h>
#include <espeak-ng/speak_lib.h>
#include <fmt/format.h>

#include <algorithm>
#include <cctype>
#include <cmath>
#include <mutex>
#include <optional>

#include "platform/foundation/text_error.h"

namespace desktop::audio {

namespace {

// Guards eSpeak NG's global state and the start-up below.
std::mutex& engineMutex() {
  static std::mutex mutex;
  return mutex;
}

std::string statusText(espeak_ng_STATUS status) {
  char text[512] = {};
  espeak_ng_GetStatusCodeMessage(status, text, sizeof text);
  return text;
}

// Starts eSpeak NG once, for synchronous synthesis through the callback below; the failure, if it did
// not start, is kept and thrown again on every later call.
struct Engine {
  int sampleRate = 0;
  std::optional<std::string> failure;
};

int handOver(short* samples, int count, espeak_EVENT* events);

const Engine& engine() {
  static const Engine started = [] {
    Engine result;
    espeak_ng_InitializePath(nullptr);
    espeak_ng_ERROR_CONTEXT context = nullptr;
    espeak_ng_STATUS status = espeak_ng_Initialize(&context);
    if (status != ENS_OK) {
      espeak_ng_ClearErrorContext(&context);
      result.failure = "eSpeak NG does not start: " + statusText(status);
      return result;
    }
    status = espeak_ng_InitializeOutput(ENOUTPUT_MODE_SYNCHRONOUS, 0, nullptr);
    if (status != ENS_OK) {
      result.failure = "eSpeak NG does not start: " + statusText(status);
      return result;
    }
    espeak_SetSynthCallback(&handOver);
    result.sampleRate = espeak_ng_GetSampleRate();
    return result;
  }();
  return started;
}

const Engine& startedEngine() {
  const Engine& started = engine();
  if (started.failure) throw foundation::TextError(*started.failure);
  return started;
}

// What the callback hands the sound to, through the synthesis's user data.
struct Synthesis {
  const EspeakSynthesis::SampleSink* sink = nullptr;
  bool isStopped = false;
};

// Called by eSpeak NG inside espeak_Synth; no exception may leave it. Returning 1 stops the synthesis.
int handOver(short* samples, int count, espeak_EVENT* events) {
  if (events == nullptr || events->user_data == nullptr) return 0;
  auto* synthesis = static_cast<Synthesis*>(events->user_data);
  if (synthesis->isStopped) return 1;
  if (samples == nullptr || count <= 0) return 0;
  try {
    if (!(*synthesis->sink)(std::span<const std::int16_t>(samples, static_cast<std::size_t>(count)))) {
      synthesis->isStopped = true;
      return 1;
    }
  } catch (...) {
    synthesis->isStopped = true;
    return 1;
  }
  return 0;
}

// Chooses the voice of a language, trying its primary subtag ("en" of "en-gb-x-rp") and then the default
// voice when eSpeak NG has none for the whole tag.
void chooseVoice(const std::string& language) {
  if (!language.empty()) {
    std::string candidate = language;
    while (!candidate.empty()) {
      espeak_VOICE wanted{};
      wanted.languages = candidate.c_str();
      if (espeak_SetVoiceByProperties(&wanted) == EE_OK) return;
      const auto dash = candidate.rfind('-');
      candidate = dash == std::string::npos ? "" : candidate.substr(0, dash);
    }
  }
  espeak_SetVoiceByName("en");
}

}  // namespace

int EspeakSynthesis::sampleRate() {
  std::lock_guard lock(engineMutex());
  return startedEngine().sampleRate;
}

EspeakSynthesis::Outcome EspeakSynthesis::synthesize(const SpokenUtterance& utterance,
                                                     const SampleSink& sink) {
  std::lock_guard lock(engineMutex());
  startedEngine();
  chooseVoice(voiceLanguage(utterance.voiceLanguage));
  espeak_SetParameter(espeakRATE, wordsPerMinute(utterance.rate), 0);
  espeak_SetParameter(espeakPITCH, pitch(utterance.pitchMultiplier), 0);
  espeak_SetParameter(espeakVOLUME, volume(utterance.volume), 0);
  Synthesis synthesis{&sink, false};
  const espeak_ERROR error = espeak_Synth(utterance.text.c_str(), utterance.text.size() + 1, 0, POS_CHARACTER,
                                          0, espeakCHARS_UTF8, nullptr, &synthesis);
  if (synthesis.isStopped) return Outcome::stopped;
  if (error != EE_OK)
    throw foundation::TextError(fmt::format("eSpeak NG failed to speak (error {})", static_cast<int>(error)));
  return Outcome::finished;
}

std::string EspeakSynthesis::voiceName(const std::string& languageTag) {
  std::lock_guard lock(engineMutex());
  startedEngine();
  chooseVoice(voiceLanguage(languageTag));
  const espeak_VOICE* voice = espeak_GetCurrentVoice();
  return voice != nullptr && voice->name != nullptr ? voice->name : "";
}

int EspeakSynthesis::wordsPerMinute(float rate) {
  // eSpeak NG speaks 80 to 450 words a minute, 175 by default: the normal rate 0.5 is its default, and
  // either half of the range stretches to its end.
  const float clamped = std::isnan(rate) ? 0.5f : std::clamp(rate, 0.0f, 1.0f);
  const float words = clamped <= 0.5f ? 80.0f + (175.0f - 80.0f) * (clamped / 0.5f)
                                      : 175.0f + (450.0f - 175.0f) * ((clamped - 0.5f) / 0.5f);
  return static_cast<int>(std::lround(words));
}

int EspeakSynthesis::pitch(float pitchMultiplier) {
  const float multiplier = std::isnan(pitchMultiplier) ? 1.0f : std::clamp(pitchMultiplier, 0.5f, 2.0f);
  return static_cast<int>(std::lround(std::clamp(50.0f * multiplier, 0.0f, 100.0f)));
}

int EspeakSynthesis::volume(float volume) {
  const float clamped = std::isnan(volume) ? 1.0f : std::clamp(volume, 0.0f, 1.0f);
  return static_cast<int>(std::lround(100.0f * clamped));
}

std::string EspeakSynthesis::voiceLanguage(const std::string& languageTag) {
  std::string language;
  for (const char c : languageTag)
    language.push_back(c == '_' ? '-' : static_cast<char>(std::tolower(static_cast<unsigned char>(c))));
  return language;
}

}  // namespace desktop::audio
