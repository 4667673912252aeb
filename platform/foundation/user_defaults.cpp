#include "platform/foundation/user_defaults.h"

#include <fcntl.h>
#include <fmt/format.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <map>
#include <mutex>
#include <vector>

#include "platform/foundation/bundle.h"
#include "platform/foundation/log.h"
#include "platform/foundation/notification_center.h"
#include "platform/foundation/text_error.h"

namespace foundation {

namespace fs = std::filesystem;

struct ObservationToken::Registration {
  std::weak_ptr<UserDefaults::State> state;
  std::string key;
  ObservingOptions options = ObservingOptions::none;
  KeyValueObserver observer;
  std::atomic<bool> isActive{true};
};

namespace {

// What identifies one version of a file: an atomic replacement changes the inode, an edit in place the
// size or modification time.
struct FileIdentity {
  dev_t device = 0;
  ino_t inode = 0;
  off_t size = 0;
  std::int64_t modifiedSeconds = 0;
  std::int64_t modifiedNanoseconds = 0;
  bool operator==(const FileIdentity&) const = default;
};

std::optional<FileIdentity> identityOf(const fs::path& file) {
  struct stat info {};
  if (::stat(file.c_str(), &info) != 0) return std::nullopt;
  return FileIdentity{info.st_dev, info.st_ino, info.st_size, static_cast<std::int64_t>(info.st_mtim.tv_sec),
                      static_cast<std::int64_t>(info.st_mtim.tv_nsec)};
}

std::mutex hookMutex;
std::function<void(const fs::path&)> beforeRenameHook;

std::string utcTimestamp() {
  const auto now = std::chrono::system_clock::now();
  const std::time_t seconds = std::chrono::system_clock::to_time_t(now);
  std::tm utc{};
  gmtime_r(&seconds, &utc);
  return fmt::format("{:04}{:02}{:02}T{:02}{:02}{:02}Z", utc.tm_year + 1900, utc.tm_mon + 1, utc.tm_mday,
                     utc.tm_hour, utc.tm_min, utc.tm_sec);
}

struct ScopedDescriptor {
  int fd = -1;
  ScopedDescriptor() = default;
  explicit ScopedDescriptor(int descriptor) : fd(descriptor) {}
  ScopedDescriptor(const ScopedDescriptor&) = delete;
  ScopedDescriptor& operator=(const ScopedDescriptor&) = delete;
  ~ScopedDescriptor() { reset(); }
  void reset(int descriptor = -1) {
    if (fd >= 0) ::close(fd);
    fd = descriptor;
  }
};

// Whether the path still names the file open as `fd` (another process may have removed or replaced it).
bool namesOpenFile(const fs::path& path, int fd) {
  struct stat named {};
  struct stat open {};
  return ::lstat(path.c_str(), &named) == 0 && ::fstat(fd, &open) == 0 && named.st_dev == open.st_dev &&
         named.st_ino == open.st_ino;
}

// The settings file's bytes, or why they cannot be had.
struct FileRead {
  std::optional<std::string> bytes;
  int error = 0;
  // No read will ever succeed here: a folder or other non-file, or a file the user may not read.
  bool isInTheWay = false;
  // The file went away after it was seen.
  bool isGone = false;
};

FileRead readSettingsFile(const fs::path& file) {
  // Non-blocking, so that a FIFO at the path cannot hang the reader.
  ScopedDescriptor descriptor(::open(file.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK));
  if (descriptor.fd < 0) {
    const int error = errno;
    return {std::nullopt, error,
            error == EACCES || error == EPERM || error == ELOOP || error == ENXIO || error == ENODEV,
            error == ENOENT};
  }
  struct stat info {};
  if (::fstat(descriptor.fd, &info) != 0) return {std::nullopt, errno};
  if (!S_ISREG(info.st_mode)) return {std::nullopt, S_ISDIR(info.st_mode) ? EISDIR : EINVAL, true};
  std::string bytes;
  char buffer[65536];
  for (;;) {
    const ssize_t n = ::read(descriptor.fd, buffer, sizeof buffer);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) return {std::nullopt, errno};
    if (n == 0) return {std::move(bytes)};
    bytes.append(buffer, static_cast<std::size_t>(n));
  }
}

// "<suite file name>.tmp-" and the six letters or digits mkstemp chooses, and nothing else: another
// suite's file name may start the same way.
bool isTemporaryFileName(std::string_view name, std::string_view prefix) {
  constexpr std::size_t randomLength = 6;
  if (name.size() != prefix.size() + randomLength || !name.starts_with(prefix)) return false;
  for (const char c : name.substr(prefix.size())) {
    if (!((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9'))) return false;
  }
  return true;
}

std::mutex saveFailuresMutex;
// Every suite that cannot save at the moment, in the order they started failing.
std::vector<UserDefaults::SaveFailure> saveFailures;

}  // namespace

std::string UserDefaults::SaveFailure::message() const {
  return fmt::format(
      "Settings cannot be saved to \u201c{}\u201d ({}). Changes made now are kept only until the application "
      "quits.",
      file.string(), reason);
}

std::vector<UserDefaults::SaveFailure> UserDefaults::currentSaveFailures() {
  std::lock_guard lock(saveFailuresMutex);
  return saveFailures;
}

// The shared state of one suite file. `mutex` guards every member below it; observers are called only
// after it is released.
struct UserDefaults::State {
  State(std::string name, fs::path file) : name(std::move(name)), file(std::move(file)) {}
  // A suite that is gone saves nothing more, so it no longer fails to.
  ~State() { clearSaveFailureLocked(); }

  const std::string name;
  const fs::path file;

  std::mutex mutex;
  PlistValue::Dictionary persistent;
  PlistValue::Dictionary registration;
  // The version of the file that `persistent` reflects (absent: there was no file).
  std::optional<FileIdentity> seen;
  bool hasLoaded = false;
  // Set while the file exists but could not be read or moved aside: it is then never overwritten.
  bool isFileBlocked = false;
  // Set from a failed save (or a blocked file) until a save succeeds.
  bool isSaveFailing = false;
  // Failures to announce once the lock is released.
  std::vector<SaveFailure> unannounced;
  std::multimap<std::string, std::shared_ptr<ObservationToken::Registration>, std::less<>> observers;

  std::optional<PlistValue> effectiveValue(const std::string& key) const {
    if (auto it = persistent.find(key); it != persistent.end()) return it->second;
    if (auto it = registration.find(key); it != registration.end()) return it->second;
    return std::nullopt;
  }

  std::vector<std::shared_ptr<ObservationToken::Registration>> observersOf(std::string_view key) const {
    std::vector<std::shared_ptr<ObservationToken::Registration>> result;
    auto [begin, end] = observers.equal_range(key);
    for (auto it = begin; it != end; ++it) result.push_back(it->second);
    return result;
  }

  // Brings `persistent` up to date with the file when the file is not the version last seen.
  void refreshLocked() {
    const std::optional<FileIdentity> current = identityOf(file);
    if (hasLoaded && current == seen) return;
    if (!hasLoaded) removeStaleTemporaryFilesLocked();
    hasLoaded = true;
    seen = current;
    isFileBlocked = false;
    persistent.clear();
    if (!current) return;
    FileRead read = readSettingsFile(file);
    if (read.isGone) {
      seen = std::nullopt;
      return;
    }
    if (!read.bytes) {
      const std::string reason = fmt::format("it cannot be read: {}", std::strerror(read.error));
      if (read.isInTheWay) return moveAsideLocked(reason, {});
      // Perhaps passing (no descriptors or memory left, an I/O error): keep it untouched and work in memory.
      isFileBlocked = true;
      log(fmt::format("UserDefaults: the settings file {} cannot be read ({}); suite \"{}\" starts empty.",
                      file.string(), std::strerror(read.error), name));
      saveFailedLocked(std::strerror(read.error), true);
      return;
    }
    try {
      SalvagedPropertyList salvaged = salvageXMLPropertyList(*read.bytes);
      if (salvaged.faults.empty()) {
        persistent = std::move(salvaged.entries);
      } else {
        moveAsideLocked(salvaged.faults.front(), std::move(salvaged.entries));
      }
    } catch (const TextError& error) {
      moveAsideLocked(error.text(), {});
    }
  }

  // Moves what is at the file's path aside, bytes and all, and keeps the values that could be read of it,
  // writing them to a new file at once so that they outlive this process.
  void moveAsideLocked(const std::string& reason, PlistValue::Dictionary kept) {
    const std::string base = file.string() + ".corrupt-" + utcTimestamp();
    fs::path destination = base;
    std::error_code error;
    for (int n = 2; fs::symlink_status(destination, error).type() != fs::file_type::not_found && n < 1000;
         ++n)
      destination = fmt::format("{}-{}", base, n);
    persistent = std::move(kept);
    const std::string keeping =
        persistent.empty() ? std::string("starts empty")
                           : fmt::format("keeps the {} values that could be read", persistent.size());
    if (::rename(file.c_str(), destination.c_str()) != 0) {
      const int renameError = errno;
      isFileBlocked = true;
      log(
          fmt::format("UserDefaults: the settings file {} could not be read ({}) nor moved aside ({}); suite "
                      "\"{}\" {} and changes are kept in memory only.",
                      file.string(), reason, std::strerror(renameError), name, keeping));
      saveFailedLocked(
          fmt::format("the file there cannot be read nor moved aside: {}", std::strerror(renameError)), true);
      return;
    }
    seen = std::nullopt;
    log(
        fmt::format("UserDefaults: the settings file {} could not be read ({}); it was moved to {} and suite "
                    "\"{}\" {}.",
                    file.string(), reason, destination.string(), name, keeping));
    if (!persistent.empty()) writeLocked();
  }

  // Removes the temporary files of this suite that no live writer holds: left by a process that died
  // while saving.
  void removeStaleTemporaryFilesLocked() {
    const std::string prefix = file.filename().string() + ".tmp-";
    std::error_code error;
    int removed = 0;
    for (fs::directory_iterator it(file.parent_path(), error), end; !error && it != end;
         it.increment(error)) {
      const fs::path path = it->path();
      if (!isTemporaryFileName(path.filename().string(), prefix)) continue;
      ScopedDescriptor descriptor(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK));
      struct stat info {};
      if (descriptor.fd < 0 || ::fstat(descriptor.fd, &info) != 0 || !S_ISREG(info.st_mode)) continue;
      if (::flock(descriptor.fd, LOCK_EX | LOCK_NB) != 0) continue;  // its writer is still at work
      // Taken over by a rename between listing and locking: then it is some suite's file, not a leftover.
      if (!namesOpenFile(path, descriptor.fd)) continue;
      if (::unlink(path.c_str()) == 0) ++removed;
    }
    if (removed > 0) {
      log(fmt::format(
          "UserDefaults: removed {} temporary file(s) that interrupted saves of suite \"{}\" left "
          "in {}.",
          removed, name, file.parent_path().string()));
    }
  }

  // A new temporary file beside the suite file, locked for as long as `descriptor` stays open. Another
  // process's suite may take an unlocked one for a leftover in the instant between its creation and the
  // lock: then it is made again.
  bool createTemporaryLocked(ScopedDescriptor& descriptor, std::string& temporary) {
    for (int attempt = 0; attempt < 3; ++attempt) {
      temporary = file.string() + ".tmp-XXXXXX";
      descriptor.reset(::mkostemp(temporary.data(), O_CLOEXEC));
      if (descriptor.fd < 0) return false;
      int locked = 0;
      do {
        locked = ::flock(descriptor.fd, LOCK_EX);
      } while (locked != 0 && errno == EINTR);
      // Where the file system has no such locks, no loading suite can take them either, so it leaves the
      // file alone: writing unlocked is safe there.
      if (locked != 0 || namesOpenFile(temporary, descriptor.fd)) return true;
    }
    errno = EEXIST;
    return false;
  }

  // Replaces the file with the persistent domain: a temporary file beside it, flushed and fsynced, then
  // renamed over it, so a reader (or a crash) sees either the old file or the new one, whole. The folder
  // itself is not fsynced: that would only make the rename itself durable sooner, at a large cost per write.
  void writeLocked() {
    if (isFileBlocked) return;
    const std::string text = writeXMLPropertyList(PlistValue(persistent));
    std::error_code error;
    const fs::path folder = file.parent_path();
    if (!fs::exists(folder, error)) {
      fs::create_directories(folder, error);
      if (!error) ::chmod(folder.c_str(), 0700);
    }
    std::string temporary;
    ScopedDescriptor descriptor;
    auto failed = [&](std::string_view step) {
      const int stepError = errno;
      if (!temporary.empty() && descriptor.fd >= 0) ::unlink(temporary.c_str());
      saveFailedLocked(fmt::format("{}: {}", step, std::strerror(stepError)));
    };
    if (!createTemporaryLocked(descriptor, temporary)) return failed("cannot create a file there");
    bool isWritten = ::fchmod(descriptor.fd, 0600) == 0;
    for (std::size_t done = 0; isWritten && done < text.size();) {
      const ssize_t n = ::write(descriptor.fd, text.data() + done, text.size() - done);
      if (n < 0 && errno == EINTR) continue;
      if (n <= 0)
        isWritten = false;
      else
        done += static_cast<std::size_t>(n);
    }
    isWritten = isWritten && ::fsync(descriptor.fd) == 0;
    if (!isWritten) return failed("cannot write there");
    {
      std::function<void(const fs::path&)> hook;
      {
        std::lock_guard hookLock(hookMutex);
        hook = beforeRenameHook;
      }
      if (hook) {
        try {
          hook(temporary);
        } catch (const std::exception& interruption) {
          log(fmt::format("UserDefaults: saving suite \"{}\" was interrupted ({}).", name,
                          interruption.what()));
          return;
        }
      }
    }
    if (::rename(temporary.c_str(), file.c_str()) != 0) return failed("cannot replace the file");
    // The lock is held until here, when the temporary name is gone.
    seen = identityOf(file);
    clearSaveFailureLocked();
  }

  // Reports a failure once until a save succeeds again; with `hasLogged` the caller has logged it.
  void saveFailedLocked(std::string reason, bool hasLogged = false) {
    if (isSaveFailing) return;
    isSaveFailing = true;
    SaveFailure failure{name, file, std::move(reason)};
    if (!hasLogged) log(fmt::format("UserDefaults: suite \"{}\": {}", name, failure.message()));
    {
      std::lock_guard lock(saveFailuresMutex);
      saveFailures.push_back(failure);
    }
    unannounced.push_back(std::move(failure));
  }

  // Ends the failure reported last, if any: a save succeeded, or the suite is gone.
  void clearSaveFailureLocked() {
    if (!isSaveFailing) return;
    isSaveFailing = false;
    std::lock_guard lock(saveFailuresMutex);
    std::erase_if(saveFailures, [&](const SaveFailure& failure) { return failure.file == file; });
  }
};

namespace {

// Holds a suite's lock. Save failures found meanwhile are announced when it is released, outside the lock:
// the notification's observers may use the suite.
class StateLock {
 public:
  explicit StateLock(UserDefaults::State& state) : state_(state), lock_(state.mutex) {}
  ~StateLock() {
    std::vector<UserDefaults::SaveFailure> failures;
    failures.swap(state_.unannounced);
    lock_.unlock();
    for (auto& failure : failures) {
      try {
        NotificationCenter::defaultCenter().post(std::string(UserDefaults::saveFailureNotification), nullptr,
                                                 {{"failure", std::move(failure)}});
      } catch (const std::exception& error) {
        log(fmt::format("UserDefaults: an observer of save failures failed: {}", error.what()));
      }
    }
  }
  StateLock(const StateLock&) = delete;
  StateLock& operator=(const StateLock&) = delete;

 private:
  UserDefaults::State& state_;
  std::unique_lock<std::mutex> lock_;
};

}  // namespace

namespace {

std::mutex registryMutex;
// Every live suite state by file, so that instances of one suite share it.
std::map<fs::path, std::weak_ptr<UserDefaults::State>> registry;

std::mutex standardMutex;
std::shared_ptr<UserDefaults> standardSuite;

using Registrations = std::vector<std::shared_ptr<ObservationToken::Registration>>;

// Delivers one change to each observer still registered, giving each the parts its options ask for.
void deliver(const Registrations& registrations, const KeyValueChange& change) {
  for (const auto& registration : registrations) {
    if (!registration->isActive.load()) continue;
    if (change.isPrior && !contains(registration->options, ObservingOptions::prior)) continue;
    KeyValueChange record;
    record.kind = change.kind;
    record.isPrior = change.isPrior;
    if (contains(registration->options, ObservingOptions::newValue)) record.newValue = change.newValue;
    if (contains(registration->options, ObservingOptions::oldValue)) record.oldValue = change.oldValue;
    try {
      registration->observer(record);
    } catch (const std::exception& error) {
      log(fmt::format("UserDefaults: an observer of \"{}\" failed: {}", registration->key, error.what()));
    }
  }
}

bool anyWantsPrior(const Registrations& registrations) {
  for (const auto& registration : registrations) {
    if (contains(registration->options, ObservingOptions::prior)) return true;
  }
  return false;
}

KeyValueChangeKind kindFor(const std::optional<PlistValue>& newValue) {
  return newValue ? KeyValueChangeKind::setting : KeyValueChangeKind::removal;
}

void checkSuiteName(std::string_view name) {
  if (name.empty() || name == "." || name == ".." || name.find('/') != std::string_view::npos ||
      name.find('\0') != std::string_view::npos) {
    throw TextError(fmt::format("\"{}\" cannot name a settings suite.", name));
  }
}

}  // namespace

struct UserDefaults::ConstructionTag {};

// ---- ObservationToken ----

ObservationToken::ObservationToken(std::shared_ptr<Registration> registration)
    : registration_(std::move(registration)) {}

ObservationToken::~ObservationToken() { remove(); }

ObservationToken::ObservationToken(ObservationToken&& other) noexcept
    : registration_(std::move(other.registration_)) {}

ObservationToken& ObservationToken::operator=(ObservationToken&& other) noexcept {
  if (this != &other) {
    remove();
    registration_ = std::move(other.registration_);
  }
  return *this;
}

void ObservationToken::remove() {
  const std::shared_ptr<Registration> registration = std::move(registration_);
  registration_.reset();
  if (!registration) return;
  registration->isActive.store(false);
  if (auto state = registration->state.lock()) {
    std::lock_guard lock(state->mutex);
    auto [begin, end] = state->observers.equal_range(registration->key);
    for (auto it = begin; it != end; ++it) {
      if (it->second == registration) {
        state->observers.erase(it);
        break;
      }
    }
  }
}

bool ObservationToken::isActive() const { return registration_ && registration_->isActive.load(); }

// ---- UserDefaults ----

fs::path UserDefaults::configurationDirectory() {
  if (const char* config = std::getenv("XDG_CONFIG_HOME"); config && *config && config[0] == '/') {
    return fs::path(config);
  }
  const char* home = std::getenv("HOME");
  return fs::path(home && *home ? home : "/tmp") / ".config";
}

std::shared_ptr<UserDefaults> UserDefaults::standard() {
  std::lock_guard lock(standardMutex);
  if (!standardSuite) {
    std::string name = Bundle::main()->identifier().value_or("");
    try {
      checkSuiteName(name);
    } catch (const TextError&) {
      name = "Quillo";
    }
    standardSuite = suite(name);
  }
  return standardSuite;
}

void UserDefaults::setStandard(std::shared_ptr<UserDefaults> suite) {
  std::lock_guard lock(standardMutex);
  standardSuite = std::move(suite);
}

std::shared_ptr<UserDefaults> UserDefaults::suite(std::string_view name) {
  return suite(name, configurationDirectory());
}

std::shared_ptr<UserDefaults> UserDefaults::suite(std::string_view name, const fs::path& configDirectory) {
  checkSuiteName(name);
  const fs::path file =
      fs::absolute(configDirectory / "Quillo" / (std::string(name) + ".plist")).lexically_normal();
  return std::make_shared<UserDefaults>(ConstructionTag{}, std::string(name), file);
}

UserDefaults::UserDefaults(const ConstructionTag&, std::string name, fs::path file)
    : name_(std::move(name)), file_(std::move(file)) {
  std::lock_guard lock(registryMutex);
  auto& slot = registry[file_];
  state_ = slot.lock();
  if (!state_) {
    state_ = std::make_shared<State>(name_, file_);
    slot = state_;
  }
}

UserDefaults::~UserDefaults() {
  std::lock_guard lock(registryMutex);
  auto it = registry.find(file_);
  state_.reset();
  if (it != registry.end() && it->second.expired()) registry.erase(it);
}

bool UserDefaults::isSameSuite(const UserDefaults& other) const { return state_ == other.state_; }

std::optional<PlistValue> UserDefaults::objectForKey(std::string_view key) const {
  StateLock lock(*state_);
  state_->refreshLocked();
  return state_->effectiveValue(std::string(key));
}

std::optional<std::string> UserDefaults::stringForKey(std::string_view key) const {
  const std::optional<PlistValue> value = objectForKey(key);
  if (!value) return std::nullopt;
  if (auto* text = value->stringValue()) return *text;
  if (auto integer = value->integerValue()) return fmt::format("{}", *integer);
  if (value->isReal()) return fmt::format("{}", *value->doubleValue());
  return std::nullopt;
}

std::optional<bool> UserDefaults::boolForKey(std::string_view key) const {
  const auto value = objectForKey(key);
  return value ? value->boolValue() : std::nullopt;
}

std::optional<std::int64_t> UserDefaults::integerForKey(std::string_view key) const {
  const auto value = objectForKey(key);
  return value ? value->integerValue() : std::nullopt;
}

std::optional<double> UserDefaults::doubleForKey(std::string_view key) const {
  const auto value = objectForKey(key);
  return value ? value->doubleValue() : std::nullopt;
}

std::optional<PlistValue::Array> UserDefaults::arrayForKey(std::string_view key) const {
  const auto value = objectForKey(key);
  if (value && value->arrayValue()) return *value->arrayValue();
  return std::nullopt;
}

std::optional<PlistValue::Dictionary> UserDefaults::dictionaryForKey(std::string_view key) const {
  const auto value = objectForKey(key);
  if (value && value->dictionaryValue()) return *value->dictionaryValue();
  return std::nullopt;
}

std::optional<PlistValue::Data> UserDefaults::dataForKey(std::string_view key) const {
  const auto value = objectForKey(key);
  if (value && value->dataValue()) return *value->dataValue();
  return std::nullopt;
}

void UserDefaults::setObject(std::optional<PlistValue> value, std::string_view keyView) {
  const std::string key(keyView);
  // Held for the whole call: an observer may release the last instance of this suite.
  const std::shared_ptr<State> keepAlive = state_;
  State& state = *keepAlive;
  // A prior record goes out before the change is made, as "will change"; the change record's old and new
  // values are taken together under the lock, so the records of concurrent writers form one chain.
  Registrations observers;
  std::optional<PlistValue> priorOld;
  bool willHaveValue = value.has_value();
  {
    StateLock lock(state);
    state.refreshLocked();
    observers = state.observersOf(key);
    if (anyWantsPrior(observers)) priorOld = state.effectiveValue(key);
    willHaveValue = willHaveValue || state.registration.count(key) > 0;
  }
  if (anyWantsPrior(observers)) {
    deliver(observers, {willHaveValue ? KeyValueChangeKind::setting : KeyValueChangeKind::removal, true,
                        std::nullopt, priorOld});
  }
  KeyValueChange change;
  {
    StateLock lock(state);
    state.refreshLocked();
    change.oldValue = state.effectiveValue(key);
    if (value) {
      state.persistent.insert_or_assign(key, std::move(*value));
    } else {
      state.persistent.erase(key);
    }
    state.writeLocked();
    change.newValue = state.effectiveValue(key);
    change.kind = kindFor(change.newValue);
    observers = state.observersOf(key);
  }
  deliver(observers, change);
}

void UserDefaults::removeObject(std::string_view key) { setObject(std::nullopt, key); }

void UserDefaults::registerDefaults(const PlistValue::Dictionary& defaults) {
  // Held for the whole call: an observer may release the last instance of this suite.
  const std::shared_ptr<State> keepAlive = state_;
  State& state = *keepAlive;
  struct Pending {
    std::string key;
    Registrations observers;
    KeyValueChange change;
  };
  // Prior records for the keys whose effective value is about to change.
  std::vector<Pending> priors;
  {
    StateLock lock(state);
    state.refreshLocked();
    for (const auto& [key, value] : defaults) {
      Registrations observers = state.observersOf(key);
      if (!anyWantsPrior(observers)) continue;
      const std::optional<PlistValue> old = state.effectiveValue(key);
      if (state.persistent.count(key) == 0 && old != value) {
        priors.push_back({key, std::move(observers), {KeyValueChangeKind::setting, true, std::nullopt, old}});
      }
    }
  }
  for (const auto& pending : priors) deliver(pending.observers, pending.change);

  std::vector<Pending> changes;
  {
    StateLock lock(state);
    state.refreshLocked();
    for (const auto& [key, value] : defaults) {
      std::optional<PlistValue> old = state.effectiveValue(key);
      state.registration.insert_or_assign(key, value);
      std::optional<PlistValue> current = state.effectiveValue(key);
      if (old == current) continue;
      Registrations observers = state.observersOf(key);
      if (observers.empty()) continue;
      changes.push_back({key, std::move(observers), {kindFor(current), false, current, old}});
    }
  }
  for (const auto& pending : changes) deliver(pending.observers, pending.change);
}

PlistValue::Dictionary UserDefaults::dictionaryRepresentation() const {
  StateLock lock(*state_);
  state_->refreshLocked();
  PlistValue::Dictionary merged = state_->registration;
  for (const auto& [key, value] : state_->persistent) merged.insert_or_assign(key, value);
  return merged;
}

PlistValue::Dictionary UserDefaults::persistentDomain() const {
  StateLock lock(*state_);
  state_->refreshLocked();
  return state_->persistent;
}

void UserDefaults::synchronize() {
  StateLock lock(*state_);
  state_->refreshLocked();
}

ObservationToken UserDefaults::addObserver(std::string_view keyView, ObservingOptions options,
                                           KeyValueObserver observer) {
  auto registration = std::make_shared<ObservationToken::Registration>();
  registration->state = state_;
  registration->key = std::string(keyView);
  registration->options = options;
  registration->observer = std::move(observer);
  std::optional<PlistValue> current;
  {
    StateLock lock(*state_);
    state_->refreshLocked();
    state_->observers.emplace(registration->key, registration);
    current = state_->effectiveValue(registration->key);
  }
  if (contains(options, ObservingOptions::initial)) {
    // The initial record reports the current value as a setting, even when there is none.
    deliver({registration}, {KeyValueChangeKind::setting, false, current, std::nullopt});
  }
  return ObservationToken(std::move(registration));
}

namespace detail {
void setBeforeRenameHookForTesting(std::function<void(const fs::path& temporaryFile)> hook) {
  std::lock_guard lock(hookMutex);
  beforeRenameHook = std::move(hook);
}
}  // namespace detail

}  // namespace foundation
