// The API key page: the key is stored exactly as typed, only when there is one, and the page takes
// focus with an empty field each time it is shown.
#include "Quillo/chat_views/api_key_onboarding.h"

#include <gtest/gtest.h>

#include <string>

#include "Quillo/chat_model/settings_keys.h"
#include "platform/ui/inspector.h"
#include "platform/ui/views.h"
#include "platform/ui/window_host.h"
#include "tests/Quillo/chat_views/chat_views_environment.h"

namespace {

using Quillo::APIKeyOnboard;
using ui::testing::button;
using ui::testing::Host;
using ui::testing::textField;

class APIKeyOnboardTest : public ::testing::Test {
 protected:
  void SetUp() override { chatviewstest::emptyStandardSuite(); }
};

const APIKeyOnboard& page(const Host& host) {
  return static_cast<const APIKeyOnboard&>(*host.find(ui::testing::type<APIKeyOnboard>()).node().instance());
}

TEST_F(APIKeyOnboardTest, WithAnEmptyFieldSubmitIsDisabledAndReturnDoesNothing) {
  Defaults::set(Quillo::Keys::apiKey(), "old");
  Host host{APIKeyOnboard()};
  EXPECT_FALSE(host.find(button("Submit")).isEnabled());
  host.tap(button("Submit"));
  host.submit(host.find(textField("Enter OpenAI API Key...")));
  EXPECT_EQ(Defaults::get(Quillo::Keys::apiKey()), "old");
}

TEST_F(APIKeyOnboardTest, TheKeyIsStoredExactlyAsTypedByButtonOrReturn) {
  struct Case {
    std::string typed;
    bool byReturn;
  };
  const Case cases[] = {{"  sk-spaced  ", false}, {"no-prefix", true}, {"sk-abc", true}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.typed);
    Host host{APIKeyOnboard()};
    auto field = host.find(textField("Enter OpenAI API Key..."));
    host.type(field, c.typed);
    if (c.byReturn) {
      host.submit(field);
    } else {
      host.tap(button("Submit"));
    }
    EXPECT_EQ(Defaults::get(Quillo::Keys::apiKey()), c.typed);
    // The page stays as it is, the field keeping the text.
    EXPECT_EQ(
        host.find(textField("Enter OpenAI API Key...")).primitive<ui::detail::TextInputSpec>()->text.get(),
        c.typed);
  }
}

TEST_F(APIKeyOnboardTest, EachShowingStartsEmptyWithTheKeyFieldFocusedInItsWindow) {
  Defaults::set(Quillo::Keys::apiKey(), "stored");
  for (int showing = 0; showing < 2; ++showing) {
    SCOPED_TRACE(showing);
    ui::testing::WindowHost host{APIKeyOnboard(), {700, 700}};
    EXPECT_TRUE(page(host).isFocused());
    EXPECT_TRUE(host.hasFocus(textField("Enter OpenAI API Key...")));
    EXPECT_EQ(
        host.find(textField("Enter OpenAI API Key...")).primitive<ui::detail::TextInputSpec>()->text.get(),
        "");
    host.typeText("sk-");
  }
}

TEST_F(APIKeyOnboardTest, TypingIntoTheFocusedFieldAndPressingReturnStoresTheKey) {
  ui::testing::WindowHost host{APIKeyOnboard(), {700, 700}};
  host.pressReturn();  // an empty field submits nothing, and the disabled button takes no click
  host.click(button("Submit"));
  EXPECT_EQ(Defaults::get(Quillo::Keys::apiKey()), "");
  host.typeText("sk-typed");
  host.pressReturn();
  EXPECT_EQ(Defaults::get(Quillo::Keys::apiKey()), "sk-typed");
}

TEST_F(APIKeyOnboardTest, ShowsTheTextsAndTheHelpLink) {
  Host host{APIKeyOnboard()};
  EXPECT_TRUE(host.exists(ui::testing::text("Access ChatGPT through the API")));
  EXPECT_TRUE(host.exists(ui::testing::textContaining("Add your Secret API key from OpenAI")));
  EXPECT_EQ(host.find(button("Submit")).help(), "Submit API Key");
  host.tap(host.find(ui::testing::text("How do I get an API key?")));
  ASSERT_EQ(host.desktop().openedURLs().size(), 1u);
  EXPECT_EQ(host.desktop().openedURLs()[0].absoluteString(), Quillo::apiKeyHelpArticleAddress);
}

}  // namespace
