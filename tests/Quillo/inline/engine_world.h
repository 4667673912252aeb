// A deterministic world for the Inline engine's tests: a headless desktop with accessibility granted, a
// fresh main queue, a manual clock, captured diagnostics, a scripted chat service on 127.0.0.1 and an
// engine whose clients talk to it.
#pragma once

#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "Quillo/inline/native_gpt_engine.h"
#include "platform/desktop/headless_desktop.h"
#include "platform/foundation/clock.h"
#include "platform/foundation/log.h"
#include "platform/foundation/run_loop.h"
#include "tests/support/chat_stream.h"
#include "tests/support/loopback_server.h"

namespace inline_engine_test {

inline constexpr const char* kCompletionsPath = "/v1/chat/completions";
inline constexpr const char* kKey = "sk-inline-0123456789abcdef";

// Modifier bits and key codes with the platform's numbers.
inline constexpr std::uint64_t kShift = 0x20000;
inline constexpr std::uint64_t kControl = 0x40000;
inline constexpr std::uint64_t kCapsLock = 0x10000;
inline constexpr std::uint16_t kReturn = 36;

using testsupport::chunkLine;
using testsupport::errorBody;
using testsupport::sentMessages;
using testsupport::streamedBody;

// Empties the temporary standard settings suite every test of this program runs against.
void emptyStandardSuite();

struct EngineWorld {
  EngineWorld();
  ~EngineWorld();

  // An application with a focused element; it is not activated.
  int launchWithFocused(const std::string& bundleIdentifier, desktop::AccessibleElement element,
                        int* elementId = nullptr);
  // Activates the application and lets the engine see it.
  void activate(int processIdentifier);
  // The text of an element of an application.
  std::string textOf(int processIdentifier, int elementId);

  // The user presses a key in another application (the event goes through the desktop's input stream).
  void pressKey(std::uint16_t keyCode, std::uint64_t flags);
  // The user clicks in another application.
  void click(const std::string& type = "mouseDown");

  // Every streamed reply of the service is these pieces.
  void replyWith(const std::vector<std::string>& pieces);
  // The reply's pieces go out one at a time as the returned gate releases them.
  std::shared_ptr<testsupport::PieceGate> replyGatedWith(const std::vector<std::string>& pieces);

  // Runs the main queue until the engine stops writing; false when it never did.
  bool runUntilWritingStops();
  // Waits for the running answer task (if any) and every reply still being read, then runs the main queue.
  void settle();

  // The API keys the engine made clients for, in order.
  std::vector<std::string> clientKeys() const;
  std::size_t linesEqualTo(const std::string& line) const;

  desktop::HeadlessDesktop desktop;
  desktop::HeadlessDesktop::Scope desktopScope{desktop};
  foundation::ScopedMainRunLoop mainLoop;
  std::shared_ptr<foundation::ManualClock> clock = std::make_shared<foundation::ManualClock>();
  foundation::ScopedClock clockScope{clock};
  foundation::LogCapture log;
  testsupport::LoopbackServer server;
  mutable std::mutex keysMutex;
  std::vector<std::string> keys;
  std::vector<std::weak_ptr<Quillo::ChatGPTAPI>> clients;
  std::shared_ptr<Quillo::NativeGPTEngine> engine;
};

}  // namespace inline_engine_test
