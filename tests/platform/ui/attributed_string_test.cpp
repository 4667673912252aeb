#include "platform/ui/attributed_string.h"

#include <gtest/gtest.h>

#include <string>
#include <thread>
#include <utility>
#include <vector>

namespace ui {
namespace {

AttributeContainer colored(Color color) {
  AttributeContainer attributes;
  attributes.foregroundColor = color;
  return attributes;
}

TEST(AttributedString, AppendingKeepsCharactersAndJoinsEqualNeighbours) {
  AttributedString text("let", colored(Color::blue()));
  text.append(" ");
  text.append("x", colored(Color::red()));
  text.append("y", colored(Color::red()));
  EXPECT_EQ(text.characters(), "let xy");
  ASSERT_EQ(text.runs().size(), 3u);
  EXPECT_EQ(text.text(text.runs()[0]), "let");
  EXPECT_EQ(text.text(text.runs()[1]), " ");
  EXPECT_TRUE(text.attributes(text.runs()[1]).isEmpty());
  EXPECT_EQ(text.text(text.runs()[2]), "xy");
  EXPECT_EQ(text.attributes(text.runs()[2]).foregroundColor, Color::red());
}

TEST(AttributedString, ConcatenationEqualsAppending) {
  const AttributedString a("é", colored(Color::teal()));
  const AttributedString b("z");
  AttributedString appended = a;
  appended.append(b);
  EXPECT_EQ(a + b, appended);
  AttributedString self = a;
  self += self;
  EXPECT_EQ(self.characters(), "éé");
  EXPECT_EQ(self.runs().size(), 1u);
  EXPECT_TRUE(AttributedString().runs().empty());
  EXPECT_TRUE(AttributedString("").runs().empty());
}

TEST(AttributedString, MergingLetsTheNewAttributesWin) {
  AttributedString text("a", colored(Color::red()));
  text.append("b");
  AttributeContainer bold;
  bold.font = Font::body().bold();
  bold.custom["fontProperties"] = std::string("bold");
  text.mergeAttributes(bold);
  ASSERT_EQ(text.runs().size(), 2u);
  EXPECT_EQ(text.attributes(text.runs()[0]).foregroundColor, Color::red());
  EXPECT_EQ(text.attributes(text.runs()[1]).font, Font::body().bold());
  text.setAttributes(colored(Color::green()));
  ASSERT_EQ(text.runs().size(), 1u);
  EXPECT_EQ(text.runs()[0].length, 2u);

  AttributeContainer link;
  link.link = "https://example.com";
  link.underline = true;
  const auto merged = colored(Color::red()).merging(link);
  EXPECT_EQ(merged.foregroundColor, Color::red());
  EXPECT_EQ(merged.link, "https://example.com");
  EXPECT_EQ(std::hash<AttributeContainer>{}(merged), std::hash<AttributeContainer>{}(merged));
}

// Many strings made one after another, on two threads at once, from more distinct sets of attributes
// than are ever kept at hand: every run keeps the set it was made with.
TEST(AttributedString, StringsMadeFromManySetsOnTwoThreadsKeepEachRunsOwnAttributes) {
  const std::vector<Color> colors{Color::red(),    Color::green(),  Color::blue(),  Color::teal(),
                                  Color::orange(), Color::purple(), Color::yellow()};
  auto make = [&colors](std::size_t offset, std::vector<AttributedString>& made) {
    for (std::size_t i = 0; i < 500; ++i) {
      const auto& first = colors[(i + offset) % colors.size()];
      const auto& second = colors[(i * 3 + offset) % colors.size()];
      AttributedString text("a", colored(first));
      text.append("b", colored(second));
      made.push_back(std::move(text));
    }
  };
  std::vector<AttributedString> one, other;
  std::thread worker([&] { make(1, other); });
  make(0, one);
  worker.join();
  for (const auto& [offset, made] :
       {std::pair<std::size_t, const std::vector<AttributedString>*>{0, &one},
        std::pair<std::size_t, const std::vector<AttributedString>*>{1, &other}}) {
    ASSERT_EQ(made->size(), 500u);
    for (std::size_t i = 0; i < made->size(); ++i) {
      const auto& text = (*made)[i];
      const auto& first = colors[(i + offset) % colors.size()];
      const auto& second = colors[(i * 3 + offset) % colors.size()];
      ASSERT_EQ(text.runs().size(), first == second ? 1u : 2u) << i;
      EXPECT_EQ(text.attributes(text.runs().front()).foregroundColor, first) << i;
      EXPECT_EQ(text.attributes(text.runs().back()).foregroundColor, second) << i;
    }
  }
}

}  // namespace
}  // namespace ui
