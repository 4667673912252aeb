#include "Quillo/inline/native_gpt_engine.h"

#include <exception>
#include <utility>

#include "Quillo/chat_model/clearer_error.h"
#include "Quillo/chat_model/settings_keys.h"
#include "Quillo/inline/accessibility_access.h"
#include "Quillo/inline/loading_window_controller.h"
#include "Quillo/inline/trigger_line.h"
#include "platform/accessibility/attributes.h"
#include "platform/appkit/event_monitor.h"
#include "platform/appkit/global_event_monitor.h"
#include "platform/appkit/workspace.h"
#include "platform/foundation/log.h"
#include "platform/foundation/run_loop.h"
#include "platform/foundation/text_error.h"
#include "platform/foundation/unicode.h"
#include "platform/foundation/utf16.h"
#include "settings_store/change_stream.h"
#include "settings_store/key.h"

namespace Quillo {
namespace {

constexpr std::uint16_t kReturnKeyCode = 36;
constexpr std::int64_t kMissingPosition = -1;

bool isTextRole(const std::string& role) {
  return role == ax::role::textArea || role == ax::role::textField || role == ax::role::comboBox;
}

// Whether a selection reported by another application lies within its text.
bool isValidSelection(const ax::Range& range, const std::string& value) {
  if (range.location == kMissingPosition || range.length == kMissingPosition) return false;
  if (range.location < 0 || range.length < 0) return false;
  return foundation::isUtf16RangeWithin(
      {static_cast<std::size_t>(range.location), static_cast<std::size_t>(range.length)},
      foundation::utf16Length(value));
}

}  // namespace

std::shared_ptr<NativeGPTEngine> NativeGPTEngine::shared() {
  // Never destroyed: its observers and monitors stay with the program to its end.
  static const auto* const engine = new std::shared_ptr<NativeGPTEngine>(make());
  return *engine;
}

NativeGPTEngine::ClientFactory NativeGPTEngine::defaultClientFactory() {
  return [](const std::string& apiKey) {
    // Clients are made at every application activation: they share one token counter (safe across
    // threads) instead of reading its data files each time.
    static const std::shared_ptr<GPTTokenizer::GPTEncoder> encoder =
        GPTTokenizer::GPTEncoder::loadFromResources();
    return std::make_shared<ChatGPTAPI>(apiKey, std::string(ChatGPTAPI::defaultURLString), encoder);
  };
}

std::shared_ptr<NativeGPTEngine> NativeGPTEngine::make(ClientFactory makeClient) {
  std::shared_ptr<NativeGPTEngine> engine(new NativeGPTEngine(std::move(makeClient)));
  engine->observeAPIKey();
  return engine;
}

NativeGPTEngine::NativeGPTEngine(ClientFactory makeClient)
    : makeClient_(std::move(makeClient)), api_(makeClient_(Defaults::get(Keys::apiKey()))) {}

NativeGPTEngine::~NativeGPTEngine() {
  apiKeyObservation_.cancel();
  if (cancelOnAppActivated_) cancelOnAppActivated_();
  if (cancelEventMonitor_) cancelEventMonitor_();
  task_.cancel();
  if (loadingWindowController_) loadingWindowController_->close();
}

void NativeGPTEngine::observeAPIKey() {
  std::weak_ptr<NativeGPTEngine> weak = weak_from_this();
  apiKeyObservation_ =
      Defaults::changeStream(Keys::apiKey(), false).forEachOnMain([weak](const std::string& apiKey) {
        const auto engine = weak.lock();
        if (!engine) return;
        auto client = engine->makeClient_(apiKey);
        std::lock_guard lock(engine->apiMutex_);
        engine->api_ = std::move(client);
      });
}

std::shared_ptr<ChatGPTAPI> NativeGPTEngine::api() const {
  std::lock_guard lock(apiMutex_);
  return api_;
}

void NativeGPTEngine::start() {
  foundation::assertMainThread();
  stop();
  foundation::log("NativeGPTEngine start()");
  std::weak_ptr<NativeGPTEngine> weak = weak_from_this();

  auto& center = appkit::Workspace::shared().notificationCenter();
  auto observer = std::make_shared<foundation::ObserverToken>(center.addObserver(
      appkit::Workspace::didActivateApplicationNotification, nullptr, &foundation::RunLoop::main(),
      [weak](const foundation::Notification& notification) {
        const auto application =
            notification.userInfoValue<appkit::RunningApplication>(appkit::Workspace::applicationUserInfoKey);
        const auto engine = weak.lock();
        if (application && engine) engine->handleActivation(application->processIdentifier());
      }));
  cancelOnAppActivated_ = [observer] { observer->remove(); };

  auto handler = [weak](const appkit::Event& event) {
    if (const auto engine = weak.lock()) engine->handleMonitoredEvent(event);
  };
  auto globalMonitor = appkit::GlobalEventMonitor::add(appkit::EventTypeMask{globalMonitorMask}, handler);
  // The program's own windows still receive the event.
  auto localMonitor = appkit::addLocalMonitorForEvents(appkit::EventTypeMask{localMonitorMask},
                                                       [handler](const appkit::Event& event) {
                                                         handler(event);
                                                         return std::optional<appkit::Event>(event);
                                                       });
  cancelEventMonitor_ = [globalMonitor, localMonitor]() mutable {
    if (globalMonitor) globalMonitor->remove();
    appkit::removeMonitor(localMonitor);
  };

  axEnablerService_.activate();
}

void NativeGPTEngine::stop() {
  foundation::assertMainThread();
  foundation::log("NativeGPTEngine stop()");
  if (cancelOnAppActivated_) std::exchange(cancelOnAppActivated_, nullptr)();
  if (cancelEventMonitor_) std::exchange(cancelEventMonitor_, nullptr)();
  stopWriting();
}

void NativeGPTEngine::handleActivation(std::int32_t processIdentifier) {
  // A fresh client for the same key: its history is empty, and the reply of a query stopped here, which
  // its producer still reads to the end, can only record itself into the old client, never into the
  // context of the application now in front.
  {
    std::lock_guard lock(apiMutex_);
    api_->setHistoryList({});
    api_ = makeClient_(api_->apiKey());
  }
  stopWriting();
  typer_.setFrontmostPid(processIdentifier);
}

void NativeGPTEngine::handleMonitoredEvent(const appkit::Event& event) {
  if (isWriting_) {
    stopWriting();
  } else if (isTriggerEvent(event)) {
    runInlineAction();
  }
}

bool NativeGPTEngine::isTriggerEvent(const appkit::Event& event) {
  const auto flags = event.modifierFlags() & appkit::ModifierFlags::deviceIndependentFlagsMask;
  if (event.type() != appkit::EventType::keyDown || event.keyCode() != kReturnKeyCode) return false;
  switch (Defaults::get(Keys::inlineTrigger())) {
    case InlineTrigger::normalReturn:
      return flags.isEmpty();
    case InlineTrigger::shiftReturn:
      return flags == appkit::ModifierFlags::shift;
  }
  return false;
}

void NativeGPTEngine::runInlineAction() {
  foundation::assertMainThread();
  if (isWriting_) return;

  const auto focused = copyElementAttribute(ax::Element::systemWide(), ax::attribute::focusedUIElement);
  if (!focused.succeeded() || !focused.value) {
    foundation::log("Unable to fetch focused element.");
    return;
  }
  const std::shared_ptr<UIElement> element = UIElement::fromElement(*focused.value);
  if (!element) {
    foundation::log("Unable to fetch focused element.");
    return;
  }
  if (!isTextRole(element->role)) {
    foundation::log("Focused element is not a text field.");
    return;
  }

  const ax::Element& ref = *focused.value;
  const auto range = copyRangeAttribute(ref, ax::attribute::selectedTextRange);
  const auto value = copyStringAttribute(ref, ax::attribute::value);
  element->value = value.succeeded() ? value.value : std::nullopt;
  element->actions = copyActionNames(ref);

  if (!range.succeeded() || !range.value || !element->value) {
    foundation::log("Unable to fetch text field attributes.");
    return;
  }
  const std::string& text = *element->value;
  if (!isValidSelection(*range.value, text)) {
    foundation::log("Invalid selected text range.");
    return;
  }
  const auto location = static_cast<std::size_t>(range.value->location);
  const auto length = static_cast<std::size_t>(range.value->length);
  foundation::logReadText("Selected text:  " + foundation::utf16Substring(text, {location, length}));

  const std::string beforeCaret = text.substr(0, foundation::utf8Offset(text, location));
  const auto found = extractInlinePrompt(beforeCaret, location, Defaults::get(Keys::globalGPTKey()));
  if (!found) return;

  if (found->line == TriggerLine::previous && found->previousLineRange) {
    const auto& line = *found->previousLineRange;
    element->selectedTextBounds = copyBoundsForRange(
        ref, ax::Range{static_cast<std::int64_t>(line.location), static_cast<std::int64_t>(line.length)});
  }
  startInlineQuery(element, found->prompt);
}

void NativeGPTEngine::startInlineQuery(const std::shared_ptr<UIElement>& element, const std::string& prompt) {
  foundation::assertMainThread();
  isWriting_ = true;
  if (element) showLoadingWindow(*element);
  task_.cancel();
  const std::uint64_t query = ++currentQuery_;
  // The answer goes whole to the application known when the query starts: an activation seen while it is
  // typed stops it, and must not send its remaining pieces elsewhere.
  auto target = std::make_shared<AnswerTyper>();
  target->setFrontmostPid(typer_.frontmostPid());
  task_ = concurrency::Task<>([weak = weak_from_this(), api = api(), target, prompt, query] {
    runAnswer(weak, api, target, prompt, query);
  });
}

void NativeGPTEngine::runAnswer(const std::weak_ptr<NativeGPTEngine>& weakEngine,
                                std::shared_ptr<ChatGPTAPI> api, std::shared_ptr<AnswerTyper> target,
                                std::string prompt, std::uint64_t query) {
  foundation::log("Querying...");
  try {
    const auto stream =
        api->streamReply(prompt, Defaults::get(Keys::inlineApiModel()), std::string(systemText), 0.5);
    while (auto piece = stream.next()) {
      concurrency::checkCancellation();
      target->typeText(*piece);
    }
    // A cancelled consumer's stream ends early without a failure.
    concurrency::checkCancellation();
  } catch (const foundation::TextError& failure) {
    if (const auto advice = adviceForFailure(failure.text())) {
      // Typed one character at a time, and not at all once the user has stopped the query.
      for (const auto& character : foundation::graphemeClusters(*advice + failure.text())) {
        if (concurrency::isCancelled()) break;
        target->typeText(character);
      }
    }
  } catch (...) {
    // Cancellations and other failures reach the user only as the closing loading window.
  }
  foundation::RunLoop::main().async([weakEngine, query] {
    if (const auto engine = weakEngine.lock()) engine->finishQuery(query);
  });
}

void NativeGPTEngine::finishQuery(std::uint64_t query) {
  if (query == currentQuery_) stopWriting();
}

void NativeGPTEngine::stopWriting() {
  foundation::assertMainThread();
  if (!isWriting_) return;
  foundation::log("Stop writing...");
  task_.cancel();
  task_ = {};
  if (loadingWindowController_) std::exchange(loadingWindowController_, nullptr)->close();
  isWriting_ = false;
}

void NativeGPTEngine::typeText(std::string_view text) { typer_.typeText(text); }

void NativeGPTEngine::showLoadingWindow(const UIElement& element) {
  foundation::assertMainThread();
  // A window left over from an earlier query would otherwise stay on the screen with nothing to close it.
  if (loadingWindowController_) loadingWindowController_->close();
  loadingWindowController_ = std::make_shared<LoadingWindowController>();
  const auto panel = loadingWindowController_->panel();
  panel->orderFront();
  if (const auto origin = loadingWindowOrigin(panel->frame().width(), element.selectedTextBounds)) {
    panel->setFrameOrigin(*origin);
  }
}

}  // namespace Quillo
