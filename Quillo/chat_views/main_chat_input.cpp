#include "Quillo/chat_views/main_chat_input.h"

#include <limits>
#include <utility>

#include "Quillo/chat_views/chat_input_editor.h"
#include "Quillo/common/small_button.h"
#include "platform/ui/views.h"

namespace Quillo {

MainChatInput::MainChatInput(ui::Binding<std::string> messageText, ui::Binding<bool> isWriting,
                             ui::Binding<concurrency::Task<void>> task, ui::Binding<bool> messageSelected,
                             std::function<void(const std::string&)> sendMessage, std::function<void()> clear)
    : messageText_(std::move(messageText)),
      isWriting_(std::move(isWriting)),
      task_(std::move(task)),
      messageSelected_(std::move(messageSelected)),
      sendMessage_(std::move(sendMessage)),
      clear_(std::move(clear)) {}

void MainChatInput::submitMessage() const {
  if (isWriting_.get()) return;
  const std::string text = messageText_.get();
  if (text == "/clear") {
    if (clear_) clear_();
    messageText_.set("");
    return;
  }
  if (text.empty()) return;
  if (sendMessage_) sendMessage_(text);
  messageSelected_.set(true);
}

void MainChatInput::sendCurrentMessage() const {
  if (sendMessage_) sendMessage_(messageText_.get());
  messageSelected_.set(true);
}

void MainChatInput::stopGenerating() const {
  const auto task = task_.get();
  if (task.isValid()) task.cancel();
}

ui::AnyView MainChatInput::body() const {
  using namespace ui;
  auto self = *this;
  auto inputBackground =
      ZStack(RoundedRectangle(6, CornerStyle::continuous).fill(Color::controlBackgroundColor()),
             RoundedRectangle(6, CornerStyle::continuous).stroke(Color::gray().opacity(0.2), 1).padding(0.5));
  FrameModifier flexible;
  flexible.maxHeight = std::numeric_limits<double>::infinity();
  auto editor = AnyView(MultilineEditor(
                            messageText_, "Send a message…", 10, Font::system(13, FontWeight::regular),
                            [self] { self.submitMessage(); }, messageSelected_))
                    .padding(8)
                    .frame(flexible)
                    .background(inputBackground);

  const bool isWriting = isWriting_.get();
  AnyView button = isWriting ? AnyView(SmallButton([self] { self.stopGenerating(); }, "Stop", "",
                                                   "Stop generating", Color::red()))
                             : AnyView(SmallButton([self] { self.sendCurrentMessage(); }, "Send", "",
                                                   "Send your message", Color::teal()))
                                   .disabled(messageText_.get().empty() || isWriting);
  button = button.padding(Edges::trailing, 4);

  auto focus = messageSelected_;
  return HStack(VerticalAlignment::bottom, 6, editor, button)
      .padding(Edges::horizontal, 12)
      .padding(Edges::vertical, 6)
      .fixedSize(false, true)
      .onAppear([focus] { focus.set(true); });
}

}  // namespace Quillo
