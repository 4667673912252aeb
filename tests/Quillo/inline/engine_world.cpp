#include "tests/Quillo/inline/engine_world.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <system_error>

#include "platform/appkit/workspace.h"
#include "platform/foundation/json_text.h"
#include "platform/foundation/user_defaults.h"
#include "settings_store/key.h"
#include "tests/support/temporary_settings_suite.h"

namespace inline_engine_test {
namespace {

const auto* const environment =
    ::testing::AddGlobalTestEnvironment(new testsupport::TemporaryStandardSuite("quillo-inline-engine-"));

}  // namespace

void emptyStandardSuite() { Defaults::removeAllStoredValues(*foundation::UserDefaults::standard()); }

EngineWorld::EngineWorld() {
  emptyStandardSuite();
  desktop.setPermissionGranted("accessibility", true);
  engine = Quillo::NativeGPTEngine::make([this](const std::string& apiKey) {
    auto client = std::make_shared<Quillo::ChatGPTAPI>(apiKey, server.url(kCompletionsPath), nullptr);
    std::lock_guard lock(keysMutex);
    keys.push_back(apiKey);
    clients.push_back(client);
    return client;
  });
}

EngineWorld::~EngineWorld() {
  engine->stop();
  settle();
  engine.reset();
  mainLoop.loop().runUntilIdle();
}

int EngineWorld::launchWithFocused(const std::string& bundleIdentifier, desktop::AccessibleElement element,
                                   int* elementId) {
  const int pid = desktop.launchApplication(bundleIdentifier, "App").processIdentifier;
  const int id = desktop.accessibility().addFocusedElement(pid, std::move(element));
  if (elementId != nullptr) *elementId = id;
  return pid;
}

void EngineWorld::activate(int processIdentifier) {
  appkit::Workspace::shared().runningApplication(processIdentifier)->activate();
  mainLoop.loop().runUntilIdle();
}

std::string EngineWorld::textOf(int processIdentifier, int elementId) {
  return desktop.accessibility().element(processIdentifier, elementId)->value.value_or("");
}

void EngineWorld::pressKey(std::uint16_t keyCode, std::uint64_t flags) {
  desktop.injectEvent(desktop::InputEvent::key("keyDown", keyCode, flags));
  desktop.injectEvent(desktop::InputEvent::key("keyUp", keyCode, flags));
  mainLoop.loop().runUntilIdle();
}

void EngineWorld::click(const std::string& type) {
  desktop.injectEvent(desktop::InputEvent::pointer(type, {300, 300}));
  mainLoop.loop().runUntilIdle();
}

void EngineWorld::replyWith(const std::vector<std::string>& pieces) {
  server.reply("POST", kCompletionsPath,
               testsupport::ScriptedReply::text(streamedBody(pieces), 200, "text/event-stream"));
}

std::shared_ptr<testsupport::PieceGate> EngineWorld::replyGatedWith(const std::vector<std::string>& pieces) {
  auto gate = std::make_shared<testsupport::PieceGate>();
  std::vector<std::string> body;
  for (const auto& piece : pieces) body.push_back(chunkLine(piece));
  body.back() += "data: [DONE]\n\n";
  auto reply = testsupport::ScriptedReply::inPieces(body, gate);
  reply.contentType = "text/event-stream";
  server.reply("POST", kCompletionsPath, reply);
  return gate;
}

bool EngineWorld::runUntilWritingStops() {
  return mainLoop.loop().runUntil([&] { return !engine->isWriting(); });
}

void EngineWorld::settle() {
  if (engine) {
    const auto task = engine->task();
    if (task.isValid()) task.value();
  }
  std::vector<std::weak_ptr<Quillo::ChatGPTAPI>> made;
  {
    std::lock_guard lock(keysMutex);
    made = clients;
  }
  for (const auto& weak : made) {
    if (const auto client = weak.lock()) client->waitUntilRepliesEnd();
  }
  mainLoop.loop().runUntilIdle();
}

std::vector<std::string> EngineWorld::clientKeys() const {
  std::lock_guard lock(keysMutex);
  return keys;
}

std::size_t EngineWorld::linesEqualTo(const std::string& line) const {
  const auto lines = log.lines();
  return static_cast<std::size_t>(std::count(lines.begin(), lines.end(), line));
}

}  // namespace inline_engine_test
