// The colour archive reads what it writes and refuses anything else with a message.
#include "platform/ui/color_archive.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "platform/foundation/text_error.h"

namespace {

std::vector<std::uint8_t> bytes(const std::string& text) { return {text.begin(), text.end()}; }

TEST(ColorArchive, ReadsWhatItWritesForEveryKindOfColour) {
  const ui::Color colors[] = {
      ui::Color(0.1, 0.2, 0.3, 0.4),
      *ui::Color::inColorSpace(ui::ColorSpaceName::displayP3, {1, 0, 0, 1}),
      ui::Color::teal(),
      ui::Color::accentColor().opacity(0.25),
      ui::Color::controlBackgroundColor(),
      ui::Color::named("Assets", "brand").opacity(0.5),
      ui::Color::dynamic(ui::Color::white(), ui::Color::dynamic(ui::Color::black(), ui::Color(0.5, 0.5, 0.5)))
          .opacity(0.75),
  };
  for (const auto& color : colors) {
    const auto archive = ui::archivedColor(color);
    ASSERT_TRUE(archive);
    EXPECT_EQ(ui::unarchivedColor(*archive), color);
  }
}

TEST(ColorArchive, AColourWithANonFiniteComponentHasNoArchive) {
  EXPECT_EQ(ui::archivedColor(ui::Color(NAN, 0, 0)), std::nullopt);
}

TEST(ColorArchive, RefusesWhatItDidNotWrite) {
  const std::string archives[] = {
      "",
      "not json",
      "[]",
      R"({"archive":"other","version":1,"root":{}})",
      R"({"archive":"ui.Color","version":2,"root":{"kind":"system","name":"teal"}})",
      R"({"archive":"ui.Color","version":1})",
      R"({"archive":"ui.Color","version":1,"root":{"kind":"system","name":"plaid"}})",
      R"({"archive":"ui.Color","version":1,"root":{"kind":"wavy"}})",
      R"({"archive":"ui.Color","version":1,"root":{"kind":"colorSpace","colorSpace":"kCGColorSpaceSRGB","components":[1,0]}})",
      R"({"archive":"ui.Color","version":1,"root":{"kind":"dynamic","light":{"kind":"system","name":"red"}}})",
      R"({"archive":"ui.Color","version":1,"root":{"kind":"catalog","catalog":5,"name":"x"}})",
  };
  for (const auto& archive : archives) {
    SCOPED_TRACE(archive);
    EXPECT_THROW(ui::unarchivedColor(bytes(archive)), foundation::TextError);
  }
}

TEST(ColorArchive, RefusesNestingBeyondItsLimit) {
  std::string root = R"({"kind":"system","name":"red"})";
  for (int depth = 0; depth < 40; ++depth)
    root = R"({"kind":"dynamic","light":)" + root + R"(,"dark":)" + root.substr(0, 0) +
           R"({"kind":"system","name":"red"}})";
  EXPECT_THROW(ui::unarchivedColor(bytes(R"({"archive":"ui.Color","version":1,"root":)" + root + "}")),
               foundation::TextError);
}

}  // namespace
