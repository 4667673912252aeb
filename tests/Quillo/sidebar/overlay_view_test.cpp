// The sidebar as a view: the panel sliding in and out, the button column, the width menu and the page.
#include "Quillo/sidebar/overlay_view.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <optional>
#include <string>
#include <utility>

#include "Quillo/chat_model/settings_keys.h"
#include "Quillo/web_chat/chat_page_address.h"
#include "platform/foundation/notification_center.h"
#include "platform/foundation/user_defaults.h"
#include "platform/ui/material.h"
#include "platform/ui/modifiers.h"
#include "platform/ui/safe_area.h"
#include "platform/ui/transition.h"
#include "platform/ui/window_host.h"
#include "settings_store/change_stream.h"
#include "settings_store/key.h"
#include "tests/Quillo/app/app_world.h"

namespace {

namespace q = ui::testing;
using ui::testing::WindowHost;

constexpr ui::Size kScreen{1440, 900};
const auto kWebView = q::type("WebViewWrapperRepresentable");

class Sidebar : public ::testing::Test {
 protected:
  Sidebar() { apptest::emptyStandardSuite(); }
  ~Sidebar() override { apptest::emptyStandardSuite(); }

  static void toggle() {
    foundation::NotificationCenter::defaultCenter().post(Quillo::kToggleSidebarNotification);
  }
  // The toggle button, in either state.
  static q::ViewRef toggleButton(WindowHost& host) { return host.find(q::type("Button")); }
  // The column of buttons: the stack around the toggle button.
  static q::ViewRef buttonColumn(WindowHost& host) {
    auto column = toggleButton(host).parent();
    while (column && column->typeName() != "VStack") column = column->parent();
    if (!column) throw q::InspectionError("no button column");
    return *column;
  }
  static bool isMenuShown(WindowHost& host) { return host.exists(q::type("Menu")); }
  static bool isPanelOnScreen(WindowHost& host) { return host.frame(kWebView).minX() < kScreen.width; }
};

TEST_F(Sidebar, TwoToggleNotificationsSlideThePanelInAndOutWithASpring) {
  WindowHost host(Quillo::OverlayView(), kScreen);
  host.settle();
  EXPECT_FALSE(isPanelOnScreen(host));
  EXPECT_FALSE(isMenuShown(host));

  toggle();
  host.settle();
  EXPECT_TRUE(isPanelOnScreen(host));
  EXPECT_TRUE(isMenuShown(host));
  // The panel stands at the right edge, 8 points in, 45 below the top and 8 above the bottom.
  const ui::Rect page = host.frame(kWebView);
  EXPECT_EQ(page.maxX(), kScreen.width - 8);
  EXPECT_EQ(page.width(), 400 - 8);
  EXPECT_EQ(page.minY(), 45);
  EXPECT_EQ(page.maxY(), kScreen.height - 8);
  EXPECT_EQ(host.lastTransactionAnimation(), ui::Animation::spring(0.5, 0.85, 0));

  toggle();
  host.settle();
  EXPECT_FALSE(isPanelOnScreen(host));
  EXPECT_FALSE(isMenuShown(host));
  // Hidden, the whole panel lies beyond the right edge.
  EXPECT_GE(host.frame(kWebView).minX(), kScreen.width);
}

TEST_F(Sidebar, TheToggleButtonSlidesThePanelToo) {
  WindowHost host(Quillo::OverlayView(), kScreen);
  host.settle();
  host.tap(toggleButton(host));
  EXPECT_TRUE(isPanelOnScreen(host));
  host.tap(toggleButton(host));
  EXPECT_FALSE(isPanelOnScreen(host));
}

TEST_F(Sidebar, TheButtonColumnStaysOnScreenWhileHiddenOnlyWithAlwaysShowButtons) {
  struct Case {
    bool isShowing;
    bool alwaysShowButtons;
    double columnOffset;  // the offset of the column itself
    bool isButtonOnScreen;
  };
  const Case cases[] = {
      {true, false, 30, true},
      {true, true, 30, true},
      {false, false, 30, false},
      {false, true, -108, true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << "showing " << c.isShowing << ", always " << c.alwaysShowButtons);
    apptest::emptyStandardSuite();
    Defaults::set(Quillo::Keys::sidebarAlwaysShowButtons(), c.alwaysShowButtons);
    WindowHost host(Quillo::OverlayView(), kScreen);
    host.settle();
    if (c.isShowing) {
      toggle();
      host.settle();
    }
    const auto button = toggleButton(host);
    const auto column = buttonColumn(host);
    ASSERT_NE(column.modifier<ui::OffsetModifier>(), nullptr);
    EXPECT_EQ(column.modifier<ui::OffsetModifier>()->x, c.columnOffset);
    // The panel row (the column beside the page) is pushed beyond the edge by the width and 100 more.
    auto row = column.parent();
    while (row && row->typeName() != "HStack") row = row->parent();
    ASSERT_TRUE(row.has_value());
    ASSERT_NE(row->modifier<ui::OffsetModifier>(), nullptr);
    EXPECT_EQ(row->modifier<ui::OffsetModifier>()->x, c.isShowing ? 0 : 400 + 100);
    EXPECT_EQ(row->modifier<ui::TransitionModifier>()->transition, ui::Transition::move(ui::Edges::trailing));
    const ui::Rect frame = host.frame(button);
    EXPECT_EQ(frame.minX() < kScreen.width, c.isButtonOnScreen);
    if (!c.isShowing && c.alwaysShowButtons) {
      // The talk button in its 44-point frame, 8 points from the right edge, on the accent colour at 0.8.
      EXPECT_EQ(frame.size, (ui::Size{44, 44}));
      EXPECT_EQ(frame.maxX(), kScreen.width - 8);
      EXPECT_TRUE(host.exists(q::type("Image")));
    }
  }
}

TEST_F(Sidebar, TheColumnIsRoundedOnTheAccentColourOverAThinMaterialAboveThePanel) {
  WindowHost host(Quillo::OverlayView(), kScreen);
  host.settle();
  const std::optional<q::ViewRef> column = buttonColumn(host);
  const auto backgrounds = column->modifiersOf<ui::BackgroundModifier>();
  ASSERT_EQ(backgrounds.size(), 2u);
  EXPECT_EQ(column->clipShape(),
            (ui::ShapeOutline{ui::ShapeOutline::Kind::roundedRectangle, 40, ui::CornerStyle::continuous}));
  EXPECT_EQ(column->modifier<ui::ZIndexModifier>()->value, 10);
  EXPECT_TRUE(host.exists(q::type("Material")));
  const auto accent = column->background();
  ASSERT_TRUE(accent.has_value());
  EXPECT_NE(accent->modifier<ui::IgnoresSafeAreaModifier>(), nullptr);

  EXPECT_EQ(column->padding(), (ui::EdgeInsets{}));

  toggle();
  host.settle();
  EXPECT_EQ(buttonColumn(host).padding(), (ui::EdgeInsets{8, 6, 8, 6}));
}

TEST_F(Sidebar, LargeStoresSixHundredAtOnceAndForTheNextStart) {
  WindowHost host(Quillo::OverlayView(), kScreen);
  host.settle();
  toggle();
  host.settle();
  // The width is stored inside a transaction animated with the default animation.
  std::optional<ui::Animation> animation;
  auto watch =
      Defaults::changePublisher(Quillo::Keys::sidebarWidth()).sink([&](const Defaults::KeyChange<double>&) {
        animation = ui::currentTransactionAnimation();
      });
  host.tap(q::button("Large"));
  EXPECT_EQ(Defaults::get(Quillo::Keys::sidebarWidth()), 600);
  EXPECT_EQ(animation, ui::Animation::defaultAnimation());
  EXPECT_EQ(host.frame(kWebView).width(), 600 - 8);

  // A second suite over a copy of the settings file reads what the next start of the program would.
  const auto& standard = *foundation::UserDefaults::standard();
  const auto directory =
      std::filesystem::temp_directory_path() / ("quillo-sidebar-restart-" + std::to_string(::getpid()));
  std::filesystem::create_directories(directory / "Quillo");
  std::filesystem::copy_file(standard.filePath(), directory / "Quillo" / "restarted.plist",
                             std::filesystem::copy_options::overwrite_existing);
  {
    auto restarted = foundation::UserDefaults::suite("restarted", directory);
    const Defaults::Key<double> width("sidebarWidth", 400.0, restarted);
    EXPECT_EQ(Defaults::get(width), 600);
  }
  std::filesystem::remove_all(directory);
}

TEST_F(Sidebar, EveryWidthOfTheMenuIsStored) {
  const std::pair<const char*, double> widths[] = {
      {"Small", 300}, {"Medium", 400}, {"Large", 600}, {"Huge", 800}};
  WindowHost host(Quillo::OverlayView(), kScreen);
  host.settle();
  toggle();
  host.settle();
  for (const auto& [title, width] : widths) {
    SCOPED_TRACE(title);
    host.tap(q::button(title));
    EXPECT_EQ(Defaults::get(Quillo::Keys::sidebarWidth()), width);
    EXPECT_EQ(host.frame(kWebView).width(), width - 8);
  }
}

TEST_F(Sidebar, AWidthChangedElsewhereAppliesAtOnce) {
  WindowHost host(Quillo::OverlayView(), kScreen);
  host.settle();
  toggle();
  host.settle();
  Defaults::set(Quillo::Keys::sidebarWidth(), 800.0);
  host.settle();
  EXPECT_EQ(host.frame(kWebView).width(), 800 - 8);
}

TEST_F(Sidebar, TheGPT4SettingAtConstructionChoosesThePageALaterChangeDoesNot) {
  Defaults::set(Quillo::Keys::webDefaultToGPT4(), true);
  WindowHost host(Quillo::OverlayView(), kScreen);
  host.settle();
  Defaults::set(Quillo::Keys::webDefaultToGPT4(), false);
  toggle();
  host.settle();
  toggle();
  host.settle();
  ASSERT_EQ(host.desktop().web().pages().size(), 1u);
  const auto loads = host.desktop().web().lastPage()->loads();
  ASSERT_EQ(loads.size(), 1u);
  EXPECT_EQ(loads.front().url, "https://chat.openai.com/chat?model=gpt-4");
}

TEST_F(Sidebar, TheRootPageWithoutTheGPT4Setting) {
  WindowHost host(Quillo::OverlayView(), kScreen);
  host.settle();
  EXPECT_EQ(host.desktop().web().lastPage()->currentURL(), std::string(Quillo::kChatPageOrigin));
}

TEST_F(Sidebar, OneWebViewAndOneLoadAcrossHidingAndShowing) {
  WindowHost host(Quillo::OverlayView(), kScreen);
  host.settle();
  for (int i = 0; i < 4; ++i) {
    toggle();
    host.settle();
  }
  host.tap(toggleButton(host));
  ASSERT_EQ(host.desktop().web().pages().size(), 1u);
  EXPECT_EQ(host.desktop().web().lastPage()->loads().size(), 1u);
}

TEST_F(Sidebar, NoNotificationReachesAViewThatIsGone) {
  {
    WindowHost host(Quillo::OverlayView(), kScreen);
    host.settle();
  }
  toggle();  // nothing receives it, nothing breaks
  SUCCEED();
}

}  // namespace
