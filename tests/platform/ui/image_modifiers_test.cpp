// Symbol images: rendering mode, scale and layer colours recorded for the views below.
#include "platform/ui/image_modifiers.h"

#include <gtest/gtest.h>

#include "platform/ui/inspector.h"
#include "platform/ui/views.h"

namespace ui {
namespace {

using testing::Host;
using testing::type;

TEST(ImageModifiers, AreRecordedForTheViewsBelowAndShownInTheDump) {
  AnyView symbol = Image::systemName("checkmark.square.fill");
  Host host(foregroundStyle(
      imageScale(symbolRenderingMode(symbol, SymbolRenderingMode::hierarchical), ImageScale::small),
      Color::red(), Color::blue()));
  auto image = host.find(type("Image"));
  const auto& environment = image.environment();
  EXPECT_EQ(environment.get<SymbolRenderingModeKey>(), SymbolRenderingMode::hierarchical);
  EXPECT_EQ(environment.get<ImageScaleKey>(), ImageScale::small);
  EXPECT_EQ(image.foregroundStyle(), Color::red());
  EXPECT_EQ(environment.get<SecondaryForegroundStyleKey>(), Color::blue());
  EXPECT_EQ(host.dump(),
            "foregroundStyle(red, blue)\n"
            "  imageScale(small)\n"
            "    symbolRenderingMode(hierarchical)\n"
            "      Image(systemName: \"checkmark.square.fill\")\n");
}

TEST(ImageModifiers, DefaultToTheSymbolsOwnLookAtTheTextsScale) {
  Host host(Image::systemName("square"));
  const auto& environment = host.find(type("Image")).environment();
  EXPECT_EQ(environment.get<SymbolRenderingModeKey>(), std::nullopt);
  EXPECT_EQ(environment.get<ImageScaleKey>(), ImageScale::medium);
  EXPECT_EQ(environment.get<SecondaryForegroundStyleKey>(), std::nullopt);
  EXPECT_EQ(symbolScaleFactor(ImageScale::medium), 1);
  EXPECT_LT(symbolScaleFactor(ImageScale::small), 1);
  EXPECT_GT(symbolScaleFactor(ImageScale::large), 1);
}

}  // namespace
}  // namespace ui
