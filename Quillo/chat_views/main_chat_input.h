// The input bar of the native chat: the message editor and one button, Send or, while a reply arrives,
// Stop. It owns no chat state: the text, the writing flag and the reply task belong to the chat view.
#pragma once

#include <functional>
#include <string>

#include "platform/concurrency/task.h"
#include "platform/ui/binding.h"
#include "platform/ui/view.h"

namespace Quillo {

class MainChatInput final : public ui::View {
 public:
  // `messageSelected` is the focus state of the bar's editor, owned by the caller.
  MainChatInput(ui::Binding<std::string> messageText, ui::Binding<bool> isWriting,
                ui::Binding<concurrency::Task<void>> task, ui::Binding<bool> messageSelected,
                std::function<void(const std::string&)> sendMessage, std::function<void()> clear);

  ui::AnyView body() const override;

  // Plain Return in the editor: nothing while a reply arrives; "/clear" (exactly) clears the conversation
  // and the input; an empty text does nothing; any other text is sent untrimmed and focus returns to the
  // editor.
  void submitMessage() const;
  // The Send button: sends the text as it stands ("/clear" included) and focuses the editor.
  void sendCurrentMessage() const;
  // The Stop button: cancels the reply task, if any; the owner's task clears the writing flag.
  void stopGenerating() const;

 private:
  ui::Binding<std::string> messageText_;
  ui::Binding<bool> isWriting_;
  ui::Binding<concurrency::Task<void>> task_;
  ui::Binding<bool> messageSelected_;
  std::function<void(const std::string&)> sendMessage_;
  std::function<void()> clear_;
};

}  // namespace Quillo
