// Views that state their equality keep their subtree while their value, the environment they see and
// their state stay the same; whatever changes one of those is shown as it would be by a fresh view.
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/ui/environment.h"
#include "platform/ui/inspector.h"
#include "platform/ui/layout/text_measurer.h"
#include "platform/ui/modifiers.h"
#include "platform/ui/preference.h"
#include "platform/ui/state.h"
#include "platform/ui/views.h"
#include "platform/ui/window_host.h"

namespace {

using namespace ui;
using ui::testing::Host;
using ui::testing::identifier;
using ui::testing::WindowHost;

struct SuffixKey {
  using Value = std::string;
  static std::string defaultValue() { return ""; }
};

struct LinesKey {
  using Value = int;
  static int defaultValue() { return 0; }
  static void reduce(int& value, const std::function<int()>& next) { value += next(); }
};

// A line of text, as tall as its number of lines, that reports its lines as a preference; tapping it
// adds an exclamation mark through its own state.
class Line final : public View {
 public:
  Line(std::string id, std::string text, int lines = 1) : id_(std::move(id)), text_(std::move(text)), lines_(lines) {}
  AnyView body() const override {
    std::string shown = text_ + *suffix_ + std::string(static_cast<std::size_t>(*marks_), '!');
    for (int i = 1; i < lines_; ++i) shown += "\nmore";
    return Button([marks = marks_] { marks.set(*marks + 1); }, Text::verbatim(shown))
        .preference<LinesKey>(lines_)
        .accessibilityIdentifier(id_);
  }
  bool operator==(const Line& other) const {
    return id_ == other.id_ && text_ == other.text_ && lines_ == other.lines_;
  }

 private:
  std::string id_;
  std::string text_;
  int lines_;
  Environment<SuffixKey> suffix_;
  State<int> marks_{0};
};

// The same line without a stated equality.
class PlainLine final : public View {
 public:
  explicit PlainLine(std::string text) : text_(std::move(text)) {}
  AnyView body() const override { return Text::verbatim(text_).accessibilityIdentifier("plain"); }

 private:
  std::string text_;
};

struct Document {
  std::vector<std::pair<std::string, int>> lines;  // text, number of lines
  std::string suffix;
};

AnyView shown(const Document& document, const std::shared_ptr<int>& totalLines = nullptr) {
  std::vector<AnyView> rows;
  for (std::size_t i = 0; i < document.lines.size(); ++i) {
    rows.push_back(Line("line" + std::to_string(i), document.lines[i].first, document.lines[i].second));
  }
  rows.push_back(PlainLine("end"));
  AnyView stack = AnyView(VStack(HorizontalAlignment::leading, 0.0, rows)).environment<SuffixKey>(document.suffix);
  if (!totalLines) return stack;
  return stack.onPreferenceChange<LinesKey>([totalLines](int lines) { *totalLines = lines; });
}

std::uint64_t bodyRuns(const Host& host, const std::string& id) {
  auto ref = host.find(identifier(id));
  for (auto parent = ref.parent(); parent; parent = parent->parent()) {
    if (parent->typeName() == "Line") return parent->node().evaluationCount();
  }
  return 0;
}

TEST(EqualViews, AnEqualViewSeeingTheSameValuesDoesNotRunItsBodyAgain) {
  Host host(shown({{{"a", 1}, {"b", 1}}, ""}));
  host.setRoot(shown({{{"a", 1}, {"b", 1}}, ""}));
  EXPECT_EQ(bodyRuns(host, "line0"), 1u);
  EXPECT_EQ(bodyRuns(host, "line1"), 1u);
  // A view that states no equality is evaluated every time.
  EXPECT_EQ(host.find(identifier("plain")).text(), "end");
}

// A view that states no equality, counting how often its body runs.
class CountedLine final : public View {
 public:
  CountedLine(std::string text, std::shared_ptr<int> runs) : text_(std::move(text)), runs_(std::move(runs)) {}
  AnyView body() const override {
    ++*runs_;
    std::string shown = text_ + *suffix_ + std::string(static_cast<std::size_t>(*marks_), '!');
    return Button([marks = marks_] { marks.set(*marks + 1); }, Text::verbatim(shown))
        .accessibilityIdentifier("counted");
  }

 private:
  std::string text_;
  std::shared_ptr<int> runs_;
  Environment<SuffixKey> suffix_;
  State<int> marks_{0};
};

TEST(EqualViews, TheVeryDescriptionGivenAgainKeepsItsSubtreeUntilWhatItReadsChanges) {
  auto runs = std::make_shared<int>(0);
  // One description, held and given again, as a view keeps the rows it made before.
  const AnyView row = CountedLine("kept", runs);
  auto withSuffix = [&row](const std::string& suffix) {
    return AnyView(VStack(row, PlainLine("end"))).environment<SuffixKey>(suffix);
  };
  Host host(withSuffix(""));
  EXPECT_EQ(*runs, 1);
  host.setRoot(withSuffix(""));
  EXPECT_EQ(*runs, 1);
  EXPECT_EQ(host.find(identifier("counted")).text(), "kept");
  // Its own state and the environment it reads still reach it.
  host.tap(host.find(identifier("counted")));
  EXPECT_EQ(host.find(identifier("counted")).text(), "kept!");
  host.setRoot(withSuffix("?"));
  EXPECT_EQ(host.find(identifier("counted")).text(), "kept?!");
  EXPECT_EQ(*runs, 3);
  // A description made afresh, equal in every value, runs its body: the view states no equality.
  host.setRoot(AnyView(VStack(CountedLine("kept", runs), PlainLine("end"))).environment<SuffixKey>("?"));
  EXPECT_EQ(*runs, 4);
  EXPECT_EQ(host.find(identifier("counted")).text(), "kept?!");
}

TEST(EqualViews, WhatChangesAViewIsShown) {
  struct Case {
    const char* what;
    Document next;
    std::vector<std::string> texts;
  };
  const Document first{{{"a", 1}, {"b", 1}}, ""};
  const Case cases[] = {
      {"a value changed in place", {{{"a", 1}, {"bb", 1}}, ""}, {"a", "bb"}},
      {"a view inserted before the others", {{{"new", 1}, {"a", 1}, {"b", 1}}, ""}, {"new", "a", "b"}},
      {"a view added at the end", {{{"a", 1}, {"b", 1}, {"c", 1}}, ""}, {"a", "b", "c"}},
      {"an environment value changed", {{{"a", 1}, {"b", 1}}, "?"}, {"a?", "b?"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    Host host(shown(first));
    host.setRoot(shown(c.next));
    for (std::size_t i = 0; i < c.texts.size(); ++i) {
      EXPECT_EQ(host.find(identifier("line" + std::to_string(i))).text(), c.texts[i]);
    }
    // The whole tree reads as that of a view made afresh.
    Host fresh(shown(c.next));
    EXPECT_EQ(host.dump(), fresh.dump());
  }
}

TEST(EqualViews, AViewWhoseStateChangedRunsItsBodyAgain) {
  Host host(shown({{{"a", 1}, {"b", 1}}, ""}));
  host.tap(host.find(identifier("line1")));
  host.setRoot(shown({{{"a", 1}, {"b", 1}}, ""}));
  EXPECT_EQ(host.find(identifier("line1")).text(), "b!");
  host.tap(host.find(identifier("line1")));
  EXPECT_EQ(host.find(identifier("line1")).text(), "b!!");
  EXPECT_EQ(host.find(identifier("line0")).text(), "a");
}

TEST(EqualViews, KeptViewsAreLaidOutAroundTheOnesThatChanged) {
  WindowHost host(shown({{{"a", 1}, {"b", 1}, {"c", 1}}, ""}), {400, 600});
  const Rect before = host.frame(identifier("line2"));
  // The middle line grows by two lines: the one below moves down, the one above stays.
  host.setRoot(shown({{{"a", 1}, {"b", 3}, {"c", 1}}, ""}));
  WindowHost fresh(shown({{{"a", 1}, {"b", 3}, {"c", 1}}, ""}), {400, 600});
  for (const char* id : {"line0", "line1", "line2"}) {
    SCOPED_TRACE(id);
    EXPECT_EQ(host.frame(identifier(id)), fresh.frame(identifier(id)));
  }
  EXPECT_GT(host.frame(identifier("line2")).minY(), before.minY());
  // A kept line whose own state changes its size moves the views below it too.
  host.tap(host.find(identifier("line0")));
  WindowHost tapped(shown({{{"a", 1}, {"b", 3}, {"c", 1}}, ""}), {400, 600});
  tapped.tap(tapped.find(identifier("line0")));
  for (const char* id : {"line0", "line1", "line2"}) {
    SCOPED_TRACE(id);
    EXPECT_EQ(host.frame(identifier(id)), tapped.frame(identifier(id)));
  }
}

TEST(EqualViews, PreferencesOfKeptViewsStillReachTheirReaders) {
  auto total = std::make_shared<int>(0);
  Host host(shown({{{"a", 1}, {"b", 2}}, ""}, total));
  EXPECT_EQ(*total, 3);
  host.setRoot(shown({{{"a", 1}, {"b", 2}, {"c", 4}}, ""}, total));
  EXPECT_EQ(*total, 7);
  host.setRoot(shown({{{"a", 1}, {"b", 2}}, ""}, total));
  EXPECT_EQ(*total, 3);
  host.setRoot(shown({{{"a", 5}, {"b", 2}}, ""}, total));
  EXPECT_EQ(*total, 7);
}

TEST(EqualViews, EnvironmentsAreEquivalentWhenTheirValuesAreTheSameObjectsOrCopiesOfOneAction) {
  struct Uncomparable {
    std::function<void()> action;
  };
  struct UncomparableKey {
    using Value = Uncomparable;
    static Uncomparable defaultValue() { return {}; }
  };
  const auto shared = std::make_shared<const Uncomparable>();
  const OpenURLAction action([](const foundation::URL&) {});
  auto make = [&](std::shared_ptr<const Uncomparable> value, OpenURLAction open) {
    EnvironmentValues environment;
    environment.setShared<UncomparableKey>(std::move(value));
    environment.set<OpenURLKey>(std::move(open));
    return environment;
  };
  EXPECT_TRUE(make(shared, action).isEquivalent(make(shared, action)));
  EXPECT_EQ(make(shared, action).sharedValue<UncomparableKey>(), shared);
  EXPECT_TRUE(make(shared, OpenURLAction()).isEquivalent(make(shared, OpenURLAction())));
  EXPECT_FALSE(make(std::make_shared<const Uncomparable>(), action).isEquivalent(make(shared, action)));
  EXPECT_FALSE(make(shared, OpenURLAction([](const foundation::URL&) {})).isEquivalent(make(shared, action)));
  EXPECT_EQ(EnvironmentValues().sharedValue<UncomparableKey>(), nullptr);
}

}  // namespace
