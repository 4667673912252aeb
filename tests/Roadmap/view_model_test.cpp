#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <future>
#include <memory>
#include <mutex>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "Roadmap/feature_voter_count_api.h"
#include "Roadmap/roadmap_configuration.h"
#include "Roadmap/roadmap_feature_view_model.h"
#include "Roadmap/roadmap_template.h"
#include "Roadmap/roadmap_view_model.h"
#include "platform/foundation/log.h"
#include "platform/foundation/property_list.h"
#include "platform/foundation/run_loop.h"
#include "tests/Roadmap/roadmap_test_support.h"
#include "tests/support/loopback_server.h"

namespace {

using Roadmap::LocalizedItem;
using Roadmap::RoadmapConfiguration;
using Roadmap::RoadmapFeature;
using Roadmap::RoadmapFeatureViewModel;
using Roadmap::RoadmapViewModel;
using Roadmap::VoteResult;
using testing::ElementsAre;
using testing::ElementsAreArray;
using testsupport::LoopbackServer;
using testsupport::ScriptedReply;

foundation::URL urlOf(const std::string& text) { return *foundation::URL::parse(text); }

std::vector<std::string> idsOf(const std::vector<RoadmapFeature>& features) {
  std::vector<std::string> ids;
  for (const auto& feature : features) ids.push_back(feature.id);
  return ids;
}

RoadmapFeature titled(std::string id, std::optional<std::string> title) {
  RoadmapFeature feature{std::move(id)};
  feature.title = std::move(title);
  return feature;
}

// A vote counter scripted by the test: it answers votes with the given result and counts with the given
// count, each optionally held until the test opens its gate. Thread-safe: one mutex guards the records.
class ScriptedVoter : public Roadmap::FeatureVoter {
 public:
  std::int64_t fetchVoteCount(const RoadmapFeature& feature) const override {
    record(fetched_, feature.id);
    if (countGate_) countGate_->wait();
    return count;
  }
  VoteResult submitVote(const RoadmapFeature& feature) const override {
    record(voted_, feature.id);
    if (voteGate_) voteGate_->wait();
    return voteResult;
  }

  void holdVotes() { voteGate_ = voteRelease_.get_future().share(); }
  void releaseVotes() { voteRelease_.set_value(); }
  void holdCounts() { countGate_ = countRelease_.get_future().share(); }
  void releaseCounts() { countRelease_.set_value(); }

  std::vector<std::string> votedIds() const {
    std::lock_guard lock(mutex_);
    return voted_;
  }
  std::vector<std::string> fetchedIds() const {
    std::lock_guard lock(mutex_);
    return fetched_;
  }

  VoteResult voteResult = VoteResult::counted(1);
  std::int64_t count = 0;

 private:
  void record(std::vector<std::string>& list, const std::string& id) const {
    std::lock_guard lock(mutex_);
    list.push_back(id);
  }

  mutable std::mutex mutex_;
  mutable std::vector<std::string> voted_;
  mutable std::vector<std::string> fetched_;
  std::promise<void> voteRelease_;
  std::promise<void> countRelease_;
  std::optional<std::shared_future<void>> voteGate_;
  std::optional<std::shared_future<void>> countGate_;
};

class RoadmapViewModels : public roadmaptest::DefaultsSandbox {
 protected:
  RoadmapConfiguration configuration(bool shuffledOrder = false, bool allowVotes = true,
                                     bool allowSearching = false) const {
    return RoadmapConfiguration(urlOf(server.url("/roadmap.json")), voter,
                                Roadmap::style(Roadmap::RoadmapTemplate::standard), shuffledOrder, allowVotes,
                                allowSearching);
  }

  void serveFeed(const std::string& json) { server.reply("GET", "/roadmap.json", ScriptedReply::json(json)); }

  std::shared_ptr<RoadmapViewModel> loadedViewModel(const RoadmapConfiguration& configuration) {
    auto viewModel = RoadmapViewModel::make(configuration);
    waitFor(viewModel->initialLoad());
    return viewModel;
  }

  void waitFor(const concurrency::Task<>& task) {
    ASSERT_TRUE(task.isValid());
    ASSERT_TRUE(mainLoop.loop().runUntil([&] { return task.isFinished(); }));
    EXPECT_EQ(task.failure(), nullptr);
  }

  // A view model whose features are set directly, without waiting for the feed.
  std::shared_ptr<RoadmapViewModel> viewModelShowing(std::vector<RoadmapFeature> features) {
    serveFeed("[]");
    auto viewModel = loadedViewModel(configuration());
    viewModel->features.set(std::move(features));
    return viewModel;
  }

  std::shared_ptr<RoadmapFeatureViewModel> rowFor(RoadmapFeature feature, bool allowVotes = true) const {
    return RoadmapFeatureViewModel::make(std::move(feature), configuration(false, allowVotes));
  }

  foundation::ScopedMainRunLoop mainLoop;
  LoopbackServer server;
  std::shared_ptr<ScriptedVoter> voter = std::make_shared<ScriptedVoter>();
  foundation::LogCapture log;
};

TEST_F(RoadmapViewModels, ListStartsEmptyAndLoadsTheFeedOnceInFeedOrder) {
  serveFeed(R"([{"id": "c", "title": "Third"}, {"id": "a"}, {"id": "b", "isFinished": true}])");
  auto viewModel = RoadmapViewModel::make(configuration(false, true, true));
  EXPECT_TRUE(viewModel->features.get().empty());
  EXPECT_EQ(viewModel->searchText.get(), "");
  EXPECT_TRUE(viewModel->allowSearching);
  waitFor(viewModel->initialLoad());
  EXPECT_THAT(idsOf(viewModel->features.get()), ElementsAre("c", "a", "b"));
  EXPECT_EQ(server.requests().size(), 1u);
  mainLoop.loop().runUntilIdle();
  EXPECT_EQ(server.requests().size(), 1u);
}

TEST_F(RoadmapViewModels, ListCopiesTheSearchSwitchOfItsConfiguration) {
  serveFeed("[]");
  for (const bool allowSearching : {false, true}) {
    auto viewModel = loadedViewModel(configuration(false, true, allowSearching));
    EXPECT_EQ(viewModel->allowSearching, allowSearching);
    EXPECT_EQ(viewModel->configuration.allowSearching(), allowSearching);
  }
}

TEST_F(RoadmapViewModels, FailedFeedLeavesTheListEmpty) {
  struct Case {
    std::string name;
    ScriptedReply reply;
  };
  const Case cases[] = {
      {"not JSON", ScriptedReply::text("<html>down for maintenance</html>", 503)},
      {"not an array", ScriptedReply::json(R"({"id": "a"})")},
      {"a feature without id", ScriptedReply::json(R"([{"id": "a"}, {"title": "no id"}])")},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    server.reply("GET", "/roadmap.json", c.reply);
    auto viewModel = loadedViewModel(configuration());
    EXPECT_TRUE(viewModel->features.get().empty());
  }
  EXPECT_EQ(log.lines().size(), 3u);
}

TEST_F(RoadmapViewModels, LoadPublishesTheChangeOnTheMainThread) {
  serveFeed(R"([{"id": "a"}])");
  auto viewModel = RoadmapViewModel::make(configuration());
  int changes = 0;
  bool changedOnMain = true;
  auto subscription = viewModel->objectWillChange.sink([&] {
    ++changes;
    changedOnMain = changedOnMain && foundation::isMainThread();
  });
  waitFor(viewModel->initialLoad());
  EXPECT_EQ(changes, 1);
  EXPECT_TRUE(changedOnMain);
  viewModel->searchText.set("x");
  EXPECT_EQ(changes, 2);
}

TEST_F(RoadmapViewModels, LoadKeepsTheViewModelAliveUntilItEnds) {
  auto gate = std::make_shared<testsupport::PieceGate>();
  server.reply("GET", "/roadmap.json", ScriptedReply::inPieces({R"([{"id": "a"}])"}, gate));
  auto viewModel = RoadmapViewModel::make(configuration());
  const auto load = viewModel->initialLoad();
  std::weak_ptr<RoadmapViewModel> watched = viewModel;
  viewModel.reset();
  EXPECT_FALSE(watched.expired());
  gate->open();
  waitFor(load);
  // The worker lets go of its reference as it ends, just after the task reports itself finished.
  EXPECT_TRUE(mainLoop.loop().runUntil([&] { return watched.expired(); }));
}

TEST_F(RoadmapViewModels, ShuffledOrderIsAPermutationDrawnAnewAtEachLoad) {
  std::vector<std::string> ids;
  std::string feed = "[";
  for (int index = 0; index < 12; ++index) {
    ids.push_back("f" + std::to_string(index));
    feed += (index ? ", " : "") + std::string(R"({"id": ")") + ids.back() + "\"}";
  }
  serveFeed(feed + "]");

  auto viewModel = loadedViewModel(configuration(true));
  std::set<std::vector<std::string>> orders;
  for (int load = 0; load < 4; ++load) {
    if (load > 0) waitFor(viewModel->loadFeatures(viewModel->configuration.roadmapJSONURL()));
    auto shown = idsOf(viewModel->features.get());
    orders.insert(shown);
    std::sort(shown.begin(), shown.end());
    auto sortedIds = ids;
    std::sort(sortedIds.begin(), sortedIds.end());
    EXPECT_EQ(shown, sortedIds);
  }
  // Four draws of 12! orders all alike would be a broken shuffle, not bad luck.
  EXPECT_GT(orders.size(), 1u);

  auto ordered = loadedViewModel(configuration(false));
  EXPECT_EQ(idsOf(ordered->features.get()), ids);
}

TEST_F(RoadmapViewModels, SearchKeepsFeaturesWhoseTitleHoldsTheTextInAnyCase) {
  auto viewModel =
      viewModelShowing({titled("1", "Dark mode"), titled("2", "Export to PDF"), titled("3", std::nullopt),
                        titled("4", "Darker icons"), titled("5", "Ärger über Umlaute")});
  struct Case {
    std::string search;
    std::vector<std::string> kept;
  };
  const Case cases[] = {
      {"", {"1", "2", "3", "4", "5"}},
      {"DARK", {"1", "4"}},
      {"dark m", {"1"}},
      {"pdf", {"2"}},
      {"n/a", {"3"}},
      {"N/A", {"3"}},
      {"/", {"3"}},
      {"ärger", {"5"}},
      {"ÄRGER", {"5"}},
      {"nothing like this", {}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.search);
    viewModel->searchText.set(c.search);
    EXPECT_THAT(idsOf(viewModel->filteredFeatures()), ElementsAreArray(c.kept));
  }
  EXPECT_THAT(idsOf(viewModel->features.get()), ElementsAre("1", "2", "3", "4", "5"));
}

TEST_F(RoadmapViewModels, SearchReadsTheTitleInTheUserLanguageFirst) {
  roadmaptest::LocaleScope locale({{"LANG", "de_DE.UTF-8"}}, {"en", "de"});
  RoadmapFeature localized = titled("1", "Dark mode");
  localized.localizedTitle = std::vector<LocalizedItem>{{"en", "Dark mode"}, {"de", "Dunkelmodus"}};
  RoadmapFeature otherLanguageOnly{"2"};
  otherLanguageOnly.localizedTitle = std::vector<LocalizedItem>{{"fr", "Mode sombre"}};
  auto viewModel = viewModelShowing({localized, otherLanguageOnly});

  struct Case {
    std::string search;
    std::vector<std::string> kept;
  };
  const Case cases[] = {{"dunkel", {"1"}}, {"dark", {}}, {"sombre", {}}, {"N/A", {"2"}}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.search);
    viewModel->searchText.set(c.search);
    EXPECT_THAT(idsOf(viewModel->filteredFeatures()), ElementsAreArray(c.kept));
  }
}

TEST_F(RoadmapViewModels, RowStartsAtZeroAndCopiesTheVoteSwitch) {
  for (const bool allowVotes : {false, true}) {
    auto row = rowFor(titled("a", "A"), allowVotes);
    EXPECT_EQ(row->feature.id, "a");
    EXPECT_EQ(row->canVote, allowVotes);
    EXPECT_EQ(row->voteCount.get(), 0);
    EXPECT_EQ(&row->configuration.voter(), voter.get());
  }
}

TEST_F(RoadmapViewModels, VoteShowsTheNewCountOrOneMoreAndNeverCountsAFailure) {
  struct Case {
    std::string name;
    VoteResult result;
    std::int64_t shownAfter;  // shown before: 5
  };
  const Case cases[] = {
      {"counted with a count", VoteResult::counted(8), 8},
      {"counted without a count", VoteResult::counted(std::nullopt), 6},
      {"not counted", VoteResult::notCounted(), 5},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    voter->voteResult = c.result;
    auto row = rowFor(RoadmapFeature{"a"});
    row->voteCount.set(5);
    waitFor(row->vote());
    EXPECT_EQ(row->voteCount.get(), c.shownAfter);
    EXPECT_FALSE(row->isVoting());
  }
  EXPECT_THAT(voter->votedIds(), ElementsAre("a", "a", "a"));
}

TEST_F(RoadmapViewModels, VoteForAFeatureAlreadyVotedForIsRefusedWithoutAsking) {
  RoadmapFeature feature{"a"};
  feature.setHasVoted(true);
  auto row = rowFor(feature);
  row->voteCount.set(4);
  const auto task = row->vote();
  EXPECT_FALSE(task.isValid());
  mainLoop.loop().runUntilIdle();
  EXPECT_EQ(row->voteCount.get(), 4);
  EXPECT_TRUE(voter->votedIds().empty());
  EXPECT_THAT(log.lines(), ElementsAre("already voted for this, can't vote again"));
}

TEST_F(RoadmapViewModels, SecondVoteWhileTheFirstWaitsForItsReplyIsRefused) {
  voter->voteResult = VoteResult::counted(3);
  voter->holdVotes();
  auto row = rowFor(RoadmapFeature{"a"});
  const auto first = row->vote();
  EXPECT_TRUE(row->isVoting());
  const auto second = row->vote();
  EXPECT_FALSE(second.isValid());
  EXPECT_THAT(log.lines(), ElementsAre("a vote for this is already under way, can't vote again"));
  voter->releaseVotes();
  waitFor(first);
  EXPECT_EQ(row->voteCount.get(), 3);
  EXPECT_THAT(voter->votedIds(), ElementsAre("a"));
}

TEST_F(RoadmapViewModels, VoteKeepsTheRowAliveUntilItsReplyArrives) {
  voter->voteResult = VoteResult::counted(9);
  voter->holdVotes();
  auto row = rowFor(RoadmapFeature{"a"});
  int published = 0;
  auto subscription = row->voteCount.publisher().sink([&](std::int64_t) { ++published; });
  const auto task = row->vote();
  std::weak_ptr<RoadmapFeatureViewModel> watched = row;
  row.reset();
  EXPECT_FALSE(watched.expired());
  voter->releaseVotes();
  waitFor(task);
  EXPECT_EQ(published, 2);  // the initial 0, then 9
  EXPECT_TRUE(mainLoop.loop().runUntil([&] { return watched.expired(); }));
}

TEST_F(RoadmapViewModels, VoteAtTheCounterServiceRecordsItAndRefusesTheNextOne) {
  server.reply("GET", "/hit/com.example.roadmap/featurea", ScriptedReply::json(R"({"value": 8})"));
  const RoadmapConfiguration counted(
      urlOf(server.url("/roadmap.json")),
      std::make_shared<Roadmap::FeatureVoterCountAPI>("com.example.roadmap", server.baseURL()),
      Roadmap::style(Roadmap::RoadmapTemplate::standard), false, true, false);
  auto row = RoadmapFeatureViewModel::make(RoadmapFeature{"a"}, counted);
  waitFor(row->vote());
  EXPECT_EQ(row->voteCount.get(), 8);
  EXPECT_TRUE(row->feature.hasVoted());
  EXPECT_FALSE(row->vote().isValid());
  EXPECT_EQ(server.requests().size(), 1u);
  EXPECT_EQ(row->voteCount.get(), 8);
}

TEST_F(RoadmapViewModels, FailedVoteAtTheCounterServiceLeavesTheCountAndTheRecordAlone) {
  server.reply("GET", "/hit/com.example.roadmap/featurea", ScriptedReply::json(R"({"value": "eight"})"));
  const RoadmapConfiguration counted(
      urlOf(server.url("/roadmap.json")),
      std::make_shared<Roadmap::FeatureVoterCountAPI>("com.example.roadmap", server.baseURL()),
      Roadmap::style(Roadmap::RoadmapTemplate::standard), false, true, false);
  auto row = RoadmapFeatureViewModel::make(RoadmapFeature{"a"}, counted);
  row->voteCount.set(7);
  waitFor(row->vote());
  EXPECT_EQ(row->voteCount.get(), 7);
  EXPECT_FALSE(row->feature.hasVoted());
  // The user can try again.
  EXPECT_TRUE(row->vote().isValid());
}

TEST_F(RoadmapViewModels, CountFetchedOnAWorkerIsShownOnTheMainThread) {
  voter->count = 12;
  auto row = rowFor(RoadmapFeature{"a"});
  bool changedOnMain = false;
  auto subscription = row->objectWillChange.sink([&] { changedOnMain = foundation::isMainThread(); });
  waitFor(concurrency::Task<>([row] { row->fetchVoteCount(); }));
  EXPECT_EQ(row->voteCount.get(), 12);
  EXPECT_TRUE(changedOnMain);
  EXPECT_THAT(voter->fetchedIds(), ElementsAre("a"));
}

TEST_F(RoadmapViewModels, CountFetchCancelledBeforeItsReplyLeavesTheShownCount) {
  voter->count = 0;
  voter->holdCounts();
  auto row = rowFor(RoadmapFeature{"a"});
  row->voteCount.set(12);
  const concurrency::Task<> fetch([row] { row->fetchVoteCount(); });
  fetch.cancel();
  voter->releaseCounts();
  waitFor(fetch);
  EXPECT_EQ(row->voteCount.get(), 12);
}

}  // namespace
