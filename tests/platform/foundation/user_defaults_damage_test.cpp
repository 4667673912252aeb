// What a settings file survives: damaged values, things in its way, writers killed while saving, and saves
// that cannot reach the disk.
#include <fcntl.h>
#include <fmt/format.h>
#include <grp.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <functional>
#include <random>
#include <string>
#include <vector>

#include "platform/foundation/log.h"
#include "platform/foundation/notification_center.h"
#include "platform/foundation/user_defaults.h"
#include "tests/platform/foundation/random_text.h"
#include "tests/platform/foundation/temporary_folder.h"

namespace foundation {
namespace {

namespace fs = std::filesystem;
using testing::fileBytes;
using testing::filesIn;
using testing::TemporaryFolder;
using testing::writeFileBytes;

std::vector<std::string> namesIn(const fs::path& folder) {
  std::vector<std::string> names;
  for (const auto& file : filesIn(folder)) names.push_back(file.filename().string());
  return names;
}

std::size_t countContaining(const std::vector<std::string>& names, std::string_view part) {
  return static_cast<std::size_t>(std::count_if(names.begin(), names.end(), [&](const std::string& name) {
    return name.find(part) != std::string::npos;
  }));
}

// The one file in the folder whose name contains `part`.
fs::path onlyFileContaining(const fs::path& folder, std::string_view part) {
  std::vector<fs::path> found;
  for (const auto& file : filesIn(folder)) {
    if (file.filename().string().find(part) != std::string::npos) found.push_back(file);
  }
  if (found.size() != 1) throw std::runtime_error("expected one file containing " + std::string(part));
  return found.front();
}

void writeAll(int fd, std::string_view bytes) {
  while (!bytes.empty()) {
    const ssize_t n = ::write(fd, bytes.data(), bytes.size());
    if (n <= 0) return;
    bytes.remove_prefix(static_cast<std::size_t>(n));
  }
}

std::string readAll(int fd) {
  std::string bytes;
  char buffer[4096];
  for (ssize_t n; (n = ::read(fd, buffer, sizeof buffer)) > 0;)
    bytes.append(buffer, static_cast<std::size_t>(n));
  return bytes;
}

// Runs `body` in a child process as an ordinary user ("nobody" when the tests run as root, so that file
// permissions hold) and gives back the text it returned.
std::string inUnprivilegedChild(const std::function<std::string()>& body) {
  int channel[2];
  if (::pipe(channel) != 0) throw std::runtime_error("pipe failed");
  const pid_t child = ::fork();
  if (child < 0) throw std::runtime_error("fork failed");
  if (child == 0) {
    ::close(channel[0]);
    if (::geteuid() == 0 && (::setgroups(0, nullptr) != 0 || ::setgid(65534) != 0 || ::setuid(65534) != 0)) {
      writeAll(channel[1], "could not become an ordinary user");
      ::_exit(1);
    }
    writeAll(channel[1], body());
    ::_exit(0);
  }
  ::close(channel[1]);
  std::string text = readAll(channel[0]);
  ::close(channel[0]);
  int status = 0;
  ::waitpid(child, &status, 0);
  return text;
}

TEST(UserDefaultsDamage, EveryValueTheStoreAcceptsReadsBackAfterARestart) {
  TemporaryFolder folder;
  testing::RandomText random(7);
  PlistValue::Dictionary written;
  {
    auto suite = UserDefaults::suite("round-trip", folder.path());
    auto store = [&](std::string key, PlistValue value) {
      suite->setObject(value, key);
      written.insert_or_assign(std::move(key), std::move(value));
    };
    store(std::string("a\0key", 5), std::string("a pasted prompt\0with a NUL", 26));
    for (int i = 0; i < 150; ++i) {
      std::string key = random.next(6);
      if (i % 3 == 0) {
        store(std::move(key),
              PlistValue::Array{random.next(), PlistValue::Dictionary{{random.next(4), random.next()}}});
      } else {
        store(std::move(key), random.next());
      }
    }
  }
  auto restarted = UserDefaults::suite("round-trip", folder.path());
  EXPECT_EQ(restarted->persistentDomain(), written);
  EXPECT_EQ(namesIn(folder.path() / "Quillo"), std::vector<std::string>{"round-trip.plist"});
}

TEST(UserDefaultsDamage, FilesWrittenBeforeWithRawOrReferencedControlBytesAreReadWhole) {
  TemporaryFolder folder;
  const fs::path file = folder.path() / "Quillo" / "older.plist";
  writeFileBytes(file, std::string("<plist version=\"1.0\"><dict><key>prompt</key><string>a&#0;b</string>"
                                   "<key>raw</key><string>x\x01\xFFy</string></dict></plist>"));
  LogCapture capture;
  auto suite = UserDefaults::suite("older", folder.path());
  EXPECT_EQ(suite->objectForKey("prompt"), PlistValue(std::string("a\0b", 3)));
  EXPECT_EQ(suite->objectForKey("raw"), PlistValue("x\x01\xFFy"));
  EXPECT_TRUE(capture.lines().empty());
  EXPECT_EQ(namesIn(file.parent_path()), std::vector<std::string>{"older.plist"});
}

TEST(UserDefaultsDamage, OneDamagedValueCostsOnlyItself) {
  TemporaryFolder folder;
  const fs::path file = folder.path() / "Quillo" / "damaged.plist";
  const std::string bytes =
      "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<plist version=\"1.0\">\n<dict>\n"
      "\t<key>apiKey</key>\n\t<string>sk-kept</string>\n"
      "\t<key>broken number</key>\n\t<integer>12x</integer>\n"
      "\t<key>count</key>\n\t<integer>3</integer>\n"
      "\t<key>broken text</key>\n\t<string>&#xD800;</string>\n"
      "\t<key>nested</key>\n\t<dict>\n\t\t<key>inner</key>\n\t\t<true/>\n\t</dict>\n"
      "</dict>\n</plist>\n";
  writeFileBytes(file, bytes);
  const PlistValue::Dictionary good = {
      {"apiKey", "sk-kept"}, {"count", 3}, {"nested", PlistValue::Dictionary{{"inner", true}}}};

  LogCapture capture;
  {
    auto suite = UserDefaults::suite("damaged", folder.path());
    EXPECT_EQ(suite->persistentDomain(), good);
  }
  ASSERT_EQ(capture.lines().size(), 1u);
  EXPECT_NE(capture.lines()[0].find("keeps the 3 values"), std::string::npos) << capture.lines()[0];

  // The damaged file is kept aside as it was; the good values are on disk at once.
  const auto names = namesIn(file.parent_path());
  ASSERT_EQ(names.size(), 2u);
  EXPECT_EQ(fileBytes(onlyFileContaining(file.parent_path(), ".corrupt-")), bytes);
  EXPECT_EQ(readXMLPropertyList(fileBytes(file)), PlistValue(good));
  EXPECT_EQ(UserDefaults::suite("damaged", folder.path())->persistentDomain(), good);
}

TEST(UserDefaultsDamage, AFolderInTheWayIsMovedAsideAndTheNextWriteLandsOnDisk) {
  TemporaryFolder folder;
  const fs::path file = folder.path() / "Quillo" / "obstacle.plist";
  fs::create_directories(file);
  writeFileBytes(file / "inside", "kept");
  LogCapture capture;
  {
    auto suite = UserDefaults::suite("obstacle", folder.path());
    EXPECT_EQ(suite->objectForKey("k"), std::nullopt);
    suite->setObject(1, "k");
  }
  ASSERT_EQ(capture.lines().size(), 1u);
  EXPECT_NE(capture.lines()[0].find("moved"), std::string::npos) << capture.lines()[0];
  EXPECT_TRUE(fs::is_regular_file(file));
  EXPECT_EQ(readXMLPropertyList(fileBytes(file)), PlistValue(PlistValue::Dictionary{{"k", 1}}));
  const fs::path aside = onlyFileContaining(file.parent_path(), ".corrupt-");
  EXPECT_EQ(fileBytes(aside / "inside"), "kept");
  for (const auto& failure : UserDefaults::currentSaveFailures()) EXPECT_NE(failure.file, file);
  EXPECT_EQ(UserDefaults::suite("obstacle", folder.path())->objectForKey("k"), PlistValue(1));
}

TEST(UserDefaultsDamage, AFileTheUserMayNotReadIsMovedAsideAndTheNextWriteLandsOnDisk) {
  TemporaryFolder folder;
  const fs::path settings = folder.path() / "Quillo";
  const fs::path file = settings / "private.plist";
  const std::string bytes = writeXMLPropertyList(PlistValue::Dictionary{{"old", 1}});
  writeFileBytes(file, bytes);
  fs::permissions(folder.path(), fs::perms::owner_all | fs::perms::group_exec | fs::perms::others_exec);
  fs::permissions(settings, fs::perms::all);
  fs::permissions(file, fs::perms::none);

  const std::string seen = inUnprivilegedChild([&] {
    auto suite = UserDefaults::suite("private", folder.path());
    const bool isEmpty = suite->persistentDomain().empty();
    suite->setObject(2, "new");
    return std::string(isEmpty ? "empty" : "not empty");
  });
  fs::permissions(file, fs::perms::owner_read | fs::perms::owner_write);
  EXPECT_EQ(seen, "empty");
  EXPECT_EQ(readXMLPropertyList(fileBytes(file)), PlistValue(PlistValue::Dictionary{{"new", 2}}));
  const fs::path aside = onlyFileContaining(settings, ".corrupt-");
  fs::permissions(aside, fs::perms::owner_read);
  EXPECT_EQ(fileBytes(aside), bytes);
}

TEST(UserDefaultsDamage, SomethingInTheWayThatCannotBeMovedKeepsChangesInMemoryAndIsSaidOnce) {
  TemporaryFolder folder;
  const fs::path settings = folder.path() / "Quillo";
  const fs::path file = settings / "stuck.plist";
  fs::create_directories(file);
  writeFileBytes(file / "inside", "kept");
  const auto readable = fs::perms::owner_all | fs::perms::group_read | fs::perms::group_exec |
                        fs::perms::others_read | fs::perms::others_exec;
  fs::permissions(folder.path(), readable);
  fs::permissions(file, readable);
  fs::permissions(file / "inside", fs::perms::owner_read | fs::perms::owner_write | fs::perms::others_read);
  // Nobody but the owner may write the settings folder, so what is in the way cannot be moved.
  fs::permissions(settings, readable & ~fs::perms::owner_write);

  const std::string seen = inUnprivilegedChild([&] {
    int announced = 0;
    std::string reason;
    auto token = NotificationCenter::defaultCenter().addObserver(
        std::string(UserDefaults::saveFailureNotification), nullptr, nullptr, [&](const Notification& note) {
          ++announced;
          reason = note.userInfoValue<UserDefaults::SaveFailure>("failure")->reason;
        });
    LogCapture capture;
    auto suite = UserDefaults::suite("stuck", folder.path());
    suite->setObject(1, "k");
    suite->setObject(2, "k");
    return fmt::format("value {}, announced {}, listed {}, logged {}, reason mentions moving: {}",
                       describe(suite->objectForKey("k").value_or("none")), announced,
                       UserDefaults::currentSaveFailures().size(), capture.lines().size(),
                       reason.find("moved aside") != std::string::npos);
  });
  fs::permissions(settings, fs::perms::owner_all);
  EXPECT_EQ(seen, "value 2, announced 1, listed 1, logged 1, reason mentions moving: true");
  EXPECT_TRUE(fs::is_directory(file));
  EXPECT_EQ(fileBytes(file / "inside"), "kept");
  EXPECT_EQ(namesIn(settings), std::vector<std::string>{"stuck.plist"});
}

TEST(UserDefaultsDamage, AFailedSaveIsSaidOnceUntilASaveSucceeds) {
  TemporaryFolder folder;
  // A file where the settings folder should be: no save can succeed.
  writeFileBytes(folder.path() / "Quillo", "not a folder");
  auto suite = UserDefaults::suite("failing", folder.path());
  std::vector<UserDefaults::SaveFailure> announced;
  std::vector<std::optional<PlistValue>> seenByObserver;
  auto token = NotificationCenter::defaultCenter().addObserver(
      std::string(UserDefaults::saveFailureNotification), nullptr, nullptr, [&](const Notification& note) {
        announced.push_back(*note.userInfoValue<UserDefaults::SaveFailure>("failure"));
        seenByObserver.push_back(suite->objectForKey("k"));  // observers may use the suite
      });
  LogCapture capture;
  suite->setObject(1, "k");
  suite->setObject(2, "k");
  ASSERT_EQ(announced.size(), 1u);
  EXPECT_EQ(announced[0].suiteName, "failing");
  EXPECT_EQ(announced[0].file, suite->filePath());
  EXPECT_FALSE(announced[0].reason.empty());
  EXPECT_NE(announced[0].message().find(suite->filePath().string()), std::string::npos);
  EXPECT_EQ(seenByObserver[0], PlistValue(1));
  EXPECT_EQ(UserDefaults::currentSaveFailures(), announced);
  EXPECT_EQ(suite->objectForKey("k"), PlistValue(2));  // kept in memory
  EXPECT_EQ(capture.lines().size(), 1u);

  // Once the obstacle is gone, the next save lands with every change made meanwhile.
  fs::remove(folder.path() / "Quillo");
  suite->setObject("x", "other");
  EXPECT_TRUE(UserDefaults::currentSaveFailures().empty());
  EXPECT_EQ(readXMLPropertyList(fileBytes(suite->filePath())),
            PlistValue(PlistValue::Dictionary{{"k", 2}, {"other", "x"}}));

  // A later failure is said again.
  fs::remove_all(folder.path() / "Quillo");
  writeFileBytes(folder.path() / "Quillo", "not a folder");
  suite->setObject(3, "k");
  EXPECT_EQ(announced.size(), 2u);
  EXPECT_EQ(UserDefaults::currentSaveFailures().size(), 1u);
}

TEST(UserDefaultsDamage, StaleTemporaryFilesGoWhenTheSuiteLoadsButNeverThoseOfALiveWriter) {
  TemporaryFolder folder;
  const fs::path settings = folder.path() / "Quillo";
  for (const char* name : {"s.plist.tmp-abc123", "s.plist.tmp-ZZZZZZ"})
    writeFileBytes(settings / name, "<plist><di");
  const std::vector<std::string> unrelated = {
      "s.plist.corrupt-20240101T000000Z",  // moved aside earlier: the user's data
      "s.plist.tmp-abcdefg",               // not a name this suite's writer makes
      "s.plist.tmp-ab.plist",              // another suite's settings file
      "t.plist.tmp-abc123",                // another suite's temporary file
  };
  for (const auto& name : unrelated) writeFileBytes(settings / name, "keep me");
  writeFileBytes(folder.path() / "precious", "keep me");
  fs::create_symlink(folder.path() / "precious", settings / "s.plist.tmp-link01");

  // A writer in another process, still at work.
  int ready[2];
  int finish[2];
  ASSERT_EQ(::pipe(ready), 0);
  ASSERT_EQ(::pipe(finish), 0);
  const pid_t writer = ::fork();
  ASSERT_GE(writer, 0);
  if (writer == 0) {
    ::close(ready[0]);
    ::close(finish[1]);
    const int fd = ::open((settings / "s.plist.tmp-live01").c_str(), O_CREAT | O_WRONLY | O_CLOEXEC, 0600);
    ::flock(fd, LOCK_EX);
    writeAll(ready[1], "r");
    char go = 0;
    [[maybe_unused]] const ssize_t n = ::read(finish[0], &go, 1);  // returns when the parent closes its end
    ::_exit(0);
  }
  ::close(ready[1]);
  ::close(finish[0]);
  char byte = 0;
  ASSERT_EQ(::read(ready[0], &byte, 1), 1);

  std::vector<std::string> expected = unrelated;
  expected.push_back("s.plist.tmp-link01");
  expected.push_back("s.plist.tmp-live01");
  std::sort(expected.begin(), expected.end());
  {
    auto suite = UserDefaults::suite("s", folder.path());
    EXPECT_EQ(suite->objectForKey("k"), std::nullopt);
    EXPECT_EQ(namesIn(settings), expected);
  }
  EXPECT_EQ(fileBytes(folder.path() / "precious"), "keep me");

  // The writer dies without finishing: the next load removes its file too.
  ::close(finish[1]);
  ::waitpid(writer, nullptr, 0);
  ::close(ready[0]);
  UserDefaults::suite("s", folder.path())->synchronize();
  std::erase(expected, "s.plist.tmp-live01");
  EXPECT_EQ(namesIn(settings), expected);
}

// The kill loop: a child process saves large values over and over and is killed with SIGKILL at moments
// drawn from a fixed seed. After every kill the file is whole and no older than before, and the next load
// leaves no temporary file.
TEST(UserDefaultsDamage, AWriterKilledAtAnyMomentLeavesNoTornFileAndNoTemporaryFileAfterTheNextLoad) {
  TemporaryFolder folder;
  const fs::path settings = folder.path() / "Quillo";
  const std::string payload(16 * 1024, 'q');
  std::mt19937 random(28);

  // Each progress byte says that one save has finished; the parent spins for a random part of a save's
  // length after one of them, measured in polls of the channel, and then kills the writer.
  struct Writer {
    pid_t pid = -1;
    int progress = -1;
    ~Writer() {
      if (pid > 0) {
        ::kill(pid, SIGKILL);
        ::waitpid(pid, nullptr, 0);
      }
      if (progress >= 0) ::close(progress);
    }
  };
  auto previousCount = [](const UserDefaults& suite) -> std::int64_t {
    const auto value = suite.dictionaryForKey("value");
    return value ? *value->at("count").integerValue() : 0;
  };
  auto startWriter = [&](Writer& writer) {
    int channel[2];
    ASSERT_EQ(::pipe2(channel, O_CLOEXEC), 0);
    writer.pid = ::fork();
    ASSERT_GE(writer.pid, 0);
    if (writer.pid == 0) {
      ::close(channel[0]);
      auto suite = UserDefaults::suite("killed", folder.path());
      for (std::int64_t count = previousCount(*suite) + 1;; ++count) {
        suite->setObject(PlistValue::Dictionary{{"count", count}, {"text", std::to_string(count) + payload}},
                         "value");
        writeAll(channel[1], "s");
      }
    }
    ::close(channel[1]);
    writer.progress = channel[0];
  };
  auto waitForSave = [](int progress) {
    char byte = 0;
    return ::read(progress, &byte, 1) == 1;
  };
  // Polls the channel (without waiting) until a save finishes; the number of polls.
  auto pollsUntilSave = [](int progress) {
    const int flags = ::fcntl(progress, F_GETFL);
    ::fcntl(progress, F_SETFL, flags | O_NONBLOCK);
    std::uint64_t polls = 0;
    char byte = 0;
    while (::read(progress, &byte, 1) != 1) ++polls;
    ::fcntl(progress, F_SETFL, flags);
    return polls;
  };

  std::uint64_t pollsPerSave = 1;
  {
    Writer writer;
    startWriter(writer);
    ASSERT_TRUE(waitForSave(writer.progress));
    for (int i = 0; i < 3; ++i) pollsPerSave = std::max(pollsPerSave, pollsUntilSave(writer.progress));
  }

  std::int64_t lastCount = 0;
  int killsThatLeftATemporaryFile = 0;
  for (int round = 0; round < 50; ++round) {
    SCOPED_TRACE(round);
    {
      Writer writer;
      startWriter(writer);
      ASSERT_TRUE(waitForSave(writer.progress));
      const int flags = ::fcntl(writer.progress, F_GETFL);
      ::fcntl(writer.progress, F_SETFL, flags | O_NONBLOCK);
      char byte = 0;
      for (std::uint64_t polls = std::uniform_int_distribution<std::uint64_t>(0, pollsPerSave)(random);
           polls > 0; --polls) {
        [[maybe_unused]] const ssize_t n = ::read(writer.progress, &byte, 1);
      }
    }  // killed here

    const auto names = namesIn(settings);
    killsThatLeftATemporaryFile += countContaining(names, ".tmp-") > 0;
    ASSERT_EQ(countContaining(names, ".corrupt-"), 0u);
    const PlistValue file = readXMLPropertyList(fileBytes(settings / "killed.plist"));  // never torn
    const auto& value = file.dictionaryValue()->at("value");
    const std::int64_t count = *value.dictionaryValue()->at("count").integerValue();
    ASSERT_EQ(*value.dictionaryValue()->at("text").stringValue(), std::to_string(count) + payload);
    ASSERT_GE(count, lastCount);
    lastCount = count;

    auto loaded = UserDefaults::suite("killed", folder.path());
    ASSERT_EQ(loaded->objectForKey("value"), value);
    ASSERT_EQ(namesIn(settings), std::vector<std::string>{"killed.plist"});
  }
  // The kills did land while saves were under way.
  EXPECT_GT(killsThatLeftATemporaryFile, 0);
}

}  // namespace
}  // namespace foundation
