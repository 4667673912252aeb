#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "Introspect/app_kit_introspection_view.h"
#include "platform/foundation/log.h"
#include "platform/ui/hosting.h"
#include "platform/ui/views.h"
#include "platform/ui/window_host.h"

namespace {

using Introspect::IntrospectionNSView;
using ui::testing::WindowHost;

ui::Binding<std::string> constantText(std::string text) {
  return ui::Binding<std::string>::constant(std::move(text));
}

std::shared_ptr<IntrospectionNSView> markerIn(const appkit::View& root) {
  return Introspect::firstDescendant<IntrospectionNSView>(root);
}

TEST(IntrospectionMarker, IsHiddenZeroSizedAndTakesNoClicks) {
  auto marker = std::make_shared<IntrospectionNSView>();
  EXPECT_TRUE(marker->isHidden());
  EXPECT_EQ(marker->frame(), foundation::Rect(0, 0, 0, 0));
  marker->setFrame({0, 0, 50, 50});
  EXPECT_EQ(marker->hitTest({10, 10}), nullptr);
  EXPECT_EQ(marker->className(), "Introspect::IntrospectionNSView");
}

TEST(IntrospectionMarker, IsLabelledWithTheTargetClass) {
  WindowHost host(
      Introspect::customizeNSTextView(ui::TextEditor(constantText("")), [](appkit::TextView&) {}));
  auto marker = markerIn(host.hostingView());
  ASSERT_NE(marker, nullptr);
  EXPECT_EQ(marker->accessibilityLabel(), "IntrospectionNSView<TextView>");
  EXPECT_TRUE(marker->isHidden());
  EXPECT_EQ(marker->frame().size, foundation::Size(0, 0));
  EXPECT_EQ(Introspect::markerLabel<appkit::ColorWell>(), "IntrospectionNSView<ColorWell>");
}

TEST(IntrospectionMarker, DoesNotChangeTheLayoutOrTakeClicks) {
  auto editor = [] { return ui::TextEditor(constantText("")).frame(200, 80); };
  WindowHost plain(ui::VStack(ui::Text("title"), editor()), {400, 300});
  WindowHost customised(
      ui::VStack(ui::Text("title"), Introspect::customizeNSTextView(editor(), [](appkit::TextView&) {})),
      {400, 300});
  auto frame = plain.frame(ui::testing::type("TextEditor"));
  EXPECT_EQ(customised.frame(ui::testing::type("TextEditor")), frame);
  EXPECT_EQ(customised.frame(ui::testing::type("AppKitIntrospectionView")),
            foundation::Rect(frame.midX(), frame.midY(), 0, 0));
  auto hit = customised.hostingView().hitTest({frame.midX(), frame.midY()});
  EXPECT_NE(std::dynamic_pointer_cast<appkit::TextView>(hit), nullptr);
}

TEST(CustomizeTextView, HandsOverTheEditorsTextViewWithItsWindow) {
  std::vector<appkit::TextView*> customised;
  std::shared_ptr<appkit::Window> window;
  WindowHost host(
      Introspect::customizeNSTextView(ui::TextEditor(constantText("draft")), [&](appkit::TextView& textView) {
        customised.push_back(&textView);
        window = textView.window();
      }));
  ASSERT_EQ(customised.size(), 1u);
  EXPECT_EQ(customised.front()->string(), "draft");
  EXPECT_EQ(window, host.windowPointer());
}

TEST(CustomizeTextView, RunsAfterEachUpdateAndNeverInsideIt) {
  foundation::ScopedMainRunLoop loop;
  int calls = 0;
  auto view = [&] {
    return Introspect::customizeNSTextView(ui::TextEditor(constantText("")),
                                           [&](appkit::TextView&) { ++calls; });
  };
  auto hosting = ui::HostingView::make(view(), {0, 0, 300, 200});
  EXPECT_EQ(calls, 0);  // the first update only scheduled the search
  loop.loop().runUntilIdle();
  EXPECT_EQ(calls, 1);
  hosting->graph().setRoot(view());  // evaluates and updates synchronously
  EXPECT_EQ(calls, 1);
  loop.loop().runUntilIdle();
  EXPECT_EQ(calls, 2);
  loop.loop().runUntilIdle();
  EXPECT_EQ(calls, 2);  // nothing more without another update
}

TEST(CustomizeTextView, TakesTheTextViewInTheNearestEarlierSibling) {
  std::string found;
  WindowHost host(Introspect::customizeNSTextView(
      ui::HStack(ui::TextEditor(constantText("first")), ui::TextEditor(constantText("second"))),
      [&](appkit::TextView& textView) { found = textView.string(); }));
  EXPECT_EQ(found, "second");
}

TEST(CustomizeTextView, QuietlyDoesNothingWithoutATextView) {
  foundation::LogCapture log;
  int calls = 0;
  WindowHost host(
      Introspect::customizeNSTextView(ui::Text("just text"), [&](appkit::TextView&) { ++calls; }));
  host.settle();
  EXPECT_EQ(calls, 0);
  EXPECT_TRUE(log.lines().empty());
}

TEST(CustomizeEntries, FindTheirControlsInHostedViews) {
  int fields = 0, buttons = 0, scrolls = 0, tables = 0, cells = 0, tabs = 0;
  WindowHost host(ui::VStack(
      Introspect::customizeNSTextField(ui::TextField("Name", constantText("")),
                                       [&](appkit::TextField&) { ++fields; }),
      Introspect::customizeNSButton(ui::Button("Go", [] {}), [&](appkit::Button&) { ++buttons; }),
      Introspect::customizeNSScrollView(ui::ScrollView(ui::Text("long")),
                                        [&](appkit::ScrollView&) { ++scrolls; }),
      Introspect::customizeNSTableView(ui::List({ui::Text("row")}), [&](appkit::TableView&) { ++tables; }),
      ui::List(
          {Introspect::customizeNSTableCellView(ui::Text("cell"), [&](appkit::TableCellView&) { ++cells; })}),
      Introspect::customizeNSTabView(ui::TabView({ui::Tab{ui::Text("One"), ui::Text("first")}}),
                                     [&](appkit::TabView&) { ++tabs; })));
  EXPECT_EQ(fields, 1);
  EXPECT_EQ(buttons, 1);
  EXPECT_EQ(scrolls, 1);
  EXPECT_EQ(tables, 1);
  EXPECT_EQ(cells, 1);
  EXPECT_EQ(tabs, 1);
}

TEST(CustomizeScrollView, FindsTheScrollViewAroundTheMarker) {
  int calls = 0;
  WindowHost host(ui::ScrollView(
      Introspect::customizeNSScrollView(ui::Text("inside"), [&](appkit::ScrollView&) { ++calls; })));
  EXPECT_EQ(calls, 1);
}

}  // namespace
