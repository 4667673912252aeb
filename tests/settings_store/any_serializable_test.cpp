// Settings of no fixed type: what they hold, equality and hashing by kind, storing them.
#include <gtest/gtest.h>

#include <unordered_set>

#include "sample_types.h"
#include "settings_store/key.h"
#include "test_suite.h"

namespace {

using Defaults::AnySerializable;
using Defaults::testing::TemporarySuite;
using foundation::PlistValue;

TEST(AnySerializable, TheEmptyValueIsNilAndWritingItRemovesTheEntry) {
  TemporarySuite suite;
  EXPECT_TRUE(AnySerializable().isNilValue());
  EXPECT_TRUE(AnySerializable(std::nullopt).isNilValue());
  EXPECT_TRUE(AnySerializable(nullptr).isNilValue());
  EXPECT_TRUE(AnySerializable(static_cast<const char*>(nullptr)).isNilValue());
  EXPECT_FALSE(AnySerializable(0).isNilValue());

  Defaults::Key<AnySerializable> key("any", AnySerializable(), suite.suite());
  EXPECT_EQ(suite->objectForKey("any"), std::nullopt);  // an empty default is not registered
  Defaults::set(key, AnySerializable("text"));
  EXPECT_EQ(suite->objectForKey("any"), PlistValue("text"));
  EXPECT_EQ(Defaults::get(key), AnySerializable("text"));
  Defaults::set(key, AnySerializable());
  EXPECT_EQ(suite->objectForKey("any"), std::nullopt);
  EXPECT_TRUE(Defaults::get(key).isNilValue());
}

TEST(AnySerializable, HoldsTheStoredFormOfAValue) {
  const auto record = AnySerializable::of(sample::Profile{"A", 1});
  EXPECT_EQ(record, AnySerializable(R"({"name":"A","age":1})"));
  EXPECT_EQ(record.typed<sample::Profile>(), (sample::Profile{"A", 1}));
  EXPECT_EQ(record.typed<int>(), std::nullopt);

  AnySerializable value = 3;
  EXPECT_EQ(value.typed<int>(), 3);
  EXPECT_EQ(value.typed<double>(), 3.0);
  value.assign(std::vector<std::string>{"x"});
  EXPECT_EQ(value.value(), PlistValue(PlistValue::Array{"x"}));
  value.assign(sample::Score{NAN});  // no stored form: the empty value
  EXPECT_TRUE(value.isNilValue());
}

TEST(AnySerializable, EqualityFollowsTheKindOfTheHeldValue) {
  struct Case {
    const char* what;
    AnySerializable first;
    AnySerializable second;
    bool isEqual;
  };
  const Case cases[] = {
      {"same text", "a", "a", true},
      {"different text", "a", "b", false},
      {"whole number and truth value", 1, true, false},
      {"zero and false", 0, false, false},
      {"whole and fractional number of one value", 2, 2.0, true},
      {"whole and fractional number of different values", 2, 2.5, false},
      {"number and text", 1, "1", false},
      {"character and text", 'x', "x", true},
      {"list and dictionary", AnySerializable::list({}), AnySerializable::dictionary({}), false},
      {"dictionaries in different orders", AnySerializable::dictionary({{"a", 1}, {"b", "x"}}),
       AnySerializable::dictionary({{"b", "x"}, {"a", 1.0}}), true},
      {"dictionaries with different values", AnySerializable::dictionary({{"a", 1}}),
       AnySerializable::dictionary({{"a", 2}}), false},
      {"lists in order", AnySerializable::list({1, "x", true}), AnySerializable::list({1, "x", true}), true},
      {"lists in another order", AnySerializable::list({1, 2}), AnySerializable::list({2, 1}), false},
      {"data blocks", AnySerializable(PlistValue(PlistValue::Data{1})),
       AnySerializable(PlistValue(PlistValue::Data{1})), true},
      {"empty values", AnySerializable(), AnySerializable(), true},
      {"empty value and false", AnySerializable(), false, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(c.first == c.second, c.isEqual);
    if (c.isEqual) {
      EXPECT_EQ(c.first.hashValue(), c.second.hashValue());
    }
  }
}

TEST(AnySerializable, ARepeatedDictionaryKeyKeepsTheLastEntry) {
  EXPECT_EQ(AnySerializable::dictionary({{"a", 1}, {"a", 2}}), AnySerializable::dictionary({{"a", 2}}));
}

TEST(AnySerializable, ServesAsAHashSetElement) {
  std::unordered_set<AnySerializable> set{1, 1.0, "1", true};
  EXPECT_EQ(set.size(), 3u);
}

}  // namespace
