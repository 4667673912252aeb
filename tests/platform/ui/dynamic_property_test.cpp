// A view's members that live in the view graph are found where they sit inside the view, the same places
// for every view of a type; views made on other threads must not disturb the main thread's evaluation.
#include "platform/ui/dynamic_property.h"

#include <gtest/gtest.h>

#include <atomic>
#include <memory>
#include <new>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include "platform/ui/environment.h"
#include "platform/ui/inspector.h"
#include "platform/ui/state.h"
#include "platform/ui/views.h"

namespace {

using namespace ui;
using ui::testing::Host;

struct Pair {
  State<int> first{1};
  int between = 0;
  State<std::string> second{"two"};
};

struct Nested : Pair {
  Pair inner;
  std::unique_ptr<State<int>> elsewhere = std::make_unique<State<int>>(3);
};

TEST(DynamicProperty, OffsetsAreThoseOfTheMembersMadeInsideTheObjectInDeclarationOrder) {
  alignas(Nested) unsigned char storage[sizeof(Nested)];
  State<int> outside{0};
  const auto offsets = detail::propertyOffsets(storage, sizeof(Nested), [&storage] {
    // Made inside the object, through a base and a member; the one on the heap lies elsewhere.
    auto* made = ::new (storage) Nested();
    State<int> local{4};
    made->~Nested();
  });
  const Nested probe;
  const auto* base = reinterpret_cast<const unsigned char*>(&probe);
  auto offsetOf = [base](const DynamicProperty& property) {
    return static_cast<std::size_t>(reinterpret_cast<const unsigned char*>(&property) - base);
  };
  EXPECT_EQ(offsets, (std::vector<std::size_t>{offsetOf(probe.first), offsetOf(probe.second),
                                               offsetOf(probe.inner.first), offsetOf(probe.inner.second)}));
  // Nothing is noted once the search is over.
  EXPECT_TRUE(detail::propertyOffsets(storage, sizeof(Nested), [] {}).empty());
}

TEST(DynamicProperty, AFailedSearchLeavesNothingNoted) {
  alignas(Pair) unsigned char storage[sizeof(Pair)];
  EXPECT_THROW(detail::propertyOffsets(storage, sizeof(Pair),
                                       [&storage] {
                                         ::new (storage) Pair();
                                         std::launder(reinterpret_cast<Pair*>(storage))->~Pair();
                                         throw std::runtime_error("no room");
                                       }),
               std::runtime_error);
  EXPECT_TRUE(detail::propertyOffsets(storage, sizeof(Pair), [] { Pair elsewhere; }).empty());
}

// State kept in a base and in a member, beside a read of the environment.
struct Counters {
  State<int> count{0};
};

class Counter : public View {
 protected:
  State<int> count_{0};
};

class TwoCounters final : public Counter {
 public:
  AnyView body() const override {
    return VStack(Text::verbatim(std::to_string(*count_) + " " + std::to_string(*inner_.count)),
                  Text::verbatim(font_->has_value() ? "font" : "no font"),
                  Button("Add", [count = count_] { count.set(*count + 1); }),
                  Button("Add inner", [count = inner_.count] { count.set(*count + 10); }));
  }

 private:
  Counters inner_;
  Environment<FontKey> font_;
};

TEST(DynamicProperty, ViewsKeepStateInBasesAndMembersAndReadTheirEnvironment) {
  Host host{AnyView(TwoCounters()).font(Font::system(12))};
  host.tap(host.find(ui::testing::button("Add")));
  host.tap(host.find(ui::testing::button("Add inner")));
  host.tap(host.find(ui::testing::button("Add")));
  EXPECT_TRUE(host.exists(ui::testing::text("2 10")));
  EXPECT_TRUE(host.exists(ui::testing::text("font")));
}

class PlainCounter final : public View {
 public:
  AnyView body() const override {
    return VStack(Text::verbatim(std::to_string(*count_)),
                  Button("Add", [count = count_] { count.set(*count + 1); }));
  }

 private:
  State<int> count_{0};
};

// State behind properties that keep nothing of their own (reads of the environment).
class CounterAfterReads final : public View {
 public:
  AnyView body() const override {
    return VStack(Text::verbatim(std::to_string(*count_) + (font_->has_value() ? " font" : "")),
                  Button("Add", [count = count_] { count.set(*count + 1); }));
  }

 private:
  Environment<FontKey> font_;
  Environment<ForegroundStyleKey> foreground_;
  State<int> count_{0};
};

TEST(DynamicProperty, StateBehindReadsOfTheEnvironmentIsKept) {
  Host host{AnyView(CounterAfterReads()).font(Font::system(12))};
  host.tap(host.find(ui::testing::button("Add")));
  host.tap(host.find(ui::testing::button("Add")));
  EXPECT_TRUE(host.exists(ui::testing::text("2 font")));
}

TEST(DynamicProperty, ViewsMadeOnAnotherThreadDoNotDisturbEvaluation) {
  Host host{PlainCounter()};
  std::atomic<bool> stop{false};
  std::thread maker([&] {
    while (!stop) {
      std::vector<Pair> pairs(50);
      pairs.erase(pairs.begin() + 10, pairs.begin() + 30);
      std::vector<PlainCounter> views(5);
    }
  });
  for (int i = 0; i < 200; ++i) host.tap(host.find(ui::testing::button("Add")));
  stop = true;
  maker.join();
  EXPECT_TRUE(host.exists(ui::testing::text("200")));
}

}  // namespace
