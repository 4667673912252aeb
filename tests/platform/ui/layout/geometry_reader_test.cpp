#include "platform/ui/layout/geometry_reader.h"

#include <fmt/format.h>
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>

#include "layout_fixture.h"
#include "platform/foundation/log.h"
#include "platform/ui/state.h"
#include "platform/ui/views.h"
#include "platform/ui/window_host.h"

namespace ui {
namespace {

using testing::text;
using testing::textContaining;
using testing::type;
using testing::WindowHost;

std::string describe(Size size) { return fmt::format("{} x {}", size.width, size.height); }

// A reader showing its size as text; counts how often its content is built.
AnyView sizeReader(std::shared_ptr<int> builds = std::make_shared<int>()) {
  return GeometryReader([builds](const GeometryProxy& geometry) {
    ++*builds;
    return Text::verbatim(describe(geometry.size()));
  });
}

struct HeightKey {
  using Value = double;
  static double defaultValue() { return 0; }
  static void reduce(double& value, const std::function<double()>& next) { value = std::max(value, next()); }
};

TEST(GeometryReader, SeesTheSizeOfTheFrameItIsIn) {
  WindowHost host(sizeReader().frame(200, 100).font(Font::system(16)), {800, 600});
  ASSERT_TRUE(host.exists(text("200 x 100")));
  // The reader fills the frame, centred in the window; its content sits at its top-left corner.
  EXPECT_EQ(host.frame(type("GeometryReader")), Rect(300, 250, 200, 100));
  EXPECT_EQ(host.frame(text("200 x 100")), Rect(300, 250, 9 * 8, 20));
}

TEST(GeometryReader, StaysAtZeroWithoutLayout) {
  testing::Host host(sizeReader().frame(200, 100));
  EXPECT_TRUE(host.exists(text("0 x 0")));
  // Layout alone reports to nobody: only a hosted tree follows its geometry.
  LaidOut laidOut(sizeReader().frame(200, 100), {800, 600});
  EXPECT_EQ(laidOut.frame(type("GeometryReader")), Rect(300, 250, 200, 100));
  EXPECT_TRUE(laidOut.host().exists(text("0 x 0")));
  EXPECT_FALSE(laidOut.host().graph().needsUpdate());
}

TEST(GeometryReader, TakesTheSpaceLeftInAStack) {
  WindowHost host(
      VStack(HorizontalAlignment::center, 0.0, Text::verbatim("Title"), sizeReader()).font(Font::system(16)),
      {400, 300});
  EXPECT_TRUE(host.exists(text("400 x 280")));
  EXPECT_EQ(host.frame(type("GeometryReader")), Rect(0, 20, 400, 280));
  EXPECT_EQ(host.frame(text("400 x 280")), Rect(0, 20, 9 * 8, 20));
}

TEST(GeometryReader, OffersTenPointsWhereNothingIsOffered) {
  WindowHost host(HStack(sizeReader()).fixedSize().font(Font::system(16)), {400, 300});
  EXPECT_TRUE(host.exists(text("10 x 10")));
}

TEST(GeometryReader, ReadsItsFrameInLocalAndGlobalCoordinates) {
  auto reader = GeometryReader([](const GeometryProxy& geometry) {
    auto local = geometry.frame(GeometryProxy::Space::local);
    auto global = geometry.frame(GeometryProxy::Space::global);
    return Text::verbatim(
        fmt::format("local {} {} global {} {}", local.minX(), local.minY(), global.minX(), global.minY()));
  });
  WindowHost host(VStack(HorizontalAlignment::leading, 0.0, AnyView(Color::red()).frame(std::nullopt, 50),
                         AnyView(reader).padding(10))
                      .font(Font::system(16)),
                  {400, 300});
  EXPECT_TRUE(host.exists(text("local 0 0 global 10 60")));
}

// The reader's frame follows a state its parent changes.
class ResizableBox final : public View {
 public:
  explicit ResizableBox(std::shared_ptr<int> builds) : builds_(std::move(builds)) {}
  AnyView body() const override {
    return VStack(Button("Wider", [width = width_] { width.set(*width + 100); }),
                  sizeReader(builds_).frame(*width_, 50))
        .font(Font::system(16));
  }

 private:
  std::shared_ptr<int> builds_;
  State<double> width_{100.0};
};

TEST(GeometryReader, ContentFollowsTheLaidOutSizeAfterOneUpdate) {
  auto builds = std::make_shared<int>();
  WindowHost host(ResizableBox(builds), {400, 300});
  EXPECT_TRUE(host.exists(text("100 x 50")));
  int before = *builds;
  host.tap(testing::button("Wider"));
  EXPECT_TRUE(host.exists(text("200 x 50")));
  EXPECT_FALSE(host.exists(text("100 x 50")));
  // Once with the parent's change, once with the new size.
  EXPECT_EQ(*builds - before, 2);
  EXPECT_EQ(host.frame(text("200 x 50")).width(), 8 * 8);
}

TEST(GeometryReader, ResizingTheWindowReadsTheNewSizeOnceAndSettles) {
  auto builds = std::make_shared<int>();
  WindowHost host(sizeReader(builds).font(Font::system(16)), {400, 300});
  ASSERT_TRUE(host.exists(text("400 x 300")));
  int before = *builds;
  host.resize({500, 200});
  EXPECT_TRUE(host.exists(text("500 x 200")));
  EXPECT_EQ(*builds - before, 1);
  EXPECT_FALSE(host.graph().needsUpdate());
  host.settle();
  EXPECT_EQ(*builds - before, 1);
  EXPECT_EQ(host.frame(text("500 x 200")), Rect(0, 0, 9 * 8, 20));
}

// A reader in a part of the window that stays as it was while the views around it change: lines are
// added above it (moving it) or below it (leaving it where it is).
class ReaderAmongChangingLines final : public View {
 public:
  explicit ReaderAmongChangingLines(std::shared_ptr<int> builds) : builds_(std::move(builds)) {}
  AnyView body() const override {
    auto builds = builds_;
    auto reader = GeometryReader([builds](const GeometryProxy& geometry) {
      ++*builds;
      return Text::verbatim(fmt::format("at {}", geometry.frame(GeometryProxy::Space::global).minY()));
    });
    return VStack(HorizontalAlignment::leading, 0.0,
                  Button("Above", [above = above_] { above.set(*above + 1); }),
                  Button("Below", [below = below_] { below.set(*below + 1); }),
                  Text::verbatim(std::string(static_cast<std::size_t>(*above_), 'a'))
                      .frame(40, std::nullopt, Alignment::topLeading()),
                  AnyView(reader).frame(100, 30).padding(5),
                  Text::verbatim(std::string(static_cast<std::size_t>(*below_), 'b')))
        .font(Font::system(16))
        .frame(400, 300, Alignment::topLeading());
  }

 private:
  std::shared_ptr<int> builds_;
  State<int> above_{1};
  State<int> below_{1};
};

TEST(GeometryReader, AReaderInAPartKeptAsItWasIsToldWhereItGoesWhenItMoves) {
  auto builds = std::make_shared<int>();
  WindowHost host(ReaderAmongChangingLines(builds), {400, 300});
  const double top = host.frame(type("GeometryReader")).minY();
  ASSERT_TRUE(host.exists(text(fmt::format("at {}", top))));
  int before = *builds;
  // Lines below it leave it where it is: its content is built with the window's (once a tap), never for
  // a new geometry.
  host.tap(testing::button("Below"));
  host.tap(testing::button("Below"));
  EXPECT_TRUE(host.exists(text(fmt::format("at {}", top))));
  EXPECT_EQ(*builds - before, 2);
  // Text above it grows within its line, then wraps onto a second one and moves it down by a line.
  for (int i = 0; i < 4; ++i) host.tap(testing::button("Above"));
  EXPECT_TRUE(host.exists(text(fmt::format("at {}", top))));
  before = *builds;
  host.tap(testing::button("Above"));
  const double moved = host.frame(type("GeometryReader")).minY();
  EXPECT_EQ(moved, top + 20);
  // Once with the window, once with where it went.
  EXPECT_EQ(*builds - before, 2);
  EXPECT_TRUE(host.exists(text(fmt::format("at {}", moved))));
  EXPECT_FALSE(host.graph().needsUpdate());
}

// Measures a text through a clear reader behind it that carries the laid-out height as a preference.
class MeasuredText final : public View {
 public:
  AnyView body() const override {
    return VStack(Text::verbatim(fmt::format("measured {}", *height_)),
                  Text::verbatim("aaaa bbbb cccc")
                      .frame(80, std::nullopt)
                      .background(GeometryReader([](const GeometryProxy& geometry) {
                        return AnyView(Color::clear()).preference<HeightKey>(geometry.size().height);
                      }))
                      .onPreferenceChange<HeightKey>(
                          [height = height_](const double& value) { height.set(value); }))
        .font(Font::system(16));
  }

 private:
  State<double> height_{0.0};
};

TEST(GeometryReader, PreferencesSetInsideCarryTheLaidOutSize) {
  WindowHost host(MeasuredText(), {400, 300});
  // Two lines of 20 points: "aaaa bbbb" fills the 80 points, "cccc" wraps.
  EXPECT_TRUE(host.exists(text("measured 40")));
  EXPECT_FALSE(host.graph().needsUpdate());
}

// Content whose size makes its reader's size change again, and again: a band above the reader is
// tall when the reader was tall and short when it was short.
class Oscillating final : public View {
 public:
  explicit Oscillating(std::shared_ptr<int> builds) : builds_(std::move(builds)) {}
  AnyView body() const override {
    auto builds = builds_;
    return VStack(HorizontalAlignment::center, 0.0, AnyView(Color::red()).frame(std::nullopt, *band_),
                  GeometryReader([builds](const GeometryProxy& geometry) {
                    ++*builds;
                    return AnyView(Color::clear()).preference<HeightKey>(geometry.size().height);
                  }))
        .onPreferenceChange<HeightKey>(
            [band = band_](const double& height) { band.set(height > 150 ? 200 : 100); });
  }

 private:
  std::shared_ptr<int> builds_;
  State<double> band_{0.0};
};

TEST(GeometryReader, ContentThatKeepsChangingItsReaderDoesNotLoopForever) {
  foundation::LogCapture log;
  auto builds = std::make_shared<int>();
  WindowHost host(Oscillating(builds), {400, 300});
  EXPECT_TRUE(
      log.contains("View graph: the views reading their geometry did not settle after the maximum number of "
                   "layout passes"));
  EXPECT_LT(*builds, 100);
  EXPECT_FALSE(host.graph().needsUpdate());
  // Left alone, it stays put.
  int settled = *builds;
  host.settle();
  EXPECT_EQ(*builds, settled);
}

}  // namespace
}  // namespace ui
