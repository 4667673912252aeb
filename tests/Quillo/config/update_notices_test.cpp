// The update notices: the view model mirrors whether the updater can check now, "Check for Updates…" is
// greyed out while it cannot, and "Update Now" can always be pressed.
#include "Quillo/config/update_notices.h"

#include <gtest/gtest.h>

#include <memory>

#include "platform/ui/control_styles.h"
#include "platform/ui/inspector.h"
#include "platform/ui/views.h"
#include "platform/updater/standard_updater_controller.h"

namespace {

namespace q = ui::testing;

const foundation::URL kDownloadPage = *foundation::URL::parse("https://quillo.app/download");

TEST(CheckForUpdatesViewModel, StartsWithTheUpdatersValueAndFollowsItsChanges) {
  updater::StandardUpdaterController controller(false, kDownloadPage);
  auto model = std::make_shared<Quillo::CheckForUpdatesViewModel>(controller.updater());
  EXPECT_FALSE(model->canCheckForUpdates.get());
  int announced = 0;
  auto subscription = model->objectWillChange.sink([&] { ++announced; });
  controller.startUpdater();
  EXPECT_TRUE(model->canCheckForUpdates.get());
  EXPECT_EQ(announced, 1);

  updater::StandardUpdaterController started(true, kDownloadPage);
  EXPECT_TRUE(Quillo::CheckForUpdatesViewModel(started.updater()).canCheckForUpdates.get());
}

TEST(CheckForUpdatesViewModel, AGoneViewModelNoLongerListens) {
  updater::StandardUpdaterController controller(false, kDownloadPage);
  { Quillo::CheckForUpdatesViewModel model(controller.updater()); }
  controller.startUpdater();  // nothing reaches the released model
  SUCCEED();
}

TEST(CheckForUpdatesView, IsGreyedOutWhileNoCheckIsPossible) {
  updater::StandardUpdaterController controller(false, kDownloadPage);
  const auto& updater = controller.updater();
  q::Host host(
      Quillo::CheckForUpdatesView(std::make_shared<Quillo::CheckForUpdatesViewModel>(updater), updater));
  auto button = host.find(q::button("Check for Updates…"));
  EXPECT_FALSE(button.isEnabled());
  host.tap(button);
  EXPECT_TRUE(host.desktop().openedURLs().empty());
  controller.startUpdater();
  host.settle();
  EXPECT_TRUE(host.find(q::button("Check for Updates…")).isEnabled());
  host.tap(q::button("Check for Updates…"));
  ASSERT_EQ(host.desktop().openedURLs().size(), 1u);
  EXPECT_EQ(host.desktop().openedURLs()[0], kDownloadPage);
}

TEST(UpdateAvailableView, IsATealTitleAndIconButtonThatIsNeverDisabled) {
  updater::StandardUpdaterController controller(false, kDownloadPage);
  const auto& updater = controller.updater();
  q::Host host(
      Quillo::UpdateAvailableView(std::make_shared<Quillo::CheckForUpdatesViewModel>(updater), updater));
  auto button = host.find(q::button("Update Now"));
  EXPECT_TRUE(button.isEnabled());
  EXPECT_TRUE(button.exists(q::ViewQuery("icon", [](const ui::detail::Node& node) {
    auto* image = node.primitiveAs<ui::detail::ImageSpec>();
    return image && image->name == "arrow.clockwise.circle.fill";
  })));
  EXPECT_EQ(button.modifier<ui::LabelStyleModifier>()->style, ui::LabelStyle::titleAndIcon);
  EXPECT_EQ(button.foregroundStyle(), ui::Color::teal());
  host.tap(button);  // no check is possible yet: the updater ignores it
  controller.startUpdater();
  host.settle();
  host.tap(q::button("Update Now"));
  EXPECT_EQ(host.desktop().openedURLs().size(), 1u);
}

}  // namespace
