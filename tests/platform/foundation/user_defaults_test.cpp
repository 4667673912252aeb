#include "platform/foundation/user_defaults.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <map>
#include <mutex>
#include <set>
#include <stdexcept>
#include <thread>

#include "platform/foundation/log.h"
#include "platform/foundation/text_error.h"
#include "tests/platform/foundation/temporary_folder.h"

namespace foundation {
namespace {

using testing::fileBytes;
using testing::filesIn;
using testing::TemporaryFolder;
using testing::writeFileBytes;

constexpr auto allOptions = ObservingOptions::newValue | ObservingOptions::oldValue | ObservingOptions::prior;

// Collects the records an observer receives; safe to feed from several threads.
struct Recorder {
  std::mutex mutex;
  std::vector<KeyValueChange> changes;
  KeyValueObserver observer() {
    return [this](const KeyValueChange& change) {
      std::lock_guard lock(mutex);
      changes.push_back(change);
    };
  }
};

TEST(UserDefaults, ValuesOfEveryKindSurviveARestart) {
  TemporaryFolder folder;
  const PlistValue::Dictionary values = {
      {"flag", true},
      {"count", 42},
      {"ratio", 0.25},
      {"name", "Quillo & <friends>"},
      {"blob", PlistValue::Data{0, 1, 2, 255}},
      {"when", PlistValue::Date(std::chrono::seconds(1700000000))},
      {"list", PlistValue::Array{1, "two"}},
      {"nested", PlistValue::Dictionary{{"inner", false}}},
  };
  {
    auto suite = UserDefaults::suite("com.example.restart", folder.path());
    for (const auto& [key, value] : values) suite->setObject(value, key);
  }
  EXPECT_TRUE(std::filesystem::exists(folder.path() / "Quillo" / "com.example.restart.plist"));
  auto reopened = UserDefaults::suite("com.example.restart", folder.path());
  for (const auto& [key, value] : values) {
    SCOPED_TRACE(key);
    EXPECT_EQ(reopened->objectForKey(key), value);
  }
  EXPECT_EQ(reopened->persistentDomain(), values);
}

TEST(UserDefaults, TwoInstancesOfOneSuiteShareState) {
  TemporaryFolder folder;
  auto first = UserDefaults::suite("shared", folder.path());
  auto second = UserDefaults::suite("shared", folder.path());
  auto other = UserDefaults::suite("other", folder.path());
  EXPECT_TRUE(first->isSameSuite(*second));
  EXPECT_FALSE(first->isSameSuite(*other));

  Recorder recorder;
  auto token = second->addObserver("k", ObservingOptions::newValue, recorder.observer());
  first->registerDefaults({{"d", 1}});
  first->setObject(5, "k");
  EXPECT_EQ(second->objectForKey("k"), PlistValue(5));
  EXPECT_EQ(second->objectForKey("d"), PlistValue(1));
  EXPECT_EQ(other->objectForKey("k"), std::nullopt);
  ASSERT_EQ(recorder.changes.size(), 1u);
  EXPECT_EQ(recorder.changes[0].newValue, PlistValue(5));
}

TEST(UserDefaults, SeesWhatAnotherProcessWroteAndKeepsItWhenWriting) {
  TemporaryFolder folder;
  auto suite = UserDefaults::suite("s", folder.path());
  suite->setObject("mine", "a");
  // Another process replaces the file as this one does: a new file renamed over the old one.
  const auto file = suite->filePath();
  writeFileBytes(file.string() + ".other",
                 writeXMLPropertyList(PlistValue::Dictionary{{"a", "mine"}, {"b", "theirs"}}));
  std::filesystem::rename(file.string() + ".other", file);

  EXPECT_EQ(suite->objectForKey("b"), PlistValue("theirs"));
  suite->setObject("also mine", "c");
  EXPECT_EQ(readXMLPropertyList(fileBytes(file)),
            PlistValue(PlistValue::Dictionary{{"a", "mine"}, {"b", "theirs"}, {"c", "also mine"}}));

  std::filesystem::remove(file);
  EXPECT_EQ(suite->objectForKey("a"), std::nullopt);
}

TEST(UserDefaults, ASecondProcessSeesWhatTheFirstWroteAndBack) {
  TemporaryFolder folder;
  auto suite = UserDefaults::suite("processes", folder.path());
  suite->setObject("parent", "written by");
  const pid_t child = ::fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    auto inChild = UserDefaults::suite("processes", folder.path());
    const bool sawParent = inChild->stringForKey("written by") == "parent";
    inChild->setObject("child", "answered by");
    ::_exit(sawParent ? 0 : 1);
  }
  int status = 0;
  ASSERT_EQ(::waitpid(child, &status, 0), child);
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 0);
  EXPECT_EQ(suite->stringForKey("answered by"), "child");
  EXPECT_EQ(suite->stringForKey("written by"), "parent");
}

TEST(UserDefaults, AnInterruptedWriteLeavesTheOldFileWholeAndRead) {
  TemporaryFolder folder;
  std::filesystem::path file;
  std::filesystem::path leftover;
  {
    auto suite = UserDefaults::suite("atomic", folder.path());
    file = suite->filePath();
    suite->setObject("first", "value");
    const std::string before = fileBytes(file);

    detail::setBeforeRenameHookForTesting([&](const std::filesystem::path& temporary) {
      leftover = temporary;
      throw std::runtime_error("power lost");
    });
    LogCapture capture;
    suite->setObject("second", "value");
    detail::setBeforeRenameHookForTesting(nullptr);

    EXPECT_EQ(fileBytes(file), before);
    ASSERT_TRUE(std::filesystem::exists(leftover));
    EXPECT_EQ(leftover.parent_path(), file.parent_path());
    EXPECT_EQ(readXMLPropertyList(fileBytes(leftover)),
              PlistValue(PlistValue::Dictionary{{"value", "second"}}));
    EXPECT_EQ(capture.lines().size(), 1u);
  }
  // The next run reads the old file whole and removes the stray temporary file.
  auto restarted = UserDefaults::suite("atomic", folder.path());
  EXPECT_EQ(restarted->objectForKey("value"), PlistValue("first"));
  EXPECT_FALSE(std::filesystem::exists(leftover));
  EXPECT_EQ(filesIn(file.parent_path()), std::vector<std::filesystem::path>{file});
  restarted->setObject("third", "value");
  auto again = UserDefaults::suite("atomic-reader", folder.path());
  EXPECT_EQ(readXMLPropertyList(fileBytes(file)), PlistValue(PlistValue::Dictionary{{"value", "third"}}));
}

TEST(UserDefaults, AnUnreadableFileIsMovedAsideAndTheSuiteStartsEmpty) {
  struct Case {
    const char* name;
    std::string bytes;
  };
  const Case cases[] = {
      {"truncated", fileBytes("fixtures/corrupt/truncated.plist")},
      {"not a property list", fileBytes("fixtures/corrupt/not_a_plist.plist")},
      {"array at the top", fileBytes("fixtures/corrupt/array_top.plist")},
      {"empty", ""},
      {"binary noise", std::string("\0\xFF\xFE<plist>\x01", 11)},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    TemporaryFolder folder;
    const auto file = folder.path() / "Quillo" / "broken.plist";
    writeFileBytes(file, c.bytes);

    LogCapture capture;
    auto suite = UserDefaults::suite("broken", folder.path());
    EXPECT_EQ(suite->objectForKey("name"), std::nullopt);
    EXPECT_TRUE(suite->dictionaryRepresentation().empty());
    ASSERT_EQ(capture.lines().size(), 1u);
    EXPECT_NE(capture.lines()[0].find("moved"), std::string::npos) << capture.lines()[0];

    auto files = filesIn(file.parent_path());
    ASSERT_EQ(files.size(), 1u);
    const auto movedAside = files[0];
    EXPECT_TRUE(movedAside.filename().string().starts_with("broken.plist.corrupt-")) << movedAside;
    EXPECT_EQ(fileBytes(movedAside), c.bytes);

    // Writing afterwards makes a new file and leaves the moved one as it was.
    suite->setObject("fresh", "name");
    EXPECT_EQ(suite->objectForKey("name"), PlistValue("fresh"));
    EXPECT_EQ(fileBytes(movedAside), c.bytes);
    EXPECT_EQ(filesIn(file.parent_path()).size(), 2u);
    EXPECT_EQ(capture.lines().size(), 1u);
  }
}

TEST(UserDefaults, StringForKeyGivesTextsAndTheDecimalTextOfNumbers) {
  TemporaryFolder folder;
  auto suite = UserDefaults::suite("strings", folder.path());
  struct Case {
    const char* key;
    std::optional<PlistValue> stored;
    std::optional<std::string> text;
  };
  const Case cases[] = {
      {"text", "abc", "abc"},
      {"empty", "", ""},
      {"integer", 42, "42"},
      {"negative", -7, "-7"},
      {"real", 1.5, "1.5"},
      {"whole real", 2.0, "2"},
      {"tiny real", 1e-7, "1e-07"},
      {"bool", true, std::nullopt},
      {"data", PlistValue::Data{1}, std::nullopt},
      {"array", PlistValue::Array{"a"}, std::nullopt},
      {"dictionary", PlistValue::Dictionary{{"a", "b"}}, std::nullopt},
      {"absent", std::nullopt, std::nullopt},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.key);
    suite->setObject(c.stored, c.key);
    EXPECT_EQ(suite->stringForKey(c.key), c.text);
  }
  suite->registerDefaults({{"registered", 5}});
  EXPECT_EQ(suite->stringForKey("registered"), "5");
}

TEST(UserDefaults, TypedReadsKeepKindsApart) {
  TemporaryFolder folder;
  auto suite = UserDefaults::suite("typed", folder.path());
  suite->setObject(true, "flag");
  suite->setObject(1, "one");
  suite->setObject(2.5, "real");
  EXPECT_EQ(suite->boolForKey("flag"), true);
  EXPECT_EQ(suite->integerForKey("flag"), std::nullopt);
  EXPECT_EQ(suite->boolForKey("one"), std::nullopt);
  EXPECT_EQ(suite->integerForKey("one"), 1);
  EXPECT_EQ(suite->doubleForKey("one"), 1.0);
  EXPECT_EQ(suite->doubleForKey("real"), 2.5);
  EXPECT_EQ(suite->integerForKey("real"), std::nullopt);
  EXPECT_EQ(suite->arrayForKey("one"), std::nullopt);
}

TEST(UserDefaults, TheRegistrationDomainLivesInMemoryBehindStoredValues) {
  TemporaryFolder folder;
  {
    auto suite = UserDefaults::suite("reg", folder.path());
    suite->registerDefaults({{"size", 7}, {"name", "default"}});
    EXPECT_EQ(suite->objectForKey("size"), PlistValue(7));
    suite->setObject(3, "size");
    EXPECT_EQ(suite->objectForKey("size"), PlistValue(3));
    EXPECT_EQ(suite->dictionaryRepresentation(), (PlistValue::Dictionary{{"size", 3}, {"name", "default"}}));
    EXPECT_EQ(suite->persistentDomain(), (PlistValue::Dictionary{{"size", 3}}));
    suite->removeObject("size");
    EXPECT_EQ(suite->objectForKey("size"), PlistValue(7));
    suite->setObject(std::nullopt, "name");  // no object removes; the registered value stays
    EXPECT_EQ(suite->objectForKey("name"), PlistValue("default"));
    suite->setObject(9, "size");
  }
  auto restarted = UserDefaults::suite("reg", folder.path());
  EXPECT_EQ(restarted->objectForKey("size"), PlistValue(9));
  EXPECT_EQ(restarted->objectForKey("name"), std::nullopt);
}

TEST(UserDefaults, ObserversGetPriorRecordsBeforeEachChange) {
  TemporaryFolder folder;
  auto suite = UserDefaults::suite("observe", folder.path());
  Recorder recorder;
  auto token = suite->addObserver("k", allOptions, recorder.observer());
  suite->setObject(1, "k");
  suite->setObject(2, "k");
  suite->removeObject("k");
  using K = KeyValueChangeKind;
  const std::vector<KeyValueChange> expected = {
      {K::setting, true, std::nullopt, std::nullopt},
      {K::setting, false, 1, std::nullopt},
      {K::setting, true, std::nullopt, 1},
      {K::setting, false, 2, 1},
      {K::removal, true, std::nullopt, 2},
      {K::removal, false, std::nullopt, 2},
  };
  EXPECT_EQ(recorder.changes, expected);
}

TEST(UserDefaults, ObserversReceiveOnlyWhatTheirOptionsAskFor) {
  TemporaryFolder folder;
  auto suite = UserDefaults::suite("options", folder.path());
  suite->setObject("stored", "k");
  struct Case {
    ObservingOptions options;
    std::vector<KeyValueChange> expected;
  };
  using K = KeyValueChangeKind;
  const Case cases[] = {
      {ObservingOptions::none, {{K::setting, false, std::nullopt, std::nullopt}}},
      {ObservingOptions::newValue, {{K::setting, false, "next", std::nullopt}}},
      {ObservingOptions::oldValue, {{K::setting, false, std::nullopt, "stored"}}},
      {ObservingOptions::newValue | ObservingOptions::initial,
       {{K::setting, false, "stored", std::nullopt}, {K::setting, false, "next", std::nullopt}}},
      {ObservingOptions::prior,
       {{K::setting, true, std::nullopt, std::nullopt}, {K::setting, false, std::nullopt, std::nullopt}}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(rawValue(c.options));
    suite->setObject("stored", "k");
    Recorder recorder;
    auto token = suite->addObserver("k", c.options, recorder.observer());
    suite->setObject("next", "k");
    EXPECT_EQ(recorder.changes, c.expected);
  }
}

TEST(UserDefaults, TheInitialRecordArrivesDuringRegistration) {
  TemporaryFolder folder;
  auto suite = UserDefaults::suite("initial", folder.path());
  const auto options = ObservingOptions::newValue | ObservingOptions::oldValue | ObservingOptions::initial;
  Recorder empty;
  auto emptyToken = suite->addObserver("k", options, empty.observer());
  ASSERT_EQ(empty.changes.size(), 1u);
  EXPECT_EQ(empty.changes[0],
            (KeyValueChange{KeyValueChangeKind::setting, false, std::nullopt, std::nullopt}));

  suite->registerDefaults({{"k", 7}});
  Recorder registered;
  auto registeredToken = suite->addObserver("k", options, registered.observer());
  ASSERT_EQ(registered.changes.size(), 1u);
  EXPECT_EQ(registered.changes[0].newValue, PlistValue(7));
  EXPECT_EQ(observingOptionsFromRawValue(7), options);
}

TEST(UserDefaults, RegistrationNotifiesWhenTheEffectiveValueChanges) {
  TemporaryFolder folder;
  auto suite = UserDefaults::suite("registration", folder.path());
  Recorder recorder;
  auto token = suite->addObserver("k", allOptions, recorder.observer());
  suite->registerDefaults({{"k", 1}});
  suite->registerDefaults({{"k", 1}});  // unchanged: nothing
  suite->setObject(5, "k");
  recorder.changes.clear();
  suite->registerDefaults({{"k", 2}});  // hidden behind the stored value: nothing
  EXPECT_TRUE(recorder.changes.empty());
  suite->removeObject("k");
  ASSERT_EQ(recorder.changes.size(), 2u);
  EXPECT_EQ(recorder.changes[1], (KeyValueChange{KeyValueChangeKind::setting, false, 2, 5}));
}

TEST(UserDefaults, RegistrationRecordsComeWithPriorRecords) {
  TemporaryFolder folder;
  auto suite = UserDefaults::suite("registration-prior", folder.path());
  Recorder recorder;
  auto token = suite->addObserver("k", allOptions, recorder.observer());
  suite->registerDefaults({{"k", 1}});
  const std::vector<KeyValueChange> expected = {
      {KeyValueChangeKind::setting, true, std::nullopt, std::nullopt},
      {KeyValueChangeKind::setting, false, 1, std::nullopt},
  };
  EXPECT_EQ(recorder.changes, expected);
}

TEST(UserDefaults, TwoWritingThreadsProduceOneConsistentRecordPerChange) {
  TemporaryFolder folder;
  auto suite = UserDefaults::suite("threads", folder.path());
  std::mutex mutex;
  std::map<std::thread::id, std::vector<KeyValueChange>> byThread;
  auto token = suite->addObserver("k", allOptions, [&](const KeyValueChange& change) {
    std::lock_guard lock(mutex);
    byThread[std::this_thread::get_id()].push_back(change);
  });
  constexpr int writesPerThread = 60;
  auto writer = [&](std::string prefix) {
    auto instance = UserDefaults::suite("threads", folder.path());
    for (int i = 0; i < writesPerThread; ++i) instance->setObject(prefix + std::to_string(i), "k");
  };
  std::thread a(writer, "a");
  std::thread b(writer, "b");
  a.join();
  b.join();

  ASSERT_EQ(byThread.size(), 2u);
  std::map<std::string, std::optional<PlistValue>> chain;  // old value (described) -> new value
  for (const auto& [thread, changes] : byThread) {
    ASSERT_EQ(changes.size(), 2u * writesPerThread);
    for (std::size_t i = 0; i < changes.size(); i += 2) {
      EXPECT_TRUE(changes[i].isPrior);  // every change on a thread is preceded by its prior record
      EXPECT_FALSE(changes[i + 1].isPrior);
      EXPECT_EQ(changes[i + 1].kind, KeyValueChangeKind::setting);
      ASSERT_TRUE(changes[i + 1].newValue);
      const std::string old = changes[i + 1].oldValue ? describe(*changes[i + 1].oldValue) : "none";
      EXPECT_TRUE(chain.emplace(old, changes[i + 1].newValue).second) << "two changes from " << old;
    }
  }
  // Following old → new from the empty key visits every write exactly once and ends at the final value.
  std::string at = "none";
  std::set<std::string> seen;
  while (chain.count(at)) {
    at = describe(*chain[at]);
    EXPECT_TRUE(seen.insert(at).second);
  }
  EXPECT_EQ(seen.size(), 2u * writesPerThread);
  EXPECT_EQ(at, describe(*suite->objectForKey("k")));
}

TEST(UserDefaults, ObserversMayBeRemovedOrAddedDuringDelivery) {
  TemporaryFolder folder;
  auto suite = UserDefaults::suite("reentrant", folder.path());
  int laterCalls = 0;
  int selfCalls = 0;
  int addedCalls = 0;
  ObservationToken later;
  ObservationToken self;
  std::vector<ObservationToken> added;
  auto first = suite->addObserver("k", ObservingOptions::newValue, [&](const KeyValueChange&) {
    later.remove();  // registered after this one: must not be called for this change
    if (added.empty()) {
      added.push_back(
          suite->addObserver("k", ObservingOptions::none, [&](const KeyValueChange&) { ++addedCalls; }));
    }
  });
  self = suite->addObserver("k", ObservingOptions::newValue, [&](const KeyValueChange&) {
    ++selfCalls;
    self.remove();
  });
  later = suite->addObserver("k", ObservingOptions::newValue, [&](const KeyValueChange&) { ++laterCalls; });
  suite->setObject(1, "k");
  suite->setObject(2, "k");
  EXPECT_EQ(laterCalls, 0);
  EXPECT_EQ(selfCalls, 1);
  EXPECT_EQ(addedCalls, 1);  // added during the first change, so only sees the second
  EXPECT_FALSE(self.isActive());
  EXPECT_TRUE(first.isActive());
}

TEST(UserDefaults, AnObserverMayReleaseTheLastInstanceOfItsSuite) {
  TemporaryFolder folder;
  auto suite = UserDefaults::suite("released", folder.path());
  UserDefaults* writer = suite.get();
  int changes = 0;
  auto token = suite->addObserver("k", allOptions, [&](const KeyValueChange& change) {
    if (change.isPrior) {
      suite.reset();
    } else {
      ++changes;
    }
  });
  writer->setObject(1, "k");
  EXPECT_EQ(changes, 1);
  token.remove();
  EXPECT_EQ(UserDefaults::suite("released", folder.path())->objectForKey("k"), PlistValue(1));
}

TEST(UserDefaults, AddingAndRemovingObserversWhileAnotherThreadWritesIsSafe) {
  TemporaryFolder folder;
  auto suite = UserDefaults::suite("churn", folder.path());
  std::atomic<bool> isDone{false};
  std::thread writer([&] {
    for (int i = 0; i < 100; ++i) suite->setObject(i, "k");
    isDone = true;
  });
  std::atomic<int> calls{0};
  while (!isDone) {
    auto owned = std::make_shared<int>(0);
    auto token = suite->addObserver("k", allOptions, [owned, &calls](const KeyValueChange&) {
      ++*owned;
      ++calls;
    });
    token.remove();
  }
  writer.join();
  EXPECT_GE(calls.load(), 0);
}

TEST(UserDefaults, TokensUnregisterWhenDestroyed) {
  TemporaryFolder folder;
  auto suite = UserDefaults::suite("tokens", folder.path());
  int calls = 0;
  {
    auto token = suite->addObserver("k", ObservingOptions::none, [&](const KeyValueChange&) { ++calls; });
    EXPECT_TRUE(token.isActive());
    suite->setObject(1, "k");
    ObservationToken moved = std::move(token);
    EXPECT_FALSE(token.isActive());
    suite->setObject(2, "k");
  }
  suite->setObject(3, "k");
  EXPECT_EQ(calls, 2);
  // A token that outlives its suite is harmless.
  ObservationToken outliving;
  {
    auto shortLived = UserDefaults::suite("short", folder.path());
    outliving = shortLived->addObserver("k", ObservingOptions::none, [](const KeyValueChange&) {});
  }
  outliving.remove();
  EXPECT_FALSE(outliving.isActive());
}

TEST(UserDefaults, TheFileIsPrivateToTheUser) {
  TemporaryFolder folder;
  auto suite = UserDefaults::suite("private", folder.path());
  suite->setObject("secret", "apiKey");
  struct stat info {};
  ASSERT_EQ(::stat(suite->filePath().c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 0777, 0600u);
  ASSERT_EQ(::stat(suite->filePath().parent_path().c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 0777, 0700u);
}

TEST(UserDefaults, SuiteNamesMustBeFileNames) {
  TemporaryFolder folder;
  for (const char* name : {"", ".", "..", "a/b", "../escape"}) {
    SCOPED_TRACE(name);
    EXPECT_THROW(UserDefaults::suite(name, folder.path()), TextError);
  }
}

TEST(UserDefaults, TheConfigurationDirectoryFollowsXDGConfigHome) {
  const char* saved = std::getenv("XDG_CONFIG_HOME");
  const std::string restore = saved ? saved : "";
  ::setenv("XDG_CONFIG_HOME", "/somewhere/config", 1);
  EXPECT_EQ(UserDefaults::configurationDirectory(), std::filesystem::path("/somewhere/config"));
  EXPECT_EQ(UserDefaults::suite("x")->filePath(), std::filesystem::path("/somewhere/config/Quillo/x.plist"));
  ::setenv("XDG_CONFIG_HOME", "relative/ignored", 1);
  if (const char* home = std::getenv("HOME"); home && *home) {
    EXPECT_EQ(UserDefaults::configurationDirectory(), std::filesystem::path(home) / ".config");
  }
  if (saved) {
    ::setenv("XDG_CONFIG_HOME", restore.c_str(), 1);
  } else {
    ::unsetenv("XDG_CONFIG_HOME");
  }
}

TEST(UserDefaults, TheStandardSuiteCanBeReplaced) {
  TemporaryFolder folder;
  auto replacement = UserDefaults::suite("standard-for-test", folder.path());
  UserDefaults::setStandard(replacement);
  EXPECT_EQ(UserDefaults::standard(), replacement);
  UserDefaults::standard()->setObject(false, "KeyboardShortcuts_openChat");
  EXPECT_EQ(replacement->boolForKey("KeyboardShortcuts_openChat"), false);
  UserDefaults::setStandard(nullptr);
}

}  // namespace
}  // namespace foundation
