#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "layout_fixture.h"
#include "platform/ui/views.h"

namespace ui {
namespace {

using testing::text;
using testing::type;

TEST(StackLayout, PlacesItemsSideBySideWithSpacingAndCentresTheStack) {
  LaidOut laid(HStack(Text("ab"), Text("abcd")), {200, 100});
  EXPECT_EQ(laid.frame(type("HStack")), Rect(72, 40, 56, 20));
  EXPECT_EQ(laid.frame(text("ab")), Rect(72, 40, 16, 20));
  EXPECT_EQ(laid.frame(text("abcd")), Rect(96, 40, 32, 20));
}

TEST(StackLayout, AlignsItemsAcrossTheAxis) {
  struct Case {
    HorizontalAlignment alignment;
    double firstX;
  };
  const Case cases[] = {{HorizontalAlignment::leading, 34},
                        {HorizontalAlignment::center, 42},
                        {HorizontalAlignment::trailing, 50}};
  for (const auto& c : cases) {
    SCOPED_TRACE(static_cast<int>(c.alignment));
    LaidOut laid(VStack(c.alignment, std::nullopt, Text("ab"), Text("abcd")), {100, 100});
    EXPECT_EQ(laid.frame(type("VStack")), Rect(34, 26, 32, 48));
    EXPECT_EQ(laid.frame(text("ab")), Rect(c.firstX, 26, 16, 20));
    EXPECT_EQ(laid.frame(text("abcd")), Rect(34, 54, 32, 20));
  }
}

TEST(StackLayout, VerticalAlignmentInARow) {
  auto tall = AnyView(Color::red()).frame(10, 40);
  LaidOut top(HStack(VerticalAlignment::top, 0.0, Text("ab"), tall), {26, 40});
  EXPECT_EQ(top.frame(text("ab")), Rect(0, 0, 16, 20));
  LaidOut bottom(HStack(VerticalAlignment::bottom, 0.0, Text("ab"), tall), {26, 40});
  EXPECT_EQ(bottom.frame(text("ab")), Rect(0, 20, 16, 20));
}

TEST(StackLayout, SpacerTakesTheRoomLeft) {
  LaidOut laid(HStack(Text("ab"), Spacer(), Text("cd")), {200, 40});
  EXPECT_EQ(laid.frame(text("ab")), Rect(0, 10, 16, 20));
  EXPECT_EQ(laid.frame(type("Spacer")), Rect(24, 20, 152, 0));
  EXPECT_EQ(laid.frame(text("cd")), Rect(184, 10, 16, 20));
}

TEST(StackLayout, SpacersShareTheRoomAndKeepTheirMinimumLength) {
  LaidOut shared(VStack(Spacer(), Text("ab"), Spacer()).frame(40, 100), {40, 100});
  EXPECT_EQ(shared.frame(text("ab")), Rect(12, 40, 16, 20));

  // Asked for its ideal size, a row with a spacer is as short as the spacer's minimum allows.
  LaidOut ideal(HStack(Text("ab"), Spacer().minLength(50), Text("cd")).fixedSize(), {400, 100});
  EXPECT_EQ(ideal.frame(type("HStack")), Rect(151, 40, 98, 20));
  EXPECT_EQ(ideal.frame(type("Spacer")).width(), 50);
}

TEST(StackLayout, ASpacerOnlyTakesWhatTheOtherViewsLeave) {
  // The text is offered the row less the spacing and the spacer's minimum length, and takes what it needs.
  LaidOut laid(
      HStack(VerticalAlignment::top, 8.0, Text("aaaa bbbb cccc dddd").padding(4), Spacer().minLength(50)),
      {200, 100});
  EXPECT_EQ(laid.frame(text("aaaa bbbb cccc dddd")).size, Size(112, 40));
  EXPECT_EQ(laid.frame(type("Spacer")).width(), 72);

  // A view as flexible as a spacer but not one shares the row equally.
  LaidOut shared(HStack(VerticalAlignment::top, 8.0, Text("aaaa bbbb cccc dddd"), AnyView(Color::red())),
                 {200, 100});
  EXPECT_EQ(shared.frame(text("aaaa bbbb cccc dddd")).size, Size(72, 40));
}

TEST(StackLayout, HigherPriorityIsOfferedSpaceFirst) {
  LaidOut laid(HStack(VerticalAlignment::top, 0.0, Text("aaaa aaaa"), layoutPriority(Text("bbbb bbbb"), 1)),
               {100, 100});
  EXPECT_EQ(laid.frame(text("bbbb bbbb")).size, Size(72, 20));
  EXPECT_EQ(laid.frame(text("aaaa aaaa")).size, Size(24, 80));  // "aaa" "a" "aaa" "a"
}

TEST(StackLayout, ARowAlignedOnBaselinesSetsItsItemsOnOneLine) {
  // A 16-point line: 20 points high, its baseline 16 below its top. A view without text stands on its
  // bottom edge.
  struct Case {
    std::string name;
    VerticalAlignment alignment;
    double markerHeight;
    double markerY, textY, rowHeight;
  };
  const Case cases[] = {
      {"a small marker on the first line", VerticalAlignment::firstTextBaseline, 6, 10, 0, 40},
      {"a tall marker lowers the text", VerticalAlignment::firstTextBaseline, 30, 0, 14, 54},
      {"a small marker on the last line", VerticalAlignment::lastTextBaseline, 6, 30, 0, 40},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    auto marker = AnyView(Color::red()).frame(6, c.markerHeight);
    auto lines = VStack(HorizontalAlignment::leading, 0.0, Text("ab"), Text("cd")).padding(Edges::top, 0);
    LaidOut laid(HStack(c.alignment, 4.0, marker, lines).frame(100, 100, Alignment::topLeading()),
                 {100, 100});
    EXPECT_EQ(laid.frame(type("HStack")).height(), c.rowHeight);
    EXPECT_EQ(laid.frame(type("Color")).minY(), c.markerY);
    EXPECT_EQ(laid.frame(text("ab")).minY(), c.textY);
  }
}

TEST(StackLayout, ZStackOverlapsItemsWithAlignment) {
  LaidOut laid(ZStack(Alignment::bottomTrailing(), AnyView(Color::blue()).frame(100, 60), Text("ab")),
               {100, 60});
  EXPECT_EQ(laid.frame(type("ZStack")), Rect(0, 0, 100, 60));
  EXPECT_EQ(laid.frame(text("ab")), Rect(84, 40, 16, 20));
}

TEST(StackLayout, GroupsAndForEachRowsAreItemsOfTheStack) {
  std::vector<std::string> names{"a", "bb"};
  LaidOut laid(VStack(HorizontalAlignment::leading, 0.0, Text("x"),
                      ForEach(
                          names, [](const std::string& s) { return s; },
                          [](const std::string& s) { return Text(s); })),
               {100, 60});
  EXPECT_EQ(laid.frame(text("x")), Rect(42, 0, 8, 20));
  EXPECT_EQ(laid.frame(text("a")), Rect(42, 20, 8, 20));
  EXPECT_EQ(laid.frame(text("bb")), Rect(42, 40, 16, 20));
  EXPECT_EQ(laid.frame(type("ForEach")), Rect(42, 20, 16, 40));
}

TEST(StackLayout, RunsOfAForEachLayOutAsTheirViewsStandingInTheForEach) {
  // The same texts of different widths in one ForEach, and in runs of two: laid out (offered a height or
  // not, as in a scroll view) and dumped alike, however the stack aligns and spaces them.
  const std::vector<std::string> names{"a", "bbbb", "cc", "dddddd", "e"};
  const std::vector<std::vector<std::string>> runs{{"a", "bbbb"}, {"cc", "dddddd"}, {"e"}};
  auto id = [](const std::string& s) { return s; };
  auto make = [](const std::string& s) { return Text(s); };
  struct Case {
    const char* what;
    HorizontalAlignment alignment;
    double spacing;
    bool isScrolled;
  };
  const Case cases[] = {
      {"leading, scrolled", HorizontalAlignment::leading, 0, true},
      {"centred and spaced, scrolled", HorizontalAlignment::center, 4, true},
      {"trailing and spaced, scrolled", HorizontalAlignment::trailing, 2, true},
      {"centred and spaced, offered a height", HorizontalAlignment::center, 4, false},
      {"trailing, offered a height", HorizontalAlignment::trailing, 0, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    auto shown = [&c](AnyView view) { return c.isScrolled ? AnyView(ScrollView(view)) : view; };
    LaidOut flat(shown(VStack(c.alignment, c.spacing, Text("top"), ForEach(names, id, make))), {100, 200});
    LaidOut inRuns(shown(VStack(c.alignment, c.spacing, Text("top"),
                                ForEach(
                                    runs, [](const auto& run) { return run.front(); },
                                    [&](const auto& run) { return ForEachRun(run, id, make); }))),
                   {100, 200});
    for (const auto& name : {"top", "a", "bbbb", "cc", "dddddd", "e"}) {
      SCOPED_TRACE(name);
      EXPECT_EQ(inRuns.frame(text(name)), flat.frame(text(name)));
    }
    EXPECT_EQ(inRuns.frame(type("VStack")), flat.frame(type("VStack")));
    EXPECT_EQ(inRuns.host().dump(), flat.host().dump());
  }
}

TEST(LayoutPass, EveryRunOfLayoutIsNamedAnewAcrossPasses) {
  testing::Host host(Text("a"));
  const auto& root = *host.graph().root();
  LayoutPass first(std::make_shared<FixedMetricTextMeasurer>()),
      second(std::make_shared<FixedMetricTextMeasurer>());
  first.layout(root, {100, 100});
  const auto firstRun = first.generation();
  second.layout(root, {100, 100});
  EXPECT_NE(second.generation(), firstRun);
  first.layout(root, {100, 100});  // the same tree in the same space: still a run of its own
  EXPECT_NE(first.generation(), firstRun);
  EXPECT_NE(first.generation(), second.generation());
}

}  // namespace
}  // namespace ui
