#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <limits>

#include "Quillo/inline/loading_window_controller.h"
#include "platform/foundation/utf16.h"
#include "tests/Quillo/inline/engine_world.h"

namespace inline_engine_test {
namespace {

using desktop::AccessibleElement;
using desktop::AccessibleRange;
using Quillo::LoadingWindowController;

TEST(LoadingWindow, IsATitledFloatingPanelThatNeverTakesTheFocus) {
  foundation::ScopedMainRunLoop loop;
  LoadingWindowController controller;
  const auto panel = controller.panel();
  EXPECT_EQ(panel->title(), "Quillo Inline Loading…");
  EXPECT_EQ(panel->styleMask(), 0x8081u);
  EXPECT_EQ(panel->titleVisibility(), appkit::StyledWindow::TitleVisibility::hidden);
  EXPECT_TRUE(panel->titlebarAppearsTransparent());
  EXPECT_FALSE(panel->canBecomeKeyWindow());
  EXPECT_FALSE(panel->activatesApplication());
  EXPECT_FALSE(panel->isVisible());
}

TEST(LoadingWindow, ShowsABrainOnABlurredBackgroundWithRoomAroundIt) {
  foundation::ScopedMainRunLoop loop;
  LoadingWindowController controller;
  const auto panel = controller.panel();
  const auto effect = controller.effectView();
  const auto label = controller.label();
  ASSERT_EQ(panel->contentView(), effect);
  EXPECT_EQ(effect->blendingMode(), appkit::VisualEffectView::BlendingMode::behindWindow);
  EXPECT_EQ(effect->state(), appkit::VisualEffectView::State::active);
  EXPECT_EQ(static_cast<int>(effect->material()), 7);

  ASSERT_EQ(label->superview(), effect);
  EXPECT_EQ(label->stringValue(), "\U0001F9E0");
  EXPECT_EQ(label->font(), appkit::Label::Font::monospacedSystemFont(28, appkit::Label::Weight::bold));
  EXPECT_FALSE(label->isEditable());
  ASSERT_TRUE(label->wantsLayer());
  EXPECT_FLOAT_EQ(label->layer()->shadowOpacity(), 0.3f);
  EXPECT_EQ(label->layer()->shadowOffset(), (foundation::Size{0, 3}));
  EXPECT_EQ(label->layer()->shadowRadius(), 3);

  // The label with 10 points on every side, centred.
  const foundation::Rect labelFrame = label->frame();
  EXPECT_GT(labelFrame.width(), 0);
  EXPECT_GT(labelFrame.height(), 0);
  EXPECT_EQ(panel->frame().size, (foundation::Size{labelFrame.width() + 20, labelFrame.height() + 20}));
  EXPECT_EQ(effect->frame().size, panel->frame().size);
  EXPECT_EQ(labelFrame.origin, (foundation::Point{10, 10}));
}

TEST(LoadingWindow, BouncesOnceTheViewsHaveTheirFrames) {
  foundation::ScopedMainRunLoop loop;
  LoadingWindowController controller;
  const auto layer = controller.label()->layer();
  EXPECT_FALSE(layer->animation("bounce"));

  loop.loop().runUntilIdle();
  const auto bounce = layer->animation("bounce");
  ASSERT_TRUE(bounce);
  const double base =
      controller.effectView()->frame().height() / 2 - controller.label()->frame().height() / 2;
  EXPECT_EQ(bounce->keyPath, "position.y");
  EXPECT_EQ(bounce->values, (std::vector<double>{base, base + 5, base}));
  EXPECT_EQ(bounce->keyTimes, (std::vector<double>{0, 0.5, 1}));
  EXPECT_EQ(bounce->duration, 0.5);
  EXPECT_EQ(bounce->repeatCount, FLT_MAX);
  EXPECT_EQ(layer->animationKeys(), std::vector<std::string>{"bounce"});
}

TEST(LoadingWindow, AControllerGoneBeforeTheBounceLeavesNothingBehind) {
  foundation::ScopedMainRunLoop loop;
  { LoadingWindowController controller; }
  EXPECT_GT(loop.loop().runUntilIdle(), 0u);
}

TEST(LoadingWindowPlacement, AboveTheTriggerLineWhenItIsKnownAndOnTheMainScreen) {
  desktop::HeadlessDesktop desktop;  // one 1440 x 900 screen
  desktop::HeadlessDesktop::Scope scope(desktop);
  constexpr double kWidth = 34;
  const foundation::Point corner{1440 - 20 - kWidth, 20};
  const double nan = std::numeric_limits<double>::quiet_NaN();
  const double infinity = std::numeric_limits<double>::infinity();
  struct Case {
    std::string name;
    std::optional<foundation::Rect> bounds;  // accessibility coordinates
    foundation::Point origin;
  };
  const Case cases[] = {
      {"no bounds", std::nullopt, corner},
      {"a line on the screen", foundation::Rect{100, 100, 104, 20}, {100, 805}},
      {"a line without height", foundation::Rect{100, 100, 104, 0}, {100, 805}},
      {"a height that is not a number", foundation::Rect{100, 100, 104, nan}, corner},
      {"an infinite height", foundation::Rect{100, 100, 104, infinity}, corner},
      {"x exactly zero", foundation::Rect{0, 100, 104, 20}, corner},
      {"y exactly zero once flipped", foundation::Rect{100, 880, 104, 20}, corner},
      {"a subnormal x", foundation::Rect{std::numeric_limits<double>::denorm_min(), 100, 104, 20}, corner},
      {"a line right of the screen", foundation::Rect{2000, 100, 104, 20}, corner},
      {"a line so high the panel would start above the screen", foundation::Rect{100, 2, 104, 20}, corner},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const auto origin = Quillo::loadingWindowOrigin(kWidth, c.bounds);
    ASSERT_TRUE(origin);
    EXPECT_EQ(*origin, c.origin);
  }
}

TEST(LoadingWindowPlacement, NowhereWithoutAScreen) {
  EXPECT_EQ(Quillo::loadingWindowOrigin(34, foundation::Rect{100, 100, 104, 20}), std::nullopt);
}

class LoadingWindowOfAQuery : public ::testing::Test {
 protected:
  // Runs a query from a text area at `position` holding `text`, and returns the panel's frame while the
  // answer is awaited.
  foundation::Rect panelFrameFor(const std::string& text, foundation::Point position) {
    const auto length = static_cast<std::int64_t>(foundation::utf16Length(text));
    const int pid = world.launchWithFocused(
        "com.apple.TextEdit",
        AccessibleElement::text("AXTextArea", text, AccessibleRange{length, 0}, position));
    world.engine->start();
    world.activate(pid);
    const auto gate = world.replyGatedWith({"ok"});
    world.pressKey(kReturn, kShift);
    EXPECT_TRUE(world.engine->loadingWindowController());
    if (!world.engine->loadingWindowController()) return {};
    const auto panel = world.engine->loadingWindowController()->panel();
    EXPECT_TRUE(panel->isVisible());
    EXPECT_FALSE(panel->isKeyWindow());
    const foundation::Rect frame = panel->frame();
    gate->open();
    EXPECT_TRUE(world.runUntilWritingStops());
    EXPECT_FALSE(panel->isVisible());
    return frame;
  }

  EngineWorld world;
};

TEST_F(LoadingWindowOfAQuery, StandsInTheCornerForATriggerOnTheCaretsLine) {
  const auto frame = panelFrameFor("+gpt question", {100, 100});
  EXPECT_EQ(frame.origin, (foundation::Point{1440 - 20 - frame.width(), 20}));
}

TEST_F(LoadingWindowOfAQuery, StandsAboveATriggerOnThePreviousLine) {
  // The line "+gpt question" is 13 characters of 8 points at (100, 100), 20 points high: flipped, its
  // bottom is at 900 - 100 - 20 = 780 and its top at 800.
  const auto frame = panelFrameFor("+gpt question\n", {100, 100});
  EXPECT_EQ(frame.origin, (foundation::Point{100, 805}));
}

TEST_F(LoadingWindowOfAQuery, FallsBackToTheCornerForAFieldAtTheScreensLeftEdge) {
  const auto frame = panelFrameFor("+gpt question\n", {0, 100});
  EXPECT_EQ(frame.origin, (foundation::Point{1440 - 20 - frame.width(), 20}));
}

TEST_F(LoadingWindowOfAQuery, FallsBackToTheCornerForAFieldOnAnotherScreen) {
  world.desktop.addScreen(desktop::Screen(foundation::Rect{1440, 0, 1920, 1080}));
  const auto frame = panelFrameFor("+gpt question\n", {2000, 100});
  EXPECT_EQ(frame.origin, (foundation::Point{1440 - 20 - frame.width(), 20}));
}

TEST_F(LoadingWindowOfAQuery, EachQueryShowsAFreshPanel) {
  const int pid = world.launchWithFocused(
      "com.apple.TextEdit", AccessibleElement::text("AXTextArea", "+gpt q", AccessibleRange{6, 0}));
  world.engine->start();
  world.activate(pid);
  auto gate = world.replyGatedWith({"a"});
  world.pressKey(kReturn, kShift);
  ASSERT_TRUE(world.engine->loadingWindowController());
  const auto first = world.engine->loadingWindowController()->panel();
  world.click();
  EXPECT_FALSE(first->isVisible());
  gate->open();
  world.settle();

  gate = world.replyGatedWith({"b"});
  world.pressKey(kReturn, kShift);
  ASSERT_TRUE(world.engine->loadingWindowController());
  const auto second = world.engine->loadingWindowController()->panel();
  EXPECT_NE(second, first);
  EXPECT_TRUE(second->isVisible());
  EXPECT_FALSE(first->isVisible());
  gate->open();
  EXPECT_TRUE(world.runUntilWritingStops());
}

}  // namespace
}  // namespace inline_engine_test
