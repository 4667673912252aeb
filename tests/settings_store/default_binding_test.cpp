// Settings bound to views: read-through values, write-through bindings and refreshes on every change.
#include "settings_store/default_binding.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <atomic>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/foundation/user_defaults.h"
#include "platform/ui/inspector.h"
#include "platform/ui/views.h"

namespace {

using ui::testing::Host;

class DefaultBindingTest : public ::testing::Test {
 protected:
  void SetUp() override {
    static std::atomic<int> counter{0};
    directory_ = std::filesystem::temp_directory_path() /
                 ("quillo-default-binding-" + std::to_string(::getpid()) + "-" + std::to_string(counter++));
    std::filesystem::remove_all(directory_);
    suite_ = foundation::UserDefaults::suite("views", directory_);
  }
  void TearDown() override {
    suite_.reset();
    std::filesystem::remove_all(directory_);
  }

  std::filesystem::path directory_;
  std::shared_ptr<foundation::UserDefaults> suite_;
};

// Shows the setting and offers to change it.
class FontSizeView final : public ui::View {
 public:
  FontSizeView(std::string name, const Defaults::Key<int>& key) : name_(std::move(name)), size_(key) {}
  ui::AnyView body() const override {
    auto size = size_;
    return ui::VStack(
        ui::Text::verbatim(name_ + " " + std::to_string(*size_)),
        ui::Button("Bigger", [size] { size.set(*size + 1); }).accessibilityIdentifier(name_),
        ui::Button("Reset", [size] { size.removeStoredValue(); }).accessibilityIdentifier(name_ + " reset"));
  }

 private:
  std::string name_;
  Defaults::Default<int> size_;
};

TEST_F(DefaultBindingTest, AssigningThroughOneViewUpdatesEveryViewOfTheKey) {
  Defaults::Key<int> key("fontSize", 12, suite_);
  Host host{ui::VStack(FontSizeView("a", key), FontSizeView("b", key))};
  host.tap(host.find(ui::testing::identifier("a")));
  EXPECT_TRUE(host.exists(ui::testing::text("a 13")));
  EXPECT_TRUE(host.exists(ui::testing::text("b 13")));
  EXPECT_EQ(Defaults::get(key), 13);
}

TEST_F(DefaultBindingTest, AValueWrittenElsewhereRefreshesTheView) {
  Defaults::Key<int> key("fontSize", 12, suite_);
  Host host{FontSizeView("a", key)};
  Defaults::set(key, 20);
  host.settle();
  EXPECT_TRUE(host.exists(ui::testing::text("a 20")));
}

TEST_F(DefaultBindingTest, RemovingTheStoredValueShowsTheDefaultAgain) {
  Defaults::Key<int> key("fontSize", 12, suite_);
  Defaults::set(key, 30);
  Host host{FontSizeView("a", key)};
  EXPECT_TRUE(host.exists(ui::testing::text("a 30")));
  host.tap(host.find(ui::testing::identifier("a reset")));
  EXPECT_TRUE(host.exists(ui::testing::text("a 12")));
  EXPECT_EQ(suite_->persistentDomain().count("fontSize"), 0u);
}

TEST_F(DefaultBindingTest, AViewRefreshesOnceAfterItIsFirstShown) {
  Defaults::Key<int> key("fontSize", 12, suite_);
  Host host{FontSizeView("a", key)};
  EXPECT_EQ(host.root().node().evaluationCount(), 2u);
  host.settle();
  EXPECT_EQ(host.root().node().evaluationCount(), 2u);
}

TEST_F(DefaultBindingTest, TheWrapperReadsAndWritesTheSuiteEachTime) {
  Defaults::Key<std::string> key("name", "nobody", suite_);
  foundation::ScopedMainRunLoop loop;
  Defaults::Default<std::string> name(key);
  EXPECT_EQ(*name, "nobody");
  EXPECT_TRUE(name.holdsDefaultValue());
  EXPECT_EQ(name.keyDefaultValue(), "nobody");
  suite_->setObject(foundation::PlistValue("Ada"), "name");
  EXPECT_EQ(*name, "Ada");
  EXPECT_FALSE(name.holdsDefaultValue());
  name.binding().set("Grace");
  EXPECT_EQ(name.binding().get(), "Grace");
  EXPECT_EQ(Defaults::get(key), "Grace");
  name.removeStoredValue();
  EXPECT_EQ(*name, "nobody");
}

TEST_F(DefaultBindingTest, WritesAnnounceTheChangeBeforeStoring) {
  Defaults::Key<int> key("count", 0, suite_);
  foundation::ScopedMainRunLoop loop;
  auto observable = std::make_shared<Defaults::Observable<int>>(key);
  std::vector<int> seenAtSignal;
  auto subscription = observable->objectWillChange.sink([&] { seenAtSignal.push_back(Defaults::get(key)); });
  observable->setCurrentValue(5);
  ASSERT_FALSE(seenAtSignal.empty());
  EXPECT_EQ(seenAtSignal.front(), 0);  // the synchronous signal comes before the value is stored
  loop.loop().runUntilIdle();          // then the observation signals (initial value, then the change)
  EXPECT_EQ(seenAtSignal.size(), 3u);
}

TEST_F(DefaultBindingTest, TheChangePublisherStartsWithTheCurrentValue) {
  Defaults::Key<int> key("count", 4, suite_);
  foundation::ScopedMainRunLoop loop;
  Defaults::Default<int> count(key);
  std::vector<int> values;
  auto subscription = count.changePublisher().sink(
      [&](const Defaults::KeyChange<int>& change) { values.push_back(change.newValue); });
  count.set(6);
  EXPECT_EQ(values, (std::vector<int>{4, 6}));
}

TEST_F(DefaultBindingTest, ReleasingTheObservableStopsWatchingTheKey) {
  Defaults::Key<int> key("count", 0, suite_);
  { Host host{FontSizeView("a", key)}; }
  foundation::ScopedMainRunLoop loop;
  Defaults::set(key, 3);  // nobody is left to tell
  EXPECT_EQ(loop.loop().runUntilIdle(), 0u);
}

TEST_F(DefaultBindingTest, ToggleCallsItsActionWhenSwitchedAndWhenTheKeyChangesElsewhere) {
  Defaults::Key<bool> key("showTokenCount", false, suite_);
  auto changes = std::make_shared<std::vector<bool>>();
  Host host{Defaults::Toggle("Show token count", key).whenChanged([changes](bool value) {
    changes->push_back(value);
  })};
  host.tap(host.find(ui::testing::toggle("Show token count")));
  EXPECT_TRUE(Defaults::get(key));
  Defaults::set(key, false);
  host.settle();
  EXPECT_EQ(*changes, (std::vector<bool>{true, false}));
  EXPECT_EQ(
      host.find(ui::testing::toggle("Show token count")).primitive<ui::detail::ToggleSpec>()->isOn.get(),
      false);
}

TEST_F(DefaultBindingTest, ToggleWithoutAnActionJustSwitches) {
  Defaults::Key<bool> key("enableMarkdown", true, suite_);
  Host host{Defaults::Toggle(key, [] { return ui::AnyView(ui::Text("Markdown")); })};
  host.tap(host.find(ui::testing::toggle("Markdown")));
  EXPECT_FALSE(Defaults::get(key));
}

}  // namespace

namespace {

TEST_F(DefaultBindingTest, MembersOfTheCurrentValueAreReachedThroughTheWrapper) {
  Defaults::Key<std::string> key("apiKey", "", suite_);
  foundation::ScopedMainRunLoop loop;
  Defaults::Default<std::string> apiKey(key);
  EXPECT_TRUE(apiKey->empty());
  apiKey.set("sk-1");
  EXPECT_EQ(apiKey->size(), 4u);
}

}  // namespace
