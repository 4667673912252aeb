#include "platform/foundation/property_list.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

#include "platform/foundation/text_error.h"
#include "tests/platform/foundation/random_text.h"

namespace foundation {
namespace {

using namespace std::chrono_literals;

PlistValue::Date dateAt(std::int64_t secondsSince1970, std::chrono::nanoseconds fraction = 0ns) {
  return PlistValue::Date(std::chrono::duration_cast<PlistValue::Date::duration>(
      std::chrono::seconds(secondsSince1970) + fraction));
}

TEST(PropertyList, EveryKindSurvivesTheXMLForm) {
  const PlistValue values[] = {
      true,
      false,
      0,
      -42,
      std::numeric_limits<std::int64_t>::max(),
      std::numeric_limits<std::int64_t>::min(),
      0.1,
      -2.5e-300,
      1.0,
      std::numeric_limits<double>::infinity(),
      -std::numeric_limits<double>::infinity(),
      "",
      "plain",
      "<tag> & \"quotes\" 'apostrophes' ]]>",
      "line\nbreak\ttab\rreturn \x01 control",
      "caf\xC3\xA9 \xF0\x9F\x98\x80",
      PlistValue::Data{},
      PlistValue::Data{0x00, 0xFF, 0x10},
      PlistValue::Data{1, 2, 3, 4},
      dateAt(0),
      dateAt(1700000000),
      dateAt(-86400 * 365),
      dateAt(1700000000, 250ms),
      dateAt(-1, 500ms),
      PlistValue::Array{},
      PlistValue::Array{1, "two", 3.0, false},
      PlistValue::Dictionary{},
      PlistValue::Dictionary{{"b", 1}, {"a", PlistValue::Array{PlistValue::Dictionary{{"x & y", true}}}}},
  };
  for (const auto& value : values) {
    SCOPED_TRACE(describe(value));
    const std::string text = writeXMLPropertyList(value);
    EXPECT_EQ(readXMLPropertyList(text), value) << text;
  }
}

TEST(PropertyList, EveryStringAndKeyReadsBackEqual) {
  testing::RandomText random(20240528);
  PlistValue::Dictionary dictionary;
  PlistValue::Array array;
  for (int i = 0; i < 3000; ++i) {
    std::string key = random.next();
    std::string value = random.next();
    SCOPED_TRACE(describe(PlistValue::Dictionary{{key, value}}));
    const PlistValue one = PlistValue::Dictionary{{key, value}};
    const std::string text = writeXMLPropertyList(one);
    ASSERT_EQ(readXMLPropertyList(text), one) << text;
    dictionary.insert_or_assign(std::move(key), value);
    array.push_back(std::move(value));
  }
  const PlistValue all = PlistValue::Dictionary{{"each", dictionary}, {"list", array}};
  EXPECT_EQ(readXMLPropertyList(writeXMLPropertyList(all)), all);
}

TEST(PropertyList, BytesXMLCannotHoldAreWrittenAsReferences) {
  struct Case {
    std::string value;
    std::string written;
  };
  const Case cases[] = {
      {std::string("a\0b", 3), "a&#0;b"},
      {"\x01\x1F\x7F\r", "&#1;&#31;&#127;&#13;"},
      {"\xFF", "&#xDCFF;"},
      {"\x80x", "&#xDC80;x"},
      {"\xC3", "&#xDCC3;"},                          // a lead byte cut short
      {"\xC0\xAF", "&#xDCC0;&#xDCAF;"},              // an overlong form
      {"\xED\xA0\x80", "&#xDCED;&#xDCA0;&#xDC80;"},  // an encoded surrogate
      {"caf\xC3\xA9 \xF0\x9F\x98\x80", "caf\xC3\xA9 \xF0\x9F\x98\x80"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.written);
    const std::string text = writeXMLPropertyList(c.value);
    EXPECT_NE(text.find("<string>" + c.written + "</string>"), std::string::npos) << text;
    EXPECT_EQ(readXMLPropertyList(text), PlistValue(c.value));
  }
}

TEST(PropertyList, RawBytesOfEveryKindAreReadAsTheyStand) {
  // What files may hold that were written before such bytes were escaped, or by hand.
  const std::string raw("a\0b\x01\xFF\xED\xA0\x80\xC3\xA9", 11);
  const PlistValue read =
      readXMLPropertyList("<plist><dict><key>" + raw + "</key><string>" + raw + "</string></dict></plist>");
  EXPECT_EQ(read, PlistValue(PlistValue::Dictionary{{raw, raw}}));
  EXPECT_EQ(readXMLPropertyList(writeXMLPropertyList(read)), read);
}

TEST(PropertyList, ADamagedDocumentKeepsEveryEntryThatReadsWhole) {
  const std::string head = "<?xml version=\"1.0\"?>\n<plist version=\"1.0\">\n<dict>\n\t<key>first</key>\n";
  struct Case {
    const char* name;
    std::string text;
    PlistValue::Dictionary kept;
    std::size_t faults;
  };
  const Case cases[] = {
      {"whole",
       head + "\t<integer>1</integer>\n\t<key>last</key><string>z</string>\n</dict>\n</plist>\n",
       {{"first", 1}, {"last", "z"}},
       0},
      {"a bad integer",
       head + "\t<integer>1</integer>\n<key>bad</key><integer>12x</integer>\n"
              "<key>last</key><string>z</string></dict></plist>",
       {{"first", 1}, {"last", "z"}},
       1},
      {"an unknown reference in a nested value",
       head + "<integer>1</integer><key>bad</key>"
              "<array><string>ok</string><string>&bogus;</string></array>"
              "<key>last</key><string>z</string></dict></plist>",
       {{"first", 1}, {"last", "z"}},
       1},
      {"a bad key",
       head + "<integer>1</integer><key>&#xD800;</key><true/><key>last</key><false/>"
              "</dict></plist>",
       {{"first", 1}, {"last", false}},
       1},
      {"a key without a value",
       head + "<integer>1</integer><key>lonely</key><key>last</key><false/>"
              "</dict></plist>",
       {{"first", 1}, {"last", false}},
       1},
      {"an unknown element",
       head + "<integer>1</integer><key>x</key><thing><a/>b</thing>"
              "<key>last</key><false/></dict></plist>",
       {{"first", 1}, {"last", false}},
       1},
      {"stray text between entries",
       head + "<integer>1</integer>garbage<key>last</key><false/>"
              "</dict></plist>",
       {{"first", 1}, {"last", false}},
       1},
      {"cut short inside a value",
       head + "<integer>1</integer><key>last</key><string>unfin",
       {{"first", 1}},
       1},
      {"cut short between entries", head + "<integer>1</integer>\n\t<key>la", {{"first", 1}}, 1},
      {"stray text after the document",
       head + "<integer>1</integer></dict></plist>\ntrailing",
       {{"first", 1}},
       1},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const SalvagedPropertyList salvaged = salvageXMLPropertyList(c.text);
    EXPECT_EQ(salvaged.entries, c.kept);
    EXPECT_EQ(salvaged.faults.size(), c.faults);
    if (c.faults == 0) {
      EXPECT_EQ(PlistValue(salvaged.entries), readXMLPropertyList(c.text));
    } else {
      EXPECT_THROW(readXMLPropertyList(c.text), TextError);
    }
  }
}

TEST(PropertyList, SalvagingNeedsADictionaryAtTheTop) {
  for (const std::string text :
       {"", "not xml", "<plist><array/></plist>", "<plist><string>a</string></plist>", "<plist/>"}) {
    SCOPED_TRACE(text);
    EXPECT_THROW(salvageXMLPropertyList(text), TextError);
  }
  EXPECT_TRUE(salvageXMLPropertyList("<plist><dict/></plist>").entries.empty());
  EXPECT_EQ(salvageXMLPropertyList("<dict><key>a</key><true/></dict>").entries,
            (PlistValue::Dictionary{{"a", true}}));
}

TEST(PropertyList, SalvagingAnyDamagedDocumentNeverCrashes) {
  const std::string text = writeXMLPropertyList(
      PlistValue::Dictionary{{"a", PlistValue::Array{-1, 0.5, "x&y", PlistValue::Data{9, 8, 7}}},
                             {"d", dateAt(0, 1ms)},
                             {"n", PlistValue::Dictionary{{"inner", "v"}}},
                             {"t", true}});
  for (std::size_t at = 0; at < text.size(); ++at) {
    for (const char replacement : {'<', '>', '&', '/', '!', '\0', 'x'}) {
      std::string changed = text;
      changed[at] = replacement;
      try {
        const SalvagedPropertyList salvaged = salvageXMLPropertyList(changed);
        // What is kept was in the document: a damaged byte never makes up a value.
        EXPECT_LE(salvaged.entries.size(), 4u);
      } catch (const TextError&) {
      }
    }
    try {
      salvageXMLPropertyList(std::string_view(text).substr(0, at));
    } catch (const TextError&) {
    }
  }
  SUCCEED();
}

TEST(PropertyList, NaNSurvivesTheXMLForm) {
  const PlistValue read = readXMLPropertyList(writeXMLPropertyList(std::nan("")));
  ASSERT_TRUE(read.isReal());
  EXPECT_TRUE(std::isnan(*read.doubleValue()));
}

TEST(PropertyList, WritesTheDocumentShapeWithSortedKeysAndEscapes) {
  const PlistValue value = PlistValue::Dictionary{{"zeta", "a<b&c>d"}, {"alpha", true}, {"mid", 1.5}};
  EXPECT_EQ(writeXMLPropertyList(value),
            "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
            "<!DOCTYPE plist PUBLIC \"-//Apple//DTD PLIST 1.0//EN\" "
            "\"http://www.apple.com/DTDs/PropertyList-1.0.dtd\">\n"
            "<plist version=\"1.0\">\n"
            "<dict>\n"
            "\t<key>alpha</key>\n"
            "\t<true/>\n"
            "\t<key>mid</key>\n"
            "\t<real>1.5</real>\n"
            "\t<key>zeta</key>\n"
            "\t<string>a&lt;b&amp;c&gt;d</string>\n"
            "</dict>\n"
            "</plist>\n");
}

TEST(PropertyList, WritesDatesAsUTCAndDataAsBase64) {
  EXPECT_NE(writeXMLPropertyList(dateAt(951782400)).find("<date>2000-02-29T00:00:00Z</date>"),
            std::string::npos);
  EXPECT_NE(writeXMLPropertyList(dateAt(0, 500ms)).find("<date>1970-01-01T00:00:00.5Z</date>"),
            std::string::npos);
  EXPECT_NE(writeXMLPropertyList(PlistValue::Data{'M', 'a'}).find("<data>TWE=</data>"), std::string::npos);
}

TEST(PropertyList, KindsStayDistinct) {
  EXPECT_NE(PlistValue(true), PlistValue(1));
  EXPECT_NE(PlistValue(false), PlistValue(0));
  EXPECT_NE(PlistValue(1), PlistValue(1.0));
  EXPECT_NE(PlistValue("1"), PlistValue(1));
  EXPECT_EQ(PlistValue(true).integerValue(), std::nullopt);
  EXPECT_EQ(PlistValue(true).doubleValue(), std::nullopt);
  EXPECT_EQ(PlistValue(1).boolValue(), std::nullopt);
  EXPECT_EQ(PlistValue(1.0).integerValue(), std::nullopt);
  EXPECT_EQ(PlistValue(3).doubleValue(), 3.0);  // integers widen to doubles, bools never do
  EXPECT_EQ(readXMLPropertyList("<plist><true/></plist>").kind(), PlistKind::boolean);
  EXPECT_EQ(readXMLPropertyList("<plist><integer>1</integer></plist>").kind(), PlistKind::integer);
  EXPECT_EQ(readXMLPropertyList("<plist><real>1</real></plist>").kind(), PlistKind::real);
  EXPECT_EQ(std::hash<PlistValue>()(PlistValue::Array{1, "a"}),
            std::hash<PlistValue>()(PlistValue::Array{1, "a"}));
}

TEST(PropertyList, ReadsEntitiesReferencesCommentsAndCDATA) {
  const PlistValue read = readXMLPropertyList(
      "\xEF\xBB\xBF<?xml version=\"1.0\"?>\n<!-- a comment -->\n"
      "<!DOCTYPE plist [ <!ENTITY x \"y\"> ]>\n<plist version=\"1.0\"><dict>\n"
      "<key>e</key><string>&amp;&lt;&gt;&quot;&apos;&#65;&#x42;&#x1F600;</string>\n"
      "<!-- between --><key>c</key><string><![CDATA[<raw & text>]]></string>\n"
      "<key>empty</key><string/>\n"
      "<key>spaced</key><integer> -7 </integer>\n"
      "</dict></plist>\n");
  EXPECT_EQ(read,
            (PlistValue::Dictionary{
                {"e", "&<>\"'AB\xF0\x9F\x98\x80"}, {"c", "<raw & text>"}, {"empty", ""}, {"spaced", -7}}));
}

TEST(PropertyList, MalformedDocumentsAreTextErrors) {
  std::string deep = "<plist>";
  for (int i = 0; i < 300; ++i) deep += "<array>";
  const std::string cases[] = {
      "",
      "   ",
      "not xml at all",
      "<plist>",
      "<plist version=\"1.0\"><dict>",
      "<plist><dict><key>a</key></dict></plist>",
      "<plist><dict><string>a</string><string>b</string></dict></plist>",
      "<plist><array><string>a</array></plist>",
      "<plist><integer>12x</integer></plist>",
      "<plist><integer>99999999999999999999</integer></plist>",
      "<plist><integer></integer></plist>",
      "<plist><real>1.2.3</real></plist>",
      "<plist><data>!!!!</data></plist>",
      "<plist><data>QQ==QQ</data></plist>",
      "<plist><date>2020-13-01T00:00:00Z</date></plist>",
      "<plist><date>2021-02-29T00:00:00Z</date></plist>",
      "<plist><date>2020-01-01 00:00:00</date></plist>",
      "<plist><date>9999-01-01T00:00:00Z</date></plist>",
      "<plist><string>&bogus;</string></plist>",
      "<plist><string>&#xD800;</string></plist>",
      "<plist><string>&#xDC7F;</string></plist>",
      "<plist><string>&#xDD00;</string></plist>",
      "<plist><string>&#99999999999;</string></plist>",
      "<plist><string>unterminated &amp</string></plist>",
      "<plist><true>x</true></plist>",
      "<plist><unknown/></plist>",
      "<plist><string>a</string><string>b</string></plist>",
      "<plist><string>a</string></plist> trailing",
      "<!-- unterminated comment",
      "<?xml unterminated",
      "<plist><string><![CDATA[open</string></plist>",
      "<plist><dict attr=\"unterminated></dict></plist>",
      "<plist/>",
      deep,
      std::string("<plist><string>a\0b", 18),
  };
  for (const auto& text : cases) {
    SCOPED_TRACE(text.substr(0, 80));
    EXPECT_THROW(readXMLPropertyList(text), TextError);
  }
}

TEST(PropertyList, EveryPrefixOfADocumentIsReadOrRefusedWithoutCrashing) {
  const std::string text = writeXMLPropertyList(PlistValue::Dictionary{
      {"a", PlistValue::Array{1, 2.5, "x&y", PlistValue::Data{1, 2}}}, {"b", dateAt(12345)}, {"c", false}});
  for (std::size_t length = 0; length < text.size(); ++length) {
    try {
      readXMLPropertyList(std::string_view(text).substr(0, length));
    } catch (const TextError&) {
    }
  }
  EXPECT_NO_THROW(readXMLPropertyList(text));
}

TEST(PropertyList, DocumentsWithAnyOneByteChangedAreReadOrRefusedWithoutCrashing) {
  const std::string text = writeXMLPropertyList(
      PlistValue::Dictionary{{"a", PlistValue::Array{-1, 0.5, "x&y", PlistValue::Data{9, 8, 7}}},
                             {"d", dateAt(0, 1ms)},
                             {"t", true}});
  for (std::size_t at = 0; at < text.size(); ++at) {
    for (const char replacement : {'<', '>', '&', '/', '!', '"', '\0', 'x', '9'}) {
      std::string changed = text;
      changed[at] = replacement;
      try {
        readXMLPropertyList(changed);
      } catch (const TextError&) {
      }
    }
  }
  SUCCEED();
}

TEST(PropertyList, NestingUpToTheLimitIsAccepted) {
  PlistValue value = 1;
  for (int i = 0; i < maximumPropertyListDepth; ++i) value = PlistValue::Array{value};
  EXPECT_EQ(readXMLPropertyList(writeXMLPropertyList(value)), value);
}

}  // namespace
}  // namespace foundation
