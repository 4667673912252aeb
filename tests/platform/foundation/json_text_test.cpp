#include "platform/foundation/json_text.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

#include "platform/foundation/text_error.h"

namespace foundation {
namespace {

TEST(JsonText, WritesCompactTextWithEscapedSlashesInInsertionOrder) {
  Json record;
  record["zeta"] = "a/b";
  record["alpha"] = 1;
  record["middle"] = Json::array({true, nullptr, "https://host/x"});
  EXPECT_EQ(jsonText(record), R"({"zeta":"a\/b","alpha":1,"middle":[true,null,"https:\/\/host\/x"]})");
}

TEST(JsonText, WritesScalarsAndEscapes) {
  struct Case {
    Json value;
    std::string text;
  };
  const Case cases[] = {
      {"/", R"("\/")"},
      {"quote \" and backslash \\", R"("quote \" and backslash \\")"},
      {"line\nbreak", R"("line\nbreak")"},
      {"é 😀", "\"é 😀\""},
      {42, "42"},
      {-7, "-7"},
      {0.5, "0.5"},
      {Json::array(), "[]"},
      {Json::object(), "{}"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(jsonText(c.value), c.text);
  }
}

TEST(JsonText, RefusesNonFiniteNumbersAnywhere) {
  const double values[] = {std::nan(""), std::numeric_limits<double>::infinity(),
                           -std::numeric_limits<double>::infinity()};
  for (double v : values) {
    SCOPED_TRACE(v);
    EXPECT_THROW(jsonText(Json(v)), TextError);
    EXPECT_THROW(jsonText(Json::array({1, Json::object({{"x", v}})})), TextError);
  }
}

TEST(JsonText, WritesInvalidUtf8AsReplacementCharacter) {
  EXPECT_EQ(jsonText(Json(std::string("a\xFF"))), "\"a\xEF\xBF\xBD\"");
}

TEST(JsonText, RoundTripsWhatItWrites) {
  Json record;
  record["url"] = "https://example.com/a?b=c";
  record["n"] = 3;
  record["list"] = Json::array({1.25, "x"});
  const Json back = parseJson(jsonText(record));
  EXPECT_EQ(back, record);
  EXPECT_EQ(back.begin().key(), "url");  // order kept through parsing too
}

TEST(JsonText, ParsingKeepsKeyOrderOfTheText) {
  const Json value = parseJson(R"({"b":1,"a":2,"c":3})");
  std::string keys;
  for (auto it = value.begin(); it != value.end(); ++it) keys += it.key();
  EXPECT_EQ(keys, "bac");
}

TEST(JsonText, MalformedTextIsAClearError) {
  const char* texts[] = {"",    "{",       "{\"a\":}", "[1,2", "tru", "{\"a\" 1}", "\"unterminated",
                         "1 2", "{'a':1}", "\xFF"};
  for (const char* text : texts) {
    SCOPED_TRACE(text);
    try {
      parseJson(text);
      ADD_FAILURE() << "parsed";
    } catch (const TextError& error) {
      EXPECT_NE(error.text().find("not valid JSON"), std::string::npos) << error.text();
    }
    EXPECT_FALSE(parseJsonIfValid(text).has_value());
  }
}

TEST(JsonText, DeepNestingIsRefusedNotACrash) {
  const std::string deep = std::string(100000, '[') + std::string(100000, ']');
  EXPECT_THROW(parseJson(deep), TextError);
  EXPECT_FALSE(parseJsonIfValid(deep).has_value());
  EXPECT_TRUE(parseJsonIfValid(std::string(100, '[') + std::string(100, ']')).has_value());
}

TEST(JsonText, StrictIntegers) {
  struct Case {
    const char* text;
    std::optional<std::int64_t> integer;
  };
  const Case cases[] = {
      {"8", 8},
      {"-8", -8},
      {"8.0", 8},  // a number without a fractional part
      {"8.5", std::nullopt},
      {"\"8\"", std::nullopt},
      {"true", std::nullopt},
      {"1e30", std::nullopt},
      {"9223372036854775807", std::numeric_limits<std::int64_t>::max()},
      {"-9223372036854775808", std::numeric_limits<std::int64_t>::min()},
      {"9223372036854775808", std::nullopt},
      {"18446744073709551615", std::nullopt},
      {"null", std::nullopt},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    const Json value = parseJson(c.text);
    EXPECT_EQ(isStrictInteger(value), c.integer.has_value());
    if (c.integer) {
      EXPECT_EQ(integerValue(value), *c.integer);
    } else {
      EXPECT_THROW(integerValue(value), TextError);
    }
  }
}

TEST(JsonText, StrictKindsOfOtherValues) {
  EXPECT_EQ(stringValue(Json("x")), "x");
  EXPECT_THROW(stringValue(Json(8)), TextError);
  EXPECT_TRUE(boolValue(Json(true)));
  EXPECT_THROW(boolValue(Json(1)), TextError);
  EXPECT_DOUBLE_EQ(doubleValue(Json(8)), 8.0);
  EXPECT_DOUBLE_EQ(doubleValue(Json(8.5)), 8.5);
  EXPECT_THROW(doubleValue(Json("8.5")), TextError);
}

TEST(JsonText, NullAndMissingMembersAreAbsent) {
  const Json object = parseJson(R"({"name":"n","count":null,"flag":false,"unknown":[1]})");
  EXPECT_EQ(optionalString(object, "name"), "n");
  EXPECT_EQ(optionalInteger(object, "count"), std::nullopt);
  EXPECT_EQ(optionalInteger(object, "missing"), std::nullopt);
  EXPECT_EQ(optionalBool(object, "flag"), false);
  EXPECT_EQ(optionalMember(object, "count"), nullptr);
  ASSERT_NE(optionalMember(object, "unknown"), nullptr);
  EXPECT_EQ(optionalMember(Json(3), "name"), nullptr);

  EXPECT_EQ(requiredString(object, "name"), "n");
  EXPECT_THROW(requiredInteger(object, "count"), TextError);
  EXPECT_THROW(requiredInteger(object, "missing"), TextError);
  EXPECT_THROW(requiredMember(Json::array(), "name"), TextError);
}

TEST(JsonText, WrongKindOfPresentMemberNamesTheMember) {
  const Json object = parseJson(R"({"count":"8"})");
  try {
    optionalInteger(object, "count");
    ADD_FAILURE() << "read a string as an integer";
  } catch (const TextError& error) {
    EXPECT_NE(error.text().find("count"), std::string::npos) << error.text();
  }
}

}  // namespace
}  // namespace foundation
