// The Inline assistant: watches the user's key presses and clicks in other applications, turns a trigger
// line in the focused text field into a prompt, and types the streamed answer back into that field.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>

#include "Quillo/chat_client/chat_gpt_api.h"
#include "Quillo/inline/answer_typer.h"
#include "Quillo/inline/ax_enabler_service.h"
#include "Quillo/inline/ui_element.h"
#include "platform/appkit/event.h"
#include "platform/concurrency/cancellable.h"
#include "platform/concurrency/task.h"

namespace Quillo {

class LoadingWindowController;

// One shared engine (shared()); tests make their own with make().
//
// Threads: the event monitors, the activation observer, runInlineAction, startInlineQuery, stopWriting and
// showLoadingWindow run on the main thread, and isWriting, the task, the loading window and the query
// number are touched only there. The answer task runs on a worker: it reads the client through
// `apiMutex_` (the main queue replaces the client when the API key changes) and types into the process
// fixed for its query. frontmostPid lives in an atomic (AnswerTyper).
class NativeGPTEngine : public std::enable_shared_from_this<NativeGPTEngine> {
 public:
  // Makes the client for an API key (the service's own endpoint unless the settings name another).
  using ClientFactory = std::function<std::shared_ptr<ChatGPTAPI>(const std::string& apiKey)>;

  // The system text of every Inline request.
  static constexpr std::string_view systemText = "You're a helpful assistant";
  // Key down, left mouse down and right mouse down.
  static constexpr std::uint64_t globalMonitorMask = 1034;
  // Left and right mouse down in this program's own windows.
  static constexpr std::uint64_t localMonitorMask = 10;

  // The one engine, made on first use (on the main thread).
  static std::shared_ptr<NativeGPTEngine> shared();
  // A new engine with a client for the stored API key; it follows later changes of the key.
  static std::shared_ptr<NativeGPTEngine> make(ClientFactory makeClient = defaultClientFactory());
  static ClientFactory defaultClientFactory();

  virtual ~NativeGPTEngine();
  NativeGPTEngine(const NativeGPTEngine&) = delete;
  NativeGPTEngine& operator=(const NativeGPTEngine&) = delete;

  // Stops whatever runs, then watches application activations and the user's events, and activates the
  // accessibility enabler. Calling it again leaves exactly one observer and one pair of monitors.
  virtual void start();
  // Removes the observer and the monitors and stops writing.
  virtual void stop();
  // Shows a fresh loading window placed above the trigger line, or in the main screen's corner.
  virtual void showLoadingWindow(const UIElement& element);
  // Reads the focused field of the frontmost application and, when it holds a trigger line, starts a
  // query. Each failure prints its line and ends the action.
  virtual void runInlineAction();
  // Starts the answer task for the prompt.
  virtual void startInlineQuery(const std::shared_ptr<UIElement>& element, const std::string& prompt);
  // Ends the running query, if any: cancels the task and closes the loading window.
  virtual void stopWriting();
  // Types text into the application whose activation was seen last (nothing while none was).
  virtual void typeText(std::string_view text);

  // Whether the event is the send key of the setting inlineTrigger: Return (key code 36) going down with
  // no device-independent modifier (normalReturn) or exactly Shift (shiftReturn).
  static bool isTriggerEvent(const appkit::Event& event);

  // Main thread.
  bool isWriting() const { return isWriting_; }
  bool isStarted() const { return static_cast<bool>(cancelEventMonitor_); }
  const std::shared_ptr<LoadingWindowController>& loadingWindowController() const {
    return loadingWindowController_;
  }
  const AXEnablerService& axEnablerService() const { return axEnablerService_; }
  // The running answer task (an empty handle when none runs).
  const concurrency::Task<>& task() const { return task_; }

  // Any thread.
  std::shared_ptr<ChatGPTAPI> api() const;
  std::optional<std::int32_t> frontmostPid() const { return typer_.frontmostPid(); }

 protected:
  explicit NativeGPTEngine(ClientFactory makeClient);

 private:
  // Follows the API key: every new value replaces the client (and with it the history).
  void observeAPIKey();
  // What both event monitors do with an event.
  void handleMonitoredEvent(const appkit::Event& event);
  void handleActivation(std::int32_t processIdentifier);
  // The answer of one query, on the task's thread.
  static void runAnswer(const std::weak_ptr<NativeGPTEngine>& weakEngine, std::shared_ptr<ChatGPTAPI> api,
                        std::shared_ptr<AnswerTyper> target, std::string prompt, std::uint64_t query);
  // Ends query `query` from its own task, unless a newer query has started meanwhile.
  void finishQuery(std::uint64_t query);

  ClientFactory makeClient_;
  bool isWriting_ = false;
  mutable std::mutex apiMutex_;  // guards api_
  std::shared_ptr<ChatGPTAPI> api_;
  AnswerTyper typer_;
  AXEnablerService axEnablerService_;
  concurrency::Task<> task_;
  // Numbers the queries, so that the end of a cancelled older task never ends a newer query.
  std::uint64_t currentQuery_ = 0;
  std::shared_ptr<LoadingWindowController> loadingWindowController_;
  std::function<void()> cancelOnAppActivated_;
  std::function<void()> cancelEventMonitor_;
  concurrency::AnyCancellable apiKeyObservation_;
};

}  // namespace Quillo
