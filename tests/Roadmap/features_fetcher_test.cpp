#include "Roadmap/features_fetcher.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <thread>
#include <vector>

#include "Roadmap/json_data_fetcher.h"
#include "Roadmap/roadmap_feature_voting_count.h"
#include "platform/foundation/log.h"
#include "tests/support/loopback_server.h"

namespace {

using Roadmap::FeaturesFetcher;
using Roadmap::JSONDataFetcher;
using Roadmap::RoadmapFeatureVotingCount;
using testing::ElementsAre;
using testing::HasSubstr;
using testing::StartsWith;
using testsupport::LoopbackServer;
using testsupport::ScriptedReply;

foundation::URL urlOf(const std::string& text) {
  auto url = foundation::URL::parse(text);
  if (!url) throw std::invalid_argument("not a URL: " + text);
  return *url;
}

std::string refusedURL(const std::string& path) {
  return "http://127.0.0.1:" + std::to_string(testsupport::unusedLoopbackPort()) + path;
}

class FeedFetch : public testing::Test {
 protected:
  std::vector<Roadmap::RoadmapFeature> fetch() const {
    return FeaturesFetcher{urlOf(server.url("/roadmap.json"))}.fetch();
  }

  LoopbackServer server;
  foundation::LogCapture log;
};

TEST_F(FeedFetch, GoodFeedGivesItsFeaturesInOrder) {
  server.reply("GET", "/roadmap.json",
               ScriptedReply::json(R"([{"id": "b", "title": "Second"}, {"id": "a", "isFinished": true}])"));
  const auto features = fetch();
  ASSERT_EQ(features.size(), 2u);
  EXPECT_EQ(features[0].id, "b");
  EXPECT_EQ(features[0].title, "Second");
  EXPECT_EQ(features[1].id, "a");
  EXPECT_EQ(features[1].isFinished, true);
  EXPECT_TRUE(log.lines().empty());
  ASSERT_EQ(server.requests().size(), 1u);
  EXPECT_EQ(server.requests()[0].method, "GET");
}

TEST_F(FeedFetch, EmptyFeedGivesNoFeaturesAndPrintsNothing) {
  server.reply("GET", "/roadmap.json", ScriptedReply::json("[]"));
  EXPECT_TRUE(fetch().empty());
  EXPECT_TRUE(log.lines().empty());
}

TEST_F(FeedFetch, BadDocumentsEmptyTheListWithOneErrorLine) {
  struct Case {
    std::string name;
    ScriptedReply reply;
    std::string description;
  };
  const Case cases[] = {
      {"an id given as a number", ScriptedReply::json(R"([{"id": "a"}, {"id": 7}])"), "\"id\""},
      {"a feature without id", ScriptedReply::json(R"([{"title": "x"}])"), "\"id\" is missing"},
      {"an HTML error page with status 500",
       ScriptedReply::text("<html><body>Internal Server Error</body></html>", 500, "text/html"),
       "not valid JSON"},
      {"an empty body", ScriptedReply::text("", 200), "not valid JSON"},
      {"an object at the top level", ScriptedReply::json(R"({"features": []})"), "Expected an array"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    foundation::LogCapture caseLog;
    server.reply("GET", "/roadmap.json", c.reply);
    EXPECT_TRUE(fetch().empty());
    ASSERT_EQ(caseLog.lines().size(), 1u);
    EXPECT_THAT(caseLog.lines()[0], StartsWith("error: "));
    EXPECT_THAT(caseLog.lines()[0], HasSubstr(c.description));
  }
}

TEST_F(FeedFetch, StatusIsNotLookedAt) {
  server.reply("GET", "/roadmap.json", ScriptedReply::json(R"([{"id": "a"}])", 503));
  ASSERT_EQ(fetch().size(), 1u);
}

TEST_F(FeedFetch, RefusedConnectionEmptiesTheListWithOneErrorLine) {
  EXPECT_TRUE(FeaturesFetcher{urlOf(refusedURL("/roadmap.json"))}.fetch().empty());
  ASSERT_EQ(log.lines().size(), 1u);
  EXPECT_THAT(log.lines()[0], StartsWith("error: "));
  EXPECT_GT(log.lines()[0].size(), std::string("error: ").size());
}

TEST(JSONDataFetcherLoad, DecodesTheBodyAsTheRequestedType) {
  LoopbackServer server;
  server.reply("GET", "/count", ScriptedReply::json(R"({"value": 41})", 404));
  EXPECT_EQ(JSONDataFetcher::loadJSON<RoadmapFeatureVotingCount>(server.url("/count")).value, 41);
}

TEST(JSONDataFetcherLoad, InvalidAddressFailsWithInvalidURLWithoutARequest) {
  LoopbackServer server;
  const std::string texts[] = {"", server.url("/get/my space/feature1"), "http://127.0.0.1:1/a b",
                               "ht tp://x"};
  for (const auto& text : texts) {
    SCOPED_TRACE(text);
    try {
      JSONDataFetcher::loadJSON<RoadmapFeatureVotingCount>(text);
      ADD_FAILURE() << "loaded an invalid address";
    } catch (const JSONDataFetcher::Error& error) {
      EXPECT_EQ(error, JSONDataFetcher::Error::invalidURL());
      EXPECT_EQ(Roadmap::printedForm(error), "invalidURL");
    }
  }
  EXPECT_TRUE(server.requests().empty());
}

TEST(JSONDataFetcherLoad, TransportAndDecodingFailuresReachTheCaller) {
  LoopbackServer server;
  server.reply("GET", "/count", ScriptedReply::json(R"({"value": "8"})"));
  EXPECT_THROW(JSONDataFetcher::loadJSON<RoadmapFeatureVotingCount>(server.url("/count")),
               foundation::TextError);
  EXPECT_THROW(JSONDataFetcher::loadJSON<RoadmapFeatureVotingCount>(refusedURL("/count")),
               foundation::TextError);
}

TEST(JSONDataFetcherLoad, TheSharedSessionIsMadeOnceUnderConcurrentFirstUse) {
  std::vector<std::shared_ptr<foundation::URLSession>> sessions(8);
  std::vector<std::thread> threads;
  for (auto& session : sessions) {
    threads.emplace_back([&session] { session = JSONDataFetcher::urlSession(); });
  }
  for (auto& thread : threads) thread.join();
  for (const auto& session : sessions) EXPECT_EQ(session, sessions.front());
  EXPECT_NE(sessions.front(), nullptr);
}

}  // namespace
