#include "MarkdownRender/views/image_loader.h"

#include <gtest/gtest.h>

#include <thread>
#include <vector>

#include "picture_bytes.h"
#include "tests/support/loopback_server.h"

namespace MarkdownRender {
namespace {

using testsupport::LoopbackServer;
using testsupport::ScriptedReply;

foundation::URL urlOf(const std::string& text) { return *foundation::URL::parse(text); }

class ImageLoaderTest : public ::testing::Test {
 protected:
  ScriptedReply picture(std::uint32_t wide, std::uint32_t high) {
    return ScriptedReply::text(testing::png(wide, high), 200, "image/png");
  }
  URLErrorCode failureCode(const foundation::URL& url) {
    try {
      loader.image(url, session);
    } catch (const URLError& error) {
      return error.code();
    }
    ADD_FAILURE() << "loaded " << url.absoluteString();
    return URLErrorCode::badServerResponse;
  }

  LoopbackServer server;
  foundation::URLSession session;
  DefaultImageLoader loader;
};

TEST_F(ImageLoaderTest, LoadsAPictureOnceAndThenAnswersFromTheCache) {
  server.reply("GET", "/cat.png", picture(1600, 800));
  auto first = loader.image(urlOf(server.url("/cat.png")), session);
  ASSERT_NE(first, nullptr);
  EXPECT_EQ(first->size(), foundation::Size(1600, 800));
  auto second = loader.image(urlOf(server.url("/cat.png")), session);
  EXPECT_EQ(second, first);
  ASSERT_EQ(server.requests().size(), 1u);
  EXPECT_EQ(server.requests()[0].method, "GET");
}

TEST_F(ImageLoaderTest, AcceptsOnlySuccessfulHTTPResponsesThatArePictures) {
  server.reply("GET", "/created.png", ScriptedReply::text(testing::png(2, 2), 201, "image/png"));
  server.reply("GET", "/moved.png", ScriptedReply::text(testing::png(2, 2), 304, "image/png"));
  server.reply("GET", "/page.png", ScriptedReply::text("<html><body>hello</body></html>", 200, "text/html"));
  server.reply("GET", "/broken.png", ScriptedReply::text(testing::png(2, 2), 500, "image/png"));
  EXPECT_NE(loader.image(urlOf(server.url("/created.png")), session), nullptr);
  EXPECT_EQ(failureCode(urlOf(server.url("/missing.png"))), URLErrorCode::badServerResponse);  // 404
  EXPECT_EQ(failureCode(urlOf(server.url("/moved.png"))), URLErrorCode::badServerResponse);
  EXPECT_EQ(failureCode(urlOf(server.url("/broken.png"))), URLErrorCode::badServerResponse);
  EXPECT_EQ(failureCode(urlOf(server.url("/page.png"))), URLErrorCode::cannotDecodeContentData);
}

TEST_F(ImageLoaderTest, PicturesThatCannotBeDecodedOrAreTooLargeFailAsNotPictures) {
  const std::string damaged = testing::png(640, 480).substr(0, 60);  // cut inside its pixels
  server.reply("GET", "/damaged.png", ScriptedReply::text(damaged, 200, "image/png"));
  server.reply("GET", "/huge.png", ScriptedReply::text(testing::pngHeader(10000, 5001), 200, "image/png"));
  EXPECT_EQ(failureCode(urlOf(server.url("/damaged.png"))), URLErrorCode::cannotDecodeContentData);
  EXPECT_EQ(failureCode(urlOf(server.url("/huge.png"))), URLErrorCode::cannotDecodeContentData);
  EXPECT_EQ(loader.cachedCount(), 0u);
}

TEST_F(ImageLoaderTest, FailuresAreNotCached) {
  EXPECT_EQ(failureCode(urlOf(server.url("/later.png"))), URLErrorCode::badServerResponse);
  server.reply("GET", "/later.png", picture(4, 3));
  EXPECT_EQ(loader.image(urlOf(server.url("/later.png")), session)->size(), foundation::Size(4, 3));
  EXPECT_EQ(server.requests().size(), 2u);
}

TEST_F(ImageLoaderTest, FileAndDataURLsAreNotHTTPResponses) {
  for (auto text : {"file:///etc/hostname", "data:image/png;base64,iVBORw0KGgo="}) {
    SCOPED_TRACE(text);
    EXPECT_EQ(failureCode(urlOf(text)), URLErrorCode::badServerResponse);
  }
}

TEST_F(ImageLoaderTest, TransportFailuresReachTheCallerAsTheSessionReportsThem) {
  auto url = urlOf("http://127.0.0.1:" + std::to_string(testsupport::unusedLoopbackPort()) + "/x.png");
  try {
    loader.image(url, session);
    ADD_FAILURE() << "loaded from a closed port";
  } catch (const URLError&) {
    ADD_FAILURE() << "a refused connection is not a bad response";
  } catch (const foundation::TextError&) {
  }
}

TEST(ImageLoaderLimits, APictureLargerThanAllowedIsNotFetchedToTheEnd) {
  LoopbackServer server;
  foundation::URLSession session;
  DefaultImageLoader loader({.maximumImageBytes = 1000, .cacheCostLimit = 1u << 20});
  server.reply("GET", "/huge.png", ScriptedReply::text(testing::png(10, 10) + std::string(5000, 'x'), 200));
  EXPECT_THROW(loader.image(*foundation::URL::parse(server.url("/huge.png")), session),
               foundation::TextError);
  EXPECT_EQ(loader.cachedCount(), 0u);
}

TEST(ImageLoaderLimits, TheCacheKeepsTheMostRecentlyUsedPicturesWithinItsLimit) {
  LoopbackServer server;
  foundation::URLSession session;
  const std::size_t size = 4;  // the decoded pixel of a picture of one pixel
  DefaultImageLoader loader({.maximumImageBytes = 1u << 20, .cacheCostLimit = 2 * size});
  for (auto path : {"/a.png", "/b.png", "/c.png"})
    server.reply("GET", path, ScriptedReply::text(testing::png(1, 1)));
  server.reply("GET", "/big.png", ScriptedReply::text(testing::png(2, 2)));
  auto url = [&](const char* path) { return *foundation::URL::parse(server.url(path)); };

  loader.image(url("/a.png"), session);
  loader.image(url("/b.png"), session);
  loader.image(url("/a.png"), session);  // a is now the most recently used
  loader.image(url("/c.png"), session);  // b makes room
  EXPECT_NE(loader.cachedImage(url("/a.png")), nullptr);
  EXPECT_EQ(loader.cachedImage(url("/b.png")), nullptr);
  EXPECT_NE(loader.cachedImage(url("/c.png")), nullptr);
  EXPECT_EQ(loader.cachedBytes(), 2 * size);

  EXPECT_NE(loader.image(url("/big.png"), session), nullptr);  // larger than the whole cache: not kept
  EXPECT_EQ(loader.cachedImage(url("/big.png")), nullptr);
  EXPECT_EQ(loader.cachedCount(), 2u);
}

TEST_F(ImageLoaderTest, ServesSeveralThreadsAtOnce) {
  for (int i = 0; i < 4; ++i) server.reply("GET", "/" + std::to_string(i) + ".png", picture(i + 1, 1));
  std::vector<std::thread> threads;
  std::vector<double> widths(8);
  for (std::size_t t = 0; t < widths.size(); ++t) {
    threads.emplace_back([&, t] {
      auto url = urlOf(server.url("/" + std::to_string(t % 4) + ".png"));
      widths[t] = loader.image(url, session)->size().width;
    });
  }
  for (auto& thread : threads) thread.join();
  for (std::size_t t = 0; t < widths.size(); ++t) EXPECT_EQ(widths[t], static_cast<double>(t % 4 + 1));
  EXPECT_EQ(loader.cachedCount(), 4u);
}

}  // namespace
}  // namespace MarkdownRender
