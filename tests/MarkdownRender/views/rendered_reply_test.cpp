#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>

#include "MarkdownRender/views/asset_image_provider.h"
#include "MarkdownRender/views/markdown_environment.h"
#include "MarkdownRender/views/markdown_view.h"
#include "platform/foundation/bundle.h"
#include "platform/ui/inspector.h"
#include "platform/ui/window_host.h"

namespace MarkdownRender {
namespace {

std::string fixture(const std::string& name) {
  std::ifstream file(std::string(QUILLO_TEST_DIR) + "/fixtures/" + name);
  std::stringstream contents;
  contents << file.rdbuf();
  return contents.str();
}

// The whole arrangement of a typical reply: set QUILLO_UPDATE_GOLDEN=1 to write the dump anew.
TEST(RenderedReply, MatchesTheGoldenDump) {
  ui::testing::Host host(Markdown(fixture("reply.md")));
  const std::string dump = host.dump();
  if (std::getenv("QUILLO_UPDATE_GOLDEN")) {
    std::ofstream(std::string(QUILLO_TEST_DIR) + "/fixtures/reply.dump.txt") << dump;
  }
  EXPECT_EQ(dump, fixture("reply.dump.txt"));
}

// A reply with a picture in its running text, an ordered list from 8 to 11, a 3 by 3 table and a task
// list, in the checkbox theme, laid out in a window once its picture has loaded from the test's assets:
// the markers' shared width, the table's lines and row fills and the checkboxes' layers are all in the dump.
TEST(RenderedReply, PicturesListsTablesAndTasksMatchTheGoldenDump) {
  auto assets =
      std::make_shared<foundation::Bundle>(std::filesystem::path(QUILLO_TEST_DIR) / "fixtures" / "assets");
  const ui::AnyView reply =
      inlineImageProvider(theme(Markdown(fixture("features.md")), Theme::checkboxTheme()),
                          std::make_shared<AssetInlineImageProvider>(defaultAssetName, assets));
  ui::testing::WindowHost host(reply.frame(400, 600, ui::Alignment::topLeading()), {400, 600});
  ASSERT_TRUE(host.runUntil([&] { return host.dump().find("Image(\"dot.png\")") != std::string::npos; }));
  const std::string dump = host.dump();
  if (std::getenv("QUILLO_UPDATE_GOLDEN")) {
    std::ofstream(std::string(QUILLO_TEST_DIR) + "/fixtures/features.dump.txt") << dump;
  }
  EXPECT_EQ(dump, fixture("features.dump.txt"));
}

TEST(RenderedReply, BlocksAreSpacedByTheirCollapsedMargins) {
  ui::testing::Host host(Markdown("first\n\nsecond"));
  EXPECT_EQ(host.find(ui::testing::text("first")).padding().top, 0);
  EXPECT_GT(host.find(ui::testing::text("second")).padding().top, 0);
}

TEST(RenderedReply, HostileNestingRendersWithinBounds) {
  const std::string quotes(20000, '>');
  std::string lists;
  for (int i = 0; i < 2000; ++i) lists += std::string(static_cast<std::size_t>(i) * 2, ' ') + "- x\n";
  for (const auto& markdown :
       {quotes + " deep", lists, std::string(5000, '*') + "a" + std::string(5000, '*')}) {
    ui::testing::Host host{Markdown(std::string_view(markdown))};
    EXPECT_FALSE(host.dump().empty());
  }
}

}  // namespace
}  // namespace MarkdownRender
