// The small tinted button: label, tint, hover fade, tooltip and action.
#include "Quillo/common/small_button.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "platform/ui/inspector.h"
#include "platform/ui/views.h"

namespace {

using Quillo::SmallButton;
using ui::testing::Host;

ui::Color backgroundOf(const ui::testing::ViewRef& view) {
  auto background = view.background();
  EXPECT_TRUE(background.has_value());
  auto* color = background ? background->primitive<ui::detail::ColorSpec>() : nullptr;
  EXPECT_NE(color, nullptr);
  return color ? color->color : ui::Color();
}

TEST(SmallButton, RunsItsActionWhenClicked) {
  int clicks = 0;
  Host host{SmallButton([&] { ++clicks; }, "Copy", "", "Copy the message", ui::Color::teal())};
  host.tap(host.find(ui::testing::button("Copy")));
  host.tap(host.find(ui::testing::text("Copy")));
  EXPECT_EQ(clicks, 2);
}

TEST(SmallButton, AnEmptyIconGivesATitleOnlyLabel) {
  Host host{SmallButton([] {}, "Submit", "", "", ui::Color::blue())};
  auto label = host.find(ui::testing::type("HStack"));
  ASSERT_EQ(label.children().size(), 1u);
  EXPECT_FALSE(host.exists(ui::testing::type("Image")));
  EXPECT_EQ(label.primitive<ui::detail::StackSpec>()->spacing, 3);
}

TEST(SmallButton, TheSymbolColourColoursOnlyTheIcon) {
  struct Case {
    std::optional<ui::Color> symbolColor;
    ui::Color expectedIconColor;
  };
  const Case cases[] = {{ui::Color::red(), ui::Color::red()}, {std::nullopt, ui::Color::primary()}};
  for (const auto& c : cases) {
    Host host{SmallButton([] {}, "Speak", "speaker.wave.2", "", ui::Color::teal(), c.symbolColor)};
    auto icon = host.find(ui::testing::type("Image"));
    EXPECT_EQ(icon.primitive<ui::detail::ImageSpec>()->name, "speaker.wave.2");
    EXPECT_EQ(icon.foregroundStyle(), c.expectedIconColor);
    EXPECT_EQ(host.find(ui::testing::text("Speak")).foregroundStyle(), ui::Color::teal());
  }
}

TEST(SmallButton, LabelHasItsPaddingMinimumHeightAndFont) {
  Host host{SmallButton([] {}, "Copy", "doc.on.doc", "", ui::Color::teal())};
  auto label = host.find(ui::testing::type("HStack"));
  EXPECT_EQ(label.padding(), (ui::EdgeInsets{6, 8, 6, 8}));
  auto paddings = label.modifiersOf<ui::PaddingModifier>();
  ASSERT_EQ(paddings.size(), 2u);
  EXPECT_EQ(paddings[0]->edges, ui::Edges::vertical);  // outermost first: vertical wraps horizontal
  EXPECT_EQ(label.modifier<ui::FrameModifier>()->minHeight, 32);
  EXPECT_EQ(
      host.find(ui::testing::text("Copy")).font(),
      ui::Font::textStyle(ui::TextStyle::headline, ui::FontDesign::rounded).weight(ui::FontWeight::semibold));
  auto button = host.find(ui::testing::button("Copy"));
  EXPECT_EQ(button.environment().get<ui::ButtonStyleKey>(), ui::ButtonStyle::plain);
  EXPECT_EQ(button.clipShape(),
            (ui::ShapeOutline{ui::ShapeOutline::Kind::roundedRectangle, 5, ui::CornerStyle::continuous}));
}

TEST(SmallButton, ShowsItsHelpTextAsATooltip) {
  Host host{SmallButton([] {}, "Copy", "", "Copy the the message to your clipboard", ui::Color::teal())};
  EXPECT_EQ(host.find(ui::testing::button("Copy")).help(), "Copy the the message to your clipboard");
}

TEST(SmallButton, TheTintDarkensUnderThePointerWithAnEaseInFade) {
  Host host{SmallButton([] {}, "Copy", "", "", ui::Color::teal())};
  EXPECT_EQ(backgroundOf(host.find(ui::testing::button("Copy"))), ui::Color::teal().opacity(0.1));
  host.hover(host.find(ui::testing::button("Copy")));
  EXPECT_EQ(backgroundOf(host.find(ui::testing::button("Copy"))), ui::Color::teal().opacity(0.2));
  EXPECT_EQ(host.lastTransactionAnimation(), ui::Animation::easeIn(0.25));
  host.unhover();
  EXPECT_EQ(backgroundOf(host.find(ui::testing::button("Copy"))), ui::Color::teal().opacity(0.1));
}

TEST(SmallButton, ACallerCanDisableItThroughTheEnvironment) {
  int clicks = 0;
  Host host{ui::AnyView(SmallButton([&] { ++clicks; }, "Submit", "", "", ui::Color::blue())).disabled(true)};
  host.tap(host.find(ui::testing::button("Submit")));
  EXPECT_EQ(clicks, 0);
}

}  // namespace
