// Environment values flow down to a subtree only; observable objects re-evaluate only their readers;
// colours resolve for the colour scheme the view is shown in.
#include "platform/ui/environment.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "platform/ui/inspector.h"
#include "platform/ui/observable_object.h"
#include "platform/ui/state.h"
#include "platform/ui/views.h"

namespace {

using namespace ui;
using ui::testing::Host;

struct GreetingKey {
  using Value = std::string;
  static std::string defaultValue() { return "hello"; }
};

class Greeting final : public View {
 public:
  explicit Greeting(std::string id) : id_(std::move(id)) {}
  AnyView body() const override { return Text::verbatim(*greeting_).accessibilityIdentifier(id_); }

 private:
  std::string id_;
  Environment<GreetingKey> greeting_;
};

TEST(ViewEnvironment, OverridesReachOnlyTheSubtree) {
  Host host{VStack(Greeting("outside"),
                   VStack(Greeting("inside"), AnyView(Greeting("deeper")).font(Font::caption()))
                       .environment<GreetingKey>("hi")
                       .font(Font::headline()))};
  EXPECT_EQ(host.find(ui::testing::identifier("outside")).text(), "hello");
  EXPECT_EQ(host.find(ui::testing::identifier("inside")).text(), "hi");
  EXPECT_EQ(host.find(ui::testing::identifier("deeper")).text(), "hi");
  EXPECT_EQ(host.find(ui::testing::text("hi")).font(), Font::headline());
  EXPECT_EQ(host.find(ui::testing::identifier("deeper")).font(), Font::caption());
  EXPECT_EQ(host.find(ui::testing::identifier("outside")).font(), Font::body());
}

TEST(ViewEnvironment, DisablingAnAncestorDisablesItsButtons) {
  int taps = 0;
  Host host{VStack(Button("Inner", [&] { ++taps; }).disabled(false), Button("Other", [&] { ++taps; }))
                .disabled(true)};
  host.tap(host.find(ui::testing::button("Inner")));
  host.tap(host.find(ui::testing::button("Other")));
  EXPECT_EQ(taps, 0);
  EXPECT_FALSE(host.find(ui::testing::button("Inner")).isEnabled());
}

TEST(ViewEnvironment, DynamicColoursResolvePerColourScheme) {
  const auto light = Color(1, 1, 1);
  const auto dark = Color(0, 0, 0);
  struct Case {
    ColorScheme scheme;
    ResolvedColor expected;
  };
  const Case cases[] = {{ColorScheme::light, {1, 1, 1, 1}}, {ColorScheme::dark, {0, 0, 0, 1}}};
  for (const auto& c : cases) {
    SCOPED_TRACE(static_cast<int>(c.scheme));
    Host host{Text("Paper").foregroundStyle(Color::dynamic(light, dark)), c.scheme};
    EXPECT_EQ(host.find(ui::testing::text("Paper")).resolvedForegroundColor(), c.expected);
  }
  Host host{Text("Paper").foregroundStyle(Color::dynamic(light, dark))};
  host.setColorScheme(ColorScheme::dark);
  EXPECT_EQ(host.find(ui::testing::text("Paper")).resolvedForegroundColor(), (ResolvedColor{0, 0, 0, 1}));
}

class SchemeName final : public View {
 public:
  AnyView body() const override { return Text::verbatim(*scheme_ == ColorScheme::dark ? "dark" : "light"); }

 private:
  Environment<ColorScheme> scheme_;
};

TEST(ViewEnvironment, ViewsReadTheColourSchemeAndFollowItsChanges) {
  Host host{VStack(SchemeName(), AnyView(SchemeName()).colorScheme(ColorScheme::dark))};
  EXPECT_EQ(host.findAll(ui::testing::text("light")).size(), 1u);
  EXPECT_EQ(host.findAll(ui::testing::text("dark")).size(), 1u);
  host.setColorScheme(ColorScheme::dark);
  EXPECT_EQ(host.findAll(ui::testing::text("dark")).size(), 2u);
}

class Model final : public ObservableObject {
 public:
  Published<int> count{this, 0};
  Published<std::string> title{this, "untitled"};
};

class CountReader final : public View {
 public:
  explicit CountReader(std::shared_ptr<Model> model) : model_(std::move(model)) {}
  AnyView body() const override { return Text::verbatim("count " + std::to_string(*model_->count)); }

 private:
  ObservedObject<Model> model_;
};

class Bystander final : public View {
 public:
  AnyView body() const override { return Text::verbatim("bystander"); }
};

class Screen final : public View {
 public:
  explicit Screen(std::shared_ptr<Model> model) : model_(std::move(model)) {}
  AnyView body() const override { return VStack(CountReader(model_), Bystander()); }

 private:
  std::shared_ptr<Model> model_;
};

TEST(ObservableObjects, AChangeReevaluatesOnlyTheViewsThatHoldTheObject) {
  auto model = std::make_shared<Model>();
  Host host{Screen(model)};
  auto screen = host.root();
  auto reader = host.find(ui::testing::type<CountReader>());
  auto bystander = host.find(ui::testing::type<Bystander>());
  const auto screenRuns = screen.node().evaluationCount();
  const auto readerRuns = reader.node().evaluationCount();
  const auto bystanderRuns = bystander.node().evaluationCount();

  model->count.set(5);
  host.settle();

  EXPECT_TRUE(host.exists(ui::testing::text("count 5")));
  EXPECT_EQ(reader.node().evaluationCount(), readerRuns + 1);
  EXPECT_EQ(screen.node().evaluationCount(), screenRuns);
  EXPECT_EQ(bystander.node().evaluationCount(), bystanderRuns);
}

TEST(ObservableObjects, ChangesFromAnotherThreadReachTheViewOnTheMainQueue) {
  auto model = std::make_shared<Model>();
  Host host{Screen(model)};
  concurrency::Task<void>([model] { model->objectWillChange.send(); }).value();
  model->count.set(2);  // the value itself is main-thread data
  EXPECT_TRUE(host.runUntil([&] { return host.exists(ui::testing::text("count 2")); }));
}

class TitleReader final : public View {
 public:
  AnyView body() const override { return Text::verbatim(*model_->title); }

 private:
  EnvironmentObject<Model> model_;
};

TEST(ObservableObjects, EnvironmentObjectsReachDescendantsAndRefreshThem) {
  auto model = std::make_shared<Model>();
  Host host{VStack(TitleReader()).environmentObject(model)};
  EXPECT_TRUE(host.exists(ui::testing::text("untitled")));
  model->title.set("Notes");
  host.settle();
  EXPECT_TRUE(host.exists(ui::testing::text("Notes")));
}

class Owner final : public View {
 public:
  explicit Owner(std::shared_ptr<int> made) : made_(std::move(made)) {}
  AnyView body() const override {
    return VStack(Text::verbatim("count " + std::to_string(*model_->count)),
                  Button("More", [model = model_.get()] { model->count.set(*model->count + 1); }));
  }

 private:
  std::shared_ptr<int> made_;
  StateObject<Model> model_{[made = made_] {
    ++*made;
    return std::make_shared<Model>();
  }};
};

TEST(ObservableObjects, AStateObjectIsMadeOncePerPlaceInTheTree) {
  auto made = std::make_shared<int>(0);
  Host host{Owner(made)};
  host.tap(host.find(ui::testing::button("More")));
  host.tap(host.find(ui::testing::button("More")));
  EXPECT_TRUE(host.exists(ui::testing::text("count 2")));
  EXPECT_EQ(*made, 1);
}

}  // namespace
