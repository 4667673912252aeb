// View members register where they live; views made on other threads must not disturb the main thread's
// evaluation.
#include <gtest/gtest.h>

#include <atomic>
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
