#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "platform/appkit/controls.h"
#include "platform/ui/representable.h"
#include "platform/ui/state.h"
#include "platform/ui/views.h"
#include "platform/ui/window_host.h"

namespace ui {
namespace {

using testing::CoordinateSpace;
using testing::text;
using testing::type;
using testing::WindowHost;

// A note with a counter above it, both kept as view state.
class Note final : public View {
 public:
  AnyView body() const override {
    return VStack(Text::verbatim("edits " + std::to_string(*edits_)),
                  TextEditor(text_.binding()).frame(200, 100),
                  Button("Count", [edits = edits_] { edits.set(*edits + 1); }))
        .font(Font::system(16));
  }

 private:
  State<int> edits_{0};
  State<std::string> text_{std::string("hello")};
};

// Counts how often its platform view is made and updated.
struct Counts {
  int made = 0;
  int updated = 0;
};

class Probe final : public ViewRepresentable {
 public:
  explicit Probe(std::shared_ptr<Counts> counts) : counts_(std::move(counts)) {}
  std::shared_ptr<appkit::View> makeView(const RepresentableContext&) const override {
    ++counts_->made;
    return std::make_shared<appkit::Slider>();
  }
  void updateView(appkit::View& view, const RepresentableContext&) const override {
    ++counts_->updated;
    // By the time of an update the view is in its place in the hierarchy.
    EXPECT_NE(view.superview(), nullptr);
  }

 private:
  std::shared_ptr<Counts> counts_;
};

TEST(Hosting, HostsControlsInViewHostsInsideTheHostingView) {
  WindowHost host(Note(), {400, 300});
  auto& hosting = host.hostingView();
  EXPECT_NE(hosting.className().find("HostingView"), std::string::npos);
  EXPECT_EQ(host.window().contentView().get(), &hosting);
  ASSERT_EQ(hosting.subviews().size(), 2u);  // the editor's host, then the button's
  for (const auto& subview : hosting.subviews()) {
    EXPECT_NE(subview->className().find("ViewHost"), std::string::npos);
  }
  auto editorHost = hosting.subviews()[0];
  auto scroll = std::dynamic_pointer_cast<appkit::ScrollView>(editorHost->subviews().at(0));
  ASSERT_NE(scroll, nullptr);
  auto textView = std::dynamic_pointer_cast<appkit::TextView>(scroll->documentView());
  ASSERT_NE(textView, nullptr);
  EXPECT_EQ(textView->string(), "hello");
  EXPECT_EQ(editorHost->frame(), host.frame(type("TextEditor")));
  EXPECT_EQ(textView->convertRectToView(textView->bounds(), nullptr), host.frame(type("TextEditor")));
  auto button = std::dynamic_pointer_cast<appkit::Button>(hosting.subviews()[1]->subviews().at(0));
  ASSERT_NE(button, nullptr);
  EXPECT_EQ(button->title(), "Count");
}

TEST(Hosting, KeepsPlatformViewsAndTheirStateAcrossUpdates) {
  WindowHost host(Note(), {400, 300});
  auto textView = std::dynamic_pointer_cast<appkit::TextView>(
      std::dynamic_pointer_cast<appkit::ScrollView>(host.platformView(host.find(type("TextEditor"))))
          ->documentView());
  ASSERT_NE(textView, nullptr);
  textView->setSelectedRange({2, 0});
  textView->insertText("y");  // a person types: the binding takes the text
  host.settle();
  EXPECT_TRUE(host.exists(text("edits 0")));
  host.tap(host.find(testing::button("Count")));
  EXPECT_TRUE(host.exists(text("edits 1")));
  auto again =
      std::dynamic_pointer_cast<appkit::ScrollView>(host.platformView(host.find(type("TextEditor"))));
  EXPECT_EQ(again->documentView(), textView);
  EXPECT_EQ(textView->string(), "heyllo");
  EXPECT_EQ(textView->selectedRange(), (appkit::TextRange{3, 0}));
  EXPECT_EQ(textView->superview()->superview()->superview()->superview().get(), &host.hostingView());
}

TEST(Hosting, ReadsFramesInWindowAndLocalCoordinates) {
  WindowHost host(VStack(Text("ab"), Text("abcd")).font(Font::system(16)), {200, 100});
  EXPECT_EQ(host.frame(text("abcd")), Rect(84, 54, 32, 20));
  EXPECT_EQ(host.frame(text("abcd"), CoordinateSpace::local), Rect(0, 0, 32, 20));
  host.resize({300, 100});
  EXPECT_EQ(host.frame(text("abcd")), Rect(134, 54, 32, 20));
}

TEST(Hosting, RepresentablesAreMadeOnceAndUpdatedAfterEachEvaluation) {
  auto counts = std::make_shared<Counts>();
  WindowHost host(Representable(Probe(counts)), {100, 100});
  EXPECT_EQ(counts->made, 1);
  EXPECT_EQ(counts->updated, 1);
  auto slider = host.platformView(host.find(type("Probe")));
  ASSERT_NE(std::dynamic_pointer_cast<appkit::Slider>(slider), nullptr);
  EXPECT_EQ(slider->frame(), Rect(0, 0, 100, 100));

  host.setRoot(Representable(Probe(counts)));
  EXPECT_EQ(counts->made, 1);
  EXPECT_EQ(counts->updated, 2);
  EXPECT_EQ(host.platformView(host.find(type("Probe"))), slider);
}

TEST(Hosting, AnOverlaysPlatformViewFollowsTheHostsOfTheViewItOverlays) {
  auto counts = std::make_shared<Counts>();
  Binding<std::string> text = Binding<std::string>::constant("x");
  WindowHost host(HStack(TextField("Before", text),
                         VStack(TextEditor(text), TextField("Inside", text))
                             .overlay(Representable(Probe(counts)).frame(0, 0)),
                         TextField("After", text)),
                  {400, 100});
  auto& subviews = host.hostingView().subviews();
  ASSERT_EQ(subviews.size(), 5u);
  EXPECT_EQ(subviews[0], host.platformView(host.find(testing::textField("Before")))->superview());
  EXPECT_EQ(subviews[1], host.platformView(host.find(type("TextEditor")))->superview());
  EXPECT_EQ(subviews[2], host.platformView(host.find(testing::textField("Inside")))->superview());
  EXPECT_EQ(subviews[3], host.platformView(host.find(type("Probe")))->superview());
  EXPECT_EQ(subviews[4], host.platformView(host.find(testing::textField("After")))->superview());
  EXPECT_EQ(subviews[3]->frame().size, Size(0, 0));
}

TEST(Hosting, ScrollViewsListsAndTabViewsHoldTheirContentsPlatformViews) {
  Binding<std::string> text = Binding<std::string>::constant("x");
  WindowHost host(VStack(ScrollView(TextField("Scrolled", text)), List({Text("row"), TextField("Row", text)}),
                         TabView({Tab{Text("One"), TextField("Tab", text)}})),
                  {300, 300});
  auto scrolled = host.platformView(host.find(testing::textField("Scrolled")));
  bool isInScrollView = false;
  for (auto view = scrolled->superview(); view; view = view->superview()) {
    if (std::dynamic_pointer_cast<appkit::ScrollView>(view)) isInScrollView = true;
  }
  EXPECT_TRUE(isInScrollView);
  EXPECT_EQ(scrolled->convertRectToView(scrolled->bounds(), nullptr),
            host.frame(testing::textField("Scrolled")));

  auto row = host.platformView(host.find(testing::textField("Row")));
  auto cell = std::dynamic_pointer_cast<appkit::TableCellView>(row->superview()->superview());
  ASSERT_NE(cell, nullptr);
  EXPECT_NE(std::dynamic_pointer_cast<appkit::TableView>(cell->superview()), nullptr);
  EXPECT_EQ(row->convertRectToView(row->bounds(), nullptr), host.frame(testing::textField("Row")));

  auto tab = host.platformView(host.find(testing::textField("Tab")));
  auto tabView = std::dynamic_pointer_cast<appkit::TabView>(tab->superview()->superview());
  ASSERT_NE(tabView, nullptr);
  EXPECT_EQ(tabView->tabLabels(), std::vector<std::string>{"One"});
  EXPECT_EQ(tab->convertRectToView(tab->bounds(), nullptr), host.frame(testing::textField("Tab")));
}

TEST(Hosting, HitTestingReachesTheControlUnderThePoint) {
  Binding<std::string> text = Binding<std::string>::constant("x");
  WindowHost host(VStack(TextField("Top", text), TextField("Bottom", text)), {200, 100});
  auto bottom = host.frame(testing::textField("Bottom"));
  auto hit = host.hostingView().hitTest({bottom.midX(), bottom.midY()});
  EXPECT_EQ(hit, host.platformView(host.find(testing::textField("Bottom"))));
}

}  // namespace
}  // namespace ui

namespace ui {
namespace {

TEST(Hosting, ABackgroundsPlatformViewsComeBeforeThoseOfItsView) {
  Binding<std::string> text = Binding<std::string>::constant("x");
  WindowHost host(TextField("Front", text).background(TextField("Behind", text)), {200, 100});
  auto& subviews = host.hostingView().subviews();
  ASSERT_EQ(subviews.size(), 2u);
  EXPECT_EQ(subviews[0], host.platformView(host.find(testing::textField("Behind")))->superview());
  EXPECT_EQ(subviews[1], host.platformView(host.find(testing::textField("Front")))->superview());
}

TEST(Hosting, ScrollViewsSitAmongTheHostsDirectly) {
  Binding<std::string> text = Binding<std::string>::constant("x");
  WindowHost host(VStack(ScrollView(Text("long")), TextField("After", text)), {200, 100});
  auto& subviews = host.hostingView().subviews();
  ASSERT_EQ(subviews.size(), 2u);
  EXPECT_NE(std::dynamic_pointer_cast<appkit::ScrollView>(subviews[0]), nullptr);
  EXPECT_EQ(subviews[0]->frame(), host.frame(type("ScrollView")));
}

TEST(Hosting, ViewsThatLeaveTakeTheirPlatformViewsAlong) {
  Binding<std::string> text = Binding<std::string>::constant("x");
  WindowHost host(VStack(TextField("Stays", text), TextField("Goes", text)), {200, 100});
  auto stays = host.platformView(host.find(testing::textField("Stays")));
  host.setRoot(VStack(TextField("Stays", text)));
  ASSERT_EQ(host.hostingView().subviews().size(), 1u);
  EXPECT_EQ(host.platformView(host.find(testing::textField("Stays"))), stays);
}

}  // namespace
}  // namespace ui

namespace ui {
namespace {

using testing::type;
using testing::WindowHost;

TEST(Hosting, ControlsInsideAGroupOfAFormAreHosted) {
  Binding<std::string> text = Binding<std::string>::constant("x");
  WindowHost host(Form({Text("Heading"),
                        Group(TextField("Grouped", text), Toggle("Switch", Binding<bool>::constant(true)))}),
                  {300, 200});
  const auto field = host.frame(testing::textField("Grouped"));
  EXPECT_EQ(host.hostingView().hitTest({field.midX(), field.midY()}),
            host.platformView(host.find(testing::textField("Grouped"))));
  EXPECT_NE(host.platformView(host.find(testing::toggle("Switch"))), nullptr);
  // The group is framed around what it holds.
  EXPECT_EQ(host.frame(type("Group")).minY(), field.minY());
}

}  // namespace
}  // namespace ui
