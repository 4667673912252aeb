#include <gtest/gtest.h>

#include <memory>

#include "platform/appkit/controls.h"
#include "platform/appkit/view.h"
#include "platform/appkit/view_controller.h"
#include "platform/appkit/window.h"

namespace appkit {
namespace {

using foundation::Point;
using foundation::Rect;

template <class V = View>
std::shared_ptr<V> make(Rect frame) {
  auto view = std::make_shared<V>();
  view->setFrame(frame);
  return view;
}

TEST(ViewHierarchy, ClassNamesAreTheRuntimeClassesWithTheirNamespace) {
  EXPECT_EQ(View().className(), "appkit::View");
  EXPECT_EQ(TextView().className(), "appkit::TextView");
  std::shared_ptr<View> erased = std::make_shared<SecureTextField>();
  EXPECT_EQ(erased->className(), "appkit::SecureTextField");
  EXPECT_EQ(ViewController().className(), "appkit::ViewController");
}

TEST(ViewHierarchy, AddingASubviewMovesItFromItsOldSuperview) {
  auto a = make(Rect(0, 0, 10, 10)), b = make(Rect(0, 0, 10, 10)), child = make(Rect(0, 0, 1, 1));
  a->addSubview(child);
  EXPECT_EQ(child->superview(), a);
  b->addSubview(child);
  EXPECT_TRUE(a->subviews().empty());
  ASSERT_EQ(b->subviews().size(), 1u);
  EXPECT_EQ(child->superview(), b);
  EXPECT_TRUE(child->isDescendantOf(*b));
  child->removeFromSuperview();
  EXPECT_TRUE(b->subviews().empty());
  EXPECT_EQ(child->superview(), nullptr);
}

TEST(ViewHierarchy, SettingSubviewsKeepsTheViewsThatStay) {
  auto parent = make(Rect(0, 0, 10, 10)), a = make(Rect()), b = make(Rect()), c = make(Rect());
  parent->setSubviews({a, b});
  parent->setSubviews({c, a});
  EXPECT_EQ(parent->subviews(), (std::vector<std::shared_ptr<View>>{c, a}));
  EXPECT_EQ(a->superview(), parent);
  EXPECT_EQ(b->superview(), nullptr);
}

TEST(ViewHierarchy, HitTestingFindsTheFrontmostDeepestVisibleView) {
  auto root = make(Rect(0, 0, 100, 100));
  auto back = make(Rect(10, 10, 50, 50));
  auto front = make(Rect(30, 30, 50, 50));
  auto inner = make(Rect(5, 5, 10, 10));  // (15, 15) to (25, 25) in the root
  root->setSubviews({back, front});
  back->addSubview(inner);
  struct Case {
    Point point;
    std::shared_ptr<View> expected;
  };
  const Case cases[] = {
      {{1, 1}, root}, {{20, 20}, inner}, {{40, 40}, front}, {{12, 12}, back}, {{100, 50}, nullptr},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << c.point.x << ", " << c.point.y);
    EXPECT_EQ(root->hitTest(c.point), c.expected);
  }
  front->setHidden(true);
  EXPECT_EQ(root->hitTest({40, 40}), back);
  EXPECT_TRUE(front->isHiddenOrHasHiddenAncestor());
}

TEST(ViewHierarchy, ConvertsPointsBetweenViews) {
  auto root = make(Rect(0, 0, 200, 200));
  auto left = make(Rect(10, 20, 50, 50));
  auto right = make(Rect(100, 40, 80, 80));
  auto deep = make(Rect(5, 5, 20, 20));
  root->setSubviews({left, right});
  right->addSubview(deep);
  EXPECT_EQ(deep->convertPointFromView({0, 0}, left.get()), Point(-95, -25));
  EXPECT_EQ(deep->convertPointToView({1, 1}, nullptr), Point(106, 46));
  EXPECT_EQ(left->convertPointFromView({106, 46}, nullptr), Point(96, 26));
  right->setBoundsOrigin({0, 30});  // scrolled down by 30
  EXPECT_EQ(deep->convertPointToView({0, 0}, root.get()), Point(105, 15));
}

TEST(ViewHierarchy, AViewKnowsTheWindowOfItsHierarchy) {
  auto window = std::make_shared<Window>(Rect(0, 0, 300, 200));
  auto content = std::make_shared<View>();
  auto child = make(Rect(0, 0, 10, 10));
  content->addSubview(child);
  EXPECT_EQ(child->window(), nullptr);
  window->setContentView(content);
  EXPECT_EQ(child->window(), window);
  EXPECT_EQ(content->frame(), Rect(0, 0, 300, 200));
  window->setContentView(nullptr);
  EXPECT_EQ(child->window(), nullptr);
}

TEST(ViewHierarchy, ControllersFormATree) {
  auto parent = std::make_shared<ViewController>();
  auto a = std::make_shared<ViewController>(), b = std::make_shared<ViewController>();
  parent->addChildViewController(a);
  parent->addChildViewController(b);
  EXPECT_EQ(parent->childViewControllers().size(), 2u);
  EXPECT_EQ(b->parentViewController(), parent);
  a->removeFromParentViewController();
  EXPECT_EQ(parent->childViewControllers(), (std::vector<std::shared_ptr<ViewController>>{b}));
  EXPECT_NE(parent->view(), nullptr);
}

TEST(TextViewControl, KeepsTheCaretWhereTheTextStillHasIt) {
  TextView text;
  text.setString("hello");
  text.setSelectedRange({3, 0});
  text.setString("help me");
  EXPECT_EQ(text.selectedRange(), (TextRange{3, 0}));
  text.setString("he");
  EXPECT_EQ(text.selectedRange(), (TextRange{2, 0}));
}

TEST(TextViewControl, TypingReplacesTheSelectionAndReportsTheText) {
  TextView text;
  std::string reported;
  text.textDidChange = [&](const std::string& value) { reported = value; };
  text.setString("héllo world");
  text.setSelectedRange({6, 5});
  text.insertText("there");
  EXPECT_EQ(text.string(), "héllo there");
  EXPECT_EQ(reported, "héllo there");
  EXPECT_EQ(text.selectedRange(), (TextRange{11, 0}));
  text.setEditable(false);
  text.insertText("!");
  EXPECT_EQ(text.string(), "héllo there");
}

TEST(ScrollViewControl, TheDocumentViewSitsInTheClipView) {
  auto scroll = std::make_shared<ScrollView>();
  scroll->setFrame(Rect(0, 0, 100, 50));
  auto document = make(Rect(0, 0, 100, 400));
  scroll->setDocumentView(document);
  EXPECT_EQ(scroll->documentView(), document);
  EXPECT_EQ(document->superview(), scroll->contentView());
  EXPECT_EQ(scroll->contentView()->superview(), scroll);
  EXPECT_EQ(scroll->contentView()->frame(), Rect(0, 0, 100, 50));
}

}  // namespace
}  // namespace appkit
