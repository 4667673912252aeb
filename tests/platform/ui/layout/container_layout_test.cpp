#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "layout_fixture.h"
#include "platform/ui/views.h"
#include "platform/ui/window_host.h"

namespace ui {
namespace {

using testing::text;
using testing::type;
using testing::WindowHost;

TEST(GridLayout, ColumnsAreAsWideAsTheirWidestCell) {
  LaidOut laid(Grid({GridRow({Text("a"), Text("bbb")}), GridRow({Text("cc"), Text("d")})}, 10.0, 5.0),
               {50, 45});
  EXPECT_EQ(laid.frame(type("Grid")), Rect(0, 0, 50, 45));
  EXPECT_EQ(laid.frame(text("a")), Rect(4, 0, 8, 20));
  EXPECT_EQ(laid.frame(text("bbb")), Rect(26, 0, 24, 20));
  EXPECT_EQ(laid.frame(text("cc")), Rect(0, 25, 16, 20));
  EXPECT_EQ(laid.frame(text("d")), Rect(34, 25, 8, 20));
  EXPECT_EQ(laid.frame(type("GridRow"), 1), Rect(0, 25, 50, 20));
}

TEST(GridLayout, AColumnTakesTheAlignmentOfAnyOfItsCells) {
  LaidOut laid(Grid({GridRow({gridColumnAlignment(Text("a"), HorizontalAlignment::leading), Text("x")}),
                     GridRow({Text("cc"), gridColumnAlignment(Text("yyy"), HorizontalAlignment::trailing)}),
                     GridRow({Text("e"), Text("z")})}),
               {48, 76});
  EXPECT_EQ(laid.frame(text("a")), Rect(0, 0, 8, 20));
  EXPECT_EQ(laid.frame(text("e")), Rect(0, 56, 8, 20));
  EXPECT_EQ(laid.frame(text("x")), Rect(40, 0, 8, 20));
  EXPECT_EQ(laid.frame(text("z")), Rect(40, 56, 8, 20));
}

TEST(GridLayout, AViewOutsideARowSpansTheGrid) {
  LaidOut laid(Grid({GridRow({Text("aa"), Text("bb")}), Divider()}, 0.0, 0.0), {32, 21});
  EXPECT_EQ(laid.frame(type("Divider")), Rect(0, 20, 32, 1));
}

TEST(ScrollViewLayout, LaysOutContentUnboundedAlongTheScrollAxis) {
  std::vector<AnyView> rows;
  for (int i = 0; i < 10; ++i) rows.push_back(AnyView(Color::red()).frame(50, 30));
  LaidOut laid(ScrollView(VStack(HorizontalAlignment::center, 0.0, rows)), {200, 100});
  EXPECT_EQ(laid.frame(type("ScrollView")), Rect(0, 0, 200, 100));
  EXPECT_EQ(laid.contentSize(type("ScrollView")), Size(50, 300));
  EXPECT_EQ(laid.frame(type("VStack")), Rect(75, 0, 50, 300));
  EXPECT_EQ(laid.frame(type("Color"), 9), Rect(75, 270, 50, 30));
}

TEST(ScrollViewLayout, WrapsTextToTheWidthOfAVerticalScrollView) {
  LaidOut laid(ScrollView(Text("aaaa bbbb cccc")), {80, 100});
  EXPECT_EQ(laid.contentSize(type("ScrollView")), Size(72, 40));

  LaidOut sideways(ScrollView(Text("aaaa bbbb cccc"), Axis::horizontal), {80, 100});
  EXPECT_EQ(sideways.contentSize(type("ScrollView")), Size(112, 20));
  EXPECT_EQ(sideways.frame(text("aaaa bbbb cccc")), Rect(0, 40, 112, 20));
}

TEST(ListLayout, StacksRowsAtTheLeadingEdge) {
  LaidOut laid(List({Text("a"), Section(Text("head"), {Text("bb")})}), {100, 100});
  EXPECT_EQ(laid.frame(type("List")), Rect(0, 0, 100, 100));
  EXPECT_EQ(laid.frame(text("a")), Rect(0, 0, 8, 20));
  EXPECT_EQ(laid.frame(text("head")), Rect(0, 20, 32, 20));
  EXPECT_EQ(laid.frame(text("bb")), Rect(0, 40, 16, 20));
  EXPECT_EQ(laid.contentSize(type("List")), Size(100, 60));
}

TEST(FormLayout, StacksRowsAtTheLeadingEdgeWithSpacing) {
  LaidOut laid(Form({Text("a"), Text("bb")}), {16, 48});
  EXPECT_EQ(laid.frame(text("a")), Rect(0, 0, 8, 20));
  EXPECT_EQ(laid.frame(text("bb")), Rect(0, 28, 16, 20));
}

TEST(FormLayout, AGroupOfRowsIsFramedAroundThemSoTheControlsInsideAreShown) {
  WindowHost host(Form({Group(Toggle("a", Binding<bool>::constant(false)), Text("bb")), Text("c")})
                      .font(Font::system(16)),
                  {28, 76});
  EXPECT_EQ(host.frame(type("Group")), Rect(0, 0, 28, 48));
  EXPECT_NE(host.platformView(host.find(type("Toggle"))), nullptr);
}

TEST(TabViewLayout, ShowsTheSelectedTabBelowTheBarOfLabels) {
  LaidOut laid(TabView({Tab{Text("One"), Text("first")}, Tab{Text("Two"), Text("second")}}), {200, 128});
  EXPECT_EQ(laid.frame(type("TabView")), Rect(0, 0, 200, 128));
  // The content sits at the top of its box, centred across it, inside the box's margins.
  EXPECT_EQ(laid.frame(text("first")), Rect(80, tabBarHeight + tabContentMargins.top, 40, 20));
  // The labels share the bar; only the selected tab's content is there at all.
  EXPECT_EQ(laid.frame(text("One")).midX(), 50);
  EXPECT_EQ(laid.frame(text("Two")).midX(), 150);
  EXPECT_EQ(laid.frame(text("One")).midY(), tabBarHeight / 2);
  EXPECT_FALSE(laid.host().exists(text("second")));

  std::size_t selected = 1;
  Binding<std::size_t> selection([&] { return selected; }, [&](std::size_t index) { selected = index; });
  LaidOut second(TabView(selection, {Tab{Text("One"), Text("first")}, Tab{Text("Two"), Text("second")}}),
                 {200, 128});
  EXPECT_EQ(second.frame(text("second")), Rect(76, tabBarHeight + tabContentMargins.top, 48, 20));
  EXPECT_FALSE(second.host().exists(text("first")));
}

TEST(ControlLayout, TextFieldsFillTheWidthAndAreOneLineHigh) {
  Binding<std::string> text = Binding<std::string>::constant("");
  LaidOut laid(VStack(TextField("Name", text)).frame(120, 26), {120, 26});
  EXPECT_EQ(laid.frame(type("TextField")), Rect(0, 0, 120, 20 + textFieldChrome));
}

TEST(ControlLayout, AToggleIsFramedAroundItsBoxAndItsLabel) {
  LaidOut laid(VStack(HorizontalAlignment::leading, 0.0, Toggle("abc", Binding<bool>::constant(true)))
                   .frame(100, 20, Alignment::topLeading()),
               {100, 20});
  const double box = checkboxSide + checkboxSpacing;
  EXPECT_EQ(laid.frame(type("Toggle")), Rect(0, 0, box + 24, 20));
  EXPECT_EQ(laid.frame(text("abc")), Rect(box, 0, 24, 20));
}

TEST(ControlLayout, ANarrowPickerShortensItsTitleAndItsMenuAlike) {
  // The title is 64 points wide, the menu its widest option and its chrome: 48 + popUpChrome.
  auto picker = [] {
    return Picker("abcdefgh", Binding<int>::constant(1),
                  std::vector<std::pair<int, std::string>>{{1, "abcdef"}, {2, "ab"}});
  };
  const double title = 64, menu = 48 + popUpChrome, ideal = title + defaultSpacing + menu;
  LaidOut roomy(VStack(picker()).frame(300, 40), {300, 40});
  EXPECT_EQ(roomy.frame(type("Picker")).width(), ideal);
  EXPECT_EQ(roomy.controlFrame(type("Picker"))->width(), menu);

  const double offered = ideal - 40;
  LaidOut narrow(VStack(picker()).frame(offered, 40), {offered, 40});
  const Rect frame = narrow.frame(type("Picker"));
  const Rect control = *narrow.controlFrame(type("Picker"));
  EXPECT_EQ(frame.width(), offered);
  EXPECT_EQ(control.maxX(), frame.maxX());
  const double shownTitle = control.minX() - defaultSpacing - frame.minX();
  EXPECT_NEAR(shownTitle / control.width(), title / menu, 1e-9);
}

// Places its subviews along a diagonal, each anchored at its centre, and reports how it was asked.
class Diagonal final : public Layout {
 public:
  explicit Diagonal(std::vector<ProposedViewSize>* proposals = nullptr) : proposals_(proposals) {}
  Size sizeThatFits(const ProposedViewSize& proposal, const LayoutSubviews& subviews) const override {
    if (proposals_) proposals_->push_back(proposal);
    Size size;
    for (const auto& subview : subviews) {
      auto s = subview.sizeThatFits(ProposedViewSize::unspecified());
      size = {size.width + s.width, size.height + s.height};
    }
    return size;
  }
  void placeSubviews(const Rect& bounds, const ProposedViewSize&,
                     const LayoutSubviews& subviews) const override {
    Point corner = bounds.origin;
    for (const auto& subview : subviews) {
      auto s = subview.sizeThatFits(ProposedViewSize::unspecified());
      subview.place({corner.x + s.width / 2, corner.y + s.height / 2}, UnitPoint{0.5, 0.5});
      corner = {corner.x + s.width, corner.y + s.height};
    }
  }

 private:
  std::vector<ProposedViewSize>* proposals_;
};

TEST(CustomLayout, PlacesSubviewsWhereTheLayoutSays) {
  std::vector<ProposedViewSize> proposals;
  LaidOut laid(LayoutView(Diagonal(&proposals), {Text("ab"), Text("c"), AnyView(Color::red()).frame(4, 4)}),
               {100, 100});
  EXPECT_EQ(laid.frame(type("Diagonal")), Rect(36, 28, 28, 44));
  EXPECT_EQ(laid.frame(text("ab")), Rect(36, 28, 16, 20));
  EXPECT_EQ(laid.frame(text("c")), Rect(52, 48, 8, 20));
  EXPECT_EQ(laid.frame(type("Color")), Rect(60, 68, 4, 4));
  ASSERT_FALSE(proposals.empty());
  EXPECT_EQ(proposals.front(), ProposedViewSize(100.0, 100.0));
}

// Rows left to right, wrapping when the next subview does not fit; a subview of negative priority is
// offered the rest of its row. Subviews of one row share their bottom edge.
class Flow final : public Layout {
 public:
  Flow(double horizontal, double vertical) : horizontal_(horizontal), vertical_(vertical) {}
  struct Item {
    std::size_t index;
    Size size;
  };
  struct Row {
    Size size;
    std::vector<Item> items;
  };
  std::vector<Row> rows(const ProposedViewSize& proposal, const LayoutSubviews& subviews) const {
    double limit = proposal.width.value_or(infinity);
    std::vector<Row> result;
    Row open;
    double x = 0;
    for (std::size_t i = 0; i < subviews.size(); ++i) {
      std::optional<double> offer = proposal.width;
      if (proposal.width && subviews[i].priority() < 0) offer = *proposal.width - x;
      Size s = subviews[i].sizeThatFits({offer, std::nullopt});
      if (x > 0 && x + s.width > limit) {
        open.size.width = x - horizontal_;
        result.push_back(open);
        open = Row{};
        x = 0;
      }
      open.items.push_back({i, s});
      open.size.height = std::max(open.size.height, s.height);
      x += s.width + horizontal_;
    }
    if (!open.items.empty()) {
      open.size.width = x - horizontal_;
      result.push_back(open);
    }
    return result;
  }
  Size sizeThatFits(const ProposedViewSize& proposal, const LayoutSubviews& subviews) const override {
    Size size;
    auto all = rows(proposal, subviews);
    for (const auto& row : all) size = {std::max(size.width, row.size.width), size.height + row.size.height};
    if (!all.empty()) size.height += vertical_ * static_cast<double>(all.size() - 1);
    return size;
  }
  void placeSubviews(const Rect& bounds, const ProposedViewSize& proposal,
                     const LayoutSubviews& subviews) const override {
    double y = bounds.minY();
    for (const auto& row : rows(proposal, subviews)) {
      double x = bounds.minX();
      for (const auto& item : row.items) {
        subviews[item.index].place({x, y + row.size.height - item.size.height}, UnitPoint{0, 0},
                                   ProposedViewSize(item.size));
        x += item.size.width + horizontal_;
      }
      y += row.size.height + vertical_;
    }
  }

 private:
  double horizontal_, vertical_;
};

TEST(CustomLayout, FlowWrapsRowsToTheProposedWidth) {
  auto block = [](double height) { return AnyView(Color::red()).frame(100, height); };
  struct Case {
    double width;
    Rect third;
    Size size;
  };
  const Case cases[] = {{320, Rect(220, 0, 100, 40), {320, 40}}, {319, Rect(0, 48, 100, 40), {210, 88}}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.width);
    LaidOut laid(LayoutView(Flow(10, 8), {block(40), block(20), block(40)})
                     .frame(c.width, 200, Alignment::topLeading()),
                 {c.width, 200});
    EXPECT_EQ(laid.frame(type("Flow")).size, c.size);
    EXPECT_EQ(laid.frame(type("Color"), 1), Rect(110, 20, 100, 20));  // level with the row's bottom
    EXPECT_EQ(laid.frame(type("Color"), 2), c.third);
  }
}

TEST(CustomLayout, SubviewsReportTheirLayoutPriority) {
  LaidOut laid(LayoutView(Flow(0, 0), {AnyView(Color::red()).frame(200, 10),
                                       layoutPriority(AnyView(Color::blue()).frame(FrameModifier{[] {
                                         FrameModifier f;
                                         f.maxWidth = infinity;
                                         f.height = 10;
                                         return f;
                                       }()}),
                                                      -1),
                                       Text("next")})
                   .frame(300, 100, Alignment::topLeading()),
               {300, 100});
  EXPECT_EQ(laid.frame(type("Color"), 1), Rect(200, 0, 100, 10));
  EXPECT_EQ(laid.frame(text("next")), Rect(0, 10, 32, 20));
}

}  // namespace
}  // namespace ui
