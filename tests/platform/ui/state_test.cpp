// View state: kept by structural identity across re-evaluation, dropped when the view leaves the tree.
#include "platform/ui/state.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/foundation/run_loop.h"
#include "platform/ui/inspector.h"
#include "platform/ui/view_graph.h"
#include "platform/ui/views.h"

namespace {

using namespace ui;
using ui::testing::Host;

class Counter final : public View {
 public:
  explicit Counter(std::string name) : name_(std::move(name)) {}
  AnyView body() const override {
    return VStack(Text::verbatim(name_ + ": " + std::to_string(*count_)),
                  Button("Add", [count = count_] { count.set(*count + 1); }).accessibilityIdentifier(name_));
  }

 private:
  std::string name_;
  State<int> count_{0};
};

// Shows one counter, or two, or a counter in the other branch of a conditional.
class Board final : public View {
 public:
  AnyView body() const override {
    return VStack(Toggle("Second", showSecond_.binding()), Toggle("Swap", swap_.binding()),
                  conditional(*showSecond_, Counter("second")),
                  conditional(*swap_, Counter("swapped"), Counter("first")));
  }

 private:
  State<bool> showSecond_{true};
  State<bool> swap_{false};
};

TEST(ViewState, SurvivesReevaluationOfTheViewAndItsParent) {
  Host host{Board()};
  host.tap(host.find(ui::testing::identifier("first")));
  host.tap(host.find(ui::testing::identifier("first")));
  host.tap(host.find(ui::testing::identifier("second")));
  EXPECT_TRUE(host.exists(ui::testing::text("first: 2")));
  EXPECT_TRUE(host.exists(ui::testing::text("second: 1")));
  // Re-evaluating the parent makes new Counter values; their state stays where they stand.
  host.tap(host.find(ui::testing::toggle("Second")));
  EXPECT_TRUE(host.exists(ui::testing::text("first: 2")));
}

TEST(ViewState, IsDroppedWhenTheViewLeavesAndFreshWhenItReturns) {
  Host host{Board()};
  host.tap(host.find(ui::testing::identifier("second")));
  EXPECT_TRUE(host.exists(ui::testing::text("second: 1")));
  host.tap(host.find(ui::testing::toggle("Second")));  // hides the second counter
  EXPECT_FALSE(host.exists(ui::testing::text("second: 1")));
  host.tap(host.find(ui::testing::toggle("Second")));
  EXPECT_TRUE(host.exists(ui::testing::text("second: 0")));
}

TEST(ViewState, EachBranchOfAConditionalHasItsOwnIdentity) {
  Host host{Board()};
  host.tap(host.find(ui::testing::identifier("first")));
  host.tap(host.find(ui::testing::toggle("Swap")));
  EXPECT_TRUE(host.exists(ui::testing::text("swapped: 0")));
  host.tap(host.find(ui::testing::toggle("Swap")));
  EXPECT_TRUE(host.exists(ui::testing::text("first: 0")));
}

class Keyed final : public View {
 public:
  explicit Keyed(std::vector<std::string> names) : names_(std::move(names)) {}
  AnyView body() const override {
    return VStack(ForEach(
        names_, [](const std::string& name) { return name; },
        [](const std::string& name) { return Counter(name); }));
  }

 private:
  std::vector<std::string> names_;
};

TEST(ViewState, RowsOfForEachKeepStateByIdWhenReordered) {
  Host host{Keyed({"a", "b"})};
  host.tap(host.find(ui::testing::identifier("b")));
  host.setRoot(Keyed({"b", "a"}));
  EXPECT_TRUE(host.exists(ui::testing::text("b: 1")));
  EXPECT_TRUE(host.exists(ui::testing::text("a: 0")));
  host.setRoot(Keyed({"a"}));
  host.setRoot(Keyed({"a", "b"}));
  EXPECT_TRUE(host.exists(ui::testing::text("b: 0")));
}

TEST(ViewState, RowsOfForEachKeepStateByIdWhenRowsComeAndGoAroundThem) {
  Host host{Keyed({"a", "b", "c"})};
  host.tap(host.find(ui::testing::identifier("b")));
  host.tap(host.find(ui::testing::identifier("b")));
  host.tap(host.find(ui::testing::identifier("c")));
  struct Step {
    const char* what;
    std::vector<std::string> names;
    std::vector<std::string> texts;
  };
  const Step steps[] = {
      {"a row inserted first", {"x", "a", "b", "c"}, {"x: 0", "a: 0", "b: 2", "c: 1"}},
      {"the first row removed", {"a", "b", "c"}, {"a: 0", "b: 2", "c: 1"}},
      {"a row in the middle removed", {"a", "c"}, {"a: 0", "c: 1"}},
      {"the row back in the middle, afresh", {"a", "b", "c"}, {"a: 0", "b: 0", "c: 1"}},
      {"rows moved", {"c", "a", "b"}, {"c: 1", "a: 0", "b: 0"}},
      {"a row added at the end", {"c", "a", "b", "d"}, {"c: 1", "a: 0", "b: 0", "d: 0"}},
  };
  for (const auto& step : steps) {
    SCOPED_TRACE(step.what);
    host.setRoot(Keyed(step.names));
    for (const auto& text : step.texts) EXPECT_TRUE(host.exists(ui::testing::text(text))) << text;
  }
}

TEST(ViewState, OfRowsSharingAnIdOnlyTheFirstKeepsItsState) {
  Host host{Keyed({"a", "a"})};
  host.tap(host.find(ui::testing::identifier("a"), 0));
  host.tap(host.find(ui::testing::identifier("a"), 1));
  host.tap(host.find(ui::testing::identifier("a"), 1));
  EXPECT_EQ(host.findAll(ui::testing::text("a: 1")).size(), 1u);
  EXPECT_EQ(host.findAll(ui::testing::text("a: 2")).size(), 1u);
  // The id names the first row of the last evaluation; a second row with it starts afresh every time.
  host.setRoot(Keyed({"a", "a", "b"}));
  EXPECT_EQ(host.findAll(ui::testing::text("a: 1")).size(), 1u);
  EXPECT_EQ(host.findAll(ui::testing::text("a: 0")).size(), 1u);
  host.setRoot(Keyed({"b", "a"}));
  EXPECT_TRUE(host.exists(ui::testing::text("a: 1")));
}

class Identified final : public View {
 public:
  AnyView body() const override {
    return VStack(AnyView(Counter("inner")).id(*generation_),
                  Button("Reset", [generation = generation_] { generation.set(*generation + 1); }));
  }

 private:
  State<int> generation_{0};
};

TEST(ViewState, ANewExplicitIdStartsAFreshView) {
  Host host{Identified()};
  host.tap(host.find(ui::testing::identifier("inner")));
  EXPECT_TRUE(host.exists(ui::testing::text("inner: 1")));
  host.tap(host.find(ui::testing::button("Reset")));
  EXPECT_TRUE(host.exists(ui::testing::text("inner: 0")));
}

TEST(ViewState, BindingsWriteTheStateTheyCameFrom) {
  class Field final : public View {
   public:
    AnyView body() const override {
      return VStack(TextField("Name", name_.binding()), Text::verbatim("Hi " + *name_));
    }

   private:
    State<std::string> name_{""};
  };
  Host host{Field()};
  host.type(host.find(ui::testing::textField("Name")), "Ada");
  EXPECT_TRUE(host.exists(ui::testing::text("Hi Ada")));
  host.type(host.find(ui::testing::textField("Name")), "!");
  EXPECT_TRUE(host.exists(ui::testing::text("Hi Ada!")));
}

TEST(ViewState, StoringAnEqualValueDoesNotReevaluate) {
  class Quiet final : public View {
   public:
    AnyView body() const override {
      return Button("Same", [value = value_] { value.set(3); });
    }

   private:
    State<int> value_{3};
  };
  Host host{Quiet()};
  auto before = host.root().node().evaluationCount();
  host.tap(host.find(ui::testing::button("Same")));
  EXPECT_EQ(host.root().node().evaluationCount(), before);
}

// A count whose state can be changed from outside the tree, as a model or a timer would.
class Bumped final : public View {
 public:
  AnyView body() const override {
    bump = [count = count_] { count.set(*count + 1); };
    return Text::verbatim(std::to_string(*count_));
  }
  static inline std::function<void()> bump;

 private:
  State<int> count_{0};
};

TEST(ViewGraphUpdate, AnUpdateMadeAtOnceDoesTheWorkOfTheOnePostedBeforeIt) {
  foundation::ScopedMainRunLoop loop;
  detail::ViewGraph graph{Bumped()};
  int layouts = 0;
  graph.setLayout([&] {
    ++layouts;
    return false;
  });
  Bumped::bump();  // posts an update
  graph.update();  // and one is made at once, as a host showing a new size does
  EXPECT_EQ(layouts, 1);
  loop.loop().runUntilIdle();
  EXPECT_EQ(layouts, 1);  // the posted one had nothing left to do
  Bumped::bump();
  loop.loop().runUntilIdle();
  EXPECT_EQ(layouts, 2);  // a later change is still shown
  Bumped::bump = nullptr;
}

// Counts to `target` in steps of one, each posted to the main queue while the view is evaluated, as views
// do that make observable objects whose first change signal comes a turn later.
class Echoing final : public View {
 public:
  explicit Echoing(int target) : target_(target) {}
  AnyView body() const override {
    if (*count_ < target_) foundation::RunLoop::main().async([count = count_] { count.set(*count + 1); });
    return Text::verbatim("count " + std::to_string(*count_));
  }

 private:
  int target_;
  State<int> count_{0};
};

TEST(ViewGraphUpdate, ChangesThatAnUpdateSetsOffOnTheMainQueueAreLaidOutOnce) {
  foundation::ScopedMainRunLoop loop;
  detail::ViewGraph graph{Echoing(3)};
  int layouts = 0;
  graph.setLayout([&] {
    ++layouts;
    return false;
  });
  int shown = 0;
  graph.setDidUpdate([&] { ++shown; });
  loop.loop().runUntilIdle();
  EXPECT_EQ(layouts, 1);
  EXPECT_EQ(shown, 1);
  EXPECT_EQ(ui::testing::ViewRef(graph.root()).text(), "count 3");
  graph.update();  // made at once, it lays out at once
  EXPECT_EQ(layouts, 2);
}

TEST(ViewGraphUpdate, AMainQueueThatNeverEmptiesStillSeesTheViewsLaidOut) {
  foundation::ScopedMainRunLoop loop;
  detail::ViewGraph graph{Echoing(1'000'000)};
  int layouts = 0;
  graph.setLayout([&] {
    ++layouts;
    return false;
  });
  for (int turn = 0; turn < 10; ++turn) {
    const int before = layouts;
    loop.loop().runUntilIdle(2 * (detail::ViewGraph::kMaxLayoutDeferrals + 2));
    EXPECT_GT(layouts, before);
  }
}

}  // namespace
