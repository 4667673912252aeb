#include "syntax_highlighter/font.h"

#include <ft2build.h>
#include FT_FREETYPE_H

#include <pwd.h>
#include <unistd.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <system_error>
#include <vector>

namespace Glint {
namespace {

std::optional<std::string> homeDirectory(const std::string& user) {
  if (user.empty()) {
    if (const char* home = std::getenv("HOME"); home != nullptr && *home != '\0') return std::string(home);
  }
  long bufferSize = sysconf(_SC_GETPW_R_SIZE_MAX);
  std::vector<char> buffer(bufferSize > 0 ? static_cast<std::size_t>(bufferSize) : 16384);
  passwd entry{};
  passwd* found = nullptr;
  const int error = user.empty() ? getpwuid_r(getuid(), &entry, buffer.data(), buffer.size(), &found)
                                 : getpwnam_r(user.c_str(), &entry, buffer.data(), buffer.size(), &found);
  if (error != 0 || found == nullptr || found->pw_dir == nullptr) return std::nullopt;
  return std::string(found->pw_dir);
}

struct LibraryDeleter {
  void operator()(FT_Library library) const { FT_Done_FreeType(library); }
};
struct FaceDeleter {
  void operator()(FT_Face face) const { FT_Done_Face(face); }
};

}  // namespace

std::string expandingTildeInPath(const std::string& path) {
  if (path.empty() || path.front() != '~') return path;
  const std::size_t slash = path.find('/');
  const std::string user = path.substr(1, slash == std::string::npos ? std::string::npos : slash - 1);
  const auto home = homeDirectory(user);
  if (!home) return path;
  std::string expanded = *home;
  if (slash != std::string::npos) {
    if (!expanded.empty() && expanded.back() == '/') expanded.pop_back();
    expanded += path.substr(slash);
  }
  return expanded;
}

Font::Font(const std::string& path, double size) : resource(Path{expandingTildeInPath(path)}), size(size) {}

std::optional<ui::Font> Font::loadFont(const std::string& path, double size) {
  // Only regular files: opening a named pipe or a device as a font would block or read without end.
  std::error_code error;
  if (!std::filesystem::is_regular_file(path, error)) return std::nullopt;
  FT_Library rawLibrary = nullptr;
  if (FT_Init_FreeType(&rawLibrary) != 0) return std::nullopt;
  std::unique_ptr<FT_LibraryRec_, LibraryDeleter> library(rawLibrary);
  FT_Face rawFace = nullptr;
  if (FT_New_Face(library.get(), path.c_str(), 0, &rawFace) != 0) return std::nullopt;
  std::unique_ptr<FT_FaceRec_, FaceDeleter> face(rawFace);
  // A size of zero (or one that is no size at all) asks for the platform's default size.
  const double pointSize = std::isfinite(size) && size > 0 ? size : 12.0;
  std::string family = face->family_name != nullptr ? face->family_name : "";
  return ui::Font::file(path, pointSize, std::move(family));
}

}  // namespace Glint
