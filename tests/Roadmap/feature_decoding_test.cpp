#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "Roadmap/json_data_fetcher.h"
#include "Roadmap/roadmap_feature.h"
#include "Roadmap/roadmap_feature_voting_count.h"
#include "platform/foundation/json_text.h"
#include "platform/foundation/text_error.h"

namespace {

using foundation::parseJson;
using Roadmap::LocalizedItem;
using Roadmap::RoadmapFeature;
using Roadmap::RoadmapFeatureVotingCount;
using testing::HasSubstr;

std::vector<RoadmapFeature> decode(const std::string& text) {
  return Roadmap::decodeRoadmapFeatures(parseJson(text));
}

std::string failureOf(const std::string& text) {
  try {
    decode(text);
  } catch (const foundation::TextError& error) {
    return error.text();
  }
  return "(no failure)";
}

TEST(RoadmapFeed, DecodesEveryFieldInDocumentOrder) {
  const auto features = decode(R"([
    {"id": "dark-mode", "title": "Dark mode", "status": "planned", "description": "Easier on the eyes",
     "localizedTitle": [{"language": "fr", "value": "Mode sombre"}],
     "localizedStatus": [{"language": "fr", "value": "prévu"}],
     "localizedDescription": [{"language": "de", "value": "Dunkel"}, {"language": "fr", "value": "Sombre"}],
     "isFinished": false},
    {"id": "sync", "isFinished": true}
  ])");
  ASSERT_EQ(features.size(), 2u);
  RoadmapFeature expected{"dark-mode",
                          "Dark mode",
                          "planned",
                          "Easier on the eyes",
                          std::vector<LocalizedItem>{{"fr", "Mode sombre"}},
                          std::vector<LocalizedItem>{{"fr", "prévu"}},
                          std::vector<LocalizedItem>{{"de", "Dunkel"}, {"fr", "Sombre"}},
                          false};
  EXPECT_EQ(features[0], expected);
  EXPECT_EQ(features[1].id, "sync");
  EXPECT_EQ(features[1].isFinished, true);
}

TEST(RoadmapFeed, AbsentNullAndUnknownKeysLeaveFieldsAbsent) {
  struct Case {
    std::string document;
    RoadmapFeature feature;
  };
  const Case cases[] = {
      {R"([{"id": "a"}])", RoadmapFeature{"a"}},
      {R"([{"id": "a", "isFinished": null}])", RoadmapFeature{"a"}},
      {R"([{"id": "a", "title": null, "status": null, "description": null, "localizedTitle": null,
            "localizedStatus": null, "localizedDescription": null}])",
       RoadmapFeature{"a"}},
      {R"([{"id": "a", "votes": 3, "extra": {"nested": [1, 2]},
            "localizedTitle": [{"language": "en", "value": "A", "note": "ignored"}]}])",
       RoadmapFeature{"a", std::nullopt, std::nullopt, std::nullopt,
                      std::vector<LocalizedItem>{{"en", "A"}}}},
      {R"([{"id": ""}])", RoadmapFeature{""}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.document);
    const auto features = decode(c.document);
    ASSERT_EQ(features.size(), 1u);
    EXPECT_EQ(features[0], c.feature);
  }
  EXPECT_TRUE(decode("[]").empty());
}

TEST(RoadmapFeed, OneBadFeatureFailsTheWholeDocument) {
  struct Case {
    std::string document;
    std::string fault;
  };
  const Case cases[] = {
      {R"({"id": "a"})", "Expected an array of features"},
      {R"("features")", "Expected an array of features"},
      {R"([{"id": "a"}, {"title": "no id"}])", "Feature 1: The member \"id\" is missing."},
      {R"([{"id": null}])", "\"id\""},
      {R"([{"id": 7}])", "\"id\""},
      {R"([{"id": "a"}, "b"])", "Feature 1: Expected a feature object"},
      {R"([{"id": "a", "title": 3}])", "\"title\""},
      {R"([{"id": "a", "status": ["x"]}])", "\"status\""},
      {R"([{"id": "a", "description": true}])", "\"description\""},
      {R"([{"id": "a", "isFinished": "true"}])", "\"isFinished\""},
      {R"([{"id": "a", "isFinished": 1}])", "\"isFinished\""},
      {R"([{"id": "a", "localizedTitle": {"language": "en", "value": "A"}}])", "\"localizedTitle\""},
      {R"([{"id": "a", "localizedStatus": [{"language": "en"}]}])", "\"localizedStatus\", item 0"},
      {R"([{"id": "a", "localizedDescription": [{"value": "A"}]}])", "\"localizedDescription\", item 0"},
      {R"([{"id": "a", "localizedTitle": [{"language": "en", "value": null}]}])", "\"localizedTitle\""},
      {R"([{"id": "a", "localizedTitle": ["en"]}])", "\"localizedTitle\""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.document);
    EXPECT_THAT(failureOf(c.document), HasSubstr(c.fault));
  }
}

TEST(RoadmapFeed, EncodingWritesIdAndPresentFieldsInDeclarationOrder) {
  const RoadmapFeature onlyId{"a"};
  EXPECT_EQ(foundation::jsonText(foundation::Json(onlyId)), R"({"id":"a"})");
  const RoadmapFeature full{"b",
                            "Title",
                            "done",
                            "Text",
                            std::vector<LocalizedItem>{{"en", "T"}},
                            std::vector<LocalizedItem>{},
                            std::vector<LocalizedItem>{{"fr", "D"}},
                            true};
  EXPECT_EQ(foundation::jsonText(foundation::Json(full)),
            R"({"id":"b","title":"Title","status":"done","description":"Text",)"
            R"("localizedTitle":[{"language":"en","value":"T"}],"localizedStatus":[],)"
            R"("localizedDescription":[{"language":"fr","value":"D"}],"isFinished":true})");
  // What is written reads back as the same feature.
  EXPECT_EQ(decode("[" + foundation::jsonText(foundation::Json(full)) + "]").front(), full);
}

TEST(VotingCountReply, ValueMustBeAJsonIntegerWhenPresent) {
  struct Case {
    std::string body;
    std::optional<std::optional<std::int64_t>> value;  // outer nothing: the body does not decode
  };
  const Case cases[] = {
      {R"({})", std::optional<std::int64_t>{}},
      {R"({"value": null})", std::optional<std::int64_t>{}},
      {R"({"value": 8})", std::optional<std::int64_t>{8}},
      {R"({"value": 0, "namespace": "x", "key": "y"})", std::optional<std::int64_t>{0}},
      {R"({"value": -2})", std::optional<std::int64_t>{-2}},
      {R"({"value": 8.5})", std::nullopt},
      {R"({"value": "8"})", std::nullopt},
      {R"({"value": true})", std::nullopt},
      {R"({"value": 1e30})", std::nullopt},
      {R"([8])", std::nullopt},
      {R"(8)", std::nullopt},
      {R"(<html>Server error</html>)", std::nullopt},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.body);
    try {
      const auto reply = Roadmap::JSONDataFetcher::decodeJSON<RoadmapFeatureVotingCount>(c.body);
      ASSERT_TRUE(c.value.has_value()) << "decoded although it should not";
      EXPECT_EQ(reply.value, *c.value);
    } catch (const foundation::TextError& error) {
      EXPECT_FALSE(c.value.has_value()) << error.text();
    }
  }
}

TEST(VotingCountReply, PrintsItsTypeNameAndField) {
  EXPECT_EQ(Roadmap::describe(RoadmapFeatureVotingCount{8}), "RoadmapFeatureVotingCount(value: Optional(8))");
  EXPECT_EQ(Roadmap::describe(RoadmapFeatureVotingCount{}), "RoadmapFeatureVotingCount(value: nil)");
  EXPECT_EQ(foundation::jsonText(foundation::Json(RoadmapFeatureVotingCount{8})), R"({"value":8})");
  EXPECT_EQ(foundation::jsonText(foundation::Json(RoadmapFeatureVotingCount{})), "{}");
}

}  // namespace
