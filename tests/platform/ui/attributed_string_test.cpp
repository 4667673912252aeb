#include "platform/ui/attributed_string.h"

#include <gtest/gtest.h>

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

}  // namespace
}  // namespace ui
