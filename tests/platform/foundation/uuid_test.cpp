#include "platform/foundation/uuid.h"

#include <gtest/gtest.h>

#include <regex>
#include <unordered_set>

namespace foundation {
namespace {

TEST(UUID, TextIsUpperCaseHexInGroupsOfEightFourFourFourTwelve) {
  const std::regex form("[0-9A-F]{8}-[0-9A-F]{4}-4[0-9A-F]{3}-[89AB][0-9A-F]{3}-[0-9A-F]{12}");
  for (int i = 0; i < 50; ++i) {
    const std::string text = UUID().uuidString();
    EXPECT_TRUE(std::regex_match(text, form)) << text;
  }
}

TEST(UUID, FreshIdentifiersAreUnique) {
  std::unordered_set<UUID> seen;
  std::unordered_set<std::string> texts;
  for (int i = 0; i < 1000; ++i) {
    const UUID id = UUID::random();
    EXPECT_TRUE(seen.insert(id).second);
    EXPECT_TRUE(texts.insert(id.uuidString()).second);
  }
}

TEST(UUID, ParsesItsTextAndRefusesOthers) {
  const UUID id;
  EXPECT_EQ(UUID::parse(id.uuidString()), id);

  const auto lower = UUID::parse("e621e1f8-c36c-495a-93fc-0c247a3e6e5f");
  ASSERT_TRUE(lower.has_value());
  EXPECT_EQ(lower->uuidString(), "E621E1F8-C36C-495A-93FC-0C247A3E6E5F");

  const char* invalid[] = {"",
                           "E621E1F8C36C495A93FC0C247A3E6E5F",
                           "E621E1F8-C36C-495A-93FC-0C247A3E6E5",
                           "E621E1F8-C36C-495A-93FC-0C247A3E6E5FF",
                           "G621E1F8-C36C-495A-93FC-0C247A3E6E5F",
                           "E621E1F8_C36C-495A-93FC-0C247A3E6E5F",
                           " E621E1F8-C36C-495A-93FC-0C247A3E6E5"};
  for (const char* text : invalid) {
    SCOPED_TRACE(text);
    EXPECT_FALSE(UUID::parse(text).has_value());
  }
}

TEST(UUID, EqualIdentifiersHashEqually) {
  const auto a = UUID::parse("E621E1F8-C36C-495A-93FC-0C247A3E6E5F");
  const auto b = UUID::parse("e621e1f8-c36c-495a-93fc-0c247a3e6e5f");
  ASSERT_TRUE(a && b);
  EXPECT_EQ(*a, *b);
  EXPECT_EQ(std::hash<UUID>()(*a), std::hash<UUID>()(*b));
  EXPECT_NE(*a, UUID());
}

}  // namespace
}  // namespace foundation
