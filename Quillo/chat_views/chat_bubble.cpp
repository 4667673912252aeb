#include "Quillo/chat_views/chat_bubble.h"

#include <fmt/format.h>

#include <algorithm>
#include <cctype>
#include <chrono>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

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

// The text whose changes the caption follows, shared with the message instead of copied: the change
// handler keeps the last value it saw, and a streamed reply is long and changes many times a second.
// Equal exactly when the texts are.
struct WatchedText {
  std::shared_ptr<const Message> message;
  bool operator==(const WatchedText& other) const {
    return message == other.message || message->content == other.message->content;
  }
};

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

// The open-URL action `open` narrowed to the links a reply may open; the rest are logged and dropped.
ui::OpenURLAction openingOnlyReplyLinks(ui::OpenURLAction open) {
  return ui::OpenURLAction([open = std::move(open)](const foundation::URL& url) {
    if (isOpenableReplyLink(url)) {
      open(url);
    } else if (url.scheme()) {
      foundation::log(fmt::format("Not opening a link from a reply: the scheme \"{}\" is not http, https or mailto",
                                  lowercased(*url.scheme())));
    } else {
      foundation::log("Not opening a link from a reply: it has no scheme");
    }
  });
}

// What replies see below a bubble: the theme and the open-URL action made from the ones in force. They are
// made once for each theme, text colour and action they come from and then handed out again, so a bubble
// shown again with the same settings gives its blocks the very same values, and blocks that did not
// change keep their views and their sizes. Main thread only, as views are.
class ReplyEnvironment {
 public:
  static std::shared_ptr<const MR::Theme> theme(std::shared_ptr<const MR::Theme> base, const ui::Color& textColor) {
    auto& made = themes();
    auto found = std::find_if(made.begin(), made.end(), [&](const MadeTheme& theme) {
      return theme.base == base && theme.textColor == textColor;
    });
    if (found != made.end()) return found->theme;
    MR::Theme theme = base ? *base : MR::ThemeKey::defaultValue();
    theme.text = MR::builtTextStyle(MR::ForegroundColor(textColor));
    theme.code = MR::builtTextStyle(chatCodeTextStyle());
    theme.codeBlock = MR::Theme::BlockStyleOfBlock(chatCodeBlockBody);
    // Bubbles come in a few colours under a theme or two: the oldest is forgotten past a handful.
    if (made.size() == kKeptThemes) made.erase(made.begin());
    made.push_back(MadeTheme{std::move(base), textColor, std::make_shared<const MR::Theme>(std::move(theme))});
    return made.back().theme;
  }

  static ui::OpenURLAction openURL(const ui::OpenURLAction& open) {
    auto& made = actions();
    if (!made || made->first != open) made = std::make_pair(open, openingOnlyReplyLinks(open));
    return made->second;
  }

 private:
  static constexpr std::size_t kKeptThemes = 8;
  struct MadeTheme {
    // Held so that the object cannot be freed and another theme made at its address.
    std::shared_ptr<const MR::Theme> base;
    ui::Color textColor;
    std::shared_ptr<const MR::Theme> theme;
  };
  static std::vector<MadeTheme>& themes() {
    static std::vector<MadeTheme> made;
    return made;
  }
  static std::optional<std::pair<ui::OpenURLAction, ui::OpenURLAction>>& actions() {
    static std::optional<std::pair<ui::OpenURLAction, ui::OpenURLAction>> made;
    return made;
  }
};

// The code highlighter of replies under `colorScheme`, made once for each scheme.
std::shared_ptr<const MR::CodeSyntaxHighlighter> replyHighlighter(ui::ColorScheme colorScheme) {
  static const auto light = std::make_shared<const GlintCodeSyntaxHighlighter>(
      GlintCodeSyntaxHighlighter::forColorScheme(ui::ColorScheme::light));
  static const auto dark = std::make_shared<const GlintCodeSyntaxHighlighter>(
      GlintCodeSyntaxHighlighter::forColorScheme(ui::ColorScheme::dark));
  return colorScheme == ui::ColorScheme::dark ? dark : light;
}

}  // namespace

bool isOpenableReplyLink(const foundation::URL& url) {
  if (!url.scheme()) return false;
  const std::string scheme = lowercased(*url.scheme());
  return scheme == "http" || scheme == "https" || scheme == "mailto";
}

ui::AnyView markdownMessageBody(const Message& message, const ui::Color& textColor,
                                ui::ColorScheme colorScheme) {
  ui::AnyView body = MR::codeSyntaxHighlighter(MR::Markdown(message.content), replyHighlighter(colorScheme));
  auto modifier = std::make_shared<ui::EnvironmentModifier>();
  modifier->label = "environment";
  modifier->description = "environment(reply theme, OpenURLKey: http, https and mailto links only)";
  modifier->transform = [textColor](ui::EnvironmentValues& environment) {
    environment.setShared<MR::ThemeKey>(
        ReplyEnvironment::theme(environment.sharedValue<MR::ThemeKey>(), textColor));
    environment.set<ui::OpenURLKey>(ReplyEnvironment::openURL(environment.get<ui::OpenURLKey>()));
  };
  return body.modifier(std::move(modifier));
}

ChatBubble::ChatBubble(Message message) : ChatBubble(std::make_shared<const Message>(std::move(message))) {}

ChatBubble::ChatBubble(std::shared_ptr<const Message> message)
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

std::string ChatBubble::tokenCountCaption() const { return captionFor(message_->content, *makeEncoder_); }

void ChatBubble::updateTokenCaption() const {
  if (showTokenCount_.get()) localTokensString_.set(tokenCountCaption());
}

void ChatBubble::copyMessage() const {
  // A failed pasteboard write is not reported: the badge shows all the same.
  auto pasteboard = appkit::Pasteboard::generalPasteboard();
  pasteboard.declareTypes({appkit::pasteboardTypeString});
  pasteboard.setString(message_->content, appkit::pasteboardTypeString);
  copied_.set(true);
  foundation::RunLoop::main().asyncAfter(kCopiedShowTime, [copied = copied_] { copied.set(false); });
}

ui::AnyView ChatBubble::messageBody() const {
  using namespace ui;
  const auto colors = colorsFor(message_->role);
  AnyView text = enableMarkdown_.get() ? markdownMessageBody(*message_, colors.text, *colorScheme_)
                                       : AnyView(Text::verbatim(message_->content))
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
  const bool isUser = message_->role == Role::user;
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
  return onDebouncedChange<WatchedText>(Group(row), WatchedText{message_}, 1.0,
                                        [showTokenCount, caption, makeEncoder](const WatchedText& watched) {
                                          if (showTokenCount.get())
                                            caption.set(captionFor(watched.message->content, makeEncoder));
                                        });
}

}  // namespace Quillo
