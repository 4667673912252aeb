// Text styles contribute attributes to one container in a fixed order; later styles win, font styles
// change single fields of the record already there, and compositions apply their parts in order.
#include "MarkdownRender/styles/text_style.h"

#include <gtest/gtest.h>

#include <string>

#include "MarkdownRender/styles/font_properties.h"
#include "MarkdownRender/styles/text_style_builder.h"
#include "MarkdownRender/styles/text_style_environment.h"
#include "MarkdownRender/styles/text_styles.h"
#include "platform/ui/inspector.h"
#include "platform/ui/views.h"

namespace {

using namespace MarkdownRender;
namespace B = MarkdownRender::TextStyleBuilder;

// The container a style leaves when applied after the root style (the default font record).
template <TextStyleValue S>
ui::AttributeContainer appliedToRoot(const S& style) {
  ui::AttributeContainer attributes;
  FontProperties().applyAttributes(attributes);
  style.applyAttributes(attributes);
  return attributes;
}

template <TextStyleValue S>
FontProperties recordAfter(const S& style) {
  return fontProperties(appliedToRoot(style)).value();
}

TEST(TextStyles, PlatformAttributesAreSetAndRemoved) {
  ui::AttributeContainer attributes;
  ForegroundColor(ui::Color::red()).applyAttributes(attributes);
  BackgroundColor(ui::Color::blue()).applyAttributes(attributes);
  StrikethroughStyle(ui::LineStyle::single()).applyAttributes(attributes);
  UnderlineStyle(ui::LineStyle{ui::LineStyle::Pattern::dash, ui::Color::green()}).applyAttributes(attributes);
  TextKerning(1.5).applyAttributes(attributes);
  TextTracking(-0.5).applyAttributes(attributes);
  EXPECT_EQ(attributes.foregroundColor, ui::Color::red());
  EXPECT_EQ(attributes.backgroundColor, ui::Color::blue());
  EXPECT_EQ(attributes.strikethrough, true);
  EXPECT_EQ(attributes.strikethroughStyle, ui::LineStyle::single());
  EXPECT_EQ(attributes.underline, true);
  EXPECT_EQ(attributes.underlineStyle, (ui::LineStyle{ui::LineStyle::Pattern::dash, ui::Color::green()}));
  EXPECT_EQ(attributes.kern, 1.5);
  EXPECT_EQ(attributes.tracking, -0.5);
  EXPECT_FALSE(fontProperties(attributes).has_value());

  ForegroundColor(std::nullopt).applyAttributes(attributes);
  BackgroundColor(std::nullopt).applyAttributes(attributes);
  StrikethroughStyle(std::nullopt).applyAttributes(attributes);
  UnderlineStyle(std::nullopt).applyAttributes(attributes);
  TextKerning(std::nullopt).applyAttributes(attributes);
  TextTracking(std::nullopt).applyAttributes(attributes);
  EXPECT_TRUE(attributes.isEmpty());
}

TEST(TextStyles, EmptyStyleAndEmptyCompositionChangeNothing) {
  ui::AttributeContainer attributes;
  attributes.kern = 2;
  const auto before = attributes;
  EmptyTextStyle().applyAttributes(attributes);
  B::build().applyAttributes(attributes);
  AnyTextStyle().applyAttributes(attributes);
  EXPECT_EQ(attributes, before);
  static_assert(std::is_same_v<decltype(B::build()), EmptyTextStyle>);
  static_assert(std::is_same_v<decltype(B::empty()), EmptyTextStyle>);
}

TEST(TextStyles, FontStylesChangeOneFieldOfTheRecord) {
  using P = FontProperties;
  EXPECT_EQ(recordAfter(FontFamily(P::Family::custom("Menlo"))).family, P::Family::custom("Menlo"));
  EXPECT_EQ(recordAfter(FontFamilyVariant(P::FamilyVariant::monospaced)).familyVariant,
            P::FamilyVariant::monospaced);
  EXPECT_EQ(recordAfter(FontCapsVariant(P::CapsVariant::lowercaseSmallCaps)).capsVariant,
            P::CapsVariant::lowercaseSmallCaps);
  EXPECT_EQ(recordAfter(FontDigitVariant(P::DigitVariant::monospaced)).digitVariant,
            P::DigitVariant::monospaced);
  EXPECT_EQ(recordAfter(FontStyle(P::Style::italic)).style, P::Style::italic);
  P expected;
  expected.weight = ui::FontWeight::semibold;
  EXPECT_EQ(recordAfter(FontWeight(ui::FontWeight::semibold)), expected);
}

TEST(TextStyles, FontStylesWithoutARecordChangeNothing) {
  const AnyTextStyle styles[] = {
      FontWeight(ui::FontWeight::bold),
      FontFamily(FontProperties::Family::custom("Menlo")),
      FontFamilyVariant(FontProperties::FamilyVariant::monospaced),
      FontCapsVariant(FontProperties::CapsVariant::smallCaps),
      FontDigitVariant(FontProperties::DigitVariant::monospaced),
      FontStyle(FontProperties::Style::italic),
      FontSize::points(20),
      FontSize::relative(RelativeSize::em(2)),
  };
  for (const auto& style : styles) {
    ui::AttributeContainer attributes;
    style.applyAttributes(attributes);
    EXPECT_TRUE(attributes.isEmpty());
  }
}

TEST(TextStyles, FontSizesInPointsEmAndRem) {
  struct Case {
    const char* name;
    AnyTextStyle style;
    double size, scale, effective;
  };
  const Case cases[] = {
      {"20 points, then 1.5 em", B::build(FontSize::points(20), FontSize::relative(RelativeSize::em(1.5))),
       20, 1.5, 30},
      {"1.5 em, then 20 points", B::build(FontSize::relative(RelativeSize::em(1.5)), FontSize::points(20)),
       20, 1, 20},
      {"3 em, then 2 rem",
       B::build(FontSize::relative(RelativeSize::em(3)), FontSize::relative(RelativeSize::rem(2))), 13, 2,
       26},
      {"0.5 em inside 2 em",
       B::build(FontSize::relative(RelativeSize::em(2)), FontSize::relative(RelativeSize::em(0.5))), 13, 1,
       13},
      {"heading, then inline code",
       B::build(FontWeight(ui::FontWeight::semibold), FontSize::relative(RelativeSize::em(2)),
                FontSize::relative(RelativeSize::em(0.94))),
       13, 1.88, 24},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const auto record = recordAfter(c.style);
    EXPECT_EQ(record.size, c.size);
    EXPECT_DOUBLE_EQ(record.scale, c.scale);
    EXPECT_EQ(record.effectiveSize(), c.effective);
  }
}

TEST(TextStyles, AFontRecordReplacesEarlierChanges) {
  const auto record = recordAfter(B::build(FontWeight(ui::FontWeight::bold), FontProperties()));
  EXPECT_EQ(record.weight, ui::FontWeight::regular);
}

TEST(TextStyleBuilder, PairsApplyInTheOrderWritten) {
  const auto pair = B::combine(ForegroundColor(ui::Color::red()), ForegroundColor(ui::Color::blue()));
  EXPECT_EQ(appliedToRoot(pair).foregroundColor, ui::Color::blue());
  EXPECT_FALSE(appliedToRoot(B::combine(ForegroundColor(ui::Color::red()), ForegroundColor(std::nullopt)))
                   .foregroundColor);

  const auto three =
      B::build(ForegroundColor(ui::Color::red()), TextKerning(1), ForegroundColor(ui::Color::green()));
  using Three = B::Pair<B::Pair<ForegroundColor, TextKerning>, ForegroundColor>;
  static_assert(std::is_same_v<decltype(three), const Three>);
  EXPECT_EQ(three.s0.s0.foregroundColor, ui::Color::red());
  EXPECT_EQ(three.s0.s1.kern, 1);
  EXPECT_EQ(three.s1.foregroundColor, ui::Color::green());
  EXPECT_EQ(appliedToRoot(three).foregroundColor, ui::Color::green());
  EXPECT_EQ(appliedToRoot(three).kern, 1);
}

TEST(TextStyleBuilder, ChoicesAndOptionalsApplyOnlyWhatTheyHold) {
  using Choice = B::Conditional<ForegroundColor, TextKerning>;
  const Choice first = B::chooseFirst<ForegroundColor, TextKerning>(ForegroundColor(ui::Color::red()));
  const Choice second = B::chooseSecond<ForegroundColor, TextKerning>(TextKerning(3));
  EXPECT_TRUE(first.isFirst());
  EXPECT_FALSE(second.isFirst());
  EXPECT_EQ(appliedToRoot(first).foregroundColor, ui::Color::red());
  EXPECT_FALSE(appliedToRoot(first).kern);
  EXPECT_EQ(appliedToRoot(second).kern, 3);
  EXPECT_FALSE(appliedToRoot(second).foregroundColor);

  // Both branches of one type still apply only the one taken.
  const auto same = B::chooseSecond<TextKerning, TextKerning>(TextKerning(5));
  EXPECT_EQ(appliedToRoot(same).kern, 5);

  EXPECT_EQ(appliedToRoot(B::optional<TextKerning>(std::nullopt)), appliedToRoot(EmptyTextStyle()));
  EXPECT_EQ(appliedToRoot(B::optional<TextKerning>(TextKerning(2))).kern, 2);
}

TEST(TextStyleBuilder, ErasedStylesKeepTheirConcreteValue) {
  const AnyTextStyle erased = B::erase(FontFamilyVariant(FontProperties::FamilyVariant::monospaced));
  ASSERT_NE(erased.as<FontFamilyVariant>(), nullptr);
  EXPECT_EQ(erased.as<FontFamilyVariant>()->familyVariant, FontProperties::FamilyVariant::monospaced);
  EXPECT_EQ(erased.as<FontWeight>(), nullptr);
  const AnyTextStyle copy = erased;
  EXPECT_NE(copy.as<FontFamilyVariant>(), nullptr);
  EXPECT_EQ(B::single(erased).as<FontFamilyVariant>(), erased.as<FontFamilyVariant>());
}

// Shows the attributes that the text style in force gives an empty container.
ui::AnyView attributesProbe(const std::string& id) {
  return TextStyleAttributesReader([id](const ui::AttributeContainer& attributes) -> ui::AnyView {
    const auto record = fontProperties(attributes);
    std::string description = record ? std::to_string(static_cast<int>(record->effectiveSize())) : "none";
    if (record && record->weight == ui::FontWeight::semibold) description += " semibold";
    if (attributes.foregroundColor == ui::Color::red()) description += " red";
    if (attributes.foregroundColor == ui::Color::blue()) description += " blue";
    return ui::Text::verbatim(description).accessibilityIdentifier(id);
  });
}

TEST(TextStyleEnvironment, TheDefaultStyleIsTheDefaultFontRecord) {
  ui::AttributeContainer attributes;
  TextStyleKey::defaultValue().applyAttributes(attributes);
  EXPECT_EQ(fontProperties(attributes), FontProperties());
  ASSERT_NE(TextStyleKey::defaultValue().as<FontProperties>(), nullptr);

  ui::testing::Host host{attributesProbe("probe")};
  EXPECT_EQ(host.find(ui::testing::identifier("probe")).text(), "13");
}

TEST(TextStyleEnvironment, AddedStylesBuildOnTheInheritedOneForTheSubtreeOnly) {
  using ui::testing::identifier;
  int builderCalls = 0;
  const auto heading = [&builderCalls] {
    ++builderCalls;
    return B::build(FontWeight(ui::FontWeight::semibold), FontSize::relative(RelativeSize::em(2)));
  };
  const auto code = B::build(FontSize::relative(RelativeSize::em(0.94)), ForegroundColor(ui::Color::blue()));
  ui::testing::Host host{ui::VStack(
      attributesProbe("outside"),
      textStyle(ui::VStack(attributesProbe("heading"), textStyle(attributesProbe("code"), code)), heading))};
  EXPECT_EQ(builderCalls, 1);
  EXPECT_EQ(host.find(identifier("outside")).text(), "13");
  EXPECT_EQ(host.find(identifier("heading")).text(), "26 semibold");
  EXPECT_EQ(host.find(identifier("code")).text(), "24 semibold blue");
}

TEST(TextStyleEnvironment, TheAddedStyleWinsWhereBothSetAnAttribute) {
  using ui::testing::identifier;
  ui::testing::Host host{textStyle(textStyle(attributesProbe("inner"), ForegroundColor(ui::Color::blue())),
                                   ForegroundColor(ui::Color::red()))};
  EXPECT_EQ(host.find(identifier("inner")).text(), "13 blue");
}

}  // namespace

TEST(TextStyleEnvironment, AStyleThatSetsNothingAddsNoViewAndTheInheritedStyleHolds) {
  using ui::testing::identifier;
  const ui::AnyView probe = attributesProbe("probe");
  const auto bold = FontWeight(ui::FontWeight::bold);
  // Empty styles, and compositions whose parts in force are empty, leave the very view they were given.
  EXPECT_EQ(textStyle(probe, EmptyTextStyle()).spec(), probe.spec());
  EXPECT_EQ(textStyle(probe, B::chooseSecond<FontWeight, EmptyTextStyle>(EmptyTextStyle())).spec(),
            probe.spec());
  EXPECT_EQ(textStyle(probe, B::optional<FontWeight>(std::nullopt)).spec(), probe.spec());
  EXPECT_EQ(textStyle(probe, B::build(EmptyTextStyle(), EmptyTextStyle())).spec(), probe.spec());
  EXPECT_NE(textStyle(probe, B::chooseFirst<FontWeight, EmptyTextStyle>(bold)).spec(), probe.spec());
  EXPECT_NE(textStyle(probe, B::build(EmptyTextStyle(), bold)).spec(), probe.spec());

  ui::testing::Host host{
      textStyle(textStyle(probe, B::chooseSecond<FontWeight, EmptyTextStyle>(EmptyTextStyle())),
                ForegroundColor(ui::Color::red()))};
  EXPECT_EQ(host.find(identifier("probe")).text(), "13 red");
}
