// The app-wide state of the popover, the main window and the settings window: the Accessibility
// permission flag, the one shared conversation and the chat client both chat views use.
#pragma once

#include <memory>
#include <vector>

#include "Quillo/chat_client/chat_gpt_api.h"
#include "Quillo/chat_model/conversation.h"
#include "platform/concurrency/cancellable.h"
#include "platform/ui/binding.h"
#include "platform/ui/observable_object.h"

namespace Quillo {

// Keeps the conversation saved (written to the settings 0.5 s after the last change, on the main queue
// through the current clock) and renews the client whenever the stored API key changes. Views read and
// write the published fields on the main thread only; a key written on another thread reaches `api`
// through the main queue.
class AppState final : public ui::ObservableObject, public std::enable_shared_from_this<AppState> {
 public:
  // Builds the state and starts both subscriptions (the current key is delivered at once, so the first
  // client is replaced by a second one for the same key before this returns).
  static std::shared_ptr<AppState> make();
  ~AppState() override;

  // Stores the conversation now, without waiting for the quiet time (the application is ending).
  void saveMainConversation() const;

  // Bindings to `api` and `mainConversations` for the chat views; they keep the state alive.
  ui::Binding<std::shared_ptr<ChatGPTAPI>> apiBinding();
  ui::Binding<Conversation> mainConversationsBinding();

  ui::Published<bool> isAccessibilityGranted{this, false};
  ui::Published<Conversation> mainConversations;
  ui::Published<std::shared_ptr<ChatGPTAPI>> api;
  std::vector<concurrency::AnyCancellable> disposables;

  // A state of its own is made only through make(); the tag keeps the constructor out of other hands.
  struct Tag {};
  explicit AppState(Tag);

 private:
  void startSubscriptions();
  // Replaces the client by one made with `apiKey`; the old client's history goes with it.
  void apiKeyChanged(const std::string& apiKey);
};

}  // namespace Quillo
