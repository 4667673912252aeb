#include "MarkdownRender/views/image_views.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "MarkdownRender/model/parse_blocks.h"
#include "MarkdownRender/styles/text_style_environment.h"
#include "MarkdownRender/styles/text_styles.h"
#include "MarkdownRender/views/markdown_environment.h"
#include "MarkdownRender/views/markdown_view.h"
#include "layout_fixture.h"
#include "platform/ui/inspector.h"
#include "platform/ui/window_host.h"

namespace MarkdownRender {
namespace {

using ui::testing::Host;
using ui::testing::text;

// Draws every picture as the text "img:" followed by its URL (or "none").
class URLTextProvider final : public ImageProvider {
 public:
  ui::AnyView imageView(const std::optional<foundation::URL>& url) const override {
    return ui::Text::verbatim("img:" + (url ? url->absoluteString() : std::string("none")));
  }
};

ui::AnyView withTextPictures(const ui::AnyView& view) {
  return imageProvider(view, AnyImageProvider(URLTextProvider()));
}

std::vector<Inline> inlinesOf(const std::string& markdown) {
  auto blocks = parseBlocks(markdown);
  return blocks.at(0).as<Block::Paragraph>()->inlines;
}

TEST(ImageViews, WhichParagraphsArePicturesAndWhichText) {
  struct Case {
    std::string markdown;
    bool isBlockImage;
    bool isFlow;
  };
  const Case cases[] = {
      {"![a](a.png)", true, true},
      {"[![a](a.png)](https://x.example/)", true, true},
      {"![a](a.png)\n![b](b.png)\n![c](c.png)", false, true},
      {"![a](a.png) ![b](b.png)", false, false},  // spaces are text
      {"![a](a.png) caption", false, false},
      {"![a](a.png)\\\n![b](b.png)", false, true},
      {"[![a](a.png) and text](https://x.example/)", false, false},
      {"*![a](a.png)*", false, false},
      {"plain words", false, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.markdown);
    auto inlines = inlinesOf(c.markdown);
    EXPECT_EQ(ImageView::fromInlines(inlines).has_value(), c.isBlockImage);
    EXPECT_EQ(ImageFlow::fromInlines(inlines).has_value(), c.isFlow);
  }
  EXPECT_FALSE(ImageView::fromInlines({}).has_value());
  ASSERT_TRUE(ImageFlow::fromInlines({}).has_value());
  EXPECT_TRUE(ImageFlow::fromInlines({})->items().empty());
}

TEST(ImageViews, FlowItemsKeepDestinationsBreaksAndPlainAltText) {
  auto flow = ImageFlow::fromInlines(inlinesOf("[![*big* cat](a.png)](https://x.example/)\\\n![b](b.png)"));
  ASSERT_TRUE(flow.has_value());
  ASSERT_EQ(flow->items().size(), 3u);
  EXPECT_EQ(flow->items()[0].value.image.alt, "big cat");
  EXPECT_EQ(flow->items()[0].value.image.destination, "https://x.example/");
  EXPECT_EQ(flow->items()[1].value.kind, ImageFlow::Item::Kind::lineBreak);
  EXPECT_EQ(flow->items()[2].index, 2);
}

TEST(ImageViews, FlowGapIsAQuarterOfTheFontSizeRoundedAwayFromZero) {
  EXPECT_EQ(imageFlowSpacing(13), 3);
  EXPECT_EQ(imageFlowSpacing(14), 4);
  EXPECT_EQ(imageFlowSpacing(26), 7);
}

// Draws every picture as a block of 40 by 20 points.
class BlockProvider final : public ImageProvider {
 public:
  ui::AnyView imageView(const std::optional<foundation::URL>&) const override {
    return ui::AnyView(ui::Color::red()).frame(40, 20);
  }
};

TEST(ImageViews, FlowLaysOutItsPicturesWithTheGapOfTheTextStyle) {
  struct Case {
    std::string name;
    AnyTextStyle style;
    double gap;
  };
  const Case cases[] = {
      {"13 points", FontProperties(), 3},      // 3.25 rounded
      {"14 points", FontSize::points(14), 4},  // 3.5 rounded away from zero
      {"26 points", FontSize::points(26), 7},  // 6.5 rounded away from zero
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    // Three pictures on consecutive lines, in a width that holds two of them.
    const ui::AnyView flow =
        imageProvider(textStyle(Markdown("![a](a.png)\n![b](b.png)\n![c](c.png)"), c.style),
                      AnyImageProvider(BlockProvider()));
    ui::testing::WindowHost host(
        testing::inCorner(flow.frame(100, std::nullopt, ui::Alignment::topLeading()), {400, 300}),
        {400, 300});
    auto pictures = host.findAll(ui::testing::type<ImageView>());
    ASSERT_EQ(pictures.size(), 3u) << host.dump();
    const ui::Rect a = host.frame(pictures[0]), b = host.frame(pictures[1]), third = host.frame(pictures[2]);
    EXPECT_EQ(b.minX() - a.maxX(), c.gap);
    EXPECT_EQ(b.minY(), a.minY());
    EXPECT_EQ(third.minX(), a.minX());  // wrapped onto a second row
    EXPECT_EQ(third.minY() - a.maxY(), c.gap);
  }
}

TEST(ImageViews, BlockImageIsWrappedInTheThemesImageStyle) {
  const auto framed = Theme::standardTheme().withImage([](const BlockConfiguration& c) {
    return ui::AnyView(c.label).padding(5).accessibilityIdentifier("image style");
  });
  Host host(withTextPictures(theme(Markdown("![A cat](https://img.example/cat.png)"), framed)));
  const auto style = host.find(ui::testing::identifier("image style"));
  EXPECT_EQ(style.find(text("img:https://img.example/cat.png")).padding(), (ui::EdgeInsets{5, 5, 5, 5}));
  // Every picture of a flow goes through it as well.
  Host flow(withTextPictures(theme(Markdown("![a](a.png)\n![b](b.png)"), framed)));
  EXPECT_EQ(flow.findAll(ui::testing::identifier("image style")).size(), 2u);
}

TEST(ImageViews, BlockImageResolvesAgainstTheImageBaseAndIsLabelledWithItsAlt) {
  Host host(withTextPictures(Markdown("![A cat](cat.png)", foundation::URL::parse("https://base.example/"),
                                      foundation::URL::parse("https://img.example/p/"))));
  EXPECT_TRUE(host.exists(text("img:https://img.example/p/cat.png"))) << host.dump();
  EXPECT_TRUE(host.exists(ui::testing::accessibilityLabel("A cat")));
  EXPECT_FALSE(host.exists(text("A cat")));  // the alt text is not drawn
  EXPECT_FALSE(host.exists(ui::testing::type("Button")));
}

TEST(ImageViews, LinkedBlockImageOpensTheDestinationAgainstTheBaseURL) {
  Host host(
      withTextPictures(Markdown("[![a](cat.png)](page.html)", foundation::URL::parse("https://base.example/"),
                                foundation::URL::parse("https://img.example/"))));
  EXPECT_TRUE(host.exists(text("img:https://img.example/cat.png")));
  host.tap(host.find(ui::testing::type("Button")));
  ASSERT_EQ(host.desktop().openedURLs().size(), 1u);
  EXPECT_EQ(host.desktop().openedURLs()[0].absoluteString(), "https://base.example/page.html");
}

TEST(ImageViews, DestinationThatMakesNoURLIsNotClickable) {
  Host host(withTextPictures(ui::AnyView(ImageView(std::string("a.png"), "a", std::string("http://[bad")))));
  EXPECT_TRUE(host.exists(text("img:a.png")));
  EXPECT_FALSE(host.exists(ui::testing::type("Button")));
}

TEST(ImageViews, PicturesForTheOtherAppearanceAreLeftOut) {
  const std::string markdown =
      "![d](https://x.example/d.png#gh-dark-mode-only)\n"
      "![l](https://x.example/l.png#GH-LIGHT-MODE-ONLY)\n"
      "![o](https://x.example/o.png#other)";
  Host light(withTextPictures(Markdown(markdown)), ui::ColorScheme::light);
  EXPECT_FALSE(light.exists(text("img:https://x.example/d.png#gh-dark-mode-only")));
  EXPECT_TRUE(light.exists(text("img:https://x.example/l.png#GH-LIGHT-MODE-ONLY")));
  EXPECT_TRUE(light.exists(text("img:https://x.example/o.png#other")));
  Host dark(withTextPictures(Markdown(markdown)), ui::ColorScheme::dark);
  EXPECT_TRUE(dark.exists(text("img:https://x.example/d.png#gh-dark-mode-only")));
  EXPECT_FALSE(dark.exists(text("img:https://x.example/l.png#GH-LIGHT-MODE-ONLY")));
}

TEST(ImageViews, ParagraphOfOneHiddenPictureStaysAsAnEmptyParagraph) {
  Markdown view("![d](https://x.example/d.png#gh-dark-mode-only)");
  Host host(
      withTextPictures(theme(view, Theme::standardTheme().withParagraph([](const BlockConfiguration& c) {
        return ui::AnyView(c.label).accessibilityIdentifier("paragraph");
      }))));
  EXPECT_TRUE(host.exists(ui::testing::identifier("paragraph")));
  EXPECT_FALSE(host.exists(ui::testing::type<ImageView>()));
  EXPECT_EQ(view.content().blocks.at(0).as<Block::Paragraph>()->inlines.size(), 1u);  // stored as parsed
}

}  // namespace
}  // namespace MarkdownRender
