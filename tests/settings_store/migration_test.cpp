// Migration of settings kept as JSON text into their native stored form.
#include "settings_store/migration.h"

#include <gtest/gtest.h>

#include "sample_types.h"
#include "test_suite.h"

namespace {

using Defaults::Key;
using Defaults::testing::TemporarySuite;
using foundation::PlistValue;
using Array = PlistValue::Array;

TEST(Migration, RewritesJsonTextIntoNativeForm) {
  TemporarySuite suite;
  Key<std::vector<std::string>> list("list", {}, suite.suite());
  Key<int> number("number", 0, suite.suite());
  Key<std::map<std::string, double>> map("map", {}, suite.suite());
  Key<std::optional<bool>> flag("flag", suite.suite());
  Key<std::string> text("text", "", suite.suite());
  Key<PlistValue::Data> data("data", {}, suite.suite());
  suite->setObject(PlistValue(R"("AAEC")"), "data");
  suite->setObject(PlistValue(R"(["a","b"])"), "list");
  suite->setObject(PlistValue("5"), "number");
  suite->setObject(PlistValue(R"({"x":1.5,"y":2})"), "map");
  suite->setObject(PlistValue("true"), "flag");
  suite->setObject(PlistValue(R"("quoted")"), "text");

  Defaults::migrateStoredValues(Defaults::Version::v5, list, number, map, flag, text, data);

  EXPECT_EQ(suite->objectForKey("list"), PlistValue(Array{"a", "b"}));
  EXPECT_EQ(suite->objectForKey("number"), PlistValue(5));
  EXPECT_EQ(suite->objectForKey("map"), PlistValue(PlistValue::Dictionary{{"x", 1.5}, {"y", 2.0}}));
  EXPECT_EQ(suite->objectForKey("flag"), PlistValue(true));
  EXPECT_EQ(suite->objectForKey("text"), PlistValue("quoted"));
  EXPECT_EQ(suite->objectForKey("data"), PlistValue(PlistValue::Data{0, 1, 2}));
}

TEST(Migration, LeavesKeysThatDoNotDecodeAsTheyWereAndGoesOn) {
  TemporarySuite suite;
  Key<std::vector<std::string>> broken("broken", {}, suite.suite());
  Key<std::vector<int>> wrongShape("wrongShape", {}, suite.suite());
  Key<std::string> fromNumber("fromNumber", "", suite.suite());
  Key<int> missing("missing", suite.suite(), [] { return 0; });
  Key<int> last("last", 0, suite.suite());
  suite->setObject(PlistValue(R"(["a",)"), "broken");
  suite->setObject(PlistValue(R"(["a"])"), "wrongShape");
  suite->setObject(PlistValue(12), "fromNumber");
  suite->setObject(PlistValue("7"), "last");

  Defaults::migrateStoredValues(Defaults::Version::v5, broken, wrongShape, fromNumber, missing, last);

  EXPECT_EQ(suite->objectForKey("broken"), PlistValue(R"(["a",)"));
  EXPECT_EQ(suite->objectForKey("wrongShape"), PlistValue(R"(["a"])"));
  EXPECT_EQ(suite->objectForKey("fromNumber"), PlistValue(12));
  EXPECT_EQ(suite->objectForKey("missing"), std::nullopt);
  EXPECT_EQ(suite->objectForKey("last"), PlistValue(7));
}

TEST(Migration, CodableValuesAreDecodedAsAWholeJsonValue) {
  TemporarySuite suite;
  Key<std::vector<sample::Profile>> profiles("profiles", {}, suite.suite());
  suite->setObject(PlistValue(R"([{"name":"A","age":1},{"name":"B","age":2}])"), "profiles");
  Defaults::migrateStoredValues(Defaults::Version::v5, profiles);
  EXPECT_EQ(suite->objectForKey("profiles"),
            PlistValue(Array{R"({"name":"A","age":1})", R"({"name":"B","age":2})"}));
}

TEST(Migration, ARegisteredDefaultInTextFormIsWrittenIntoTheSuite) {
  TemporarySuite suite;
  Key<sample::Profile> profile("profile", sample::Profile{"Default", 3}, suite.suite());
  EXPECT_FALSE(suite->persistentDomain().contains("profile"));
  Defaults::migrateStoredValues(Defaults::Version::v5, profile);
  EXPECT_EQ(suite->persistentDomain().at("profile"), PlistValue(R"({"name":"Default","age":3})"));
}

TEST(Migration, VersionHasOneRawValue) {
  EXPECT_EQ(Defaults::rawValue(Defaults::Version::v5), 5);
  EXPECT_EQ(Defaults::fromRawValue(std::type_identity<Defaults::Version>{}, 5), Defaults::Version::v5);
  EXPECT_EQ(Defaults::fromRawValue(std::type_identity<Defaults::Version>{}, 4), std::nullopt);
}

}  // namespace
