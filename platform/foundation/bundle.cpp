#include "platform/foundation/bundle.h"

#include <fmt/format.h>
#include <unistd.h>

#include <fstream>
#include <sstream>
#include <vector>

#include "platform/foundation/log.h"
#include "platform/foundation/text_error.h"
#include "platform/foundation/utf16.h"

namespace foundation {

namespace fs = std::filesystem;

namespace {

std::mutex mainMutex;
std::shared_ptr<Bundle> mainBundle;
std::optional<fs::path> mainOverride;

bool isDirectory(const fs::path& path) {
  std::error_code error;
  return fs::is_directory(path, error);
}

bool fileExists(const fs::path& path) {
  std::error_code error;
  return fs::exists(path, error);
}

std::mutex& fallbackMutex() {
  static std::mutex mutex;
  return mutex;
}

// Guarded by fallbackMutex(). Reached through a function so that test programs may add to it while static
// objects are made.
std::vector<fs::path>& fallbackDirectories() {
  static std::vector<fs::path> directories;
  return directories;
}

std::optional<fs::path> searchMainResourceDirectory() {
  for (const fs::path& candidate : Bundle::mainResourceSearchPath()) {
    if (fileExists(candidate / "Info.plist")) return candidate;
  }
  return std::nullopt;
}

bool isPlainName(std::string_view name) {
  return !name.empty() && name != "." && name != ".." && name.find('/') == std::string_view::npos &&
         name.find('\0') == std::string_view::npos;
}

// UTF-16 text (after its byte-order mark) as UTF-8; unpaired surrogates become U+FFFD.
std::string utf8FromUTF16(std::string_view bytes, bool isBigEndian) {
  if (bytes.size() % 2 != 0) throw TextError("The string table is not valid: odd length of UTF-16 text.");
  std::string out;
  auto unit = [&](std::size_t i) -> std::uint32_t {
    const auto a = static_cast<unsigned char>(bytes[i]);
    const auto b = static_cast<unsigned char>(bytes[i + 1]);
    return isBigEndian ? (a << 8) | b : (b << 8) | a;
  };
  for (std::size_t i = 0; i < bytes.size(); i += 2) {
    std::uint32_t cp = unit(i);
    if (cp >= 0xD800 && cp <= 0xDBFF && i + 3 < bytes.size()) {
      const std::uint32_t low = unit(i + 2);
      if (low >= 0xDC00 && low <= 0xDFFF) {
        cp = 0x10000 + ((cp - 0xD800) << 10) + (low - 0xDC00);
        i += 2;
      }
    }
    out += utf8(cp);
  }
  return out;
}

class StringsReader {
 public:
  explicit StringsReader(std::string_view text) : text_(text) {}

  std::map<std::string, std::string> table() {
    std::map<std::string, std::string> entries;
    for (;;) {
      skipSpaceAndComments();
      if (atEnd()) return entries;
      std::string key = string();
      skipSpaceAndComments();
      if (peek() == ';') {
        ++pos_;
        entries.insert_or_assign(key, key);
        continue;
      }
      if (peek() != '=') fail("expected \"=\"");
      ++pos_;
      skipSpaceAndComments();
      std::string value = string();
      skipSpaceAndComments();
      if (peek() != ';') fail("expected \";\"");
      ++pos_;
      entries.insert_or_assign(std::move(key), std::move(value));
    }
  }

 private:
  [[noreturn]] void fail(std::string_view reason) const {
    std::size_t line = 1;
    for (std::size_t i = 0; i < pos_ && i < text_.size(); ++i) line += text_[i] == '\n';
    throw TextError(fmt::format("The string table is not valid: {} (line {}).", reason, line));
  }

  bool atEnd() const { return pos_ >= text_.size(); }
  char peek() const { return atEnd() ? '\0' : text_[pos_]; }

  void skipSpaceAndComments() {
    for (;;) {
      while (!atEnd() && (peek() == ' ' || peek() == '\t' || peek() == '\n' || peek() == '\r')) ++pos_;
      if (text_.substr(pos_).starts_with("/*")) {
        const std::size_t end = text_.find("*/", pos_ + 2);
        if (end == std::string_view::npos) fail("unterminated comment");
        pos_ = end + 2;
      } else if (text_.substr(pos_).starts_with("//")) {
        const std::size_t end = text_.find('\n', pos_);
        pos_ = end == std::string_view::npos ? text_.size() : end + 1;
      } else {
        return;
      }
    }
  }

  static bool isBareChar(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_' ||
           c == '$' || c == '.' || c == ':' || c == '/' || c == '-';
  }

  std::uint32_t hexUnit() {
    if (pos_ + 4 > text_.size()) fail("short \\u escape");
    std::uint32_t value = 0;
    for (int i = 0; i < 4; ++i) {
      const char c = text_[pos_++];
      value <<= 4;
      if (c >= '0' && c <= '9')
        value |= static_cast<std::uint32_t>(c - '0');
      else if (c >= 'a' && c <= 'f')
        value |= static_cast<std::uint32_t>(c - 'a' + 10);
      else if (c >= 'A' && c <= 'F')
        value |= static_cast<std::uint32_t>(c - 'A' + 10);
      else
        fail("invalid \\u escape");
    }
    return value;
  }

  std::string string() {
    std::string out;
    if (peek() != '"') {
      while (!atEnd() && isBareChar(peek())) out += text_[pos_++];
      if (out.empty()) fail("expected a quoted string");
      return out;
    }
    ++pos_;
    for (;;) {
      if (atEnd()) fail("unterminated string");
      const char c = text_[pos_++];
      if (c == '"') return out;
      if (c != '\\') {
        out += c;
        continue;
      }
      if (atEnd()) fail("unterminated string");
      const char escaped = text_[pos_++];
      switch (escaped) {
        case 'n':
          out += '\n';
          break;
        case 't':
          out += '\t';
          break;
        case 'r':
          out += '\r';
          break;
        case 'u':
        case 'U': {
          std::uint32_t cp = hexUnit();
          if (cp >= 0xD800 && cp <= 0xDBFF && text_.substr(pos_).starts_with("\\u")) {
            const std::size_t save = pos_;
            pos_ += 2;
            const std::uint32_t low = hexUnit();
            if (low >= 0xDC00 && low <= 0xDFFF)
              cp = 0x10000 + ((cp - 0xD800) << 10) + (low - 0xDC00);
            else
              pos_ = save;
          }
          out += utf8(cp);
          break;
        }
        default:
          out += escaped;  // \" \\ \' and any other character stand for themselves
      }
    }
  }

  std::string_view text_;
  std::size_t pos_ = 0;
};

}  // namespace

std::optional<std::string> readResourceFile(const fs::path& file) {
  std::ifstream stream(file, std::ios::binary);
  if (!stream) return std::nullopt;
  std::ostringstream bytes;
  bytes << stream.rdbuf();
  if (stream.bad()) return std::nullopt;
  return bytes.str();
}

std::map<std::string, std::string> parseStringsTable(std::string_view bytes) {
  if (bytes.starts_with("\xFF\xFE")) return StringsReader(utf8FromUTF16(bytes.substr(2), false)).table();
  if (bytes.starts_with("\xFE\xFF")) return StringsReader(utf8FromUTF16(bytes.substr(2), true)).table();
  if (bytes.starts_with("\xEF\xBB\xBF")) bytes.remove_prefix(3);
  return StringsReader(bytes).table();
}

std::vector<fs::path> Bundle::mainResourceSearchPath() {
  std::vector<fs::path> path;
  std::error_code error;
  const fs::path program = fs::read_symlink("/proc/self/exe", error);
  if (!error) path.push_back((program.parent_path() / QUILLO_RESOURCES_FROM_PROGRAM).lexically_normal());
  path.emplace_back(QUILLO_INSTALLED_RESOURCES);
  std::lock_guard lock(fallbackMutex());
  path.insert(path.end(), fallbackDirectories().begin(), fallbackDirectories().end());
  return path;
}

void Bundle::addMainResourceFallback(fs::path directory) {
  {
    std::lock_guard lock(fallbackMutex());
    fallbackDirectories().push_back(std::move(directory));
  }
  std::lock_guard lock(mainMutex);
  if (!mainOverride) mainBundle.reset();
}

std::shared_ptr<Bundle> Bundle::main() {
  std::lock_guard lock(mainMutex);
  if (!mainBundle) {
    mainBundle = std::make_shared<Bundle>(mainOverride ? mainOverride : searchMainResourceDirectory());
  }
  return mainBundle;
}

void Bundle::setMainResourceDirectory(std::optional<fs::path> directory) {
  std::lock_guard lock(mainMutex);
  mainOverride = std::move(directory);
  mainBundle.reset();
}

std::shared_ptr<Bundle> Bundle::atPath(const fs::path& directory) {
  if (!isDirectory(directory)) return nullptr;
  return std::make_shared<Bundle>(directory);
}

Bundle::Bundle(std::optional<fs::path> resourceDirectory)
    : resourceDirectory_(std::move(resourceDirectory)) {}

std::shared_ptr<Bundle> Bundle::resourceBundle(std::string_view name) const {
  if (!resourceDirectory_) return nullptr;
  std::string folder(name);
  if (!folder.ends_with(".bundle")) folder += ".bundle";
  if (!isPlainName(folder) || folder == ".bundle") return nullptr;
  return atPath(*resourceDirectory_ / folder);
}

std::optional<fs::path> Bundle::pathForResource(std::string_view name, std::string_view type) const {
  return pathForResource(name, type, {});
}

std::optional<fs::path> Bundle::pathForResource(std::string_view name, std::string_view type,
                                                std::string_view subdirectory) const {
  if (!resourceDirectory_ || !isPlainName(name)) return std::nullopt;
  if (type.starts_with('.')) type.remove_prefix(1);
  if (!type.empty() && !isPlainName(type)) return std::nullopt;
  if (!subdirectory.empty() && !isPlainName(subdirectory)) return std::nullopt;
  const fs::path file =
      fs::path(subdirectory) / (type.empty() ? std::string(name) : fmt::format("{}.{}", name, type));
  for (const fs::path& candidate :
       {*resourceDirectory_ / file,
        *resourceDirectory_ / (std::string(developmentLanguage) + ".lproj") / file}) {
    if (fileExists(candidate)) return candidate;
  }
  return std::nullopt;
}

PlistValue::Dictionary Bundle::infoDictionary() const {
  std::lock_guard lock(mutex_);
  if (!info_) {
    info_.emplace();
    if (resourceDirectory_) {
      const fs::path file = *resourceDirectory_ / "Info.plist";
      if (const auto bytes = readResourceFile(file)) {
        try {
          PlistValue value = readXMLPropertyList(*bytes);
          if (auto* dictionary = value.dictionaryValue()) {
            info_ = std::move(*dictionary);
          } else {
            log(fmt::format("Bundle: {} is not a dictionary; the bundle has no Info values.", file.string()));
          }
        } catch (const TextError& error) {
          log(fmt::format("Bundle: {} cannot be read: {}", file.string(), error.text()));
        }
      }
    }
  }
  return *info_;
}

std::optional<PlistValue> Bundle::infoValue(std::string_view key) const {
  const PlistValue::Dictionary info = infoDictionary();
  if (auto it = info.find(std::string(key)); it != info.end()) return it->second;
  return std::nullopt;
}

std::optional<std::string> Bundle::infoString(std::string_view key) const {
  const auto value = infoValue(key);
  if (value && value->stringValue()) return *value->stringValue();
  return std::nullopt;
}

std::optional<std::string> Bundle::identifier() const { return infoString("CFBundleIdentifier"); }
std::optional<std::string> Bundle::shortVersion() const { return infoString("CFBundleShortVersionString"); }
std::optional<std::string> Bundle::buildNumber() const { return infoString("CFBundleVersion"); }

const std::map<std::string, std::string>& Bundle::stringTable(const std::string& table) const {
  if (auto it = tables_.find(table); it != tables_.end()) return it->second;
  std::map<std::string, std::string>& entries = tables_[table];
  if (!resourceDirectory_) return entries;
  const fs::path file =
      *resourceDirectory_ / (std::string(developmentLanguage) + ".lproj") / (table + ".strings");
  if (const auto bytes = readResourceFile(file)) {
    try {
      entries = parseStringsTable(*bytes);
    } catch (const TextError& error) {
      log(fmt::format("Bundle: {} cannot be read: {}", file.string(), error.text()));
    }
  }
  return entries;
}

std::string Bundle::localizedString(std::string_view key, std::string_view value,
                                    std::string_view table) const {
  const std::string tableName = table.empty() ? std::string("Localizable") : std::string(table);
  {
    std::lock_guard lock(mutex_);
    const auto& entries = stringTable(tableName);
    if (auto it = entries.find(std::string(key)); it != entries.end()) return it->second;
  }
  return std::string(value.empty() ? key : value);
}

}  // namespace foundation
