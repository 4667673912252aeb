// The small view pieces of the native chat: row menus run the chosen entry, and the pieces show in the
// text dump.
#include "Quillo/chat_views/chat_view_modifiers.h"

#include <gtest/gtest.h>

#include <string>

#include "platform/ui/inspector.h"
#include "platform/ui/views.h"

namespace {

using Quillo::ContextMenuModifier;
using Quillo::MenuEntry;

TEST(ChatViewModifiers, AMenuRunsOnlyTheChosenEntryAndSkipsSeparators) {
  std::string chosen;
  ui::testing::Host host(
      Quillo::contextMenu(ui::Text::verbatim("row"),
                          {MenuEntry::item("Send Again", [&] { chosen += "again;"; }), MenuEntry::separator(),
                           MenuEntry::item("Delete", [&] { chosen += "delete;"; })}));
  auto* menu = host.find(ui::testing::text("row")).modifier<ContextMenuModifier>();
  ASSERT_NE(menu, nullptr);
  EXPECT_TRUE(menu->choose("Delete"));
  EXPECT_FALSE(menu->choose(""));
  EXPECT_FALSE(menu->choose("Copy"));
  EXPECT_EQ(chosen, "delete;");
  EXPECT_EQ(menu->describe(), "contextMenu(\"Send Again\", —, \"Delete\")");
}

TEST(ChatViewModifiers, PiecesShowInTheDump) {
  ui::testing::Host host(Quillo::allowsHitTesting(
      Quillo::lineLimit(Quillo::scrollTarget(ui::Text::verbatim("x"), std::nullopt), 10), false));
  const auto dumped = host.dump();
  EXPECT_NE(dumped.find("allowsHitTesting(false)"), std::string::npos) << dumped;
  EXPECT_NE(dumped.find("lineLimit(10)"), std::string::npos) << dumped;
  EXPECT_NE(dumped.find("scrollTarget(none)"), std::string::npos) << dumped;
}

}  // namespace
