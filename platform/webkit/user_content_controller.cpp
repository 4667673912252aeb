#include "platform/webkit/user_content_controller.h"

#include <algorithm>

#include "platform/foundation/json_text.h"

namespace webkit {

std::string ScriptMessage::description() const {
  std::string body;
  try {
    body = foundation::jsonText(body_);
  } catch (const std::exception&) {
    body = "?";
  }
  return "<ScriptMessage name: \"" + name_ + "\" body: " + body + ">";
}

bool UserContentController::addScriptMessageHandler(std::shared_ptr<ScriptMessageHandler> handler,
                                                    std::string name) {
  if (!handler) return false;
  auto taken =
      std::any_of(handlers_.begin(), handlers_.end(), [&](const auto& h) { return h.first == name; });
  if (taken) return false;
  handlers_.emplace_back(std::move(name), std::move(handler));
  return true;
}

void UserContentController::removeScriptMessageHandler(std::string_view name) {
  std::erase_if(handlers_, [&](const auto& h) { return h.first == name; });
}

std::vector<std::string> UserContentController::scriptMessageHandlerNames() const {
  std::vector<std::string> names;
  for (const auto& h : handlers_) names.push_back(h.first);
  return names;
}

bool UserContentController::deliver(const ScriptMessage& message) {
  auto it = std::find_if(handlers_.begin(), handlers_.end(),
                         [&](const auto& h) { return h.first == message.name(); });
  if (it == handlers_.end()) return false;
  // Keep the handler alive through the call: it may remove itself.
  auto handler = it->second;
  handler->userContentControllerDidReceiveScriptMessage(*this, message);
  return true;
}

}  // namespace webkit
