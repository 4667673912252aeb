// The inspector acts on views as a person does and reads what they show.
#include "platform/ui/inspector.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "platform/ui/app_storage.h"
#include "platform/ui/focus_state.h"
#include "platform/ui/state.h"
#include "platform/ui/views.h"

namespace {

using namespace ui;
using ui::testing::Host;

TEST(Inspector, DumpsTheTreeAsIndentedText) {
  Host host{HStack(Text::verbatim("Hi").padding(Edges::horizontal, 8).foregroundStyle(Color(1, 0, 0)),
                   Spacer().minLength(60), Circle().frame(6, 6))
                .background(Color::gray().opacity(0.15))
                .clipShape(RoundedRectangle(16, CornerStyle::continuous))};
  EXPECT_EQ(host.dump(),
            "clipShape(RoundedRectangle(16, continuous))\n"
            "  background\n"
            "    HStack(alignment: center, spacing: default)\n"
            "      foregroundStyle(rgb(1, 0, 0))\n"
            "        padding(horizontal: 8)\n"
            "          Text \"Hi\"\n"
            "      Spacer(minLength: 60)\n"
            "      frame(width: 6, height: 6)\n"
            "        Circle\n"
            "    Color gray opacity 0.15\n");
}

TEST(Inspector, AFailedSearchShowsTheTree) {
  Host host{Text::verbatim("Present")};
  try {
    host.find(ui::testing::text("Absent"));
    FAIL() << "expected an inspection error";
  } catch (const ui::testing::InspectionError& error) {
    EXPECT_NE(std::string(error.what()).find("Text \"Present\""), std::string::npos);
  }
}

TEST(Inspector, ReadsResolvedPropertiesAroundAView) {
  Host host{Text::verbatim("Copy")
                .padding(5)
                .padding(Edges::horizontal, 2)
                .opacity(0.5)
                .offset(0, -6)
                .opacity(0.5)
                .help("Copies")
                .animation(Animation::easeIn(0.25), true)
                .font(Font::caption())};
  auto copy = host.find(ui::testing::text("Copy"));
  EXPECT_EQ(copy.padding(), (EdgeInsets{5, 7, 5, 7}));
  EXPECT_DOUBLE_EQ(copy.opacity(), 0.25);
  EXPECT_EQ(copy.offset(), std::make_pair(0.0, -6.0));
  EXPECT_EQ(copy.help(), "Copies");
  EXPECT_EQ(copy.animation(), Animation::easeIn(0.25));
  EXPECT_EQ(copy.font(), Font::caption());
  EXPECT_EQ(copy.foregroundStyle(), Color::primary());
}

TEST(Inspector, HoverEntersEveryRegionUnderThePointerAndLeavesTheOthers) {
  std::vector<std::string> events;
  auto track = [&events](std::string name) {
    return [&events, name](bool isInside) { events.push_back(name + (isInside ? " in" : " out")); };
  };
  Host host{VStack(Text::verbatim("a").onHover(track("a")), Text::verbatim("b").onHover(track("b")))
                .onHover(track("all"))};
  host.hover(host.find(ui::testing::text("a")));
  host.hover(host.find(ui::testing::text("b")));
  host.unhover();
  EXPECT_EQ(events, (std::vector<std::string>{"a in", "all in", "a out", "b in", "b out", "all out"}));
}

TEST(Inspector, SubmitRunsTheHandlersAroundTheField) {
  class Search final : public View {
   public:
    explicit Search(std::shared_ptr<std::vector<std::string>> submitted) : submitted_(std::move(submitted)) {}
    AnyView body() const override {
      return TextField("Query", query_.binding()).onSubmit([submitted = submitted_, query = query_] {
        submitted->push_back(*query);
      });
    }

   private:
    std::shared_ptr<std::vector<std::string>> submitted_;
    State<std::string> query_{""};
  };
  auto submitted = std::make_shared<std::vector<std::string>>();
  Host host{Search(submitted)};
  auto field = host.find(ui::testing::textField("Query"));
  host.type(field, "swift");
  host.submit(host.find(ui::testing::textField("Query")));
  EXPECT_EQ(*submitted, std::vector<std::string>{"swift"});
}

TEST(Inspector, KeyPressesTriggerTheControlWithTheMatchingShortcut) {
  struct Case {
    std::string key;
    EventModifiers modifiers;
    std::vector<std::string> expected;
  };
  const Case cases[] = {
      {"return", EventModifiers::none, {"send"}},
      {"c", EventModifiers::command | EventModifiers::shift, {"copy"}},
      {"c", EventModifiers::command, {}},
      {"x", EventModifiers::none, {}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.key);
    std::vector<std::string> pressed;
    Host host{VStack(Button("Send", [&] { pressed.push_back("send"); })
                         .keyboardShortcut(KeyboardShortcut::defaultAction()),
                     Button("Copy", [&] {
                       pressed.push_back("copy");
                     }).keyboardShortcut("c", EventModifiers::command | EventModifiers::shift))};
    EXPECT_EQ(host.pressKey(c.key, c.modifiers), !c.expected.empty());
    EXPECT_EQ(pressed, c.expected);
  }
}

TEST(Inspector, TappingALinkOpensItsURLOnTheDesktop) {
  auto url = *foundation::URL::parse("https://example.com/roadmap");
  Host host{Link("Roadmap", url)};
  host.tap(host.find(ui::testing::text("Roadmap")));
  ASSERT_EQ(host.desktop().openedURLs().size(), 1u);
  EXPECT_EQ(host.desktop().openedURLs().front().absoluteString(), "https://example.com/roadmap");
}

TEST(Inspector, TappingALinkInATextOpensItThroughTheTextsAction) {
  AttributeContainer linked;
  linked.link = "https://example.com/docs";
  AttributedString shown("see ");
  shown.append("the ", linked);
  AttributeContainer linkedBold = linked;
  linkedBold.font = Font::body().bold();
  shown.append("docs", linkedBold);
  shown.append(" now");
  std::vector<std::string> opened;
  Host host{AnyView(Text(shown)).environment<OpenURLKey>(OpenURLAction([&opened](const foundation::URL& url) {
    opened.push_back(url.absoluteString());
  }))};
  auto text = host.find(ui::testing::text("see the docs now"));
  host.tapLink(text, "the docs");  // one link across two differently styled runs
  EXPECT_EQ(opened, std::vector<std::string>{"https://example.com/docs"});
  EXPECT_THROW(host.tapLink(text, "now"), ui::testing::InspectionError);
  EXPECT_TRUE(host.desktop().openedURLs().empty());
}

TEST(Inspector, AdvancingTheClockRunsDelayedMainQueueWork) {
  class Flash final : public View {
   public:
    AnyView body() const override {
      return VStack(conditional(*isOn_, Text("On"), Text("Off")), Button("Flash", [isOn = isOn_] {
                      isOn.set(true);
                      foundation::RunLoop::main().asyncAfter(std::chrono::seconds(2),
                                                             [isOn] { isOn.set(false); });
                    }));
    }

   private:
    State<bool> isOn_{false};
  };
  Host host{Flash()};
  host.tap(host.find(ui::testing::button("Flash")));
  EXPECT_TRUE(host.exists(ui::testing::text("On")));
  host.advance(std::chrono::milliseconds(1999));
  EXPECT_TRUE(host.exists(ui::testing::text("On")));
  host.advance(std::chrono::milliseconds(1));
  EXPECT_TRUE(host.exists(ui::testing::text("Off")));
}

TEST(Inspector, RecordsTheAnimationOfTheLastStateChange) {
  class Hover final : public View {
   public:
    AnyView body() const override {
      return Text::verbatim(*isHovering_ ? "over" : "away").onHover([isHovering = isHovering_](bool inside) {
        withAnimation(Animation::easeIn(0.25), [&] { isHovering.set(inside); });
      });
    }

   private:
    State<bool> isHovering_{false};
  };
  Host host{Hover()};
  host.hover(host.find(ui::testing::text("away")));
  EXPECT_TRUE(host.exists(ui::testing::text("over")));
  EXPECT_EQ(host.lastTransactionAnimation(), Animation::easeIn(0.25));
}

// A modifier with a body keeps its own state at the place where it is applied.
class TapCounter final : public ViewModifier {
 public:
  AnyView body(AnyView content) const override {
    return VStack(content, Text::verbatim("taps " + std::to_string(*taps_)),
                  Button("Count", [taps = taps_] { taps.set(*taps + 1); }));
  }

 private:
  State<int> taps_{0};
};

TEST(Inspector, ModifiersWithABodyKeepStateWhereTheyAreApplied) {
  Host host{Text::verbatim("content").modifier(TapCounter())};
  host.tap(host.find(ui::testing::button("Count")));
  EXPECT_TRUE(host.exists(ui::testing::text("taps 1")));
  EXPECT_TRUE(host.exists(ui::testing::type("TapCounter")));
}

class AppStorageTest : public ::testing::Test {
 protected:
  void SetUp() override {
    directory_ = std::filesystem::temp_directory_path() /
                 ("quillo-ui-app-storage-" + std::to_string(::getpid()) + "-" +
                  ::testing::UnitTest::GetInstance()->current_test_info()->name());
    std::filesystem::remove_all(directory_);
    suite_ = foundation::UserDefaults::suite("ui-tests", directory_);
  }
  void TearDown() override { std::filesystem::remove_all(directory_); }
  std::filesystem::path directory_;
  std::shared_ptr<foundation::UserDefaults> suite_;
};

class Greeting final : public View {
 public:
  explicit Greeting(std::shared_ptr<foundation::UserDefaults> suite)
      : name_("name", "nobody", std::move(suite)) {}
  AnyView body() const override { return Text::verbatim("hello " + *name_); }

 private:
  AppStorage<std::string> name_;
};

TEST_F(AppStorageTest, ReadsTheDefaultsAndFollowsWritesFromElsewhere) {
  Host host{Greeting(suite_)};
  EXPECT_TRUE(host.exists(ui::testing::text("hello nobody")));
  suite_->setObject(foundation::PlistValue("Ada"), "name");
  host.settle();
  EXPECT_TRUE(host.exists(ui::testing::text("hello Ada")));
  suite_->setObject(foundation::PlistValue(std::int64_t{3}), "name");  // another kind reads as the default
  host.settle();
  EXPECT_TRUE(host.exists(ui::testing::text("hello nobody")));
}

}  // namespace

namespace {

using namespace ui;
using ui::testing::Host;

enum class Field { name, key };

class Login final : public View {
 public:
  AnyView body() const override {
    auto focus = focus_;
    std::string focused = !*focus_ ? "none" : (**focus_ == Field::name ? "name" : "key");
    return VStack(TextField("Name", name_.binding()).focused<Field>(focus_.binding(), Field::name),
                  SecureField("Key", key_.binding()).focused<Field>(focus_.binding(), Field::key),
                  Text::verbatim("focus " + focused), Button("Next", [focus] { focus.set(Field::key); }));
  }

 private:
  State<std::string> name_{""};
  State<std::string> key_{""};
  FocusState<std::optional<Field>> focus_;
};

TEST(Inspector, FocusMovesBetweenConnectedFields) {
  Host host{Login()};
  EXPECT_TRUE(host.exists(ui::testing::text("focus none")));
  host.focus(host.find(ui::testing::textField("Name")));
  EXPECT_TRUE(host.exists(ui::testing::text("focus name")));
  host.tap(host.find(ui::testing::button("Next")));
  EXPECT_TRUE(host.exists(ui::testing::text("focus key")));
  host.type(host.find(ui::testing::textField("Key")), "sk-123");
  // A secure field never shows its text, not even in a dump.
  EXPECT_NE(host.dump().find("SecureField(\"Key\") \"******\""), std::string::npos);
  EXPECT_EQ(host.dump().find("sk-123"), std::string::npos);
}

TEST(Inspector, PickersSelectByOptionTitle) {
  class Size final : public View {
   public:
    AnyView body() const override {
      return VStack(Picker<int>("Size", size_.binding(), {{1, "Small"}, {2, "Large"}}),
                    Text::verbatim("size " + std::to_string(*size_)));
    }

   private:
    State<int> size_{1};
  };
  Host host{Size()};
  host.select(host.find(ui::testing::picker("Size")), "Large");
  EXPECT_TRUE(host.exists(ui::testing::text("size 2")));
  EXPECT_THROW(host.select(host.find(ui::testing::picker("Size")), "Huge"), ui::testing::InspectionError);
}

}  // namespace
