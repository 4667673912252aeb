// Text: localized through the main bundle's string table, with arguments, verbatim, and concatenated.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/foundation/bundle.h"
#include "platform/ui/inspector.h"
#include "platform/ui/views.h"

namespace {

using namespace ui;
using ui::testing::Host;

class LocalizedText : public ::testing::Test {
 protected:
  void SetUp() override {
    foundation::Bundle::setMainResourceDirectory(std::string(QUILLO_TEST_DIR) + "/fixtures/Resources");
  }
  void TearDown() override { foundation::Bundle::setMainResourceDirectory(std::nullopt); }
};

TEST_F(LocalizedText, LooksKeysUpAndFillsInArguments) {
  struct Case {
    std::string key;
    std::vector<std::string> arguments;
    std::string shown;
  };
  const Case cases[] = {
      {"Hello %@", {"Ada"}, "Hi there, Ada"},
      {"%lld tokens", {"1200"}, "1200 tokens"},
      {"Swap %1$@ %2$@", {"a", "b"}, "b then a"},
      {"Not in the table %d%%", {"5"}, "Not in the table 5%"},
      {"Too few %@ %@", {"one"}, "Too few one %@"},
      {"Odd %0$@ %99999999999999999999$@ %", {"x"}, "Odd %0$@ %99999999999999999999$@ %"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.key);
    Host host{Text::localized(c.key, c.arguments)};
    EXPECT_EQ(host.root().text(), c.shown);
  }
}

TEST_F(LocalizedText, PlainTextIsLocalizedButVerbatimTextIsNot) {
  Host host{VStack(Text("Hello %@"), Text::verbatim("Hello %@"))};
  EXPECT_TRUE(host.exists(ui::testing::text("Hi there, %@")));
  EXPECT_TRUE(host.exists(ui::testing::text("Hello %@")));
}

TEST(Text, ConcatenatedTextsShowAsOne) {
  Host host{Text::verbatim("1200") + Text::verbatim(" tokens")};
  EXPECT_TRUE(host.exists(ui::testing::text("1200 tokens")));
  EXPECT_EQ(host.dump(), "Text \"1200 tokens\"\n");
}

}  // namespace
