// Typed keys: registered defaults, reading, writing, removing, and surviving a restart.
#include "settings_store/key.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <unordered_set>

#include "platform/foundation/log.h"
#include "sample_types.h"
#include "test_suite.h"

namespace {

using Defaults::Key;
using Defaults::testing::TemporarySuite;
using foundation::PlistValue;

TEST(Key, RegistersItsDefaultAndFallsBackToIt) {
  TemporarySuite suite;
  Key<int> key("count", 7, suite.suite());
  EXPECT_EQ(suite->objectForKey("count"), PlistValue(7));
  EXPECT_EQ(Defaults::get(key), 7);
  Defaults::set(key, 3);
  EXPECT_EQ(Defaults::get(key), 3);
  EXPECT_EQ(suite->persistentDomain().at("count"), PlistValue(3));
  key.removeStoredValue();
  EXPECT_EQ(Defaults::get(key), 7);
  EXPECT_FALSE(suite->persistentDomain().contains("count"));
}

TEST(Key, OptionalKeyWithoutDefaultReadsEmptyAndRemovesOnEmptyWrite) {
  TemporarySuite suite;
  Key<std::optional<int>> key("maybe", suite.suite());
  EXPECT_EQ(suite->objectForKey("maybe"), std::nullopt);
  EXPECT_EQ(Defaults::get(key), std::nullopt);
  Defaults::set(key, std::optional<int>(5));
  EXPECT_EQ(suite->objectForKey("maybe"), PlistValue(5));
  EXPECT_EQ(Defaults::get(key), 5);
  Defaults::set(key, std::optional<int>());
  EXPECT_EQ(suite->objectForKey("maybe"), std::nullopt);
}

TEST(Key, DefaultClosureRegistersNothingAndRunsAtEveryRead) {
  TemporarySuite suite;
  int calls = 0;
  Key<std::string> key("computed", suite.suite(), [&calls] { return "call " + std::to_string(++calls); });
  EXPECT_EQ(suite->objectForKey("computed"), std::nullopt);
  EXPECT_EQ(Defaults::get(key), "call 1");
  EXPECT_EQ(Defaults::get(key), "call 2");
  EXPECT_EQ(key.currentDefault(), "call 3");
}

TEST(Key, UnreadableStoredValueReadsAsDefaultAndStaysInPlace) {
  TemporarySuite suite;
  Key<sample::Profile> key("profile", sample::Profile{"Default", 1}, suite.suite());
  suite->setObject(PlistValue(R"({"name":42})"), "profile");
  EXPECT_EQ(Defaults::get(key), (sample::Profile{"Default", 1}));
  EXPECT_EQ(suite->objectForKey("profile"), PlistValue(R"({"name":42})"));

  Key<int> number("number", 1, suite.suite());
  suite->setObject(PlistValue("many"), "number");
  EXPECT_EQ(Defaults::get(number), 1);
  EXPECT_EQ(suite->objectForKey("number"), PlistValue("many"));
  suite->setObject(PlistValue("5"), "number");  // JSON text of the earlier format
  EXPECT_EQ(Defaults::get(number), 5);
}

TEST(Key, AFailedConversionOnWriteKeepsTheStoredValue) {
  TemporarySuite suite;
  Key<sample::Score> key("score", sample::Score{0}, suite.suite());
  Defaults::set(key, sample::Score{4});
  foundation::LogCapture log;
  Defaults::set(key, sample::Score{std::nan("")});
  EXPECT_EQ(log.lines().size(), 1u);  // the encoder's message is the only trace
  EXPECT_EQ(suite->objectForKey("score"), PlistValue(R"({"value":4.0})"));
  EXPECT_EQ(Defaults::get(key), sample::Score{4});
}

TEST(Key, DefaultWithoutStoredFormIsNotRegisteredButStillRead) {
  TemporarySuite suite;
  foundation::LogCapture log;
  Key<sample::Score> key("score", sample::Score{INFINITY}, suite.suite());
  EXPECT_EQ(suite->objectForKey("score"), std::nullopt);
  EXPECT_EQ(Defaults::get(key).value, INFINITY);
}

TEST(Key, ReadingAndWritingThroughAnotherSuite) {
  TemporarySuite a;
  TemporarySuite b;
  Key<std::string> key("name", "default", a.suite());
  b->setObject(PlistValue("from b"), "name");
  EXPECT_EQ(Defaults::valueOrDefault(*b, key), "from b");
  EXPECT_EQ(Defaults::get(key), "default");
  Defaults::storeValue(*b, std::string("written to b"), key);
  EXPECT_EQ(b->objectForKey("name"), PlistValue("written to b"));
  EXPECT_EQ(a->persistentDomain().count("name"), 0u);
}

TEST(Key, ModifyWritesBackAlsoWhenTheChangeThrows) {
  TemporarySuite suite;
  Key<std::vector<std::string>> key("list", {}, suite.suite());
  Defaults::modify(key, [](std::vector<std::string>& list) { list.push_back("a"); });
  EXPECT_EQ(Defaults::get(key), (std::vector<std::string>{"a"}));
  EXPECT_THROW(Defaults::modify(key,
                                [](std::vector<std::string>& list) {
                                  list.push_back("b");
                                  throw std::runtime_error("stop");
                                }),
               std::runtime_error);
  EXPECT_EQ(Defaults::get(key), (std::vector<std::string>{"a", "b"}));
}

TEST(Key, SurvivesARestart) {
  TemporarySuite suite;
  {
    Key<sample::Engine> engine("engine", sample::Engine::turbo, suite.suite());
    Key<std::vector<sample::Profile>> profiles("profiles", {}, suite.suite());
    Key<ui::Color> color("color", ui::Color::controlBackgroundColor(), suite.suite());
    Defaults::set(engine, sample::Engine::large);
    Defaults::set(profiles, {{"A", 1}, {"B", 2}});
    Defaults::set(color, ui::Color(0.1, 0.2, 0.3));
  }
  suite.close();  // the last instance of the suite goes; the next one reads the file
  std::ifstream file(suite.directory() / "Quillo" / "settings.plist");
  const std::string text((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
  const auto onDisk = foundation::readXMLPropertyList(text);
  ASSERT_TRUE(onDisk.isDictionary());
  EXPECT_EQ(onDisk.dictionaryValue()->at("engine"), PlistValue(R"("gpt-4")"));
  EXPECT_EQ(onDisk.dictionaryValue()->count("color"), 1u);
  auto reopened = suite.open();
  Key<sample::Engine> engine("engine", sample::Engine::turbo, reopened);
  Key<std::vector<sample::Profile>> profiles("profiles", {}, reopened);
  Key<ui::Color> color("color", ui::Color::controlBackgroundColor(), reopened);
  EXPECT_EQ(Defaults::get(engine), sample::Engine::large);
  EXPECT_EQ(Defaults::get(profiles), (std::vector<sample::Profile>{{"A", 1}, {"B", 2}}));
  EXPECT_EQ(Defaults::get(color), ui::Color(0.1, 0.2, 0.3));
}

TEST(Key, AKeyMadeOverAStoredValueKeepsReadingIt) {
  TemporarySuite suite;
  suite->setObject(PlistValue(9), "count");
  Key<int> key("count", 1, suite.suite());
  EXPECT_EQ(Defaults::get(key), 9);
  key.removeStoredValue();
  EXPECT_EQ(Defaults::get(key), 1);
}

TEST(Key, TheLastRegistrationWinsWhileEachKeyKeepsItsOwnFallback) {
  TemporarySuite suite;
  Key<int> first("shared", 1, suite.suite());
  Key<int> second("shared", 2, suite.suite());
  EXPECT_EQ(suite->objectForKey("shared"), PlistValue(2));
  EXPECT_EQ(Defaults::get(first), 2);  // the suite reports the registered 2
  Key<int> computed("shared", suite.suite(), [] { return 3; });
  EXPECT_EQ(Defaults::get(computed), 2);
}

TEST(Key, KeysAreEqualByNameAndSuite) {
  TemporarySuite a;
  TemporarySuite b;
  Key<int> number("same", 1, a.suite());
  Key<std::string> text("same", "x", a.open());
  Key<int> elsewhere("same", 1, b.suite());
  Key<int> other("other", 1, a.suite());
  EXPECT_TRUE(static_cast<const Defaults::AnyKey&>(number) == text);
  EXPECT_EQ(std::hash<Defaults::AnyKey>{}(number), std::hash<Defaults::AnyKey>{}(text));
  EXPECT_FALSE(static_cast<const Defaults::AnyKey&>(number) == elsewhere);
  EXPECT_FALSE(static_cast<const Defaults::AnyKey&>(number) == other);
}

TEST(Key, RemovingSeveralKeysNamesOrEverything) {
  TemporarySuite suite;
  Key<int> a("a", 1, suite.suite());
  Key<int> b("b", 2, suite.suite());
  Defaults::set(a, 10);
  Defaults::set(b, 20);
  Defaults::removeStoredValues({a, b});
  EXPECT_EQ(Defaults::get(a), 1);
  EXPECT_EQ(Defaults::get(b), 2);

  suite->setObject(PlistValue("x"), "c");
  suite->setObject(PlistValue("y"), "d");
  Defaults::removeStoredValues(std::vector<std::string>{"c", "missing"}, *suite);
  EXPECT_EQ(suite->objectForKey("c"), std::nullopt);
  EXPECT_EQ(suite->objectForKey("d"), PlistValue("y"));

  Defaults::set(a, 10);
  Defaults::removeAllStoredValues(*suite);
  EXPECT_TRUE(suite->persistentDomain().empty());
  EXPECT_EQ(suite->objectForKey("a"), PlistValue(1));  // registrations stay
}

TEST(Key, UsableKeyNames) {
  struct Case {
    const char* name;
    bool isUsable;
  };
  const Case cases[] = {
      {"plainName", true},    {"", true},    {"@at", false},       {"has.dot", false}, {"end.", false},
      {"caf\xC3\xA9", false}, {"a@b", true}, {"with space", true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(Defaults::isUsableKeyName(c.name), c.isUsable);
  }
}

}  // namespace
