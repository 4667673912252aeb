// View members register where they live; views made on other threads must not disturb the main thread's
// evaluation.
#include <gtest/gtest.h>

#include <atomic>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "platform/ui/dynamic_property.h"
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

TEST(PropertyRegistry, FindsTheMembersOfAnObjectInDeclarationOrder) {
  Pair pair;
  auto found = detail::propertiesWithin(&pair, sizeof(pair));
  ASSERT_EQ(found.size(), 2u);
  EXPECT_EQ(found[0], static_cast<DynamicProperty*>(&pair.first));
  EXPECT_EQ(found[1], static_cast<DynamicProperty*>(&pair.second));
  State<int> outside{3};
  EXPECT_EQ(detail::propertiesWithin(&pair, sizeof(pair)).size(), 2u);
}

TEST(PropertyRegistry, FindsEveryMemberWhileMembersComeAndGoByTheThousand) {
  // Enough objects that the registry grows several times over, then shrinks as most of them go; objects
  // that are next to each other in memory have members at neighbouring addresses.
  auto pairs = std::make_unique<std::vector<Pair>>(5000);
  auto expectFound = [](const std::vector<Pair>& all, std::size_t step) {
    for (std::size_t i = 0; i < all.size(); i += step) {
      auto found = detail::propertiesWithin(&all[i], sizeof(Pair));
      ASSERT_EQ(found.size(), 2u) << i;
      EXPECT_EQ(found[0], static_cast<const DynamicProperty*>(&all[i].first)) << i;
      EXPECT_EQ(found[1], static_cast<const DynamicProperty*>(&all[i].second)) << i;
    }
  };
  expectFound(*pairs, 1);
  auto kept = std::make_unique<std::vector<Pair>>(pairs->begin() + 1000, pairs->begin() + 1200);
  // The gaps that leaving members open up are closed without losing the members after them.
  pairs->erase(pairs->begin() + 10, pairs->begin() + 4000);
  expectFound(*pairs, 1);
  expectFound(*kept, 1);
  pairs.reset();
  expectFound(*kept, 1);
  std::vector<Pair> range(3);
  EXPECT_EQ(detail::propertiesWithin(range.data(), sizeof(Pair) * 3).size(), 6u);
  EXPECT_TRUE(detail::propertiesWithin(&range[0].between, sizeof(int)).empty());
}

class Counter final : public View {
 public:
  AnyView body() const override {
    return VStack(Text::verbatim(std::to_string(*count_)),
                  Button("Add", [count = count_] { count.set(*count + 1); }));
  }

 private:
  State<int> count_{0};
};

TEST(PropertyRegistry, ViewsMadeOnAnotherThreadDoNotDisturbEvaluation) {
  Host host{Counter()};
  std::atomic<bool> stop{false};
  std::thread maker([&] {
    while (!stop) {
      std::vector<Pair> pairs(50);
      pairs.erase(pairs.begin() + 10, pairs.begin() + 30);
    }
  });
  for (int i = 0; i < 200; ++i) host.tap(host.find(ui::testing::button("Add")));
  stop = true;
  maker.join();
  EXPECT_TRUE(host.exists(ui::testing::text("200")));
}

}  // namespace
