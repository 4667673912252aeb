// The view layer's controls in a hosted window, used through the window as a person does: buttons and
// check boxes, tab views, segmented pickers, colour pickers, search fields and number fields, enabled and
// disabled.
#include "platform/appkit/controls.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/appkit/color_panel.h"
#include "platform/appkit/key_codes.h"
#include "platform/appkit/search_field.h"
#include "platform/foundation/bundle.h"
#include "platform/ui/focus_state.h"
#include "platform/ui/layout/layout_pass.h"
#include "platform/ui/number_formatter.h"
#include "platform/ui/state.h"
#include "platform/ui/views.h"
#include "platform/ui/window_host.h"

namespace {

using namespace ui;
using ui::testing::button;
using ui::testing::text;
using ui::testing::textField;
using ui::testing::toggle;
using ui::testing::WindowHost;

// A button counting its clicks and a check box, both disabled by a switch of their own.
class Controls final : public View {
 public:
  AnyView body() const override {
    auto clicks = clicks_;
    return VStack(Button("Count", [clicks] { clicks.set(*clicks + 1); }).disabled(*isOff_),
                  Toggle("Option", isOn_.binding()).disabled(*isOff_), Toggle("Off", isOff_.binding()),
                  Text::verbatim(std::to_string(*clicks_) + (*isOn_ ? " on" : " off")));
  }
  State<int> clicks_{0};
  State<bool> isOn_{false};
  State<bool> isOff_{false};
};

TEST(Controls, ClicksRunButtonsAndTurnCheckBoxesOverUnlessDisabled) {
  WindowHost host{Controls(), {300, 300}};
  host.click(button("Count"));
  host.click(toggle("Option"));
  EXPECT_TRUE(host.exists(text("1 on")));

  host.click(toggle("Off"));
  host.click(button("Count"));
  host.click(toggle("Option"));
  EXPECT_TRUE(host.exists(text("1 on")));
  EXPECT_EQ(host.firstResponder(), nullptr);  // neither takes focus, enabled or not
}

// Three tabs whose contents say when they appear and disappear.
class Tabs final : public View {
 public:
  explicit Tabs(std::shared_ptr<std::vector<std::string>> log) : log_(std::move(log)) {}
  AnyView body() const override {
    const auto page = [log = log_](const std::string& name) {
      return VStack(Text::verbatim(name + " page"),
                    TextField(name + " field", Binding<std::string>::constant("")))
          .onAppear([log, name] { log->push_back("appear " + name); })
          .onDisappear([log, name] { log->push_back("disappear " + name); });
    };
    return TabView({Tab{Text::verbatim("One"), page("one")}, Tab{Text::verbatim("Two"), page("two")},
                    Tab{Text::verbatim("Three"), page("three")}});
  }

 private:
  std::shared_ptr<std::vector<std::string>> log_;
};

TEST(TabViews, AClickOnALabelShowsItsTabAndOnlyThatOne) {
  auto log = std::make_shared<std::vector<std::string>>();
  WindowHost host{Tabs(log), {300, 200}};
  EXPECT_TRUE(host.exists(text("one page")));
  EXPECT_EQ(*log, std::vector<std::string>{"appear one"});

  host.click(text("Three"));
  EXPECT_FALSE(host.exists(text("one page")));
  ASSERT_TRUE(host.exists(text("three page")));
  EXPECT_EQ(*log, (std::vector<std::string>{"appear one", "disappear one", "appear three"}));
  // The shown tab's controls are laid out below the bar and hosted in the window.
  const auto field = host.frame(textField("three field"));
  EXPECT_GE(field.minY(), tabBarHeight);
  EXPECT_EQ(host.hostingView().hitTest({field.midX(), field.midY()}),
            host.platformView(host.find(textField("three field"))));
}

TEST(TabViews, TheKeyboardChoosesTabsToo) {
  auto log = std::make_shared<std::vector<std::string>>();
  WindowHost host{Tabs(log), {300, 200}};
  // Control-Tab and Control-Shift-Tab from a field inside, going round.
  host.click(textField("one field"));
  host.press(appkit::KeyCode::tab, appkit::ModifierFlags::control);
  EXPECT_TRUE(host.exists(text("two page")));
  host.press(appkit::KeyCode::tab, appkit::ModifierFlags::control | appkit::ModifierFlags::shift);
  host.press(appkit::KeyCode::tab, appkit::ModifierFlags::control | appkit::ModifierFlags::shift);
  EXPECT_TRUE(host.exists(text("three page")));

  // The arrows, once a click on the bar has given it focus.
  host.click(text("One"));
  host.press(appkit::KeyCode::rightArrow);
  EXPECT_TRUE(host.exists(text("two page")));
  host.press(appkit::KeyCode::leftArrow);
  host.press(appkit::KeyCode::leftArrow);  // the first tab stays
  EXPECT_TRUE(host.exists(text("one page")));
}

TEST(TabViews, EachTabIsAsWideAsItsLabelAndTheRestOfTheBarIsSharedEqually) {
  auto log = std::make_shared<std::vector<std::string>>();
  WindowHost host{Tabs(log), {300, 200}};
  const std::vector<std::string> titles{"One", "Two", "Three"};
  double labels = 0;
  for (const auto& title : titles) labels += host.frame(text(title)).width();
  const double extra = (300 - labels) / 3;
  double x = 0;
  for (const auto& title : titles) {
    SCOPED_TRACE(title);
    const auto label = host.frame(text(title));
    EXPECT_LT(label.maxY(), tabBarHeight);
    EXPECT_DOUBLE_EQ(label.midY(), tabBarHeight / 2);
    EXPECT_DOUBLE_EQ(label.midX(), x + (label.width() + extra) / 2);
    x += label.width() + extra;
    // A click anywhere on the tab's share of the bar chooses it.
    host.click(Point{x - 1, tabBarHeight / 2});
    EXPECT_TRUE(host.exists(text(title == "One" ? "one page" : title == "Two" ? "two page" : "three page")));
  }
}

TEST(TabViews, ALabelsIconStandsAboveItsTitle) {
  WindowHost host{TabView({Tab{Label("Settings", "gear"), Text::verbatim("page")},
                           Tab{Label("Help", "info.circle"), Text::verbatim("help")}}),
                  {300, 200}};
  const auto title = host.frame(text("Settings"));
  const auto icon = host.frame(ui::testing::type("Image"));
  EXPECT_LE(icon.maxY(), title.minY());
  EXPECT_DOUBLE_EQ(icon.midX(), title.midX());
  EXPECT_LE(title.maxY(), tabBarHeight);
  EXPECT_GE(icon.minY(), 0);
}

// A segmented picker of three images and the value it chose.
class Segments final : public View {
 public:
  AnyView body() const override {
    std::vector<PickerOption<std::string>> options;
    for (const char* name : {"first", "second", "third"}) {
      options.push_back({name, Image(name).renderingMode(ImageRenderingMode::asTemplate).padding(2)});
    }
    FrameModifier atMost200;
    atMost200.maxWidth = 200;
    return VStack(Picker<std::string>("Icon:", choice_.binding(), options)
                      .pickerStyle(PickerStyle::segmented)
                      .frame(atMost200)
                      .disabled(*isOff_),
                  Toggle("Off", isOff_.binding()), Text::verbatim("chosen " + *choice_));
  }
  State<std::string> choice_{"first"};
  State<bool> isOff_{false};
};

TEST(SegmentedPickers, SegmentsShareTheControlAndAClickChoosesOne) {
  WindowHost host{Segments(), {400, 200}};
  const auto control = std::dynamic_pointer_cast<appkit::SegmentedControl>(
      host.platformView(host.find(ui::testing::picker("Icon:"))));
  ASSERT_NE(control, nullptr);
  EXPECT_EQ(control->imageNames(), (std::vector<std::string>{"first", "second", "third"}));
  EXPECT_TRUE(control->areImagesTemplates());
  EXPECT_EQ(control->selectedSegment(), 0);
  EXPECT_LE(host.frame(ui::testing::picker("Icon:")).width(), 200);

  // The images sit in equal segments, side by side, inside the control.
  const auto area = control->convertRectToView(control->bounds(), nullptr);
  const auto images = host.findAll(ui::testing::type("Image"));
  ASSERT_EQ(images.size(), 3u);
  for (std::size_t i = 0; i < 3; ++i) {
    const auto frame = host.frame(images[i]);
    EXPECT_DOUBLE_EQ(frame.midX(), area.minX() + area.width() * (static_cast<double>(i) + 0.5) / 3);
    EXPECT_DOUBLE_EQ(frame.midY(), area.midY());
  }

  host.click(images[1]);
  EXPECT_TRUE(host.exists(text("chosen second")));
  EXPECT_EQ(control->selectedSegment(), 1);

  host.click(toggle("Off"));
  host.click(images[2]);
  EXPECT_TRUE(host.exists(text("chosen second")));
}

// A colour picker bound to view state, and what it holds as text.
class Swatch final : public View {
 public:
  explicit Swatch(bool supportsOpacity = true) : supportsOpacity_(supportsOpacity) {}
  AnyView body() const override {
    const auto shown = color_->resolved(ColorScheme::light);
    return VStack(ColorPicker("Bubble:", color_.binding(), supportsOpacity_).disabled(*isOff_),
                  Toggle("Off", isOff_.binding()),
                  Text::verbatim(std::to_string(shown.red) + " " + std::to_string(shown.opacity)));
  }
  State<Color> color_{Color(0, 0, 1)};
  State<bool> isOff_{false};

 private:
  bool supportsOpacity_;
};

TEST(ColorPickers, AClickOpensThePanelAndAPickedColourIsStored) {
  auto panel = appkit::ColorPanel::shared();
  panel->close();
  WindowHost host{Swatch(), {300, 200}};
  const auto well = std::dynamic_pointer_cast<appkit::ColorWell>(
      host.platformView(host.find(ui::testing::type("ColorPicker"))));
  ASSERT_NE(well, nullptr);
  EXPECT_EQ(host.frame(ui::testing::type("ColorPicker")).height(), colorWellHeight);
  EXPECT_FALSE(panel->pickColor({1, 0, 0, 1}));  // the panel is not open

  host.click(well->convertPointToView({well->bounds().midX(), well->bounds().midY()}, nullptr));
  ASSERT_TRUE(panel->isVisible());
  EXPECT_EQ(panel->activeWell(), well);
  EXPECT_EQ(panel->color(), (appkit::ColorWell::Components{0, 0, 1, 1}));

  EXPECT_TRUE(panel->pickColor({1, 0.5, 0, 0.5}));
  host.settle();
  EXPECT_TRUE(host.exists(text("1.000000 0.500000")));
  panel->close();
  EXPECT_FALSE(well->isActive());
}

TEST(ColorPickers, WithoutOpacityAPickedColourIsOpaqueAndADisabledWellStaysShut) {
  auto panel = appkit::ColorPanel::shared();
  panel->close();
  WindowHost host{Swatch(false), {300, 200}};
  const auto wellView = host.platformView(host.find(ui::testing::type("ColorPicker")));
  const auto centre =
      wellView->convertPointToView({wellView->bounds().midX(), wellView->bounds().midY()}, nullptr);
  host.click(centre);
  EXPECT_FALSE(panel->showsAlpha());
  panel->pickColor({0.25, 0, 0, 0.5});
  host.settle();
  EXPECT_TRUE(host.exists(text("0.250000 1.000000")));
  panel->close();

  host.click(toggle("Off"));
  host.click(centre);
  EXPECT_FALSE(panel->isVisible());
}

// A list of words filtered by a search field.
class Search final : public View {
 public:
  AnyView body() const override {
    std::vector<AnyView> rows;
    for (const char* word : {"apple", "apricot", "banana"}) {
      if (std::string(word).find(*query_) != std::string::npos) rows.push_back(Text::verbatim(word));
    }
    return List(rows).searchable(query_.binding());
  }
  State<std::string> query_{""};
};

TEST(SearchFields, APersonTypesIntoTheFieldAboveTheListAndClearsIt) {
  WindowHost host{Search(), {300, 300}};
  const auto fieldView = std::dynamic_pointer_cast<appkit::SearchField>(
      host.platformView(host.find(ui::testing::type("List")).parent().value()));
  ASSERT_NE(fieldView, nullptr);
  const auto field = fieldView->convertRectToView(fieldView->bounds(), nullptr);
  const auto list = host.frame(ui::testing::type("List"));
  EXPECT_EQ(field.height(), searchFieldHeight);
  EXPECT_LE(field.maxY(), list.minY());

  host.click(Point{field.midX() - 20, field.midY()});
  EXPECT_EQ(host.firstResponder(), fieldView);
  host.typeText("ap");
  EXPECT_TRUE(host.exists(text("apple")));
  EXPECT_TRUE(host.exists(text("apricot")));
  EXPECT_FALSE(host.exists(text("banana")));
  host.typeText("p");
  EXPECT_FALSE(host.exists(text("apricot")));

  // The clear button at the field's end.
  host.click(Point{field.maxX() - 4, field.midY()});
  EXPECT_EQ(fieldView->stringValue(), "");
  EXPECT_TRUE(host.exists(text("banana")));
}

// A whole number behind a formatter, and another field to move focus to.
class Limit final : public View {
 public:
  AnyView body() const override {
    auto submits = submits_;
    return VStack(
        TextField("Limit", limit_.binding(), NumberFormatter()).onSubmit([submits] {
          submits.set(*submits + 1);
        }),
        TextField("Other", other_.binding()),
        Text::verbatim("stored " + std::to_string(*limit_) + ", " + std::to_string(*submits_) + " submits"));
  }
  State<std::int64_t> limit_{200};
  State<std::string> other_{""};
  State<int> submits_{0};
};

std::string shownText(WindowHost& host, const std::string& title) {
  return std::dynamic_pointer_cast<appkit::TextField>(host.platformView(host.find(textField(title))))
      ->stringValue();
}

TEST(NumberFields, StoreOnReturnOrWhenFocusLeavesAndShowTheStoredValueAfterBadInput) {
  WindowHost host{Limit(), {300, 200}};
  host.click(textField("Limit"));
  for (int i = 0; i < 3; ++i) host.press(appkit::KeyCode::deleteBackward);
  host.typeText("35");
  EXPECT_EQ(shownText(host, "Limit"), "35");
  EXPECT_TRUE(host.exists(text("stored 200, 0 submits")));  // typing alone stores nothing
  host.typeText("0");
  host.pressReturn();
  EXPECT_TRUE(host.exists(text("stored 350, 1 submits")));

  host.typeText("x");
  host.pressTab();  // focus leaves: the text does not read as a number
  EXPECT_TRUE(host.hasFocus(textField("Other")));
  EXPECT_EQ(shownText(host, "Limit"), "350");
  EXPECT_TRUE(host.exists(text("stored 350, 1 submits")));

  host.click(textField("Limit"));
  for (int i = 0; i < 3; ++i) host.press(appkit::KeyCode::deleteBackward);
  host.typeText("-5");
  host.click(textField("Other"));
  EXPECT_TRUE(host.exists(text("stored -5, 1 submits")));
  EXPECT_EQ(shownText(host, "Limit"), "-5");
}

TEST(NumberFormatters, ReadWholeNumbersOnly) {
  const NumberFormatter formatter;
  struct Case {
    std::string text;
    std::optional<std::int64_t> number;
  };
  const Case cases[] = {{"200", 200},
                        {"-3", -3},
                        {"+7", 7},
                        {" 42 ", 42},
                        {"", {}},
                        {"+", {}},
                        {"+-5", {}},
                        {"12.5", {}},
                        {"1e3", {}},
                        {"x", {}},
                        {"99999999999999999999", {}}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(formatter.number(c.text), c.number);
  }
  EXPECT_EQ(formatter.string(-5), "-5");
}

TEST(Pickers, OptionTitlesAreLocalizedUnlessGivenVerbatim) {
  foundation::Bundle::setMainResourceDirectory(std::string(QUILLO_TEST_DIR) + "/fixtures/Resources");
  std::string chosen = "a";
  Binding<std::string> choice([&] { return chosen; }, [&](std::string value) { chosen = value; });
  ui::testing::Host host{
      VStack(Picker<std::string>("Greeting", choice, {{"a", "Copy"}, {"b", "Hello %@"}}),
             Picker<std::string>("Names", choice,
                                 {PickerOption<std::string>{"a", Text::verbatim("Copy")},
                                  PickerOption<std::string>{"b", Text::verbatim("Hello %@")}}))};
  const auto titles = [&](const char* picker) {
    return host.find(ui::testing::picker(picker)).primitive<detail::PickerSpec>()->optionTitles;
  };
  EXPECT_EQ(titles("Greeting"), (std::vector<std::string>{"Copy", "Hi there, %@"}));
  EXPECT_EQ(titles("Names"), (std::vector<std::string>{"Copy", "Hello %@"}));
  foundation::Bundle::setMainResourceDirectory(std::nullopt);
}

}  // namespace
