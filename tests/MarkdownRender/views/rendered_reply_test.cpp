#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>

#include "MarkdownRender/views/markdown_view.h"
#include "platform/ui/inspector.h"

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
