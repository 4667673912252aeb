#include "Quillo/app/app_state.h"

#include <chrono>
#include <string>

#include "Quillo/chat_model/settings_keys.h"
#include "platform/foundation/clock.h"
#include "platform/foundation/log.h"
#include "platform/foundation/run_loop.h"
#include "settings_store/change_stream.h"
#include "settings_store/key.h"

namespace Quillo {

namespace {
constexpr auto kSaveQuietTime = std::chrono::milliseconds(500);

// The key is a secret: diagnostics show only its ends.
std::string storeLine(const std::string& apiKey) {
  return apiKey.empty() ? std::string("store: ") : "store: " + foundation::redactedSecret(apiKey);
}
}  // namespace

AppState::AppState(Tag)
    : mainConversations(this, Defaults::get(Keys::mainConversations())),
      api(this, std::make_shared<ChatGPTAPI>(Defaults::get(Keys::apiKey()))) {}

AppState::~AppState() {
  for (const auto& disposable : disposables) disposable.cancel();
  // A change still waiting for its quiet time would be lost with the state (at the end of the program,
  // the last half second of the conversation): the conversation is stored now instead.
  saveMainConversation();
}

ui::Binding<std::shared_ptr<ChatGPTAPI>> AppState::apiBinding() {
  auto self = shared_from_this();
  return ui::Binding<std::shared_ptr<ChatGPTAPI>>(
      [self] { return self->api.get(); },
      [self](std::shared_ptr<ChatGPTAPI> client) { self->api.set(client); });
}

ui::Binding<Conversation> AppState::mainConversationsBinding() {
  auto self = shared_from_this();
  return ui::Binding<Conversation>(
      [self] { return self->mainConversations.get(); },
      [self](Conversation conversation) { self->mainConversations.set(conversation); });
}

void AppState::saveMainConversation() const {
  Defaults::set(Keys::mainConversations(), mainConversations.get());
}

std::shared_ptr<AppState> AppState::make() {
  auto state = std::make_shared<AppState>(Tag{});
  state->startSubscriptions();
  return state;
}

void AppState::startSubscriptions() {
  // The save holds nothing of the state: a pending write still stores the last conversation after the
  // state is gone, and never keeps it alive.
  mainConversations.publisher()
      .debounce(kSaveQuietTime, foundation::RunLoop::main())
      .sink([](Conversation conversation) { Defaults::set(Keys::mainConversations(), conversation); })
      .store(disposables);

  // Held weakly: the state owns this subscription, so a strong hold would keep the state alive for ever.
  std::weak_ptr<AppState> weak = weak_from_this();
  Defaults::changePublisher(Keys::apiKey(),
                            Defaults::ObservationOptions{Defaults::ObservationOption::initial})
      .sink([weak](Defaults::KeyChange<std::string> change) {
        if (foundation::isMainThread()) {
          if (auto state = weak.lock()) state->apiKeyChanged(change.newValue);
          return;
        }
        // Published fields belong to the main thread; a key written elsewhere is applied there, in order.
        foundation::RunLoop::main().async([weak, key = change.newValue] {
          if (auto state = weak.lock()) state->apiKeyChanged(key);
        });
      })
      .store(disposables);
}

void AppState::apiKeyChanged(const std::string& apiKey) {
  foundation::log(storeLine(apiKey));
  api.set(std::make_shared<ChatGPTAPI>(apiKey));
}

}  // namespace Quillo
