// The stored form of every kind of setting value (the settings file format) and reading it back.
#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <limits>
#include <map>
#include <set>
#include <unordered_map>

#include "platform/foundation/log.h"
#include "platform/foundation/url.h"
#include "platform/foundation/uuid.h"
#include "platform/ui/color.h"
#include "platform/ui/color_archive.h"
#include "sample_types.h"
#include "settings_store/serializable.h"

namespace {

using Defaults::AnySerializable;
using Defaults::storableValue;
using Defaults::StoredObject;
using Defaults::typedValue;
using foundation::PlistValue;
using Array = PlistValue::Array;
using Dictionary = PlistValue::Dictionary;

foundation::URL url(const char* text) { return *foundation::URL::parse(text); }

TEST(StoredForm, EveryKindOfValueHasItsFixedForm) {
  const auto uuid = *foundation::UUID::parse("e621e1f8-c36c-495a-93fc-0c247a3e6e5f");
  const auto date = PlistValue::Date(std::chrono::seconds(1700000000));
  struct Case {
    const char* what;
    StoredObject stored;
    StoredObject expected;
  };
  const Case cases[] = {
      {"truth value", storableValue(true), PlistValue(true)},
      {"whole number", storableValue(42), PlistValue(42)},
      {"unsigned 8-bit", storableValue(std::uint8_t{200}), PlistValue(200)},
      {"double", storableValue(2.5), PlistValue(2.5)},
      {"float", storableValue(0.5f), PlistValue(0.5)},
      {"text", storableValue(std::string("hello")), PlistValue("hello")},
      {"data block", storableValue(PlistValue::Data{1, 2, 3}), PlistValue(PlistValue::Data{1, 2, 3})},
      {"date", storableValue(date), PlistValue(date)},
      {"optional text", storableValue(std::optional<std::string>("hi")), PlistValue("hi")},
      {"empty optional", storableValue(std::optional<int>()), std::nullopt},
      {"list of texts", storableValue(std::vector<std::string>{"a", "b"}), PlistValue(Array{"a", "b"})},
      {"dictionary of numbers", storableValue(std::map<std::string, int>{{"x", 1}}),
       PlistValue(Dictionary{{"x", 1}})},
      {"record", storableValue(sample::Profile{"Ann", 30}), PlistValue(R"({"name":"Ann","age":30})")},
      {"list of records", storableValue(std::vector<sample::Profile>{{"A", 1}, {"B", 2}}),
       PlistValue(Array{R"({"name":"A","age":1})", R"({"name":"B","age":2})"})},
      {"codable raw-representable", storableValue(sample::Engine::large), PlistValue(R"("gpt-4")")},
      {"raw-representable preferring the raw value", storableValue(sample::Mode::careful),
       PlistValue("careful")},
      {"raw text", storableValue(sample::Size::large), PlistValue("large")},
      {"raw whole number", storableValue(sample::Priority(2)), PlistValue(2)},
      {"URL", storableValue(url("https://example.com/a/b")), PlistValue(R"("https:\/\/example.com\/a\/b")")},
      {"UUID", storableValue(uuid), PlistValue("E621E1F8-C36C-495A-93FC-0C247A3E6E5F")},
      {"set of whole numbers", storableValue(std::set<int>{3, 1, 2}), PlistValue(Array{1, 2, 3})},
      {"set of texts", storableValue(std::set<std::string>{"b", "a"}), PlistValue(Array{"a", "b"})},
      {"set algebra", storableValue(sample::Tags{{"x", "y"}}), PlistValue(Array{"x", "y"})},
      {"collection", storableValue(sample::History{{{"A", 1}}}),
       PlistValue(Array{R"({"name":"A","age":1})"})},
      {"range of numbers", storableValue(sample::Range<int>{1, 5}), PlistValue(Array{1, 5})},
      {"range of records", storableValue(sample::Range<sample::Profile>{{"A", 1}, {"B", 2}}),
       PlistValue(Array{R"({"name":"A","age":1})", R"({"name":"B","age":2})"})},
      {"dictionary keyed by whole numbers", storableValue(std::map<int, sample::Profile>{{7, {"A", 1}}}),
       PlistValue(Dictionary{{"7", R"({"name":"A","age":1})"}})},
      {"dictionary of records", storableValue(std::map<std::string, sample::Profile>{{"k", {"A", 1}}}),
       PlistValue(Dictionary{{"k", R"({"name":"A","age":1})"}})},
      {"sRGB colour", storableValue(ui::Color(1, 0.5, 0, 1)),
       PlistValue(Array{"kCGColorSpaceSRGB", Array{1.0, 0.5, 0.0, 1.0}})},
      {"colour in a colour space",
       storableValue(*ui::Color::inColorSpace(ui::ColorSpaceName::genericGray, {0.25, 1})),
       PlistValue(Array{"kCGColorSpaceGenericGrayGamma2_2", Array{0.25, 1.0}})},
      {"archived value", storableValue(sample::Badge{7}), PlistValue(PlistValue::Data{'B', 7})},
      {"any value holding a record", storableValue(AnySerializable::of(sample::Profile{"A", 1})),
       PlistValue(R"({"name":"A","age":1})")},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(c.stored, c.expected);
  }
}

TEST(StoredForm, ValuesReadBackEqual) {
  EXPECT_EQ(typedValue<sample::Profile>(*storableValue(sample::Profile{"Ann", 30})),
            (sample::Profile{"Ann", 30}));
  EXPECT_EQ(typedValue<sample::Engine>(*storableValue(sample::Engine::turbo)), sample::Engine::turbo);
  EXPECT_EQ(typedValue<sample::Mode>(*storableValue(sample::Mode::careful)), sample::Mode::careful);
  EXPECT_EQ(typedValue<sample::Size>(*storableValue(sample::Size::large)), sample::Size::large);
  EXPECT_EQ(typedValue<sample::Priority>(*storableValue(sample::Priority(3))), sample::Priority(3));
  EXPECT_EQ(typedValue<foundation::URL>(*storableValue(url("https://example.com/x?q=1"))),
            url("https://example.com/x?q=1"));
  const auto uuid = foundation::UUID::random();
  EXPECT_EQ(typedValue<foundation::UUID>(*storableValue(uuid)), uuid);
  EXPECT_EQ(typedValue<std::set<int>>(*storableValue(std::set<int>{4, 2})), (std::set<int>{2, 4}));
  EXPECT_EQ(typedValue<std::unordered_set<std::string>>(*storableValue(std::unordered_set<std::string>{"a"})),
            (std::unordered_set<std::string>{"a"}));
  EXPECT_EQ(typedValue<sample::Tags>(*storableValue(sample::Tags{{"b", "a"}})), (sample::Tags{{"a", "b"}}));
  EXPECT_EQ(typedValue<sample::History>(*storableValue(sample::History{{{"A", 1}, {"B", 2}}})),
            (sample::History{{{"A", 1}, {"B", 2}}}));
  EXPECT_EQ((typedValue<sample::Range<double>>(*storableValue(sample::Range<double>{0.5, 2}))),
            (sample::Range<double>{0.5, 2}));
  EXPECT_EQ((typedValue<std::map<int, sample::Profile>>(
                *storableValue(std::map<int, sample::Profile>{{-3, {"A", 1}}}))),
            (std::map<int, sample::Profile>{{-3, {"A", 1}}}));
  EXPECT_EQ((typedValue<std::unordered_map<std::string, std::vector<int>>>(
                *storableValue(std::unordered_map<std::string, std::vector<int>>{{"a", {1, 2}}}))),
            (std::unordered_map<std::string, std::vector<int>>{{"a", {1, 2}}}));
  EXPECT_EQ(typedValue<sample::Badge>(*storableValue(sample::Badge{9})), sample::Badge{9});
  EXPECT_EQ(
      typedValue<std::optional<sample::Profile>>(*storableValue(std::optional<sample::Profile>({"A", 1}))),
      std::optional<sample::Profile>({"A", 1}));
}

TEST(StoredForm, NumbersConvertByOneTable) {
  struct Case {
    const char* what;
    PlistValue stored;
    std::optional<int> asInt;
    std::optional<double> asDouble;
    std::optional<bool> asBool;
    std::optional<std::uint8_t> asByte;
  };
  const Case cases[] = {
      {"whole number", PlistValue(3), 3, 3.0, std::nullopt, 3},
      {"exact fraction", PlistValue(4.0), 4, 4.0, std::nullopt, 4},
      {"inexact fraction", PlistValue(4.5), std::nullopt, 4.5, std::nullopt, std::nullopt},
      {"truth value", PlistValue(true), std::nullopt, std::nullopt, true, std::nullopt},
      {"negative for unsigned", PlistValue(-1), -1, -1.0, std::nullopt, std::nullopt},
      {"beyond 8 bits", PlistValue(256), 256, 256.0, std::nullopt, std::nullopt},
      {"beyond 32 bits", PlistValue(std::int64_t{1} << 40), std::nullopt, 1099511627776.0, std::nullopt,
       std::nullopt},
      {"infinity", PlistValue(std::numeric_limits<double>::infinity()), std::nullopt,
       std::numeric_limits<double>::infinity(), std::nullopt, std::nullopt},
      {"text", PlistValue("x"), std::nullopt, std::nullopt, std::nullopt, std::nullopt},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(typedValue<int>(c.stored), c.asInt);
    EXPECT_EQ(typedValue<double>(c.stored), c.asDouble);
    EXPECT_EQ(typedValue<bool>(c.stored), c.asBool);
    EXPECT_EQ(typedValue<std::uint8_t>(c.stored), c.asByte);
  }
  EXPECT_EQ(typedValue<std::int64_t>(PlistValue(9223372036854775807.0)), std::nullopt);  // 2^63 does not fit
  EXPECT_EQ(typedValue<std::int64_t>(PlistValue(-9223372036854775808.0)),
            std::numeric_limits<std::int64_t>::min());
  // A whole number beyond 64 signed bits has no stored form.
  EXPECT_EQ(storableValue(std::numeric_limits<std::uint64_t>::max()), std::nullopt);
}

TEST(StoredForm, NativeTypesStillReadJsonText) {
  EXPECT_EQ(typedValue<int>(PlistValue("5")), 5);
  EXPECT_EQ(typedValue<int>(PlistValue("five")), std::nullopt);
  EXPECT_EQ(typedValue<bool>(PlistValue("true")), true);
  EXPECT_EQ(typedValue<bool>(PlistValue("1")), std::nullopt);
  EXPECT_EQ(typedValue<double>(PlistValue("2.5")), 2.5);
  EXPECT_EQ(typedValue<std::string>(PlistValue(5)), std::nullopt);
  // A data block's JSON text is the base64 text of its bytes; a date's, its seconds since 2001.
  EXPECT_EQ(typedValue<PlistValue::Data>(PlistValue(R"("AQID")")), (PlistValue::Data{1, 2, 3}));
  EXPECT_EQ(typedValue<PlistValue::Data>(PlistValue(R"("AQ==")")), (PlistValue::Data{1}));
  EXPECT_EQ(typedValue<PlistValue::Data>(PlistValue(R"("AQI=")")), (PlistValue::Data{1, 2}));
  EXPECT_EQ(typedValue<PlistValue::Data>(PlistValue(R"("")")), PlistValue::Data{});
  EXPECT_EQ(typedValue<PlistValue::Data>(PlistValue(R"("AQ=I")")), std::nullopt);
  EXPECT_EQ(typedValue<PlistValue::Data>(PlistValue(R"("A")")), std::nullopt);
  EXPECT_EQ(typedValue<PlistValue::Data>(PlistValue(R"("AQ==AQ==")")), std::nullopt);
  EXPECT_EQ(typedValue<PlistValue::Date>(PlistValue("0")), PlistValue::Date(std::chrono::seconds(978307200)));
  EXPECT_EQ(typedValue<PlistValue::Date>(PlistValue("1e300")), std::nullopt);
  EXPECT_EQ(typedValue<std::vector<int>>(PlistValue(Array{1, "x"})), std::nullopt);
  EXPECT_EQ(typedValue<std::vector<int>>(PlistValue(Array{"5", "x"})), (std::vector<int>{5}));
}

TEST(StoredForm, JsonTextReadsTheFirstOfSeveralValuesAndNothingFromEmptyText) {
  EXPECT_EQ(typedValue<sample::Profile>(PlistValue(R"({"name":"A","age":1},{"name":"B","age":2})")),
            (sample::Profile{"A", 1}));
  EXPECT_EQ(typedValue<sample::Profile>(PlistValue("")), std::nullopt);
  EXPECT_EQ(typedValue<sample::Profile>(PlistValue(R"({"name":"A"})")), std::nullopt);
  EXPECT_EQ(typedValue<sample::Profile>(PlistValue(R"(1],[2)")), std::nullopt);
  EXPECT_EQ(typedValue<sample::Engine>(PlistValue(R"("gpt-5")")), std::nullopt);
  EXPECT_EQ(typedValue<sample::Engine>(PlistValue("gpt-4")), std::nullopt);  // the raw text is not JSON
  EXPECT_EQ(typedValue<sample::Size>(PlistValue("medium")), std::nullopt);
  EXPECT_EQ(typedValue<sample::Priority>(PlistValue(9)), std::nullopt);
  EXPECT_EQ(typedValue<foundation::URL>(PlistValue(R"("not a url")")), std::nullopt);
  EXPECT_EQ(typedValue<foundation::UUID>(PlistValue("E621E1F8")), std::nullopt);
}

TEST(StoredForm, AFailingEncodingIsPrintedAndGivesNothing) {
  foundation::LogCapture log;
  EXPECT_EQ(storableValue(sample::Score{std::nan("")}), std::nullopt);
  ASSERT_EQ(log.lines().size(), 1u);
  EXPECT_FALSE(log.lines()[0].empty());
}

TEST(StoredForm, CollectionsDropElementsWithoutAForm) {
  const std::vector<sample::Score> scores{{1}, {std::nan("")}, {2}};
  foundation::LogCapture log;
  EXPECT_EQ(storableValue(scores), PlistValue(Array{R"({"value":1.0})", R"({"value":2.0})"}));
  EXPECT_EQ(typedValue<std::vector<sample::Profile>>(
                PlistValue(Array{R"({"name":"A","age":1})", "junk", R"({"name":"B","age":2})"})),
            (std::vector<sample::Profile>{{"A", 1}, {"B", 2}}));
  // An element that is not even a text is not a list of records at all.
  EXPECT_EQ(typedValue<std::vector<sample::Profile>>(PlistValue(Array{R"({"name":"A","age":1})", 5})),
            std::nullopt);
  // A dictionary entry whose value has no stored form is left out.
  EXPECT_EQ(storableValue(std::map<std::string, sample::Score>{{"a", {1}}, {"b", {INFINITY}}}),
            PlistValue(Dictionary{{"a", R"({"value":1.0})"}}));
}

TEST(StoredForm, DictionaryKeysThatAreNotDecimalTextsAreDroppedOnReading) {
  const PlistValue stored(Dictionary{{"1", R"({"name":"A","age":1})"},
                                     {"x", R"({"name":"B","age":2})"},
                                     {"+2", R"({"name":"C","age":3})"},
                                     {"3", "junk"}});
  EXPECT_EQ((typedValue<std::map<int, sample::Profile>>(stored)),
            (std::map<int, sample::Profile>{{1, {"A", 1}}}));
  EXPECT_EQ((typedValue<std::map<int, sample::Profile>>(PlistValue(Array{}))), std::nullopt);
}

TEST(StoredForm, SetsOfNativeElementsNeedEveryElement) {
  EXPECT_EQ(typedValue<std::set<int>>(PlistValue(Array{1, "x"})), std::nullopt);
  EXPECT_EQ(typedValue<std::set<int>>(PlistValue("[1]")), std::nullopt);
}

TEST(StoredForm, RangesReadFromTheFirstTwoElements) {
  using R = sample::Range<int>;
  EXPECT_EQ(typedValue<R>(PlistValue(Array{1, 5, 9})), (R{1, 5}));
  EXPECT_EQ(typedValue<R>(PlistValue(Array{5, 1})), (R{5, 1}));  // the order is not checked
  EXPECT_EQ(typedValue<R>(PlistValue(Array{1})), std::nullopt);
  EXPECT_EQ(typedValue<R>(PlistValue(Array{1, "x"})), std::nullopt);
  EXPECT_EQ(typedValue<R>(PlistValue(3)), std::nullopt);
}

TEST(StoredForm, ColoursReadBack) {
  const ui::Color srgb(0.2, 0.4, 0.6, 0.8);
  EXPECT_EQ(typedValue<ui::Color>(*storableValue(srgb)), srgb);
  const auto gray = *ui::Color::inColorSpace(ui::ColorSpaceName::genericGray, {0.25, 1});
  EXPECT_EQ(typedValue<ui::Color>(*storableValue(gray)), gray);
  const ui::Color dynamicColors[] = {ui::Color::controlBackgroundColor(), ui::Color::teal().opacity(0.5),
                                     ui::Color::dynamic(ui::Color::white(), ui::Color(0.1, 0.1, 0.1))};
  for (const auto& color : dynamicColors) {
    const auto stored = storableValue(color);
    ASSERT_TRUE(stored && stored->isData());
    EXPECT_EQ(typedValue<ui::Color>(*stored), color);
  }
}

TEST(StoredForm, MalformedColoursReadAsNothing) {
  struct Case {
    const char* what;
    PlistValue stored;
  };
  const Case cases[] = {
      {"empty list", PlistValue(Array{})},
      {"one element", PlistValue(Array{"kCGColorSpaceSRGB"})},
      {"too few components", PlistValue(Array{"kCGColorSpaceSRGB", Array{1.0, 0.0}})},
      {"too many components",
       PlistValue(Array{"kCGColorSpaceGenericGrayGamma2_2", Array{1.0, 0.0, 0.0, 1.0}})},
      {"unknown colour space", PlistValue(Array{"kCGColorSpaceNowhere", Array{1.0, 1.0}})},
      {"name not a text", PlistValue(Array{5, Array{1.0, 1.0}})},
      {"components not numbers", PlistValue(Array{"kCGColorSpaceSRGB", Array{"r", "g", "b", "a"}})},
      {"text", PlistValue("red")},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(typedValue<ui::Color>(c.stored), std::nullopt);
  }
}

TEST(StoredForm, AnUnreadableColourArchiveIsPrintedAndGivesNothing) {
  foundation::LogCapture log;
  EXPECT_EQ(typedValue<ui::Color>(PlistValue(PlistValue::Data{'x', 'y'})), std::nullopt);
  EXPECT_EQ(log.lines().size(), 1u);
  EXPECT_EQ(typedValue<sample::Badge>(PlistValue(PlistValue::Data{1})), std::nullopt);
  EXPECT_EQ(log.lines().size(), 2u);
  // A failing archive is silent.
  EXPECT_EQ(storableValue(sample::Badge{0}), std::nullopt);
  EXPECT_EQ(log.lines().size(), 2u);
}

}  // namespace
