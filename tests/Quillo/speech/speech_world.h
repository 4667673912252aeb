// A deterministic world for the speech tests: a headless desktop with speech recognition and the
// microphone granted, a fresh main queue, a manual clock and captured diagnostics.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "platform/concurrency/cancellable.h"
#include "platform/desktop/headless_desktop.h"
#include "platform/foundation/clock.h"
#include "platform/foundation/log.h"
#include "platform/foundation/run_loop.h"
#include "platform/ui/observable_object.h"

namespace speech_test {

struct SpeechWorld {
  SpeechWorld() {
    desktop.setPermissionGranted("speechRecognition", true);
    desktop.setPermissionGranted("microphone", true);
  }

  desktop::HeadlessSpeech& speech() { return desktop.speech(); }
  void runUntilIdle() { mainLoop.loop().runUntilIdle(); }

  desktop::HeadlessDesktop desktop;
  desktop::HeadlessDesktop::Scope desktopScope{desktop};
  foundation::ScopedMainRunLoop mainLoop;
  std::shared_ptr<foundation::ManualClock> clock = std::make_shared<foundation::ManualClock>();
  foundation::ScopedClock clockScope{clock};
  foundation::LogCapture log;
};

// Every value a published field takes, its current one first.
template <class T>
struct Recorded {
  explicit Recorded(const ui::Published<T>& field)
      : subscription(field.publisher().sink([this](T value) { values.push_back(std::move(value)); })) {}
  std::vector<T> values;
  concurrency::AnyCancellable subscription;
};

}  // namespace speech_test
