#include "Quillo/chat_views/chat_bubble.h"

#include <fmt/format.h>

#include <algorithm>
#include <cctype>
#include <chrono>
#include <memory>
#include <string>
#include <utility>

#include "MarkdownRender/styles/text_style_builder.h"
#include "MarkdownRender/styles/text_style_environment.h"
#include "MarkdownRender/styles/text_styles.h"
#include "MarkdownRender/styles/theme_environment.h"
#include "MarkdownRender/views/markdown_environment.h"
#include "MarkdownRender/views/markdown_view.h"
#include "Quillo/chat_model/settings_keys.h"
#include "Quillo/chat_views/glint_code_syntax_highlighter.h"
#include "Quillo/common/debounced_change.h"
#include "Quillo/common/small_button.h"
#include "platform/appkit/pasteboard.h"
#include "platform/foundation/log.h"
#include "platform/foundation/run_loop.h"
#include "platform/ui/modifiers.h"
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

namespace {

namespace MR = MarkdownRender;

// Inline code of replies: monospaced and pink, at the size of the text around it.
auto chatCodeTextStyle() {
  return MR::TextStyleBuilder::combine(MR::FontFamilyVariant(MR::FontProperties::FamilyVariant::monospaced),
                                       MR::ForegroundColor(ui::Color::pink()));
}

MR::FontFamilyVariant chatCodeBlockTextStyle() {
  return MR::FontFamilyVariant(MR::FontProperties::FamilyVariant::monospaced);
}

// A code block of a reply: monospaced text in the label colour on the control background, rounded, with
// space below it.
ui::AnyView chatCodeBlockBody(const MR::BlockConfiguration& configuration) {
  using namespace ui;
  return MR::textStyle(AnyView(configuration.label), chatCodeBlockTextStyle())
      .padding()
      .foregroundStyle(Color::labelColor())
      .background(Color::controlBackgroundColor())
      .clipShape(RoundedRectangle(8, CornerStyle::continuous))
      .padding(Edges::bottom, 12);
}

std::string lowercased(std::string text) {
  std::transform(text.begin(), text.end(), text.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return text;
}

// The open-URL action of the views below, narrowed to the links a reply may open; the rest are logged
// and dropped.
ui::AnyView openingOnlyReplyLinks(const ui::AnyView& view) {
  auto modifier = std::make_shared<ui::EnvironmentModifier>();
  modifier->label = "environment";
  modifier->description = "environment(OpenURLKey: http, https and mailto links only)";
  modifier->transform = [](ui::EnvironmentValues& environment) {
    environment.set<ui::OpenURLKey>(
        ui::OpenURLAction([open = environment.get<ui::OpenURLKey>()](const foundation::URL& url) {
          if (isOpenableReplyLink(url)) {
            open(url);
          } else if (url.scheme()) {
            foundation::log(
                fmt::format("Not opening a link from a reply: the scheme \"{}\" is not http, https or mailto",
                            lowercased(*url.scheme())));
          } else {
            foundation::log("Not opening a link from a reply: it has no scheme");
          }
        }));
  };
  return view.modifier(std::move(modifier));
}

}  // namespace

bool isOpenableReplyLink(const foundation::URL& url) {
  if (!url.scheme()) return false;
  const std::string scheme = lowercased(*url.scheme());
  return scheme == "http" || scheme == "https" || scheme == "mailto";
}

ui::AnyView markdownMessageBody(const Message& message, const ui::Color& textColor,
                                ui::ColorScheme colorScheme) {
  ui::AnyView body = MR::Markdown(message.content);
  body = MR::codeSyntaxHighlighter(body, std::make_shared<const GlintCodeSyntaxHighlighter>(
                                             GlintCodeSyntaxHighlighter::forColorScheme(colorScheme)));
  body = MR::themeTextStyle(body, &MR::Theme::text, MR::ForegroundColor(textColor));
  body = MR::themeTextStyle(body, &MR::Theme::code, chatCodeTextStyle());
  body = MR::themeBlockStyle(body, &MR::Theme::codeBlock, chatCodeBlockBody);
  return openingOnlyReplyLinks(body);
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
