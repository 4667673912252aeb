#include "Quillo/chat_views/chat_bubble.h"

#include <fmt/format.h>

#include <algorithm>
#include <chrono>
#include <utility>

#include "Quillo/chat_model/settings_keys.h"
#include "Quillo/common/debounced_change.h"
#include "Quillo/common/small_button.h"
#include "platform/appkit/pasteboard.h"
#include "platform/foundation/run_loop.h"
#include "platform/ui/views.h"

namespace Quillo {

namespace {

constexpr auto kCopiedShowTime = std::chrono::seconds(2);

struct RoleColors {
  ui::Color background;
  ui::Color text;
};

// The user's colour is read afresh each time the bubble is drawn; the bubble does not watch it.
RoleColors colorsFor(Role role) {
  switch (role) {
    case Role::user:
      return {Defaults::get(Keys::userChatColor()), ui::Color::white()};
    case Role::assistant:
      return {ui::Color::gray().opacity(0.1), ui::Color::labelColor()};
    case Role::system:
      break;
  }
  return {ui::Color::gray(), ui::Color::black()};
}

ui::TextStyle textStyleFor(FontSize size) {
  switch (size) {
    case FontSize::small:
      return ui::TextStyle::body;
    case FontSize::medium:
      return ui::TextStyle::title3;
    case FontSize::large:
      return ui::TextStyle::title2;
    case FontSize::xLarge:
      break;
  }
  return ui::TextStyle::largeTitle;
}

}  // namespace

TokenEncoderMakerKey::Value TokenEncoderMakerKey::defaultValue() {
  return
      [] { return std::shared_ptr<GPTTokenizer::GPTEncoder>(GPTTokenizer::GPTEncoder::loadFromResources()); };
}

ui::AnyView markdownMessageBody(const Message& message, const ui::Color& textColor, ui::ColorScheme) {
  // Plain text stands in for the rendered Markdown until the renderer's document view is available.
  return ui::Text::verbatim(message.content).foregroundStyle(textColor);
}

ChatBubble::ChatBubble(Message message)
    : message_(std::move(message)),
      showTokenCount_(Keys::showTokenCount()),
      enableMarkdown_(Keys::enableMarkdown()),
      fontSize_(Keys::fontSize()) {}

double ChatBubble::tokenCost(std::size_t count) {
  const Model model = Defaults::get(Keys::apiModel());
  const auto position =
      static_cast<std::size_t>(std::find(allModels.begin(), allModels.end(), model) - allModels.begin());
  const double price = position < pricePerThousandTokens.size() ? pricePerThousandTokens[position] : 0;
  return static_cast<double>(count) / 1000.0 * price;
}

std::string ChatBubble::captionFor(const std::string& content,
                                   const TokenEncoderMakerKey::Value& makeEncoder) {
  auto encoder = makeEncoder ? makeEncoder() : nullptr;
  if (!encoder) return "";
  const auto count = encoder->tokenIDs(content).size();
  if (count == 0) return "";
  // fmt formats numbers without the user's locale.
  return fmt::format("{} tokens (${:.6f})", count, tokenCost(count));
}

std::string ChatBubble::tokenCountCaption() const { return captionFor(message_.content, *makeEncoder_); }

void ChatBubble::updateTokenCaption() const {
  if (showTokenCount_.get()) localTokensString_.set(tokenCountCaption());
}

void ChatBubble::copyMessage() const {
  // A failed pasteboard write is not reported: the badge shows all the same.
  auto pasteboard = appkit::Pasteboard::generalPasteboard();
  pasteboard.declareTypes({appkit::pasteboardTypeString});
  pasteboard.setString(message_.content, appkit::pasteboardTypeString);
  copied_.set(true);
  foundation::RunLoop::main().asyncAfter(kCopiedShowTime, [copied = copied_] { copied.set(false); });
}

ui::AnyView ChatBubble::messageBody() const {
  using namespace ui;
  const auto colors = colorsFor(message_.role);
  AnyView text = enableMarkdown_.get() ? markdownMessageBody(message_, colors.text, *colorScheme_)
                                       : AnyView(Text::verbatim(message_.content))
                                             .padding(12)
                                             .font(Font::textStyle(textStyleFor(fontSize_.get())))
                                             .background(colors.background)
                                             .foregroundStyle(colors.text);
  if (enableMarkdown_.get()) text = text.padding(12).background(colors.background);
  return text.clipShape(RoundedRectangle(16, CornerStyle::continuous)).textSelection(true);
}

ui::AnyView ChatBubble::copyControl() const {
  using namespace ui;
  auto self = *this;
  AnyView control = *copied_ ? AnyView(Text("Copied"))
                                   .padding(5)
                                   .padding(Edges::horizontal, 2)
                                   .background(Color::controlBackgroundColor())
                                   .clipShape(RoundedRectangle(8, CornerStyle::continuous))
                                   .shadow(Color::black().opacity(0.1), 4, 0, 0)
                             : AnyView(SmallButton([self] { self.copyMessage(); }, "Copy", "",
                                                   "Copy the the message to your clipboard", Color::teal()));
  return control.opacity(*isHoveringOverAnswer_ ? 1 : 0)
      .animation(Animation::defaultAnimation(), *isHoveringOverAnswer_)
      .offset(0, showTokenCount_.get() ? -6 : 0);
}

ui::AnyView ChatBubble::body() const {
  using namespace ui;
  const bool isUser = message_.role == Role::user;
  AnyView content = messageBody();
  if (showTokenCount_.get()) {
    auto caption = AnyView(Text::verbatim(*localTokensString_))
                       .font(Font::caption())
                       .padding(Edges::horizontal, 8)
                       .foregroundStyle(Color::secondary());
    content =
        VStack(isUser ? HorizontalAlignment::trailing : HorizontalAlignment::leading, 0, content, caption);
  }
  content = content.padding(Edges::horizontal, 16);

  AnyView row;
  if (isUser) {
    row = HStack(Spacer().minLength(50), content);
  } else {
    row = HStack(content, copyControl(), Spacer().minLength(50))
              .onHover([hovering = isHoveringOverAnswer_](bool isInside) { hovering.set(isInside); });
  }

  // The caption follows the text once it has rested for a second (once per pause of a streamed reply).
  auto showTokenCount = showTokenCount_;
  auto caption = localTokensString_;
  auto makeEncoder = *makeEncoder_;
  return onDebouncedChange<std::string>(Group(row), message_.content, 1.0,
                                        [showTokenCount, caption, makeEncoder](const std::string& content) {
                                          if (showTokenCount.get())
                                            caption.set(captionFor(content, makeEncoder));
                                        });
}

}  // namespace Quillo
