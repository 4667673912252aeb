// The popover's content as a person uses it: its size for each width preset, the header's controls in
// native and web mode, copying and clearing the conversation, the update notice and Command-Q.
#include "Quillo/popover/menu_container_view.h"

#include <gtest/gtest.h>

#include <memory>
#include <optional>
#include <string>

#include "Quillo/chat_model/settings_keys.h"
#include "Quillo/chat_views/main_chat.h"
#include "Quillo/web_chat/chat_view.h"
#include "platform/appkit/application.h"
#include "platform/appkit/pasteboard.h"
#include "platform/foundation/user_defaults.h"
#include "platform/ui/app_storage.h"
#include "platform/ui/control_styles.h"
#include "platform/ui/inspector.h"
#include "platform/ui/window_host.h"
#include "settings_store/key.h"
#include "tests/support/loopback_server.h"
#include "tests/support/temporary_settings_suite.h"

namespace {

namespace q = ui::testing;
using Quillo::Conversation;
using Quillo::Message;
using Quillo::Role;

[[maybe_unused]] auto* const kSuite =
    ::testing::AddGlobalTestEnvironment(new testsupport::TemporaryStandardSuite("quillo-popover-"));

const foundation::URL kDownloadPage = *foundation::URL::parse("https://quillo.app/download");

q::ViewQuery symbol(std::string name) {
  return q::ViewQuery("symbol " + name, [name](const ui::detail::Node& node) {
    auto* image = node.primitiveAs<ui::detail::ImageSpec>();
    return image && image->source == ui::detail::ImageSpec::Source::systemSymbol && image->name == name;
  });
}

class Popover : public ::testing::Test {
 protected:
  void SetUp() override {
    Defaults::removeAllStoredValues(*foundation::UserDefaults::standard());
    Defaults::set(Quillo::Keys::apiKey(), std::string("sk-test-0123456789abcdefXYZ"));
  }
  void TearDown() override {
    host.reset();
    state.reset();
  }

  // Shows the popover's content with a version gate that fetches nothing (shouldUpdate stays false),
  // or with `config`.
  void show(std::shared_ptr<Quillo::ConfigManager> config = Quillo::ConfigManager::make("not a URL")) {
    state = Quillo::AppState::make();
    auto controller = std::make_shared<updater::StandardUpdaterController>(true, kDownloadPage);
    host = std::make_unique<q::WindowHost>(
        ui::AnyView(Quillo::MenuContainerView(std::move(config), controller)).environmentObject(state),
        ui::Size{800, 800});
  }

  // The header: the row holding the "Mode" picker.
  q::ViewRef header() const {
    for (const auto& row : host->findAll(q::type("HStack"))) {
      if (row.exists(q::picker("Mode"))) return row;
    }
    throw q::InspectionError("no header in:\n" + host->dump());
  }

  void setMessages(std::vector<Message> messages) {
    auto conversation = state->mainConversations.get();
    conversation.messages = std::move(messages);
    state->mainConversations.set(conversation);
    host->settle();
  }

  std::shared_ptr<Quillo::AppState> state;
  std::unique_ptr<q::WindowHost> host;
};

TEST_F(Popover, ItsWidthFollowsTheSizePresetAndItsHeightIsAlways700) {
  struct Case {
    std::optional<std::int64_t> size;
    double width;
  };
  const Case cases[] = {{std::nullopt, 500}, {0, 400}, {1, 500}, {2, 600}, {3, 600}, {-1, 600}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.size ? std::to_string(*c.size) : "absent");
    if (c.size) {
      ui::AppStorage<std::int64_t>("size", 1).set(*c.size);
    } else {
      foundation::UserDefaults::standard()->removeObject("size");
    }
    show();
    const auto frame = host->frame(host->root().find(q::type<Quillo::MenuContainerView>()));
    EXPECT_EQ(frame.size, (ui::Size{c.width, 700}));
  }
}

TEST_F(Popover, ShowsTheNativeChatOrTheWebChatAsTheSettingSays) {
  show();
  EXPECT_TRUE(host->exists(q::type<Quillo::ChatView>()));
  EXPECT_FALSE(host->exists(q::type<Quillo::MainChat>()));
  host->select(host->find(q::picker("Mode")), "Native");
  EXPECT_TRUE(Defaults::get(Quillo::Keys::showNative()));
  EXPECT_TRUE(host->exists(q::type<Quillo::MainChat>()));
  EXPECT_TRUE(host->pressKey("2", ui::EventModifiers::command));
  EXPECT_FALSE(Defaults::get(Quillo::Keys::showNative()));
  EXPECT_TRUE(host->pressKey("1", ui::EventModifiers::command));
  EXPECT_TRUE(Defaults::get(Quillo::Keys::showNative()));
}

TEST_F(Popover, TheHeaderHoldsAHiddenLabelledSegmentedPickerAndTheSettingsAndQuitButtons) {
  show();
  auto picker = host->find(q::picker("Mode"));
  EXPECT_EQ(picker.environment().get<ui::PickerStyleKey>(), ui::PickerStyle::segmented);
  EXPECT_NE(picker.modifier<ui::LabelsHiddenModifier>(), nullptr);
  EXPECT_EQ(picker.modifier<ui::FrameModifier>()->width, 130);
  for (const char* hiddenTitle : {"Show Native", "Show Web"}) {
    EXPECT_NE(host->find(q::button(hiddenTitle)).modifier<ui::HiddenModifier>(), nullptr) << hiddenTitle;
  }
  EXPECT_TRUE(header().exists(symbol("gearshape.fill")));
  EXPECT_TRUE(header().exists(symbol("xmark.circle.fill")));
  EXPECT_EQ(header().padding().top, 10);
  EXPECT_EQ(header().padding().bottom, 6);
  EXPECT_EQ(header().padding().leading, ui::defaultPadding);
}

TEST_F(Popover, TheCopyButtonIsThereOnlyInNativeMode) {
  show();
  EXPECT_FALSE(header().exists(symbol("doc.on.doc.fill")));
  Defaults::set(Quillo::Keys::showNative(), true);
  host->settle();
  auto copy = header().find(symbol("doc.on.doc.fill"));
  EXPECT_EQ(copy.parent()->help(), "Copy the entire conversation to your clipboard");  // on its button
}

TEST_F(Popover, CopyingPutsEveryMessageWithItsRoleMarkOnThePasteboard) {
  Defaults::set(Quillo::Keys::showNative(), true);
  show();
  setMessages(
      {Message(Role::system, "Be kind"), Message(Role::user, "Hi"), Message(Role::assistant, "Hello")});
  host->tap(header().find(symbol("doc.on.doc.fill")));
  EXPECT_EQ(host->desktop().pasteboard().types(), std::vector<std::string>{appkit::pasteboardTypeString});
  EXPECT_EQ(host->desktop().pasteboard().string(appkit::pasteboardTypeString),
            "\u2699\uFE0F\nBe kind\n\n\U0001F471\nHi\n\n\U0001F916\nHello\n\n");
  setMessages({});
  host->tap(header().find(symbol("doc.on.doc.fill")));
  EXPECT_EQ(host->desktop().pasteboard().string(appkit::pasteboardTypeString), "");
}

TEST_F(Popover, ClearIsShownWithMessagesAlsoInWebModeAndForgetsTheConversationAndTheHistory) {
  show();
  EXPECT_FALSE(header().exists(q::button("Clear")));
  const auto before = state->mainConversations.get();
  setMessages({Message(Role::user, "Hi"), Message(Role::assistant, "Hello")});
  state->api.get()->setHistoryList({Message(Role::user, "Hi"), Message(Role::assistant, "Hello")});
  ASSERT_FALSE(Defaults::get(Quillo::Keys::showNative()));
  host->tap(header().find(q::button("Clear")));
  const auto after = state->mainConversations.get();
  EXPECT_TRUE(after.messages.empty());
  EXPECT_EQ(after.id, before.id);
  EXPECT_EQ(after.title, before.title);
  EXPECT_EQ(after.prompt, before.prompt);
  EXPECT_TRUE(state->api.get()->historyList().empty());
  EXPECT_FALSE(header().exists(q::button("Clear")));
  // The conversation is stored after the state's usual quiet time.
  host->advance(0.5);
  EXPECT_TRUE(Defaults::get(Quillo::Keys::mainConversations()).messages.empty());
}

TEST_F(Popover, CommandQQuitsTheWholeApplication) {
  show();
  EXPECT_TRUE(host->pressKey("q", ui::EventModifiers::command));
  EXPECT_TRUE(appkit::Application::shared().isTerminating());
}

TEST_F(Popover, TheUpdateNoticeShowsOnceANewerBuildIsAnnouncedAndTakesTheUserToTheDownloadPage) {
  testsupport::LoopbackServer server;
  server.reply("GET", "/config.json", testsupport::ScriptedReply::json(R"({"latestVersion": 99})"));
  show(Quillo::ConfigManager::make(server.url("/config.json")));
  ASSERT_TRUE(host->runUntil([&] {
    host->settle();
    return host->exists(q::button("Update Now"));
  }));
  host->tap(q::button("Update Now"));
  ASSERT_EQ(host->desktop().openedURLs().size(), 1u);
  EXPECT_EQ(host->desktop().openedURLs()[0], kDownloadPage);
}

}  // namespace
