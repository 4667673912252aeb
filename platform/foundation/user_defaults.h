// User defaults: suites of property-list values kept in files, a registration domain and observation.
#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/foundation/property_list.h"

namespace foundation {

// What a change did to the observed key. Raw values are the platform's; a key's value is a single
// value, so observers only see `setting` (a value is present afterwards) and `removal` (none is).
enum class KeyValueChangeKind : int { setting = 1, insertion = 2, removal = 3, replacement = 4 };

// Observing options, as bits with the platform's raw values (new 1, old 2, initial 4, prior 8).
enum class ObservingOptions : unsigned { none = 0, newValue = 1, oldValue = 2, initial = 4, prior = 8 };
constexpr ObservingOptions operator|(ObservingOptions a, ObservingOptions b) {
  return static_cast<ObservingOptions>(static_cast<unsigned>(a) | static_cast<unsigned>(b));
}
constexpr bool contains(ObservingOptions set, ObservingOptions option) {
  return (static_cast<unsigned>(set) & static_cast<unsigned>(option)) == static_cast<unsigned>(option);
}
constexpr unsigned rawValue(ObservingOptions options) { return static_cast<unsigned>(options); }
constexpr ObservingOptions observingOptionsFromRawValue(unsigned raw) {
  return static_cast<ObservingOptions>(raw & 15u);
}

// One change delivered to an observer. `newValue` is filled only with the option newValue and never in
// a prior record; `oldValue` only with the option oldValue. Either is absent when the key had no value.
struct KeyValueChange {
  KeyValueChangeKind kind = KeyValueChangeKind::setting;
  bool isPrior = false;
  std::optional<PlistValue> newValue;
  std::optional<PlistValue> oldValue;
  bool operator==(const KeyValueChange&) const = default;
};

using KeyValueObserver = std::function<void(const KeyValueChange&)>;

// Keeps one observer registered; destroying it (or calling remove()) unregisters it. After remove()
// returns no new delivery to the observer starts; a delivery already running on another thread finishes
// with the observer kept alive by that thread, so an observer must own (or hold weakly) what it touches.
class ObservationToken {
 public:
  ObservationToken() = default;
  ~ObservationToken();
  ObservationToken(ObservationToken&& other) noexcept;
  ObservationToken& operator=(ObservationToken&& other) noexcept;
  ObservationToken(const ObservationToken&) = delete;
  ObservationToken& operator=(const ObservationToken&) = delete;

  // Unregisters the observer; harmless when already removed or when the suite is gone.
  void remove();
  // Whether the observer is still registered.
  bool isActive() const;

  struct Registration;
  explicit ObservationToken(std::shared_ptr<Registration> registration);

 private:
  std::shared_ptr<Registration> registration_;
};

// A suite of user defaults. Lookups see the persistent domain (the suite's file) first, then the
// registration domain (in memory, for the life of the process). All instances of one suite file in a
// process share one state, so they see each other's writes and notify each other's observers.
// Thread-safe: one mutex per suite state guards the domains; observers run on the writing thread after
// it is released.
//
// Persistence: every change is written through at once (the whole file, atomically: a temporary file in
// the same folder, flushed and fsynced, then renamed over the old one; mode 0600). Before each access
// the file's identity (inode, size, modification time) is compared with the one last read or written;
// when another process (or an earlier run) replaced it, it is read again, so writes of other processes
// are seen. Such outside changes are not announced to observers.
//
// Damage costs as little as it can. A file that cannot be read whole as a property-list dictionary is
// moved aside to "<name>.plist.corrupt-<UTC timestamp>" (its bytes kept), and the suite keeps every
// top-level value that could still be read, written back at once; a folder, or a file the user may not
// read, at the file's path is moved aside the same way. Each such repair logs one diagnostic line.
//
// Temporary files: the writer holds an advisory lock (flock) on its temporary file from creating it until
// it has been renamed. When a suite is first loaded in a process, it removes each temporary file of its
// own whose lock it can take: only a writer that died mid-write leaves one unlocked, and the kernel drops
// the lock of a process however it ends, so no live writer's file is ever removed.
//
// When changes cannot reach the file (the folder cannot be written, the disk is full, something in the
// way cannot be moved aside), they are kept in memory for the life of the process and the failure is
// reported once until a save succeeds again: one diagnostic line, currentSaveFailures() and a
// saveFailureNotification, for the application to show the user.
class UserDefaults {
 public:
  struct ConstructionTag;

  // Why a suite's changes cannot be saved.
  struct SaveFailure {
    std::string suiteName;
    std::filesystem::path file;
    // What went wrong, ending in the system's words ("cannot create a file there: Permission denied").
    std::string reason;
    bool operator==(const SaveFailure&) const = default;

    // One sentence for the user: where the settings cannot be saved, why, and that changes made now last
    // only until the application quits.
    std::string message() const;
  };

  // Posted once when a suite starts failing to save (its user info's "failure" holds the SaveFailure), on
  // the thread that found the failure and outside every suite's lock.
  static constexpr std::string_view saveFailureNotification = "UserDefaultsSaveFailure";
  // The suites that cannot save at the moment, in the order they started failing; a suite leaves the list
  // when a save succeeds again. An application observes saveFailureNotification first and then reads
  // this list when its first window appears (a failure found in between may then arrive by both ways).
  static std::vector<SaveFailure> currentSaveFailures();

  // The process's standard suite: named after the main bundle's identifier (or "Quillo" without one),
  // stored under configurationDirectory(). Tests replace it with setStandard().
  static std::shared_ptr<UserDefaults> standard();
  // Replaces the process's standard suite (tests pass a suite over a temporary directory); null
  // restores the default one at the next standard().
  static void setStandard(std::shared_ptr<UserDefaults> suite);

  // The suite `name`, in <configurationDirectory()>/Quillo/<name>.plist. Throws TextError when the name
  // cannot be a file name (empty, ".", "..", or containing "/" or a NUL).
  static std::shared_ptr<UserDefaults> suite(std::string_view name);
  // The suite `name`, in <configDirectory>/Quillo/<name>.plist (tests give a fresh directory).
  static std::shared_ptr<UserDefaults> suite(std::string_view name,
                                             const std::filesystem::path& configDirectory);

  // $XDG_CONFIG_HOME when it is set to an absolute path, else ~/.config.
  static std::filesystem::path configurationDirectory();

  UserDefaults(const ConstructionTag&, std::string name, std::filesystem::path file);
  ~UserDefaults();
  UserDefaults(const UserDefaults&) = delete;
  UserDefaults& operator=(const UserDefaults&) = delete;

  const std::string& suiteName() const { return name_; }
  // The suite's property-list file.
  const std::filesystem::path& filePath() const { return file_; }
  // Whether both instances are the same suite (the same file), so share state.
  bool isSameSuite(const UserDefaults& other) const;

  // The value stored in the persistent domain, else the registered one, else nothing.
  std::optional<PlistValue> objectForKey(std::string_view key) const;
  // A stored string, or the decimal text of a stored integer or real (shortest form that reads back,
  // locale-independent); nothing for any other kind or when absent.
  std::optional<std::string> stringForKey(std::string_view key) const;
  // Typed reads: the value when it has that kind (doubleForKey also widens an integer), else nothing.
  std::optional<bool> boolForKey(std::string_view key) const;
  std::optional<std::int64_t> integerForKey(std::string_view key) const;
  std::optional<double> doubleForKey(std::string_view key) const;
  std::optional<PlistValue::Array> arrayForKey(std::string_view key) const;
  std::optional<PlistValue::Dictionary> dictionaryForKey(std::string_view key) const;
  std::optional<PlistValue::Data> dataForKey(std::string_view key) const;

  // Stores the value in the persistent domain; no value removes the key, as removeObject does.
  // Observers of the key are notified even when the value is unchanged.
  void setObject(std::optional<PlistValue> value, std::string_view key);
  // Removes the key from the persistent domain (the registered value, if any, shows again).
  void removeObject(std::string_view key);
  // Merges the entries into the registration domain. Observers of a key are notified when its effective
  // value (what objectForKey answers) changes.
  void registerDefaults(const PlistValue::Dictionary& defaults);

  // Every key of both domains with its effective value (the persistent domain wins).
  PlistValue::Dictionary dictionaryRepresentation() const;
  // The persistent domain alone.
  PlistValue::Dictionary persistentDomain() const;
  // Reads the file again if another process replaced it since it was last seen.
  void synchronize();

  // Observes one key. With `initial`, one record (kind setting; the current value as newValue when asked)
  // is delivered before this returns. With `prior`, each change is preceded by a record with isPrior set
  // that carries only the old value. Records are delivered on the writing thread, outside any lock.
  [[nodiscard]] ObservationToken addObserver(std::string_view key, ObservingOptions options,
                                             KeyValueObserver observer);

  struct State;

 private:
  std::string name_;
  std::filesystem::path file_;
  std::shared_ptr<State> state_;
};

namespace detail {
// Test hook: called with the temporary file after it is written and fsynced, before the rename that
// replaces the suite file. A hook that throws stops the write there, as a crash would. Null removes it.
void setBeforeRenameHookForTesting(std::function<void(const std::filesystem::path& temporaryFile)> hook);
}  // namespace detail

}  // namespace foundation
