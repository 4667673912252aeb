#include "MarkdownRender/views/asset_image_provider.h"

#include <gtest/gtest.h>

#include "layout_fixture.h"

namespace MarkdownRender {
namespace {

using ui::Rect;
using ui::testing::type;
using ui::testing::WindowHost;

std::shared_ptr<foundation::Bundle> assets() {
  return std::make_shared<foundation::Bundle>(std::filesystem::path(QUILLO_TEST_DIR) / "fixtures" / "assets");
}

foundation::URL urlOf(const std::string& text) { return *foundation::URL::parse(text); }

TEST(AssetImageProvider, ShowsTheBundledPictureNamedByTheLastPathComponentFittedToTheWidth) {
  EXPECT_EQ(defaultAssetName(urlOf("https://example.com/images/chart.png?x=1")), "chart.png");
  AssetImageProvider provider(defaultAssetName, assets());
  WindowHost host(
      testing::inCorner(provider.imageView(urlOf("https://example.com/images/chart.png")), {300, 600}),
      {300, 600});
  EXPECT_EQ(host.frame(type("ResizeToFitLayout")), Rect(0, 0, 300, 150));
}

TEST(AssetImageProvider, DrawsNothingWithoutAURLOrAPicture) {
  AssetImageProvider provider(defaultAssetName, assets());
  struct Case {
    const char* name;
    std::optional<foundation::URL> url;
  };
  const Case cases[] = {
      {"no URL", std::nullopt},
      {"no such file", urlOf("https://example.com/missing.png")},
      {"not a picture", urlOf("https://example.com/notes.txt")},
      {"a path outside the bundle", urlOf("https://example.com/..%2F..%2Fimage_loader_test.cpp")},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    WindowHost host(testing::inCorner(ui::VStack(provider.imageView(c.url)), {300, 600}), {300, 600});
    EXPECT_FALSE(host.exists(type("Image")));
  }
}

TEST(AssetInlineImageProvider, GivesTheNamedImageOfItsBundleWithTheLabelAtThePicturesSize) {
  struct Case {
    const char* name;
    std::optional<foundation::Size> size;
  };
  const Case cases[] = {{"chart.png", foundation::Size{600, 300}}, {"missing.png", std::nullopt}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    AssetInlineImageProvider provider([&](const foundation::URL&) { return std::string(c.name); }, assets());
    const auto image = provider.inlineImage(urlOf("https://example.com/a.png"), "The chart");
    const auto& spec = image.imageSpec();
    EXPECT_EQ(spec.name, c.name);
    EXPECT_EQ(spec.bundleDirectory, assets()->resourceDirectory());
    EXPECT_EQ(spec.label, "The chart");
    EXPECT_EQ(spec.size, c.size);
  }
}

TEST(AssetInlineImageProvider, WithoutABundleLooksInTheMainBundle) {
  foundation::Bundle::setMainResourceDirectory(std::filesystem::path(QUILLO_TEST_DIR) / "fixtures" /
                                               "assets");
  AssetInlineImageProvider provider;
  const auto image = provider.inlineImage(urlOf("https://example.com/images/chart.png"), "");
  foundation::Bundle::setMainResourceDirectory(std::nullopt);
  EXPECT_EQ(image.imageSpec().bundleDirectory,
            std::filesystem::path(QUILLO_TEST_DIR) / "fixtures" / "assets");
  EXPECT_EQ(image.imageSpec().size, (foundation::Size{600, 300}));
}

}  // namespace
}  // namespace MarkdownRender
