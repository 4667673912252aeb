// The scripts a web view injects into its documents and the handlers that receive the pages' messages.
#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/webkit/script_message.h"
#include "platform/webkit/user_script.h"

namespace webkit {

// Scripts added here run in documents loaded afterwards. A handler is kept (strongly) under its name
// until removed; a page posts to it through `window.webkit.messageHandlers.<name>`. Main thread only.
class UserContentController {
 public:
  void addUserScript(UserScript script) { userScripts_.push_back(std::move(script)); }
  const std::vector<UserScript>& userScripts() const { return userScripts_; }
  void removeAllUserScripts() { userScripts_.clear(); }

  // Registers a handler under a name. Returns false, and changes nothing, when the name is taken or the
  // handler is null.
  bool addScriptMessageHandler(std::shared_ptr<ScriptMessageHandler> handler, std::string name);
  void removeScriptMessageHandler(std::string_view name);
  // The registered names, in the order they were added.
  std::vector<std::string> scriptMessageHandlerNames() const;

  // Hands a page's message to the handler of its name. Returns false when no handler has that name.
  bool deliver(const ScriptMessage& message);

 private:
  std::vector<UserScript> userScripts_;
  std::vector<std::pair<std::string, std::shared_ptr<ScriptMessageHandler>>> handlers_;
};

}  // namespace webkit
