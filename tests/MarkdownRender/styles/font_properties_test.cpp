// The font record: its defaults, the font it makes, how it travels as an attribute and how attributed
// text trades records for fonts.
#include "MarkdownRender/styles/font_properties.h"

#include <gtest/gtest.h>

#include <string>
#include <unordered_set>

namespace {

using MarkdownRender::FontProperties;
using MarkdownRender::FontPropertiesAttribute;
using MarkdownRender::makeFont;
using ui::Font;
using ui::FontDesign;
using ui::FontWeight;

TEST(FontProperties, DefaultRecordIsTheRegularSystemFontAtThirteenPoints) {
  const FontProperties p;
  EXPECT_EQ(p.family, FontProperties::Family::system(FontDesign::standard));
  EXPECT_EQ(p.familyVariant, FontProperties::FamilyVariant::normal);
  EXPECT_EQ(p.capsVariant, FontProperties::CapsVariant::normal);
  EXPECT_EQ(p.digitVariant, FontProperties::DigitVariant::normal);
  EXPECT_EQ(p.style, FontProperties::Style::normal);
  EXPECT_EQ(p.weight, FontWeight::regular);
  EXPECT_EQ(p.size, 13);
  EXPECT_EQ(p.scale, 1);
  EXPECT_EQ(FontProperties::standardSize, 13);
  EXPECT_EQ(makeFont(p), Font::system(13, FontWeight::regular, FontDesign::standard));
}

TEST(FontProperties, EffectiveSizeRoundsHalvesAwayFromZero) {
  struct Case {
    double size, scale, effective;
  };
  const Case cases[] = {{13, 1, 13}, {13, 1.5, 20},  {13, 1.88, 24},
                        {13, 2, 26}, {10, 1.25, 13}, {13, -0.5, -7}};
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << c.size << " x " << c.scale);
    FontProperties p;
    p.size = c.size;
    p.scale = c.scale;
    EXPECT_EQ(p.effectiveSize(), c.effective);
    if (c.effective > 0) {
      EXPECT_EQ(makeFont(p).size(), c.effective);
    }
  }
}

TEST(FontProperties, MakesTheFontWithItsModifiersInOrder) {
  struct Case {
    std::string name;
    FontProperties properties;
    Font expected;
  };
  using P = FontProperties;
  const Case cases[] = {
      {"custom, regular", P(P::Family::custom("Menlo")), Font::custom("Menlo", 13)},
      {"custom, bold",
       P(P::Family::custom("Menlo"), P::FamilyVariant::normal, P::CapsVariant::normal,
         P::DigitVariant::normal, P::Style::normal, FontWeight::bold),
       Font::custom("Menlo", 13).weight(FontWeight::bold)},
      {"serif design", P(P::Family::system(FontDesign::serif)),
       Font::system(13, FontWeight::regular, FontDesign::serif)},
      {"all modifiers",
       P(P::Family::system(), P::FamilyVariant::monospaced, P::CapsVariant::smallCaps,
         P::DigitVariant::monospaced, P::Style::italic, FontWeight::semibold, 13, 1.5),
       Font::system(20).monospaced().smallCaps().monospacedDigit().weight(FontWeight::semibold).italic()},
      {"lower-case small capitals",
       P(P::Family::system(), P::FamilyVariant::normal, P::CapsVariant::lowercaseSmallCaps),
       Font::system(13).lowercaseSmallCaps()},
      {"upper-case small capitals",
       P(P::Family::system(), P::FamilyVariant::normal, P::CapsVariant::uppercaseSmallCaps),
       Font::system(13).uppercaseSmallCaps()},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(makeFont(c.properties), c.expected);
  }
  const Font custom = makeFont(P(P::Family::custom("Menlo")));
  EXPECT_EQ(custom.weight(), FontWeight::regular);
  EXPECT_FALSE(custom.hasLowercaseSmallCaps());
  EXPECT_FALSE(custom.isItalic());
}

TEST(FontProperties, EqualityAndHashCoverEveryField) {
  FontProperties base;
  std::vector<FontProperties> changed(8, base);
  changed[0].family = FontProperties::Family::system(FontDesign::rounded);
  changed[1].familyVariant = FontProperties::FamilyVariant::monospaced;
  changed[2].capsVariant = FontProperties::CapsVariant::smallCaps;
  changed[3].digitVariant = FontProperties::DigitVariant::monospaced;
  changed[4].style = FontProperties::Style::italic;
  changed[5].weight = FontWeight::bold;
  changed[6].size = 14;
  changed[7].scale = 2;
  std::unordered_set<FontProperties> all{base};
  for (const auto& p : changed) {
    EXPECT_NE(p, base);
    all.insert(p);
  }
  EXPECT_EQ(all.size(), 9u);
  EXPECT_EQ(FontProperties::Family::custom("A"), FontProperties::Family::custom("A"));
  EXPECT_NE(FontProperties::Family::custom("A"), FontProperties::Family::custom("B"));
  EXPECT_NE(FontProperties::Family::custom("A"), FontProperties::Family::system());
}

TEST(FontPropertiesAttribute, RecordsSurviveTheTripThroughAContainer) {
  using P = FontProperties;
  const P records[] = {
      P(),
      P(P::Family::custom("Name; with separators;"), P::FamilyVariant::monospaced,
        P::CapsVariant::uppercaseSmallCaps, P::DigitVariant::monospaced, P::Style::italic, FontWeight::black,
        16.25, 0.94),
      P(P::Family::system(FontDesign::monospaced), P::FamilyVariant::normal, P::CapsVariant::normal,
        P::DigitVariant::normal, P::Style::normal, FontWeight::ultraLight, 0.1, 1.88),
      P(P::Family::custom("")),
  };
  for (const auto& p : records) {
    ui::AttributeContainer attributes;
    MarkdownRender::setFontProperties(attributes, p);
    EXPECT_TRUE(attributes.custom.contains("fontProperties"));
    EXPECT_EQ(MarkdownRender::fontProperties(attributes), p);
  }
  ui::AttributeContainer attributes;
  EXPECT_EQ(MarkdownRender::fontProperties(attributes), std::nullopt);
  MarkdownRender::setFontProperties(attributes, P());
  MarkdownRender::setFontProperties(attributes, std::nullopt);
  EXPECT_TRUE(attributes.isEmpty());
}

TEST(FontPropertiesAttribute, EqualRecordsCarryEqualValues) {
  FontProperties negativeZero;
  negativeZero.scale = -0.0;
  FontProperties zero;
  zero.scale = 0.0;
  ASSERT_EQ(negativeZero, zero);
  EXPECT_EQ(FontPropertiesAttribute::encode(negativeZero), FontPropertiesAttribute::encode(zero));
  EXPECT_EQ(std::hash<FontProperties>{}(negativeZero), std::hash<FontProperties>{}(zero));
}

TEST(FontPropertiesAttribute, UnreadableValuesCountAsAbsent) {
  const ui::AttributeValue values[] = {
      true,
      std::int64_t{13},
      13.0,
      std::string("bold"),
      std::string(""),
      std::string("system;standard;normal;normal;normal;normal;regular;13"),
      std::string("system;standard;normal;normal;normal;normal;regular;13;1;Menlo"),
      std::string("system;standard;normal;normal;normal;normal;heavyish;13;1;"),
      std::string("custom;standard;normal;normal;normal;normal;regular;nan;1;Menlo"),
      std::string("custom;standard;normal;normal;normal;normal;regular;13;1e999;Menlo"),
      std::string("custom;standard;normal;normal;normal;normal;regular;13 ;1;Menlo"),
  };
  for (const auto& value : values) {
    EXPECT_EQ(FontPropertiesAttribute::decode(value), std::nullopt);
    ui::AttributeContainer attributes;
    attributes.custom["fontProperties"] = value;
    EXPECT_EQ(MarkdownRender::fontProperties(attributes), std::nullopt);
  }
}

ui::AttributeContainer withRecord(const FontProperties& p, ui::AttributeContainer attributes = {}) {
  MarkdownRender::setFontProperties(attributes, p);
  return attributes;
}

TEST(ConvertingFontProperties, TextWithoutRecordsIsReturnedEqual) {
  ui::AttributedString text("plain ");
  ui::AttributeContainer red;
  red.foregroundColor = ui::Color::red();
  red.font = Font::caption();
  text.append("red", red);
  EXPECT_EQ(MarkdownRender::convertingFontProperties(text), text);
  EXPECT_EQ(MarkdownRender::convertingFontProperties(ui::AttributedString()), ui::AttributedString());
}

TEST(ConvertingFontProperties, RunsTradeTheirRecordsForFonts) {
  FontProperties bold;
  bold.weight = FontWeight::bold;
  FontProperties large;
  large.scale = 2;
  ui::AttributeContainer blue;
  blue.foregroundColor = ui::Color::blue();
  ui::AttributeContainer keepsFont;
  keepsFont.font = Font::caption();

  ui::AttributedString text("bold ", withRecord(bold));
  text.append("large", withRecord(large, blue));
  text.append(" caption", keepsFont);

  const auto converted = MarkdownRender::convertingFontProperties(text);
  EXPECT_EQ(converted.characters(), "bold large caption");
  ASSERT_EQ(converted.runs().size(), 3u);
  EXPECT_EQ(converted.attributes(converted.runs()[0]).font, makeFont(bold));
  EXPECT_EQ(converted.attributes(converted.runs()[1]).font, Font::system(26));
  EXPECT_EQ(converted.attributes(converted.runs()[1]).foregroundColor, ui::Color::blue());
  EXPECT_EQ(converted.attributes(converted.runs()[2]), keepsFont);
  for (const auto& run : converted.runs()) {
    EXPECT_FALSE(converted.attributes(run).custom.contains("fontProperties"));
  }
}

TEST(ConvertingFontProperties, AnUnreadableRecordLeavesItsRunAsItIs) {
  ui::AttributeContainer odd;
  odd.custom["fontProperties"] = std::string("bold");
  const ui::AttributedString text("odd", odd);
  EXPECT_EQ(MarkdownRender::convertingFontProperties(text), text);
}

}  // namespace
