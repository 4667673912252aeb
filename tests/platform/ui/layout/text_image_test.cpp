// Pictures inside text: where they stand in the laid-out lines.
#include <gtest/gtest.h>

#include "layout_fixture.h"
#include "platform/foundation/bundle.h"
#include "platform/ui/image_modifiers.h"
#include "platform/ui/views.h"
#include "platform/ui/window_host.h"

namespace ui {
namespace {

using testing::CoordinateSpace;
using testing::type;
using testing::WindowHost;

TEST(TextWithImages, APictureBetweenTwoWordsStandsOnTheLineAtItsSize) {
  auto text = Text::verbatim("one ") + Text(Image::picture("https://example.com/dot.png", {24, 30})) +
              Text::verbatim(" two");
  WindowHost host(AnyView(text).font(Font::system(16)).frame(400, 300, Alignment::topLeading()), {400, 300});
  auto shown = host.find(type("Text"));
  // 16-point characters are 8 wide; the line grows to the picture's 30 points above the baseline and
  // keeps the font's 4 below it.
  EXPECT_EQ(host.frame(shown), Rect(0, 0, 88, 34));
  EXPECT_EQ(host.imageFrames(shown), std::vector<Rect>{Rect(32, 0, 24, 30)});
  EXPECT_EQ(shown.text(), "one  two");
  EXPECT_EQ(host.dump(),
            "frame(width: 400, height: 300)\n"
            "  font(system 16 regular default)\n"
            "    Text \"one \" + Image(\"https://example.com/dot.png\") 24x30 + \" two\"\n");
}

TEST(TextWithImages, PicturesWrapWithTheWordsAndAreReadInLocalCoordinates) {
  auto text = Text::verbatim("aaaa bbbb ") + Text(Image::picture("wide", {40, 24})) + Text::verbatim(" cc");
  WindowHost host(VStack(HorizontalAlignment::leading, 0.0, AnyView(Color::red()).frame(80, 10),
                         AnyView(text).frame(80, std::nullopt))
                      .font(Font::system(16)),
                  {400, 300});
  auto shown = host.find(type("Text"));
  EXPECT_EQ(host.frame(shown, CoordinateSpace::local), Rect(0, 0, 72, 48));
  EXPECT_EQ(host.imageFrames(shown, CoordinateSpace::local), std::vector<Rect>{Rect(0, 20, 40, 24)});
  const Rect window = host.frame(shown);
  EXPECT_EQ(host.imageFrames(shown), std::vector<Rect>{Rect(window.minX(), window.minY() + 20, 40, 24)});
}

TEST(TextWithImages, CharactersAreSetInTheFontOfTheirOwnPiece) {
  // "ab" at 32 points: 16 wide a character, 32 above the baseline; the rest at 16 points.
  auto text = Text(AttributedString("ab", {.font = Font::system(32)})) +
              Text(Image::picture("dot", {8, 8})) + Text::verbatim("cd");
  WindowHost host(AnyView(text).font(Font::system(16)).frame(400, 300, Alignment::topLeading()), {400, 300});
  auto shown = host.find(type("Text"));
  EXPECT_EQ(host.frame(shown), Rect(0, 0, 56, 40));
  EXPECT_EQ(host.imageFrames(shown), std::vector<Rect>{Rect(32, 24, 8, 8)});
}

TEST(TextWithImages, SymbolsInTextTakeTheSizeOfALineAtTheirScale) {
  WindowHost host(imageScale(Text::verbatim("a") + Text(Image::systemName("star")), ImageScale::small)
                      .font(Font::system(16))
                      .frame(400, 300, Alignment::topLeading()),
                  {400, 300});
  // A line of 20 points, at the small scale four fifths of it.
  EXPECT_EQ(host.imageFrames(host.find(type("Text"))), std::vector<Rect>{Rect(8, 0, 16, 16)});
}

TEST(Image, NamedImagesKeepTheirBundleAndLabel) {
  foundation::Bundle bundle(std::filesystem::path("/somewhere/Assets.bundle"));
  auto image = Image::named("logo.png", bundle, "The logo");
  EXPECT_EQ(image.imageSpec().bundleDirectory, std::filesystem::path("/somewhere/Assets.bundle"));
  EXPECT_EQ(image.imageSpec().label, "The logo");
  EXPECT_EQ(image.imageSpec().describe(), "Image(\"logo.png\") bundle \"Assets.bundle\" label \"The logo\"");
  LaidOut laidOut(image.withSize({12, 6}), {100, 100});
  EXPECT_EQ(laidOut.frame(type("Image")).size, (Size{12, 6}));
}

}  // namespace
}  // namespace ui
