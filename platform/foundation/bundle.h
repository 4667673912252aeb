// Bundles: a folder of resources with Info values, resource lookup and localized string tables.
#pragma once

#include <filesystem>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/foundation/property_list.h"

namespace foundation {

// A bundle is a resource directory. The main bundle's is the first folder of mainResourceSearchPath()
// that holds an Info.plist; tests may point it elsewhere. A resource bundle "<Name>.bundle" is a subfolder
// of a resource directory and is its own resource directory (flat: its Info.plist, resources and
// <lang>.lproj folders lie directly inside it).
// Thread-safe: a bundle is immutable except for its caches, which one mutex guards.
class Bundle {
 public:
  // The application's bundle. Its resourceDirectory() is absent when no resource folder was found.
  static std::shared_ptr<Bundle> main();
  // Points the main bundle at `directory` (tests); std::nullopt restores the search at the next main().
  static void setMainResourceDirectory(std::optional<std::filesystem::path> directory);
  // Where the main bundle's resources are looked for, in order: beside the program (share/quillo next to
  // the program's bin folder, as installed and as the build tree is laid out), under the install prefix,
  // then the fallbacks added by test programs.
  static std::vector<std::filesystem::path> mainResourceSearchPath();
  // Adds a last place to look (test programs add the build tree's resources, since they do not lie beside
  // them). Safe to call while static objects are made.
  static void addMainResourceFallback(std::filesystem::path directory);

  // The bundle at a directory, or null when it is not a directory.
  static std::shared_ptr<Bundle> atPath(const std::filesystem::path& directory);

  explicit Bundle(std::optional<std::filesystem::path> resourceDirectory);

  const std::optional<std::filesystem::path>& resourceDirectory() const { return resourceDirectory_; }

  // The resource bundle "<name>.bundle" inside this bundle's resource directory (the name may be given
  // with or without ".bundle"), or null when there is no such folder.
  std::shared_ptr<Bundle> resourceBundle(std::string_view name) const;

  // The file "<name>.<type>" (or "<name>" when the type is empty) in the resource directory, else in
  // its "en.lproj" folder; nothing when absent or when the name or type holds a path separator.
  std::optional<std::filesystem::path> pathForResource(std::string_view name, std::string_view type) const;
  // The same, in the folder `subdirectory` of the resource directory (or of its "en.lproj" folder); the
  // subdirectory is one plain folder name.
  std::optional<std::filesystem::path> pathForResource(std::string_view name, std::string_view type,
                                                       std::string_view subdirectory) const;

  // The Info.plist dictionary (empty when the bundle has none or it cannot be read).
  PlistValue::Dictionary infoDictionary() const;
  // One Info value, of any kind.
  std::optional<PlistValue> infoValue(std::string_view key) const;
  // One Info value when it is a string; nothing when absent or of another kind.
  std::optional<std::string> infoString(std::string_view key) const;
  // "CFBundleIdentifier".
  std::optional<std::string> identifier() const;
  // "CFBundleShortVersionString".
  std::optional<std::string> shortVersion() const;
  // "CFBundleVersion".
  std::optional<std::string> buildNumber() const;

  // The localized text of `key` in "en.lproj/<table>.strings" (table "Localizable" when empty); when
  // missing: `value` when it is not empty, else the key itself.
  std::string localizedString(std::string_view key, std::string_view value = {},
                              std::string_view table = {}) const;

  // The development language, whose .lproj folder holds the string tables.
  static constexpr std::string_view developmentLanguage = "en";

 private:
  const std::map<std::string, std::string>& stringTable(const std::string& table) const;

  std::optional<std::filesystem::path> resourceDirectory_;
  mutable std::mutex mutex_;  // guards the caches below
  mutable std::optional<PlistValue::Dictionary> info_;
  mutable std::map<std::string, std::map<std::string, std::string>> tables_;
};

// The whole content of a resource file; nothing when it cannot be read.
std::optional<std::string> readResourceFile(const std::filesystem::path& file);

// Reads a string table in the text format ("key" = "value"; with the escapes \" \\ \n \t \r \uXXXX,
// comments /* */ and //, UTF-8 or UTF-16 with a byte-order mark). Throws TextError on malformed input.
std::map<std::string, std::string> parseStringsTable(std::string_view bytes);

}  // namespace foundation
