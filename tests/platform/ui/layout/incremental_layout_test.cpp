// Views kept from one update to the next keep where they were placed and the platform views that show
// them; whatever an update changes, the frames, the hosted hierarchy and what a click reaches are those of
// the same views shown afresh.
#include <gtest/gtest.h>

#include <iterator>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "platform/appkit/controls.h"
#include "platform/ui/aspect_ratio.h"
#include "platform/ui/inspector.h"
#include "platform/ui/layout/layout_pass.h"
#include "platform/ui/layout/text_measurer.h"
#include "platform/ui/state.h"
#include "platform/ui/views.h"
#include "platform/ui/window_host.h"

namespace ui {
namespace {

using testing::WindowHost;

// A titled row with a button that counts its presses (state of its own) and, on request, a field.
class Row final : public View {
 public:
  Row(std::string title, bool hasField = false) : title_(std::move(title)), hasField_(hasField) {}
  AnyView body() const override {
    AnyView button = Button("Press " + title_.substr(0, title_.find(' ')),
                            [presses = presses_] { presses.set(*presses + 1); });
    if (!hasField_) return VStack(Text::verbatim(title_ + " " + std::to_string(*presses_)), button);
    return VStack(Text::verbatim(title_ + " " + std::to_string(*presses_)), button,
                  TextField("Field " + title_, Binding<std::string>::constant(title_)));
  }
  bool operator==(const Row& other) const { return title_ == other.title_ && hasField_ == other.hasField_; }

 private:
  std::string title_;
  bool hasField_;
  State<int> presses_{0};
};

struct Step {
  std::vector<std::string> rows;  // a title ending in '+' has a field
  int tableRows;
};

AnyView shown(const Step& step) {
  std::vector<AnyView> rows;
  for (const auto& title : step.rows) {
    const bool hasField = !title.empty() && title.back() == '+';
    rows.push_back(Row(hasField ? title.substr(0, title.size() - 1) : title, hasField));
  }
  std::vector<AnyView> tableRows;
  for (int i = 0; i < step.tableRows; ++i) {
    tableRows.push_back(GridRow({Text::verbatim("cell " + std::to_string(i)), Text::verbatim("value")}));
  }
  return ScrollView(VStack(Group(std::move(rows)), Grid(std::move(tableRows)), Text("End")).padding(4));
}

void print(std::ostream& out, const Rect& r) {
  out << " (" << r.minX() << ", " << r.minY() << ", " << r.width() << ", " << r.height() << ")";
}

// Every view in tree order with what layout gave it.
void describe(const LayoutPass& layout, const detail::Node& node, std::ostream& out, int depth = 0) {
  out << std::string(static_cast<std::size_t>(depth) * 2, ' ') << node.typeName();
  if (auto frame = layout.frame(node)) print(out, *frame);
  if (auto control = layout.controlFrame(node)) print(out << " control", *control);
  if (auto content = layout.contentSize(node)) out << " content " << content->width << "x" << content->height;
  out << "\n";
  for (const auto& child : node.children()) describe(layout, *child, out, depth + 1);
}

// The hosted platform views, back to front, with their frames and what they show.
void describe(const appkit::View& view, std::ostream& out, int depth = 0) {
  out << std::string(static_cast<std::size_t>(depth) * 2, ' ') << view.className();
  print(out, view.frame());
  if (auto* button = dynamic_cast<const appkit::Button*>(&view)) out << " '" << button->title() << "'";
  if (auto* field = dynamic_cast<const appkit::TextField*>(&view)) out << " '" << field->stringValue() << "'";
  out << "\n";
  for (const auto& subview : view.subviews()) describe(*subview, out, depth + 1);
}

std::string hierarchy(WindowHost& host) {
  std::ostringstream out;
  describe(host.hostingView(), out);
  return out.str();
}

TEST(IncrementalLayout, EveryUpdateLaysOutAndHostsAsTheSameViewsShownAfresh) {
  const Step steps[] = {
      {{"alpha", "beta+", "gamma"}, 1},
      {{"alpha", "beta grows into a longer title that wraps onto more lines+", "gamma"}, 1},  // in place
      {{"first", "alpha", "beta grows into a longer title that wraps onto more lines+", "gamma"}, 1},
      {{"first", "alpha", "beta+", "gamma"}, 2},  // the table grows a row
      {{"first", "alpha", "beta+", "gamma"}, 3},
      {{"first+", "gamma"}, 3},  // rows leave, one gains a field
      {{"first+", "gamma", "delta"}, 3},
  };
  WindowHost streamed(shown(steps[0]), {300, 400});
  for (const auto& step : steps) {
    SCOPED_TRACE(step.rows.front() + " ... " + std::to_string(step.rows.size()) + " rows");
    streamed.setRoot(shown(step));
    LayoutPass fresh(std::make_shared<FixedMetricTextMeasurer>());
    fresh.layout(*streamed.graph().root(), {300, 400});
    std::ostringstream kept, afresh;
    describe(streamed.hostingView().layout(), *streamed.graph().root(), kept);
    describe(fresh, *streamed.graph().root(), afresh);
    EXPECT_EQ(kept.str(), afresh.str());
    const auto placed = streamed.hostingView().layout().frames();
    EXPECT_EQ(placed.size(), fresh.frames().size());
    EXPECT_EQ(placed.size(), static_cast<std::size_t>(std::distance(placed.begin(), placed.end())));

    WindowHost shownAfresh(shown(step), {300, 400});
    EXPECT_EQ(hierarchy(streamed), hierarchy(shownAfresh));
    EXPECT_EQ(streamed.dump(), shownAfresh.dump());
  }
}

TEST(IncrementalLayout, AClickRightAfterAnUpdateReachesTheControlNowUnderIt) {
  WindowHost host(shown({{"alpha", "beta", "gamma+"}, 1}), {300, 400});
  const Rect before = host.frame(testing::button("Press gamma"));
  // A row inserted above moves the others down; a click lands on what is now under the pointer.
  host.setRoot(shown({{"first", "alpha", "beta", "gamma+"}, 1}));
  const Rect after = host.frame(testing::button("Press gamma"));
  EXPECT_GT(after.minY(), before.minY());
  for (const char* label : {"Press first", "Press beta", "Press gamma"}) {
    SCOPED_TRACE(label);
    const Rect frame = host.frame(testing::button(label));
    auto hit = host.hostingView().hitTest({frame.midX(), frame.midY()});
    ASSERT_NE(hit, nullptr);
    EXPECT_EQ(hit, host.platformView(host.find(testing::button(label))));
  }
  const Rect field = host.frame(testing::textField("Field gamma"));
  EXPECT_EQ(host.hostingView().hitTest({field.midX(), field.midY()}),
            host.platformView(host.find(testing::textField("Field gamma"))));
  host.click(testing::button("Press gamma"));
  EXPECT_NO_THROW(host.find(testing::text("gamma 1")));
  EXPECT_NO_THROW(host.find(testing::text("alpha 0")));
}

TEST(IncrementalLayout, AViewKeptWhereItWasStaysPlacedAfterARowAboveItChangesSize) {
  WindowHost host(shown({{"alpha", "beta", "gamma"}, 0}), {300, 400});
  const Rect gamma = host.frame(testing::text("gamma 0"));
  host.setRoot(shown({{"alpha grows into a longer title that wraps onto more lines", "beta", "gamma"}, 0}));
  const Rect moved = host.frame(testing::text("gamma 0"));
  EXPECT_GT(moved.minY(), gamma.minY());
  EXPECT_EQ(moved.size, gamma.size);
  host.setRoot(shown({{"alpha", "beta", "gamma"}, 0}));
  EXPECT_EQ(host.frame(testing::text("gamma 0")), gamma);
}

// A block of text that compares equal by its text, so an unchanged block is kept as it is.
class Paragraph final : public View {
 public:
  explicit Paragraph(std::string text) : text_(std::move(text)) {}
  AnyView body() const override { return Text::verbatim(text_); }
  bool operator==(const Paragraph& other) const { return text_ == other.text_; }

 private:
  std::string text_;
};

// The wrappers that one block wears.
struct Wrapping {
  double padding = 8;
  double width = 200;
  double offset = 0;
  double opacity = 1;
};

AnyView wrapped(const Wrapping& w) {
  return ScrollView(VStack(AnyView(Paragraph("first block of running text"))
                               .padding(Edges::top, w.padding)
                               .frame(w.width, std::nullopt, Alignment::leading())
                               .offset(w.offset, 0)
                               .opacity(w.opacity),
                           AnyView(Paragraph("second block")).padding(Edges::top, 4)));
}

std::string layoutOf(const LayoutPass& layout, const detail::Node& root) {
  std::ostringstream out;
  describe(layout, root, out);
  return out.str();
}

TEST(IncrementalLayout, AChangedWrapperValueAroundAnUnchangedBlockIsLaidOutAnew) {
  struct Case {
    const char* change;
    Wrapping wrapping;
  };
  const Case cases[] = {
      {"nothing", {}},
      {"padding", {.padding = 20}},
      {"frame width", {.width = 120}},
      {"offset", {.offset = 15}},
      {"opacity", {.opacity = 0.5}},
      {"back to the start", {}},
  };
  WindowHost streamed(wrapped({}), {300, 400});
  for (const auto& c : cases) {
    SCOPED_TRACE(c.change);
    streamed.setRoot(wrapped(c.wrapping));
    LayoutPass fresh(std::make_shared<FixedMetricTextMeasurer>());
    fresh.layout(*streamed.graph().root(), {300, 400});
    EXPECT_EQ(layoutOf(streamed.hostingView().layout(), *streamed.graph().root()),
              layoutOf(fresh, *streamed.graph().root()));
    WindowHost shownAfresh(wrapped(c.wrapping), {300, 400});
    EXPECT_EQ(streamed.dump(), shownAfresh.dump());
    EXPECT_EQ(hierarchy(streamed), hierarchy(shownAfresh));
  }
}

// The first view of a type, in tree order.
const detail::Node* firstOfType(const detail::Node& node, const std::string& type) {
  if (node.typeName() == type) return &node;
  for (const auto& child : node.children()) {
    if (const auto* found = firstOfType(*child, type)) return found;
  }
  return nullptr;
}

TEST(IncrementalLayout, WrappersThatStayTheSameKeepWhatWasWorkedOutForThem) {
  WindowHost host(wrapped({}), {300, 400});
  const auto* outermost = firstOfType(*host.graph().root(), "opacity");
  ASSERT_NE(outermost, nullptr);
  const auto revision = outermost->revision();
  const Rect before = host.frame(testing::text("first block of running text"));
  host.setRoot(wrapped({}));
  EXPECT_EQ(outermost->revision(), revision);
  EXPECT_EQ(host.frame(testing::text("first block of running text")), before);
  host.setRoot(wrapped({.padding = 30}));
  EXPECT_NE(outermost->revision(), revision);
  EXPECT_EQ(host.frame(testing::text("first block of running text")).minY(), before.minY() + 22);
}

struct ReportedKey {
  using Value = std::string;
  static std::string defaultValue() { return {}; }
  static void reduce(std::string& value, const std::function<std::string()>& next) { value += next(); }
};

// A block that reports its text as a preference; equal blocks are kept as they are.
class Reporting final : public View {
 public:
  explicit Reporting(std::string text) : text_(std::move(text)) {}
  AnyView body() const override { return Text::verbatim(text_).preference<ReportedKey>(text_); }
  bool operator==(const Reporting& other) const { return text_ == other.text_; }

 private:
  std::string text_;
};

TEST(IncrementalLayout, APreferenceHandlerReplacedAroundAnUnchangedBlockIsTheOneCalled) {
  auto calls = std::make_shared<std::vector<std::string>>();
  auto shownWith = [calls](const std::string& handler, const std::string& text) {
    return AnyView(Reporting(text))
        .onPreferenceChange<ReportedKey>(
            [calls, handler](const std::string& value) { calls->push_back(handler + ": " + value); });
  };
  WindowHost host(shownWith("first", "a"), {300, 400});
  host.setRoot(shownWith("second", "a"));  // the value stays: nobody is told
  host.setRoot(shownWith("third", "b"));
  EXPECT_EQ(*calls, (std::vector<std::string>{"first: a", "third: b"}));
}

TEST(IncrementalLayout, AViewAskedUnderManyProposalsAnswersEachAsIfAskedAlone) {
  // Unspecified and zero lengths, and lengths that wrap the text or leave it whole, asked in an order
  // that repeats some: the sizes kept for earlier proposals never answer another one.
  const std::vector<ProposedViewSize> proposals{ProposedViewSize::unspecified(),
                                                {0.0, std::nullopt},
                                                {std::nullopt, 0.0},
                                                ProposedViewSize::zero(),
                                                {40.0, std::nullopt},
                                                ProposedViewSize::unspecified(),
                                                {40.0, 10.0},
                                                ProposedViewSize::infinity(),
                                                {0.0, std::nullopt},
                                                {1000.0, std::nullopt}};
  testing::Host host(VStack(Text::verbatim("several words that wrap"), Text::verbatim("more").padding(3))
                         .font(Font::system(16)));
  const auto& root = *host.graph().root();
  LayoutPass asked(std::make_shared<FixedMetricTextMeasurer>());
  for (std::size_t i = 0; i < proposals.size(); ++i) {
    SCOPED_TRACE(i);
    LayoutPass alone(std::make_shared<FixedMetricTextMeasurer>());
    EXPECT_EQ(asked.sizeThatFits(root, proposals[i]), alone.sizeThatFits(root, proposals[i]));
  }
  // The proposals do get different answers, so a size kept for the wrong one would show.
  EXPECT_NE(asked.sizeThatFits(root, ProposedViewSize::unspecified()),
            asked.sizeThatFits(root, {0.0, std::nullopt}));
  EXPECT_NE(asked.sizeThatFits(root, {40.0, std::nullopt}), asked.sizeThatFits(root, {1000.0, std::nullopt}));
}

// Running text inside a chain of views that are each measured through the one view inside them (views
// with a body, padding, fixed size, an environment value), as a table cell is, in a few containers.
class Cell final : public View {
 public:
  explicit Cell(std::string text) : text_(std::move(text)) {}
  AnyView body() const override {
    return AnyView(Paragraph(text_))
        .fixedSize(false, true)
        .lineSpacing(2)
        .padding(Edges::horizontal, 5)
        .padding(1);
  }

 private:
  std::string text_;
};

AnyView cells(const std::vector<std::string>& texts, int container) {
  std::vector<AnyView> views;
  for (const auto& text : texts) views.push_back(AnyView(Cell(text)).padding(Edges::vertical, 2));
  switch (container) {
    case 0:
      return ScrollView(VStack(HorizontalAlignment::center, std::nullopt, views));
    case 1:
      return AnyView(HStack(VerticalAlignment::top, std::nullopt, views))
          .frame(180, std::nullopt, Alignment::topLeading());
    default:
      return VStack(aspectRatio(Grid({GridRow(views)}), 2, ContentMode::fit), Text::verbatim("end"));
  }
}

TEST(IncrementalLayout, TextChangedInsideAChainOfSingleViewsIsLaidOutAsShownAfresh) {
  const std::vector<std::vector<std::string>> steps{
      {"one", "two", "three"}, {"one grows into a longer text that wraps onto more lines", "two", "three"},
      {"one", "two", "three"}, {"one", "", "three and more"},
      {"one", "two"},
  };
  for (int container = 0; container < 3; ++container) {
    SCOPED_TRACE(container);
    WindowHost streamed(cells(steps.front(), container), {300, 400});
    for (const auto& step : steps) {
      SCOPED_TRACE(step.front() + " / " + std::to_string(step.size()));
      streamed.setRoot(cells(step, container));
      LayoutPass fresh(std::make_shared<FixedMetricTextMeasurer>());
      fresh.layout(*streamed.graph().root(), {300, 400});
      EXPECT_EQ(layoutOf(streamed.hostingView().layout(), *streamed.graph().root()),
                layoutOf(fresh, *streamed.graph().root()));
    }
  }
}

}  // namespace
}  // namespace ui
