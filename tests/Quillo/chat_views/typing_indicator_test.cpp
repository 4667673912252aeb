// The typing indicator: a grey bubble of three bobbing dots at the leading edge.
#include "Quillo/chat_views/typing_indicator.h"

#include <gtest/gtest.h>

#include "platform/ui/inspector.h"
#include "platform/ui/views.h"

namespace {

using Quillo::LoadingBubble;
using ui::testing::Host;

TEST(LoadingBubble, TheDotsStartTheirBobATenthOfASecondApartOnceShown) {
  Host host{LoadingBubble()};
  auto dots = host.findAll(ui::testing::type("Circle"));
  ASSERT_EQ(dots.size(), 3u);
  const double delays[] = {0.1, 0.2, 0.3};
  for (int k = 0; k < 3; ++k) {
    SCOPED_TRACE(k);
    auto animation = dots[k].animation();
    ASSERT_TRUE(animation.has_value());
    EXPECT_EQ(*animation, ui::Animation::spring(0.5, 1.0, 0).repeatForever(true).delay(delays[k]));
    EXPECT_TRUE(animation->autoreverses);
    // Shown once: the flag went from false to true, so the dots sit 2 points down.
    EXPECT_EQ(dots[k].offset(), std::make_pair(0.0, 2.0));
    EXPECT_EQ(dots[k].modifier<ui::FrameModifier>()->width, 6);
    EXPECT_EQ(dots[k].foregroundStyle(), ui::Color::secondary());
  }
}

TEST(LoadingBubble, ShowingItAgainTogglesTheFlagBack) {
  Host host{LoadingBubble()};
  host.hide();
  host.show();
  for (const auto& dot : host.findAll(ui::testing::type("Circle")))
    EXPECT_EQ(dot.offset(), std::make_pair(0.0, -1.0));
  host.hide();
  host.show();
  for (const auto& dot : host.findAll(ui::testing::type("Circle")))
    EXPECT_EQ(dot.offset(), std::make_pair(0.0, 2.0));
}

TEST(LoadingBubble, IsAGreyRoundedBubbleKeepingSixtyPointsFreeAfterIt) {
  Host host{LoadingBubble()};
  EXPECT_EQ(
      host.dump(),
      "LoadingBubble\n"
      "  onAppear\n"
      "    HStack(alignment: center, spacing: default)\n"
      "      padding(bottom: 10)\n"
      "        padding(horizontal: 16)\n"
      "          clipShape(RoundedRectangle(16, continuous))\n"
      "            background\n"
      "              padding(16)\n"
      "                HStack(alignment: center, spacing: default)\n"
      "                  animation(spring(response: 0.5, dampingFraction: 1, blendDuration: 0).delay(0.1)"
      ".repeatForever(autoreverses: true), value: true)\n"
      "                    offset(x: 0, y: 2)\n"
      "                      foregroundStyle(secondary)\n"
      "                        frame(width: 6, height: 6)\n"
      "                          Circle\n"
      "                  animation(spring(response: 0.5, dampingFraction: 1, blendDuration: 0).delay(0.2)"
      ".repeatForever(autoreverses: true), value: true)\n"
      "                    offset(x: 0, y: 2)\n"
      "                      foregroundStyle(secondary)\n"
      "                        frame(width: 6, height: 6)\n"
      "                          Circle\n"
      "                  animation(spring(response: 0.5, dampingFraction: 1, blendDuration: 0).delay(0.3)"
      ".repeatForever(autoreverses: true), value: true)\n"
      "                    offset(x: 0, y: 2)\n"
      "                      foregroundStyle(secondary)\n"
      "                        frame(width: 6, height: 6)\n"
      "                          Circle\n"
      "              Color gray opacity 0.15\n"
      "      Spacer(minLength: 60)\n");
}

}  // namespace
