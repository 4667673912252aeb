#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <memory>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "Roadmap/feature_voter_count_api.h"
#include "Roadmap/remote_hosts.h"
#include "platform/concurrency/task.h"
#include "platform/foundation/log.h"
#include "platform/foundation/property_list.h"
#include "tests/Roadmap/roadmap_test_support.h"
#include "tests/support/loopback_server.h"

namespace {

using foundation::PlistValue;
using Roadmap::FeatureVoterCountAPI;
using Roadmap::RoadmapFeature;
using Roadmap::VoteResult;
using testing::ElementsAre;
using testing::HasSubstr;
using testing::StartsWith;
using testsupport::LoopbackServer;
using testsupport::ScriptedReply;

constexpr const char* kNamespace = "com.quillo.test";

RoadmapFeature featureWithId(std::string id) { return RoadmapFeature{std::move(id)}; }

RoadmapFeature finishedFeature(std::string id) {
  RoadmapFeature feature{std::move(id)};
  feature.isFinished = true;
  return feature;
}

class VoteRecord : public roadmaptest::DefaultsSandbox {
 protected:
  std::optional<PlistValue> storedRecord() const {
    return defaults()->objectForKey(Roadmap::kRoadmapVotesKey);
  }
  void store(PlistValue value) const { defaults()->setObject(std::move(value), Roadmap::kRoadmapVotesKey); }
};

TEST_F(VoteRecord, HasVotedReadsAnArrayOfStringsOnly) {
  struct Case {
    std::string name;
    std::optional<PlistValue> stored;
    std::vector<std::string> voted;  // of "a", "b", "c"
  };
  const Case cases[] = {
      {"no record", std::nullopt, {}},
      {"two ids", PlistValue(PlistValue::Array{"a", "b"}), {"a", "b"}},
      {"an empty array", PlistValue(PlistValue::Array{}), {}},
      {"an array holding a number", PlistValue(PlistValue::Array{"a", "b", 3}), {}},
      {"an array holding a nested array", PlistValue(PlistValue::Array{"a", PlistValue::Array{"b"}}), {}},
      {"a plain string", PlistValue("a"), {}},
      {"a dictionary", PlistValue(PlistValue::Dictionary{{"a", true}}), {}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    if (c.stored) {
      store(*c.stored);
    } else {
      defaults()->removeObject(Roadmap::kRoadmapVotesKey);
    }
    for (const std::string id : {"a", "b", "c"}) {
      const bool expected = std::find(c.voted.begin(), c.voted.end(), id) != c.voted.end();
      EXPECT_EQ(featureWithId(id).hasVoted(), expected) << id;
    }
  }
}

TEST_F(VoteRecord, SettingVotedAppendsTheIdEachTime) {
  const auto feature = featureWithId("a");
  EXPECT_FALSE(feature.hasVoted());
  feature.setHasVoted(true);
  feature.setHasVoted(true);
  featureWithId("b").setHasVoted(true);
  EXPECT_TRUE(feature.hasVoted());
  EXPECT_EQ(storedRecord(), PlistValue(PlistValue::Array{"a", "a", "b"}));
  // Nothing removes a vote.
  feature.setHasVoted(false);
  EXPECT_TRUE(feature.hasVoted());
  EXPECT_EQ(storedRecord(), PlistValue(PlistValue::Array{"a", "a", "b"}));
}

TEST_F(VoteRecord, ARecordOfTheWrongShapeIsReplacedByTheNewVote) {
  store(PlistValue(PlistValue::Array{"x", 1}));
  featureWithId("a").setHasVoted(true);
  EXPECT_EQ(storedRecord(), PlistValue(PlistValue::Array{"a"}));
  store(PlistValue(42));
  featureWithId("b").setHasVoted(true);
  EXPECT_EQ(storedRecord(), PlistValue(PlistValue::Array{"b"}));
}

TEST_F(VoteRecord, VotesRecordedFromSeveralThreadsAtOnceAreAllKept) {
  constexpr int kThreads = 6;
  constexpr int kVotesPerThread = 25;
  std::vector<std::thread> threads;
  for (int thread = 0; thread < kThreads; ++thread) {
    threads.emplace_back([thread] {
      for (int vote = 0; vote < kVotesPerThread; ++vote) {
        featureWithId(std::to_string(thread) + "-" + std::to_string(vote)).setHasVoted(true);
      }
    });
  }
  for (auto& thread : threads) thread.join();
  const auto record = storedRecord();
  ASSERT_TRUE(record && record->arrayValue());
  EXPECT_EQ(record->arrayValue()->size(), static_cast<std::size_t>(kThreads * kVotesPerThread));
  for (int thread = 0; thread < kThreads; ++thread) {
    for (int vote = 0; vote < kVotesPerThread; ++vote) {
      EXPECT_TRUE(featureWithId(std::to_string(thread) + "-" + std::to_string(vote)).hasVoted());
    }
  }
}

class CounterService : public roadmaptest::DefaultsSandbox {
 protected:
  FeatureVoterCountAPI voter() const { return FeatureVoterCountAPI(kNamespace, server.baseURL()); }
  std::string path(const std::string& action, const std::string& id) const {
    return "/" + action + "/" + kNamespace + "/feature" + id;
  }

  LoopbackServer server;
  foundation::LogCapture log;
};

TEST_F(CounterService, ReadsTheCountOfTheFeaturesCounter) {
  server.reply("GET", path("get", "7"), ScriptedReply::json(R"({"value": 12})"));
  EXPECT_EQ(voter().fetchVoteCount(featureWithId("7")), 12);
  ASSERT_EQ(server.requests().size(), 1u);
  EXPECT_EQ(server.requests()[0].method, "GET");
  EXPECT_EQ(server.requests()[0].path, "/get/com.quillo.test/feature7");
  EXPECT_TRUE(log.lines().empty());
  EXPECT_FALSE(featureWithId("7").hasVoted());
}

TEST_F(CounterService, CountRepliesWithoutAnIntegerGiveZero) {
  struct Case {
    std::string name;
    ScriptedReply reply;
    std::int64_t count;
    std::optional<std::string> failure;  // a substring of the printed description
  };
  const Case cases[] = {
      {"{}", ScriptedReply::json("{}"), 0, std::nullopt},
      {"value null", ScriptedReply::json(R"({"value": null})"), 0, std::nullopt},
      {"value 8", ScriptedReply::json(R"({"value": 8})"), 8, std::nullopt},
      {"value \"8\"", ScriptedReply::json(R"({"value": "8"})"), 0, "\"value\""},
      {"value 8.5", ScriptedReply::json(R"({"value": 8.5})"), 0, "\"value\""},
      {"an HTML error page with status 500",
       ScriptedReply::text("<html><body>Internal Server Error</body></html>", 500, "text/html"), 0,
       "not valid JSON"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    foundation::LogCapture caseLog;
    server.reply("GET", path("get", "a"), c.reply);
    EXPECT_EQ(voter().fetchVoteCount(featureWithId("a")), c.count);
    if (!c.failure) {
      EXPECT_TRUE(caseLog.lines().empty());
      continue;
    }
    const auto lines = caseLog.lines();
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_THAT(lines[0], HasSubstr(*c.failure));
    EXPECT_EQ(lines[1], "Fetching voting count failed with error: " + lines[0]);
  }
}

TEST_F(CounterService, VoteRepliesDecideWhetherTheVoteCountsAndIsRecorded) {
  struct Case {
    std::string name;
    ScriptedReply reply;
    VoteResult result;
    std::string line;  // the printed line, or its start for a failure
  };
  const Case cases[] = {
      {"value 8", ScriptedReply::json(R"({"value": 8})"), VoteResult::counted(8),
       "Successfully voted, count is now: RoadmapFeatureVotingCount(value: Optional(8))"},
      {"{}", ScriptedReply::json("{}"), VoteResult::counted(std::nullopt),
       "Successfully voted, count is now: RoadmapFeatureVotingCount(value: nil)"},
      {"value null", ScriptedReply::json(R"({"value": null, "other": 1})"), VoteResult::counted(std::nullopt),
       "Successfully voted, count is now: RoadmapFeatureVotingCount(value: nil)"},
      {"value \"8\"", ScriptedReply::json(R"({"value": "8"})"), VoteResult::notCounted(), "Voting failed: "},
      {"an HTML error page with status 500",
       ScriptedReply::text("<html><body>Internal Server Error</body></html>", 500, "text/html"),
       VoteResult::notCounted(), "Voting failed: "},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    defaults()->removeObject(Roadmap::kRoadmapVotesKey);
    foundation::LogCapture caseLog;
    server.reply("GET", path("hit", "a"), c.reply);
    const auto result = voter().submitVote(featureWithId("a"));
    EXPECT_EQ(result, c.result);
    EXPECT_EQ(featureWithId("a").hasVoted(), c.result.isCounted());
    ASSERT_EQ(caseLog.lines().size(), 1u);
    if (c.result.isCounted()) {
      EXPECT_EQ(caseLog.lines()[0], c.line);
    } else {
      EXPECT_THAT(caseLog.lines()[0], StartsWith(c.line));
      EXPECT_GT(caseLog.lines()[0].size(), c.line.size());
    }
  }
}

TEST_F(CounterService, ASecondSuccessfulVoteAppendsTheIdAgain) {
  int hits = 0;
  server.handle("GET", path("hit", "a"), [&hits](const testsupport::RecordedRequest&) {
    return ScriptedReply::json("{\"value\": " + std::to_string(++hits) + "}");
  });
  EXPECT_EQ(voter().submitVote(featureWithId("a")).newCount(), 1);
  EXPECT_EQ(voter().submitVote(featureWithId("a")).newCount(), 2);
  EXPECT_EQ(defaults()->objectForKey(Roadmap::kRoadmapVotesKey), PlistValue(PlistValue::Array{"a", "a"}));
}

TEST_F(CounterService, FinishedFeaturesAreNeitherReadNorVotedFor) {
  EXPECT_EQ(voter().fetchVoteCount(finishedFeature("done")), 0);
  EXPECT_EQ(voter().submitVote(finishedFeature("done")), VoteResult::notCounted());
  EXPECT_FALSE(finishedFeature("done").hasVoted());
  EXPECT_TRUE(server.requests().empty());
  EXPECT_TRUE(log.lines().empty());
  // "isFinished": false is an ordinary feature.
  RoadmapFeature open{"open"};
  open.isFinished = false;
  server.reply("GET", path("get", "open"), ScriptedReply::json(R"({"value": 3})"));
  EXPECT_EQ(voter().fetchVoteCount(open), 3);
}

TEST_F(CounterService, UnsafeIdsAndNamespacesAreInvalidAddressesAndSendNothing) {
  struct Case {
    std::string counterNamespace;
    std::string id;
  };
  const Case cases[] = {
      {kNamespace, "a b"}, {kNamespace, "a/b"},   {kNamespace, "../../other"}, {kNamespace, "x?y=1"},
      {kNamespace, "x#y"}, {kNamespace, "a%20b"}, {kNamespace, "caf\xC3\xA9"}, {kNamespace, "a\nb"},
      {"my space", "a"},   {"ns/other", "a"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.counterNamespace + " | " + c.id);
    const FeatureVoterCountAPI api(c.counterNamespace, server.baseURL());
    foundation::LogCapture caseLog;
    EXPECT_EQ(api.fetchVoteCount(featureWithId(c.id)), 0);
    EXPECT_EQ(api.submitVote(featureWithId(c.id)), VoteResult::notCounted());
    EXPECT_THAT(caseLog.lines(), ElementsAre("invalidURL",
                                             "Fetching voting count failed with error: The address is not a "
                                             "valid URL.",
                                             "Voting failed: The address is not a valid URL."));
    EXPECT_FALSE(featureWithId(c.id).hasVoted());
  }
  EXPECT_TRUE(server.requests().empty());
}

TEST_F(CounterService, UnreservedCharactersAreSentAsTheyAre) {
  server.reply("GET", path("get", "A-z_0.9~"), ScriptedReply::json(R"({"value": 5})"));
  EXPECT_EQ(voter().fetchVoteCount(featureWithId("A-z_0.9~")), 5);
  const FeatureVoterCountAPI emptyNamespace("", server.baseURL());
  server.reply("GET", "/get//featurex", ScriptedReply::json(R"({"value": 6})"));
  EXPECT_EQ(emptyNamespace.fetchVoteCount(featureWithId("x")), 6);
}

TEST_F(CounterService, RefusedConnectionGivesZeroAndAnUncountedVote) {
  const FeatureVoterCountAPI api(kNamespace,
                                 "http://127.0.0.1:" + std::to_string(testsupport::unusedLoopbackPort()));
  EXPECT_EQ(api.fetchVoteCount(featureWithId("a")), 0);
  EXPECT_EQ(api.submitVote(featureWithId("a")), VoteResult::notCounted());
  EXPECT_FALSE(featureWithId("a").hasVoted());
  const auto lines = log.lines();
  ASSERT_EQ(lines.size(), 3u);
  EXPECT_EQ(lines[1], "Fetching voting count failed with error: " + lines[0]);
  // The vote is a second request: its description names the same failure, but the transfer's own
  // timing in it may differ.
  EXPECT_TRUE(lines[2].starts_with("Voting failed: Could not connect to the server.")) << lines[2];
}

TEST_F(CounterService, ACountRequestCutOffByCancellingItsTaskGivesZero) {
  auto gate = std::make_shared<testsupport::PieceGate>();
  server.reply("GET", path("get", "a"), ScriptedReply::inPieces({R"({"value": 9})"}, gate));
  const auto api = voter();
  concurrency::Task<std::int64_t> task([api] { return api.fetchVoteCount(featureWithId("a")); });
  ASSERT_TRUE(server.waitForRequests(1));
  task.cancel();
  EXPECT_EQ(task.value(), 0);
  const auto lines = log.lines();
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_EQ(lines[1], "Fetching voting count failed with error: " + lines[0]);
  gate->open();
}

TEST_F(CounterService, VotesRunningAtOnceOnSeveralTasksAreAllRecorded) {
  constexpr int kFeatures = 6;
  for (int index = 0; index < kFeatures; ++index) {
    server.reply("GET", path("hit", std::to_string(index)), ScriptedReply::json(R"({"value": 1})"));
  }
  const auto api = voter();
  std::vector<concurrency::Task<VoteResult>> tasks;
  for (int index = 0; index < kFeatures; ++index) {
    tasks.emplace_back([api, index] { return api.submitVote(featureWithId(std::to_string(index))); });
  }
  for (const auto& task : tasks) EXPECT_EQ(task.value(), VoteResult::counted(1));
  const auto record = defaults()->arrayForKey(Roadmap::kRoadmapVotesKey);
  ASSERT_TRUE(record);
  EXPECT_EQ(record->size(), static_cast<std::size_t>(kFeatures));
  for (int index = 0; index < kFeatures; ++index)
    EXPECT_TRUE(featureWithId(std::to_string(index)).hasVoted());
}

TEST(CounterServiceAddress, DefaultsToTheDeployedCounter) {
  const FeatureVoterCountAPI api("ns");
  EXPECT_EQ(api.serviceAddress(), Roadmap::kVoteCounterService);
  EXPECT_EQ(api.counterNamespace(), "ns");
  EXPECT_EQ(api.counterURLString("hit", RoadmapFeature{"7"}),
            std::string(Roadmap::kVoteCounterService) + "/hit/ns/feature7");
}

}  // namespace
