#include "MarkdownRender/views/image_provider.h"

#include <gtest/gtest.h>

#include "layout_fixture.h"
#include "picture_bytes.h"
#include "platform/concurrency/task.h"
#include "tests/support/loopback_server.h"

namespace MarkdownRender {
namespace {

using testsupport::LoopbackServer;
using testsupport::ScriptedReply;
using ui::Rect;
using ui::testing::type;
using ui::testing::WindowHost;
using Kind = DefaultImageState::Kind;

class ImageProviderTest : public ::testing::Test {
 protected:
  ImageProviderTest() {
    server.reply("GET", "/wide.png", ScriptedReply::text(testing::png(1600, 800, 5669), 200, "image/png"));
    server.reply("GET", "/page.png", ScriptedReply::text("<html></html>", 200, "text/html"));
  }
  std::optional<foundation::URL> url(const std::string& path) {
    return foundation::URL::parse(server.url(path));
  }

  // The states a view model passes through while it loads `url` on a worker, the host running the main queue.
  std::vector<Kind> statesWhileLoading(ui::testing::Host& host, DefaultImageViewModel& model,
                                       const std::optional<foundation::URL>& url) {
    std::vector<Kind> kinds;
    auto watching =
        model.state.publisher().sink([&](const DefaultImageState& s) { kinds.push_back(s.kind); });
    concurrency::Task<void> load([&] { model.loadImage(url, session); });
    EXPECT_TRUE(host.runUntil([&] { return load.isFinished(); }));
    return kinds;
  }

  LoopbackServer server;
  std::shared_ptr<foundation::URLSession> session = std::make_shared<foundation::URLSession>();
  std::shared_ptr<DefaultImageLoader> loader = std::make_shared<DefaultImageLoader>();
};

TEST_F(ImageProviderTest, ABlockImageTakesNoSpaceUntilItsPictureArrivesThenFitsTheWidth) {
  auto gate = std::make_shared<testsupport::PieceGate>();  // holds the body until the test lets it go
  server.reply("GET", "/held.png", ScriptedReply::inPieces({testing::png(1600, 800, 5669)}, gate));
  WindowHost host(
      testing::inCorner(DefaultImageProvider(session, loader).imageView(url("/held.png")), {400, 600}),
      {400, 600});
  EXPECT_EQ(host.frame(type("Color")).size, ui::Size(0, 0));
  gate->open();
  ASSERT_TRUE(host.runUntil([&] { return host.exists(type("ResizeToFitLayout")); })) << host.dump();
  EXPECT_EQ(host.frame(type("ResizeToFitLayout")), Rect(0, 0, 400, 200));
  EXPECT_EQ(host.frame(type("Image")), Rect(0, 0, 400, 200));
}

TEST_F(ImageProviderTest, TheViewModelLeavesNotRequestedOnceAndSettlesInSuccessOrFailure) {
  struct Case {
    const char* name;
    std::optional<foundation::URL> url;
    std::vector<Kind> states;
    std::size_t requests;
  };
  const Case cases[] = {
      {"picture", url("/wide.png"), {Kind::notRequested, Kind::loading, Kind::success}, 1},
      {"404", url("/missing.png"), {Kind::notRequested, Kind::loading, Kind::failure}, 2},
      {"not a picture", url("/page.png"), {Kind::notRequested, Kind::loading, Kind::failure}, 3},
      {"no URL", std::nullopt, {Kind::notRequested, Kind::failure}, 3},  // no request made
  };
  ui::testing::Host host(ui::EmptyView());
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    DefaultImageViewModel model(loader);
    EXPECT_EQ(statesWhileLoading(host, model, c.url), c.states);
    EXPECT_EQ(server.requests().size(), c.requests);
    // A second run finds the state past notRequested and does nothing: no retry, no reload.
    auto before = model.state.get();
    EXPECT_TRUE(statesWhileLoading(host, model, url("/wide.png")).size() == 1);
    EXPECT_EQ(model.state.get(), before);
  }
  EXPECT_EQ(server.requests().size(), 3u);
}

TEST_F(ImageProviderTest, ALoadCancelledWhileWaitingForTheNetworkEndsInFailure) {
  auto gate = std::make_shared<testsupport::PieceGate>();
  server.reply("GET", "/slow.png", ScriptedReply::inPieces({testing::png(10, 10)}, gate));
  ui::testing::Host host(ui::EmptyView());
  DefaultImageViewModel model(loader);
  std::vector<Kind> kinds;
  auto watching = model.state.publisher().sink([&](const DefaultImageState& s) { kinds.push_back(s.kind); });
  concurrency::Task<void> load([&] { model.loadImage(url("/slow.png"), session); });
  // The load asks the main thread to enter `loading`, then waits for the held body.
  EXPECT_TRUE(host.runUntil([&] { return kinds.size() == 2; }));
  EXPECT_TRUE(server.waitForRequests(1));
  load.cancel();
  EXPECT_TRUE(host.runUntil([&] { return load.isFinished(); }));
  gate->open();
  EXPECT_EQ(kinds, (std::vector<Kind>{Kind::notRequested, Kind::loading, Kind::failure}));
  EXPECT_EQ(loader->cachedCount(), 0u);
}

TEST_F(ImageProviderTest, TheSecondViewOfAPictureFindsItInTheCache) {
  ui::testing::Host host(ui::EmptyView());
  DefaultImageViewModel first(loader), second(loader);
  statesWhileLoading(host, first, url("/wide.png"));
  statesWhileLoading(host, second, url("/wide.png"));
  EXPECT_EQ(second.state.get().kind, Kind::success);
  EXPECT_EQ(second.state.get().image, first.state.get().image);
  EXPECT_EQ(server.requests().size(), 1u);
}

TEST_F(ImageProviderTest, InlinePicturesAreLoadedThroughTheLoaderAtTheirNaturalSize) {
  DefaultInlineImageProvider provider(session, loader);
  WindowHost host(testing::inCorner(provider.inlineImage(*url("/wide.png"), "a wide picture"), {400, 1000}),
                  {400, 1000});
  EXPECT_EQ(host.frame(type("Image")).size, ui::Size(1600, 800));
  EXPECT_THROW(provider.inlineImage(*url("/page.png"), "not a picture"), URLError);
}

TEST_F(ImageProviderTest, AnyImageProviderGivesTheWrappedProvidersView) {
  struct Fixed final : ImageProvider {
    ui::AnyView imageView(const std::optional<foundation::URL>& url) const override {
      return ui::Text::verbatim(url ? url->absoluteString() : "none");
    }
  };
  AnyImageProvider any{Fixed()};
  ui::testing::Host host(ui::VStack(any.imageView(url("/x.png")), any.imageView(std::nullopt)));
  EXPECT_TRUE(host.exists(ui::testing::text(server.url("/x.png"))));
  EXPECT_TRUE(host.exists(ui::testing::text("none")));
}

}  // namespace
}  // namespace MarkdownRender
