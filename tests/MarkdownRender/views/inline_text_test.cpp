#include "MarkdownRender/views/inline_text.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "MarkdownRender/model/parse_blocks.h"
#include "MarkdownRender/styles/font_properties.h"
#include "MarkdownRender/styles/text_styles.h"
#include "MarkdownRender/views/markdown_view.h"
#include "layout_fixture.h"
#include "picture_bytes.h"
#include "platform/concurrency/task.h"
#include "platform/foundation/text_error.h"
#include "platform/ui/inspector.h"
#include "platform/ui/window_host.h"
#include "tests/support/loopback_server.h"

namespace MarkdownRender {
namespace {

// Styles that leave a visible mark each: a colour per kind of run.
InlineEnvironment colouredEnvironment(std::optional<foundation::URL> baseURL = std::nullopt) {
  InlineEnvironment environment;
  environment.baseURL = std::move(baseURL);
  environment.code = ForegroundColor(ui::Color::red());
  environment.emphasis = FontStyle(FontProperties::Style::italic);
  environment.strong = FontWeight(ui::FontWeight::semibold);
  environment.strikethrough = ForegroundColor(ui::Color::gray());
  environment.link = ForegroundColor(ui::Color::blue());
  return environment;
}

ui::AttributeContainer baseAttributes() {
  ui::AttributeContainer attributes;
  FontProperties().applyAttributes(attributes);
  return attributes;
}

std::vector<Inline> inlinesOf(const std::string& markdown) {
  auto blocks = parseBlocks(markdown);
  return blocks.at(0).as<Block::Paragraph>()->inlines;
}

TEST(InlineRendering, PiecesCarryTheirCharactersAndStyles) {
  struct Case {
    Inline node;
    std::string characters;
    std::optional<ui::Color> colour;
  };
  const Case cases[] = {
      {Inline::text("plain"), "plain", std::nullopt},
      {Inline::code("x < y"), "x < y", ui::Color::red()},
      {Inline::html("<b>"), "<b>", std::nullopt},
      {Inline::strikethrough({Inline::text("gone")}), "gone", ui::Color::gray()},
      {Inline::image("a.png", {Inline::text("alt")}), "", std::nullopt},
      {Inline::softBreak(), " ", std::nullopt},
      {Inline::lineBreak(), "\n", std::nullopt},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.characters);
    auto piece = attributedPiece(c.node, colouredEnvironment(), baseAttributes());
    EXPECT_EQ(piece.characters(), c.characters);
    for (const auto& run : piece.runs()) EXPECT_EQ(piece.attributes(run).foregroundColor, c.colour);
  }
}

TEST(InlineRendering, NestedStylesAccumulate) {
  auto text = buildAttributedText(inlinesOf("*a **b***"), colouredEnvironment(), baseAttributes());
  ASSERT_EQ(text.characters(), "a b");
  ASSERT_EQ(text.runs().size(), 2u);
  auto outer = fontProperties(text.attributes(text.runs()[0]));
  auto inner = fontProperties(text.attributes(text.runs()[1]));
  ASSERT_TRUE(outer && inner);
  EXPECT_EQ(outer->style, FontProperties::Style::italic);
  EXPECT_EQ(outer->weight, ui::FontWeight::regular);
  EXPECT_EQ(inner->style, FontProperties::Style::italic);
  EXPECT_EQ(inner->weight, ui::FontWeight::semibold);
}

TEST(InlineRendering, CodeInsideALinkTakesTheCodeStyleLast) {
  auto text =
      buildAttributedText(inlinesOf("[`x`](https://example.com/)"), colouredEnvironment(), baseAttributes());
  ASSERT_EQ(text.runs().size(), 1u);
  EXPECT_EQ(text.attributes(text.runs()[0]).foregroundColor, ui::Color::red());
  EXPECT_EQ(text.attributes(text.runs()[0]).link, "https://example.com/");
}

TEST(InlineRendering, LinksResolveAgainstTheBaseURL) {
  struct Case {
    std::string destination;
    std::optional<std::string> base;
    std::optional<std::string> link;
  };
  const Case cases[] = {
      {"https://a.example/x", std::nullopt, "https://a.example/x"},
      {"docs/page", "https://b.example/root/", "https://b.example/root/docs/page"},
      {"docs/page", std::nullopt, "docs/page"},  // a relative destination stays relative
      {"http://[bad", std::nullopt, std::nullopt},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.destination);
    std::optional<foundation::URL> base;
    if (c.base) base = foundation::URL::parse(*c.base);
    auto piece = attributedPiece(Inline::link(c.destination, {Inline::text("go")}), colouredEnvironment(base),
                                 baseAttributes());
    ASSERT_EQ(piece.runs().size(), 1u);
    EXPECT_EQ(piece.attributes(piece.runs()[0]).link, c.link);
    // The link keeps its look whether or not it links anywhere.
    EXPECT_EQ(piece.attributes(piece.runs()[0]).foregroundColor, ui::Color::blue());
  }
}

TEST(InlineRendering, TextViewTurnsFontRecordsIntoFonts) {
  auto text = buildText(inlinesOf("a `b`"), {}, InlineEnvironment::of(Theme::standardTheme(), std::nullopt),
                        baseAttributes());
  ui::testing::Host host(text);
  auto* spec = host.find(ui::testing::text("a b")).primitive<ui::detail::TextSpec>();
  ASSERT_NE(spec, nullptr);
  auto shown = spec->attributedString();
  for (const auto& run : shown.runs()) {
    EXPECT_TRUE(shown.attributes(run).font.has_value());
    EXPECT_EQ(shown.attributes(run).custom.count(FontPropertiesAttribute::name), 0u);
  }
}

TEST(InlineText, ShowsTheInlinesInTheThemeAndBaseURLInForce) {
  auto view = ui::AnyView(InlineText(inlinesOf("see [docs](guide) now")))
                  .environment<BaseURLKey>(foundation::URL::parse("https://c.example/"));
  ui::testing::Host host(view);
  auto* spec = host.find(ui::testing::text("see docs now")).primitive<ui::detail::TextSpec>();
  ASSERT_NE(spec, nullptr);
  bool linked = false;
  const auto shown = spec->attributedString();
  for (const auto& run : shown.runs()) {
    if (shown.attributes(run).link == "https://c.example/guide") linked = true;
  }
  EXPECT_TRUE(linked);
}

TEST(InlineText, WrapsInWidthAndKeepsItsFullHeight) {
  ui::testing::Host host(InlineText({Inline::text("Hello")}));
  auto* fixed = host.find(ui::testing::text("Hello")).modifier<ui::FixedSizeModifier>();
  ASSERT_NE(fixed, nullptr);
  EXPECT_FALSE(fixed->horizontal);
  EXPECT_TRUE(fixed->vertical);
}

// Pictures of 20 by 10 points named after their URL; a URL holding "fail" has none. While `isHeld` the
// loads wait (a cancelled load gives up waiting). Records what it was asked for. Thread-safe: `mutex`
// guards everything.
class ScriptedPictures final : public InlineImageProvider {
 public:
  ui::Image inlineImage(const foundation::URL& url, const std::string& label) const override {
    std::unique_lock lock(mutex);
    requests.push_back(url.absoluteString() + " " + label);
    changed.wait(lock, concurrency::currentStopToken(), [this] { return !isHeld; });
    if (concurrency::isCancelled()) throw concurrency::CancellationError();
    if (url.absoluteString().find("fail") != std::string::npos) throw foundation::TextError("no picture");
    return ui::Image::picture(url.absoluteString(), {20, 10});
  }
  void hold() {
    std::lock_guard lock(mutex);
    isHeld = true;
  }
  void release() {
    std::lock_guard lock(mutex);
    isHeld = false;
    changed.notify_all();
  }
  std::vector<std::string> requested() const {
    std::lock_guard lock(mutex);
    return requests;
  }

 private:
  mutable std::mutex mutex;
  mutable std::condition_variable_any changed;
  mutable std::vector<std::string> requests;
  bool isHeld = false;
};

// The pictures the text shows, in order.
std::vector<std::string> picturesIn(const ui::testing::ViewRef& view) {
  std::vector<std::string> names;
  for (const auto& segment : view.primitive<ui::detail::TextSpec>()->segments()) {
    if (segment.image) names.push_back(segment.image->name);
  }
  return names;
}

class InlinePictures : public ::testing::Test {
 protected:
  ui::AnyView withPictures(ui::AnyView view) { return inlineImageProvider(view, pictures); }
  // Runs the main queue until the text containing `part` shows `count` pictures.
  bool showsPictures(ui::testing::Host& host, const std::string& part, std::size_t count) {
    return host.runUntil(
        [&] { return picturesIn(host.find(ui::testing::textContaining(part))).size() == count; });
  }
  std::shared_ptr<ScriptedPictures> pictures = std::make_shared<ScriptedPictures>();
};

TEST_F(InlinePictures, APictureBetweenTwoWordsIsLaidOutAtItsSizeOnTheTextsLine) {
  testsupport::LoopbackServer server;
  auto gate = std::make_shared<testsupport::PieceGate>();  // holds the picture until the test lets it go
  server.reply("GET", "/dot.png", testsupport::ScriptedReply::inPieces({testing::png(20, 20)}, gate));
  auto provider = std::make_shared<DefaultInlineImageProvider>(std::make_shared<foundation::URLSession>(),
                                                               std::make_shared<DefaultImageLoader>());
  ui::testing::WindowHost host(
      testing::inCorner(
          inlineImageProvider(Markdown("one ![dot](" + server.url("/dot.png") + ") two"), provider),
          {400, 300}),
      {400, 300});
  auto text = [&] { return host.find(ui::testing::text("one  two")); };
  EXPECT_TRUE(picturesIn(text()).empty());  // nothing at the picture's place until it has loaded
  EXPECT_EQ(host.frame(text(), ui::testing::CoordinateSpace::local), ui::Rect(0, 0, 8 * 6.5, 16.25));
  gate->open();
  ASSERT_TRUE(host.runUntil([&] { return picturesIn(text()).size() == 1; })) << host.dump();
  // 13-point body text: characters 6.5 wide, the baseline 13 below the line's top and 3.25 below it to
  // the bottom. The 20-point picture raises the line to 20 above the baseline.
  EXPECT_EQ(host.frame(text(), ui::testing::CoordinateSpace::local),
            ui::Rect(0, 0, 4 * 6.5 + 20 + 4 * 6.5, 23.25));
  EXPECT_EQ(host.imageFrames(text(), ui::testing::CoordinateSpace::local),
            std::vector<ui::Rect>{ui::Rect(26, 0, 20, 20)});
  EXPECT_EQ(server.requests().size(), 1u);
}

// The default provider, counting the loads that have ended. Thread-safe: `ended` is atomic.
class CountedDefaultPictures final : public InlineImageProvider {
 public:
  ui::Image inlineImage(const foundation::URL& url, const std::string& label) const override {
    struct Count {
      std::atomic<int>& ended;
      ~Count() { ++ended; }
    } count{ended};
    return provider.inlineImage(url, label);
  }
  DefaultInlineImageProvider provider{std::make_shared<foundation::URLSession>(),
                                      std::make_shared<DefaultImageLoader>()};
  mutable std::atomic<int> ended{0};
};

TEST_F(InlinePictures, OnlyPicturesOverHTTPAreFetched) {
  const std::string onDisk = "file://" + std::string(QUILLO_TEST_DIR) + "/fixtures/assets/dot.png";
  auto counted = std::make_shared<CountedDefaultPictures>();
  ui::testing::Host host(inlineImageProvider(Markdown("see ![dot](" + onDisk + ") here"), counted));
  ASSERT_TRUE(host.runUntil([&] { return counted->ended == 1; }));
  host.settle();
  EXPECT_TRUE(picturesIn(host.find(ui::testing::text("see  here"))).empty());
}

TEST_F(InlinePictures, EachDistinctPictureLoadsOnceAgainstTheImageBaseURLWithItsAltText) {
  auto base = foundation::URL::parse("https://links.example/");
  auto imageBase = foundation::URL::parse("https://images.example/pics/");
  ui::testing::Host host(
      withPictures(Markdown("![a](x.png) and ![a](x.png) and [![b](y.png)](z)", base, imageBase)));
  ASSERT_TRUE(showsPictures(host, "and", 2)) << host.dump();
  auto requested = pictures->requested();
  std::sort(requested.begin(), requested.end());
  EXPECT_EQ(requested, (std::vector<std::string>{"https://images.example/pics/x.png a",
                                                 "https://images.example/pics/y.png b"}));
  // The image inside the link is loaded, but running text shows a link's content, and a picture there
  // is not shown.
  EXPECT_EQ(
      picturesIn(host.find(ui::testing::textContaining("and"))),
      (std::vector<std::string>{"https://images.example/pics/x.png", "https://images.example/pics/x.png"}));
}

TEST_F(InlinePictures, WithoutAnImageBaseURLARelativeSourceStaysRelative) {
  ui::testing::Host host(withPictures(Markdown("see ![a](pics/x.png)")));
  ASSERT_TRUE(showsPictures(host, "see", 1));
  EXPECT_EQ(pictures->requested(), std::vector<std::string>{"pics/x.png a"});
}

TEST_F(InlinePictures, OnePictureFailingLeavesTheTextWithoutAny) {
  ui::testing::Host host(withPictures(Markdown("one ![a](good.png) two ![b](fail.png)")));
  ASSERT_TRUE(host.runUntil([&] { return pictures->requested().size() == 2; }));
  host.settle();
  EXPECT_TRUE(picturesIn(host.find(ui::testing::textContaining("one"))).empty());
}

TEST_F(InlinePictures, PicturesInsideStyledRunsAreNeitherLoadedNorShown) {
  ui::testing::Host host(withPictures(Markdown("*look ![a](x.png)* here ![b](y.png)")));
  ASSERT_TRUE(showsPictures(host, "here", 1));
  EXPECT_EQ(pictures->requested(), std::vector<std::string>{"y.png b"});
  EXPECT_EQ(host.find(ui::testing::textContaining("here")).text(), "look  here ");
}

// Running text growing at one place while its pictures load, as a streamed reply does.
class GrowingReply final : public ui::View {
 public:
  ui::AnyView body() const override {
    return ui::VStack(ui::Button("More", [text = text_] { text.set(*text + " more"); }),
                      InlineText(inlinesOf(*text_)));
  }

 private:
  ui::State<std::string> text_{std::string("a ![p](x.png)")};
};

TEST_F(InlinePictures, PicturesShownStayUntilTheLoadForNewerTextEnds) {
  ui::testing::Host host(withPictures(GrowingReply()));
  ASSERT_TRUE(showsPictures(host, "a ", 1));
  pictures->hold();
  host.tap(ui::testing::button("More"));
  ASSERT_TRUE(host.runUntil([&] { return pictures->requested().size() == 2; }));
  host.tap(ui::testing::button("More"));  // supersedes the held load
  ASSERT_TRUE(host.runUntil([&] { return pictures->requested().size() == 3; }));
  EXPECT_EQ(picturesIn(host.find(ui::testing::text("a  more more"))).size(), 1u);
  pictures->release();
  EXPECT_TRUE(showsPictures(host, "more more", 1));
}

}  // namespace
}  // namespace MarkdownRender
