// Drawing a window again after its views changed shows them as they are now: the same picture, pixel for
// pixel, as the changed views drawn for the first time in a window of their own. What the renderer keeps
// from earlier frames never shows through.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "platform/appkit/controls.h"
#include "platform/render/pango_text_measurer.h"
#include "platform/render/reach_table.h"
#include "platform/render/renderer.h"
#include "platform/ui/views.h"
#include "platform/ui/window_host.h"
#include "tests/platform/render/snapshot.h"

namespace {

using namespace ui;
using ui::testing::WindowHost;

constexpr Size kWindow{40, 60};

::testing::AssertionResult samePicture(const render::Canvas& drawn, const render::Canvas& expected) {
  if (drawn.pixelsWide() != expected.pixelsWide() || drawn.pixelsHigh() != expected.pixelsHigh())
    return ::testing::AssertionFailure() << "the pictures differ in size";
  int differing = 0;
  std::string first;
  for (int y = 0; y < drawn.pixelsHigh(); ++y) {
    for (int x = 0; x < drawn.pixelsWide(); ++x) {
      if (drawn.pixel(x, y) == expected.pixel(x, y)) continue;
      if (differing++ == 0) first = "(" + std::to_string(x) + ", " + std::to_string(y) + ")";
    }
  }
  if (differing == 0) return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure() << differing << " pixels differ, the first at " << first;
}

render::Canvas drawnAfresh(const AnyView& view, Size size = kWindow) {
  WindowHost host(view, size, std::make_shared<render::PangoTextMeasurer>());
  return render::Renderer().draw(host.window());
}

// Rows of ten points, blue and red in turn, in a scroll view as high as the window: six rows are in sight.
struct Rows {
  int count = 20;
  std::function<AnyView(int)> row = [](int i) { return AnyView(Color(i % 2, 0, 1 - i % 2)).frame(40, 10); };

  AnyView view() const {
    std::vector<AnyView> rows;
    for (int i = 0; i < count; ++i) rows.push_back(row(i));
    return ScrollView(VStack(HorizontalAlignment::center, 0, rows));
  }
};

struct Change {
  std::string name;
  Rows before, after;
};

std::vector<Change> changes() {
  std::vector<Change> result;
  {
    Change c{"a row in sight changes colour", {}, {}};
    c.after.row = [](int i) { return AnyView(Color(0, i == 3 ? 1 : 0, i == 3 ? 0 : 1)).frame(40, 10); };
    result.push_back(c);
  }
  {
    Change c{"a row in sight grows and pushes the rows below it down", {}, {}};
    c.after.row = [](int i) { return AnyView(Color(i % 2, 0, 1 - i % 2)).frame(40, i == 1 ? 25 : 10); };
    result.push_back(c);
  }
  {
    Change c{"a row above the rows out of sight shrinks and brings them into sight", {}, {}};
    c.before.row = [](int i) {
      return AnyView(Color(i % 2, i == 0 ? 1 : 0, 1 - i % 2)).frame(40, i == 0 ? 60 : 10);
    };
    c.after.row = [](int i) { return AnyView(Color(i % 2, i == 0 ? 1 : 0, 1 - i % 2)).frame(40, 10); };
    result.push_back(c);
  }
  {
    Change c{"a row is added at the top", {}, {}};
    c.after.count = 21;
    c.after.row = [](int i) {
      return i == 0 ? AnyView(Color(0, 1, 0)).frame(40, 15)
                    : AnyView(Color((i - 1) % 2, 0, i % 2)).frame(40, 10);
    };
    result.push_back(c);
  }
  {
    Change c{"rows are removed", {}, {}};
    c.after.count = 3;
    result.push_back(c);
  }
  {
    Change c{"a text changes its words", {}, {}};
    c.before.row = [](int i) {
      return i == 2 ? AnyView(Text("one")).frame(40, 20) : AnyView(Color(i % 2, 0, 1 - i % 2)).frame(40, 10);
    };
    c.after.row = [](int i) {
      return i == 2 ? AnyView(Text("two")).frame(40, 20) : AnyView(Color(i % 2, 0, 1 - i % 2)).frame(40, 10);
    };
    result.push_back(c);
  }
  {
    // A row far below sight casts its shadow up into it once its shadow grows.
    Change c{"a view out of sight comes to reach into sight", {}, {}};
    c.before.row = [](int i) {
      return AnyView(Color(i % 2, 0, 1 - i % 2))
          .frame(40, 10)
          .shadow(Color(0, 1, 0), i == 15 ? 1 : 0, 0, i == 15 ? -20 : 0);
    };
    c.after.row = [](int i) {
      return AnyView(Color(i % 2, 0, 1 - i % 2))
          .frame(40, 10)
          .shadow(Color(0, 1, 0), i == 15 ? 1 : 0, 0, i == 15 ? -120 : 0);
    };
    result.push_back(c);
  }
  return result;
}

TEST(Redrawing, ShowsViewsAsTheyAreAfterAChange) {
  for (const auto& change : changes()) {
    SCOPED_TRACE(change.name);
    WindowHost host(change.before.view(), kWindow, std::make_shared<render::PangoTextMeasurer>());
    render::Renderer renderer;
    (void)renderer.draw(host.window());
    host.setRoot(change.after.view());
    EXPECT_TRUE(samePicture(renderer.draw(host.window()), drawnAfresh(change.after.view())));
  }
}

TEST(Redrawing, ShowsWhatAScrollViewScrolledIntoSightAfterAChange) {
  Rows rows;
  WindowHost host(rows.view(), kWindow, std::make_shared<render::PangoTextMeasurer>());
  render::Renderer renderer;
  (void)renderer.draw(host.window());
  Rows changed;
  changed.row = [](int i) { return AnyView(Color(i % 2, i == 15 ? 1 : 0, 1 - i % 2)).frame(40, 10); };
  host.setRoot(changed.view());
  (void)renderer.draw(host.window());

  WindowHost fresh(changed.view(), kWindow, std::make_shared<render::PangoTextMeasurer>());
  for (double offset : {140.0, 95.0, 0.0}) {
    SCOPED_TRACE(offset);
    for (auto* shown : {&host, &fresh}) {
      auto scroll = std::dynamic_pointer_cast<appkit::ScrollView>(
          shown->platformView(shown->find(ui::testing::type("ScrollView"))));
      ASSERT_NE(scroll, nullptr);
      scroll->contentView()->setBoundsOrigin({0, offset});
    }
    EXPECT_TRUE(samePicture(renderer.draw(host.window()), render::Renderer().draw(fresh.window())));
  }
}

// A wide blue item over a narrow red one that draws a hundred points to its right; equal to any other, so
// that it keeps its subtree when the views around it change.
class Items final : public View {
 public:
  AnyView body() const override {
    return Group(AnyView(Color(0, 0, 1)).frame(300, 10),
                 AnyView(Color(1, 0, 0)).frame(10, 10).offset(100, 0));
  }
  bool operator==(const Items&) const { return true; }
};

TEST(Redrawing, ShowsTheItemsOfAGroupWhereTheirStackNowAlignsThem) {
  // The group lies left of the window, out of sight, and keeps its frame: only the stack around it says
  // where its items lie inside it. The narrow item draws a hundred points to its right, which is in sight
  // once the stack aligns it with the wide item's trailing edge.
  auto shown = [](HorizontalAlignment alignment) {
    return HStack(VerticalAlignment::top, 0, VStack(alignment, 0, Items()),
                  AnyView(Color(0, 1, 0)).frame(500, 10));
  };
  WindowHost host(shown(HorizontalAlignment::leading), {40, 40},
                  std::make_shared<render::PangoTextMeasurer>());
  render::Renderer renderer;
  (void)renderer.draw(host.window());
  host.setRoot(shown(HorizontalAlignment::trailing));
  EXPECT_TRUE(
      samePicture(renderer.draw(host.window()), drawnAfresh(shown(HorizontalAlignment::trailing), {40, 40})));
}

TEST(Redrawing, ShowsViewsThatReachOutOfTheSafeAreaAsFarAsItNowGoes) {
  // Nothing is evaluated again when the safe area changes: the views are only laid out anew.
  auto shown = VStack(HorizontalAlignment::center, 0, AnyView(Color(0, 0, 1)).ignoresSafeArea(),
                      AnyView(Color(1, 0, 0)).frame(40, 10));
  WindowHost host(shown, kWindow, std::make_shared<render::PangoTextMeasurer>());
  render::Renderer renderer;
  (void)renderer.draw(host.window());
  for (const EdgeInsets insets : {EdgeInsets{20, 0, 0, 0}, EdgeInsets{0, 0, 25, 0}, EdgeInsets{}}) {
    SCOPED_TRACE(insets.top + insets.bottom);
    host.hostingView().setAdditionalSafeAreaInsets(insets);
    WindowHost fresh(shown, kWindow, std::make_shared<render::PangoTextMeasurer>());
    fresh.hostingView().setAdditionalSafeAreaInsets(insets);
    EXPECT_TRUE(samePicture(renderer.draw(host.window()), render::Renderer().draw(fresh.window())));
  }
}

TEST(Redrawing, KeepsNoMoreThanItNeedsWhileViewsComeAndGo) {
  Rows rows;
  WindowHost host(rows.view(), kWindow, std::make_shared<render::PangoTextMeasurer>());
  render::Renderer renderer;
  for (int round = 0; round < 300; ++round) {
    // Every round makes new rows: views of another type where the old ones were.
    Rows next;
    next.row = [round](int i) {
      return round % 2 ? AnyView(Color(i % 2, 0, 1 - i % 2)).frame(40, 10)
                       : AnyView(Rectangle().fill(Color(i % 2, 0, 1 - i % 2))).frame(40, 10);
    };
    host.setRoot(next.view());
    (void)renderer.draw(host.window());
  }
  EXPECT_LT(render::ReachTable::of(host.hostingView())->keptCount(), 5000u);
}

}  // namespace
