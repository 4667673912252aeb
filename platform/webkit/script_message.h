// A message a page's script posted to the program, and the handler that receives messages of one name.
#pragma once

#include <string>
#include <utility>

#include "platform/foundation/json_text.h"  // Json

namespace webkit {

// What `window.webkit.messageHandlers.<name>.postMessage(body)` sent: the handler's name and the body as
// a JSON value (null for null or undefined).
class ScriptMessage {
 public:
  ScriptMessage(std::string name, foundation::Json body) : name_(std::move(name)), body_(std::move(body)) {}

  const std::string& name() const { return name_; }
  const foundation::Json& body() const { return body_; }
  // One line naming the message and its body, for diagnostics.
  std::string description() const;

 private:
  std::string name_;
  foundation::Json body_;
};

class UserContentController;

class ScriptMessageHandler {
 public:
  virtual ~ScriptMessageHandler() = default;
  // Runs on the main thread for every message posted under a name the handler is registered for.
  virtual void userContentControllerDidReceiveScriptMessage(UserContentController& controller,
                                                            const ScriptMessage& message) = 0;
};

}  // namespace webkit
