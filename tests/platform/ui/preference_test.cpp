// Preferences flow up to a handler, which may write state; the graph re-evaluates until they settle.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "platform/foundation/log.h"
#include "platform/ui/inspector.h"
#include "platform/ui/state.h"
#include "platform/ui/views.h"

namespace {

using namespace ui;
using ui::testing::Host;

struct WidestKey {
  using Value = double;
  static double defaultValue() { return 0; }
  static void reduce(double& value, const std::function<double()>& next) { value = std::max(value, next()); }
};

struct TitlesKey {
  using Value = std::vector<std::string>;
  static Value defaultValue() { return {}; }
  static void reduce(Value& value, const std::function<Value()>& next) {
    auto more = next();
    value.insert(value.end(), more.begin(), more.end());
  }
};

TEST(Preferences, SiblingsCombineInTreeOrderAndTransformsApplyAbove) {
  std::vector<std::vector<std::string>> seen;
  Host host{VStack(Text("a").preference<TitlesKey>({"a"}),
                   VStack(Text("b").preference<TitlesKey>({"b"}), Text("c").preference<TitlesKey>({"c"}))
                       .transformPreference<TitlesKey>(
                           [](std::vector<std::string>& titles) { titles.push_back("+"); }))
                .onPreferenceChange<TitlesKey>(
                    [&](const std::vector<std::string>& titles) { seen.push_back(titles); })};
  ASSERT_EQ(seen.size(), 1u);
  EXPECT_EQ(seen.front(), (std::vector<std::string>{"a", "b", "c", "+"}));
}

// Each row reports its width; the column stores the widest and gives it back to the rows, which then
// report the stored width: the handler writes state that changes the preference once, then settles.
class Column final : public View {
 public:
  AnyView body() const override {
    double widest = *widest_;
    auto row = [widest](double width) {
      return Text::verbatim("row").preference<WidestKey>(std::max(width, widest));
    };
    return VStack(row(10), row(40), row(25),
                  Text::verbatim("widest " + std::to_string(static_cast<int>(widest))))
        .onPreferenceChange<WidestKey>([widest = widest_, calls = calls_](const double& value) {
          calls.set(*calls + 1);
          widest.set(value);
        });
  }
  State<int> calls_{0};

 private:
  State<double> widest_{0};
};

TEST(Preferences, AHandlerThatWritesStateConverges) {
  Host host{Column()};
  EXPECT_TRUE(host.exists(ui::testing::text("widest 40")));
  EXPECT_FALSE(host.graph().needsUpdate());
}

// A handler that always writes a new value never settles: the update stops after its bound.
class Runaway final : public View {
 public:
  AnyView body() const override {
    return Text::verbatim("n").preference<WidestKey>(*count_).onPreferenceChange<WidestKey>(
        [count = count_](const double& value) { count.set(value + 1); });
  }

 private:
  State<double> count_{0};
};

TEST(Preferences, AHandlerThatNeverSettlesIsBoundedAndReported) {
  foundation::LogCapture capture;
  foundation::ScopedMainRunLoop loop;
  ui::detail::ViewGraph graph{Runaway()};
  EXPECT_EQ(capture.lines().size(), 1u);
  EXPECT_EQ(graph.update(), ui::detail::ViewGraph::kMaxPasses);
}

// A title reported from below a chain of views with one child each (a view with a body, modifiers),
// beside a sibling whose title never changes; pressing the button changes the deep title.
class DeepTitle final : public View {
 public:
  AnyView body() const override {
    const std::string title = "deep " + std::to_string(*presses_);
    AnyView deep =
        AnyView(Text::verbatim(title).preference<TitlesKey>({title}))
            .padding(2)
            .transformPreference<TitlesKey>([](std::vector<std::string>& titles) { titles.push_back("+"); })
            .opacity(0.5);
    return VStack(Text::verbatim("still").preference<TitlesKey>({"still"}), deep,
                  Button("Press", [presses = presses_] { presses.set(*presses + 1); }));
  }

 private:
  State<int> presses_{0};
};

class Wrapped final : public View {
 public:
  AnyView body() const override { return AnyView(DeepTitle()).padding(1); }
};

TEST(Preferences, AValueChangedBelowAChainOfSingleViewsReachesTheHandlerAsIfShownAfresh) {
  std::vector<std::vector<std::string>> seen;
  auto handled = [&seen](AnyView view) {
    return view.onPreferenceChange<TitlesKey>(
        [&seen](const std::vector<std::string>& titles) { seen.push_back(titles); });
  };
  Host host{handled(AnyView(Wrapped()).padding(3))};
  for (int presses = 0; presses < 3; ++presses) {
    SCOPED_TRACE(presses);
    const std::string deep = "deep " + std::to_string(presses);
    ASSERT_EQ(seen.size(), static_cast<std::size_t>(presses + 1));
    EXPECT_EQ(seen.back(), (std::vector<std::string>{"still", deep, "+"}));
    host.tap(host.find(ui::testing::button("Press")));
  }
  // Nothing changed below: the handler is not called again.
  const auto calls = seen.size();
  host.graph().update();
  EXPECT_EQ(seen.size(), calls);
}

}  // namespace
