// One message row of the native chat: its colours and sizes, the Copy button under the pointer, and the
// token caption that follows a streamed reply.
#include "Quillo/chat_views/chat_bubble.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "MarkdownRender/views/markdown_view.h"
#include "Quillo/chat_model/settings_keys.h"
#include "Quillo/common/small_button.h"
#include "platform/appkit/pasteboard.h"
#include "platform/foundation/log.h"
#include "platform/ui/inspector.h"
#include "platform/ui/views.h"
#include "tests/Quillo/chat_views/chat_views_environment.h"

namespace {

using Quillo::ChatBubble;
using Quillo::Message;
using Quillo::Role;
using ui::testing::button;
using ui::testing::Host;
using ui::testing::text;

ui::AnyView bubble(const Message& message) {
  return ui::AnyView(ChatBubble(message)).environment<Quillo::TokenEncoderMakerKey>([] {
    return chatviewstest::byteCountingEncoder();
  });
}

ui::Color backgroundOf(const ui::testing::ViewRef& view) {
  auto background = view.background();
  auto* color = background ? background->primitive<ui::detail::ColorSpec>() : nullptr;
  EXPECT_NE(color, nullptr);
  return color ? color->color : ui::Color();
}

class ChatBubbleTest : public ::testing::Test {
 protected:
  void SetUp() override { chatviewstest::emptyStandardSuite(); }
};

TEST_F(ChatBubbleTest, CopyShowsCopiedForTwoSeconds) {
  Host host(bubble(Message(Role::assistant, "Hello")));
  host.hover(host.find(text("Hello")));
  host.tap(host.find(button("Copy")));
  EXPECT_EQ(appkit::Pasteboard::generalPasteboard().stringForType(appkit::pasteboardTypeString), "Hello");
  EXPECT_EQ(host.desktop().pasteboard().types(), std::vector<std::string>{appkit::pasteboardTypeString});
  EXPECT_TRUE(host.exists(text("Copied")));
  EXPECT_FALSE(host.exists(button("Copy")));
  host.advance(1.99);
  EXPECT_TRUE(host.exists(text("Copied")));
  host.advance(0.01);
  EXPECT_TRUE(host.exists(button("Copy")));
}

TEST_F(ChatBubbleTest, TheCopyControlShowsOnlyUnderThePointerAndNeverOnUserRows) {
  Host assistant(bubble(Message(Role::assistant, "Hi")));
  auto copy = [&] { return assistant.find(ui::testing::type<Quillo::SmallButton>()); };
  EXPECT_EQ(copy().opacity(), 0);
  assistant.hover(assistant.find(text("Hi")));
  EXPECT_EQ(copy().opacity(), 1);
  EXPECT_EQ(copy().help(), "Copy the the message to your clipboard");
  assistant.unhover();
  EXPECT_EQ(copy().opacity(), 0);

  Host user(bubble(Message(Role::user, "Hi")));
  user.hover(user.find(text("Hi")));
  EXPECT_FALSE(user.exists(button("Copy")));
}

TEST_F(ChatBubbleTest, RoleColoursFollowTheTable) {
  Defaults::set(Quillo::Keys::userChatColor(), ui::Color::purple());
  Defaults::set(Quillo::Keys::assistantChatColor(), ui::Color::orange());
  struct Case {
    Role role;
    ui::Color background;
    ui::Color text;
  };
  const Case cases[] = {
      {Role::user, ui::Color::purple(), ui::Color::white()},
      {Role::assistant, ui::Color::gray().opacity(0.1), ui::Color::labelColor()},
      {Role::system, ui::Color::gray(), ui::Color::black()},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(static_cast<int>(c.role));
    Host host(bubble(Message(c.role, "text")));
    auto shown = host.find(text("text"));
    EXPECT_EQ(backgroundOf(shown), c.background);
    EXPECT_EQ(shown.foregroundStyle(), c.text);
    EXPECT_EQ(shown.clipShape(),
              (ui::ShapeOutline{ui::ShapeOutline::Kind::roundedRectangle, 16, ui::CornerStyle::continuous}));
  }
}

TEST_F(ChatBubbleTest, TheChatTextSizeSelectsATextStyle) {
  struct Case {
    Quillo::FontSize size;
    ui::TextStyle style;
  };
  const Case cases[] = {{Quillo::FontSize::small, ui::TextStyle::body},
                        {Quillo::FontSize::medium, ui::TextStyle::title3},
                        {Quillo::FontSize::large, ui::TextStyle::title2},
                        {Quillo::FontSize::xLarge, ui::TextStyle::largeTitle}};
  for (const auto& c : cases) {
    Defaults::set(Quillo::Keys::fontSize(), c.size);
    Host host(bubble(Message(Role::assistant, "text")));
    EXPECT_EQ(host.find(text("text")).font(), ui::Font::textStyle(c.style));
  }
}

// The attributes of the run of a shown text that holds the first occurrence of `piece`.
ui::AttributeContainer attributesOf(const ui::testing::ViewRef& view, const std::string& piece) {
  const auto shown = view.primitive<ui::detail::TextSpec>()->attributedString();
  const auto at = shown.characters().find(piece);
  EXPECT_NE(at, std::string::npos) << piece;
  for (const auto& run : shown.runs()) {
    if (run.start <= at && at < run.start + run.length) return shown.attributes(run);
  }
  return {};
}

TEST_F(ChatBubbleTest, WithMarkdownARepliesMarkupIsRenderedAndTheTextSizeHasNoEffect) {
  Defaults::set(Quillo::Keys::enableMarkdown(), true);
  Defaults::set(Quillo::Keys::fontSize(), Quillo::FontSize::xLarge);
  Host host(bubble(Message(Role::assistant, "Use **bold** and `code`.")));
  EXPECT_FALSE(host.exists(ui::testing::textContaining("**")));
  auto shown = host.find(text("Use bold and code."));
  EXPECT_EQ(shown.font(), ui::Font());  // no chat text size: the renderer's theme sets the sizes
  // The role's text colour, semibold strong text, pink monospaced inline code at the size of the text.
  EXPECT_EQ(attributesOf(shown, "Use").foregroundColor, ui::Color::labelColor());
  EXPECT_EQ(attributesOf(shown, "bold").font->weight(), ui::FontWeight::semibold);
  const auto code = attributesOf(shown, "code");
  EXPECT_EQ(code.foregroundColor, ui::Color::pink());
  EXPECT_TRUE(code.font->isMonospaced());
  EXPECT_EQ(code.font->size(), attributesOf(shown, "Use").font->size());
  // The bubble around it: padded by 12 (and the row's 16 at the sides), on the role's colour, rounded.
  auto markdown = host.find(ui::testing::type<MarkdownRender::Markdown>());
  EXPECT_EQ(markdown.padding(), (ui::EdgeInsets{12, 12 + 16, 12, 12 + 16}));
  EXPECT_EQ(backgroundOf(markdown), ui::Color::gray().opacity(0.1));
  EXPECT_EQ(markdown.clipShape(),
            (ui::ShapeOutline{ui::ShapeOutline::Kind::roundedRectangle, 16, ui::CornerStyle::continuous}));
}

TEST_F(ChatBubbleTest, UserMessagesInMarkdownAreWhite) {
  Defaults::set(Quillo::Keys::enableMarkdown(), true);
  Host host(bubble(Message(Role::user, "*hi*")));
  EXPECT_EQ(attributesOf(host.find(text("hi")), "hi").foregroundColor, ui::Color::white());
}

TEST_F(ChatBubbleTest, CodeBlocksAreColouredForTheAppearanceInTheChatsCodeStyle) {
  Defaults::set(Quillo::Keys::enableMarkdown(), true);
  struct Case {
    ui::ColorScheme scheme;
    ui::Color keyword;
  };
  // Keywords of the cream preset are blue; of the slate preset, yellow.
  const Case cases[] = {{ui::ColorScheme::light, ui::Color(0.161, 0.259, 0.467)},
                        {ui::ColorScheme::dark, ui::Color(0.992, 0.791, 0.45)}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.scheme == ui::ColorScheme::light ? "light" : "dark");
    Host host(bubble(Message(Role::assistant, "```swift\nlet x = 1\n```")), c.scheme);
    auto code = host.find(text("let x = 1"));
    const auto keyword = attributesOf(code, "let").foregroundColor;
    ASSERT_TRUE(keyword.has_value());
    EXPECT_EQ(keyword->resolved(c.scheme), c.keyword.resolved(c.scheme));
    // The block: the platform's padding, the label colour on the control background, rounded, 12 below.
    EXPECT_EQ(code.foregroundStyle(), ui::Color::labelColor());
    EXPECT_EQ(code.font().isMonospaced(), true);
    const auto insets = code.padding();
    EXPECT_EQ(insets.leading, insets.trailing);
    EXPECT_EQ(insets.bottom - insets.top, 12);
    auto clips = code.modifiersOf<ui::ClipShapeModifier>();
    ASSERT_FALSE(clips.empty());
    EXPECT_EQ(clips.back()->shape,
              (ui::ShapeOutline{ui::ShapeOutline::Kind::roundedRectangle, 8, ui::CornerStyle::continuous}));
    EXPECT_NE(host.dump().find("Color controlBackgroundColor"), std::string::npos);
  }
}

TEST_F(ChatBubbleTest, AStreamedReplyLooksAsAFreshBubbleAtEveryStepAndKeepsItsFinishedBlocks) {
  Defaults::set(Quillo::Keys::enableMarkdown(), true);
  const std::vector<std::string> steps = {
      "First paragraph.\n\n```swift\nlet x",
      "First paragraph.\n\n```swift\nlet x = 1\n```\n\nSee [the docs](https://example.com",
      "First paragraph.\n\n```swift\nlet x = 1\n```\n\nSee [the docs](https://example.com) and more",
  };
  Host streamed(bubble(Message(Role::assistant, steps.front())));
  auto first = streamed.find(text("First paragraph."));
  for (const auto& step : steps) {
    SCOPED_TRACE(step);
    streamed.setRoot(bubble(Message(Role::assistant, step)));
    Host fresh(bubble(Message(Role::assistant, step)));
    EXPECT_EQ(streamed.dump(), fresh.dump());
    EXPECT_EQ(streamed.find(text("First paragraph.")), first);
  }
  streamed.tapLink(streamed.find(text("See the docs and more")), "the docs");
  ASSERT_EQ(streamed.desktop().openedURLs().size(), 1u);
  EXPECT_EQ(streamed.desktop().openedURLs().front().absoluteString(), "https://example.com");
}

TEST_F(ChatBubbleTest, ABubbleMadeAgainForTheSameMessageKeepsItsViewsAndStillFollowsItsSettings) {
  // The chat makes every bubble again whenever it is evaluated (for every piece of a streamed reply).
  // Hosted in an unchanging environment, as in the chat.
  const auto plain = [](const Message& message) { return ui::AnyView(ChatBubble(message)); };
  const Message question(Role::user, "How do I sort?");
  Host host(plain(question));
  host.settle();
  const auto shown = host.find(ui::testing::type<ChatBubble>());
  const auto runs = shown.node().evaluationCount();
  host.setRoot(plain(question));
  host.settle();
  EXPECT_EQ(host.find(ui::testing::type<ChatBubble>()), shown);
  EXPECT_EQ(shown.node().evaluationCount(), runs);
  // The settings it reads still reach it...
  Defaults::set(Quillo::Keys::showTokenCount(), true);
  host.settle();
  EXPECT_GT(shown.node().evaluationCount(), runs);
  // ...and another message with the same text (another id) or another text is shown anew.
  Message edited = question;
  edited.content = "How do I sort by date?";
  host.setRoot(plain(edited));
  host.settle();
  EXPECT_TRUE(host.exists(text("How do I sort by date?")));
  const Message again(Role::user, "How do I sort by date?");
  const auto before = host.find(ui::testing::type<ChatBubble>()).node().evaluationCount();
  host.setRoot(plain(again));
  host.settle();
  EXPECT_GT(host.find(ui::testing::type<ChatBubble>()).node().evaluationCount(), before);
}

TEST_F(ChatBubbleTest, ChangingTheAppearanceOfAShownBubbleRecoloursItsCode) {
  Defaults::set(Quillo::Keys::enableMarkdown(), true);
  Host host(bubble(Message(Role::assistant, "```swift\nlet x = 1\n```")), ui::ColorScheme::light);
  host.setColorScheme(ui::ColorScheme::dark);
  const auto keyword = attributesOf(host.find(text("let x = 1")), "let").foregroundColor;
  ASSERT_TRUE(keyword.has_value());
  // The keyword colour of the slate preset.
  EXPECT_EQ(keyword->resolved(ui::ColorScheme::dark), ui::Color(0.992, 0.791, 0.45).resolved(ui::ColorScheme::dark));
}

TEST_F(ChatBubbleTest, LinksFromARepliesOpenOnlyForHttpHttpsAndMailto) {
  Defaults::set(Quillo::Keys::enableMarkdown(), true);
  struct Case {
    std::string destination;
    std::optional<std::string> logged;  // absent: opened
  };
  const Case cases[] = {
      {"https://example.com/docs", std::nullopt},
      {"http://example.com/", std::nullopt},
      {"HTTPS://EXAMPLE.COM/", std::nullopt},
      {"mailto:someone@example.com", std::nullopt},
      {"file:///etc/passwd",
       "Not opening a link from a reply: the scheme \"file\" is not http, https or mailto"},
      {"javascript:alert(1)",
       "Not opening a link from a reply: the scheme \"javascript\" is not http, https or mailto"},
      {"quillo-helper://run",
       "Not opening a link from a reply: the scheme \"quillo-helper\" is not http, https or mailto"},
      {"docs/page", "Not opening a link from a reply: it has no scheme"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.destination);
    foundation::LogCapture log;
    Host host(bubble(Message(Role::assistant, "see [the docs](" + c.destination + ")")));
    host.tapLink(host.find(text("see the docs")), "the docs");
    if (c.logged) {
      EXPECT_TRUE(host.desktop().openedURLs().empty());
      EXPECT_EQ(log.lines(), std::vector<std::string>{*c.logged});
    } else {
      ASSERT_EQ(host.desktop().openedURLs().size(), 1u);
      EXPECT_EQ(host.desktop().openedURLs().front().absoluteString(), c.destination);
      EXPECT_TRUE(log.lines().empty());
    }
  }
  // A picture inside a link opens the same way.
  Host picture(bubble(Message(Role::assistant, "[![chart](https://example.com/c.png)](file:///bin/sh)")));
  foundation::LogCapture log;
  picture.tap(picture.find(ui::testing::type("Button")));
  EXPECT_TRUE(picture.desktop().openedURLs().empty());
  EXPECT_EQ(log.lines().size(), 1u);
}

TEST_F(ChatBubbleTest, AStreamedReplyGetsItsCaptionASecondAfterTheLastPiece) {
  Defaults::set(Quillo::Keys::showTokenCount(), true);
  Message reply(Role::assistant, "");
  Host host(bubble(reply));
  for (const char* soFar : {"He", "Hell", "Hello"}) {
    reply.content = soFar;
    host.setRoot(bubble(reply));
    host.advance(0.5);
  }
  EXPECT_FALSE(host.exists(ui::testing::textContaining("tokens")));
  host.advance(0.5);
  EXPECT_TRUE(host.exists(text("5 tokens ($0.000010)")));
}

TEST_F(ChatBubbleTest, ThePriceUsesTheModelStoredWhenTheCaptionIsComputed) {
  Defaults::set(Quillo::Keys::showTokenCount(), true);
  Defaults::set(Quillo::Keys::apiModel(), Quillo::Model::gpt4);
  Message reply(Role::assistant, "");
  Host host(bubble(reply));
  reply.content = std::string(1200, 'a');
  host.setRoot(bubble(reply));
  host.advance(1.0);
  EXPECT_TRUE(host.exists(text("1200 tokens ($0.036000)")));
  Defaults::set(Quillo::Keys::apiModel(), Quillo::Model::turbo);
  host.settle();
  EXPECT_TRUE(host.exists(text("1200 tokens ($0.036000)")));
}

TEST_F(ChatBubbleTest, AShownTextThatNeverChangesAndAnEmptyTextKeepAnEmptyCaption) {
  Defaults::set(Quillo::Keys::showTokenCount(), true);
  Message reply(Role::assistant, "restored");
  Host host(bubble(reply));
  host.advance(2.0);
  EXPECT_FALSE(host.exists(ui::testing::textContaining("tokens")));
  reply.content = "";
  host.setRoot(bubble(reply));
  host.advance(1.0);
  EXPECT_FALSE(host.exists(ui::testing::textContaining("tokens")));
}

TEST_F(ChatBubbleTest, WithTheCaptionOffNothingIsComputedAndTheCopyControlSitsLevel) {
  Message reply(Role::assistant, "");
  Host host(bubble(reply));
  reply.content = "Hello";
  host.setRoot(bubble(reply));
  host.advance(1.0);
  EXPECT_FALSE(host.exists(ui::testing::textContaining("tokens")));
  EXPECT_EQ(host.find(ui::testing::type<Quillo::SmallButton>()).offset(), (std::pair<double, double>{0, 0}));
  Defaults::set(Quillo::Keys::showTokenCount(), true);
  host.settle();
  EXPECT_EQ(host.find(ui::testing::type<Quillo::SmallButton>()).offset(), (std::pair<double, double>{0, -6}));
  EXPECT_TRUE(host.exists(text("")));  // the caption shows, still empty
}

TEST_F(ChatBubbleTest, CostIsTheCountInThousandsTimesTheStoredModelsPrice) {
  struct Case {
    Quillo::Model model;
    double cost;
  };
  const Case cases[] = {{Quillo::Model::turbo, 0.002},         {Quillo::Model::turbo31, 0.002},
                        {Quillo::Model::turbo1106, 0.002},     {Quillo::Model::turbo16k, 0.003},
                        {Quillo::Model::gpt4, 0.03},           {Quillo::Model::gpt4turbo128, 0.01},
                        {Quillo::Model::gpt40125preview, 0.01}};
  for (const auto& c : cases) {
    Defaults::set(Quillo::Keys::apiModel(), c.model);
    EXPECT_DOUBLE_EQ(ChatBubble::tokenCost(1000), c.cost);
    EXPECT_DOUBLE_EQ(ChatBubble::tokenCost(0), 0);
  }
}

}  // namespace
