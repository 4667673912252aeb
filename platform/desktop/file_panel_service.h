// Open and save panels as the desktop shows them: the person chooses files, or cancels.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace desktop {

// A panel as the person sees it.
struct FilePanelRequest {
  enum class Kind { open, save };
  Kind kind = Kind::open;
  bool canChooseFiles = true;
  bool canChooseDirectories = false;
  bool allowsMultipleSelection = false;
  // The file name proposed in a save panel ("" for open panels).
  std::string nameFieldStringValue;

  bool operator==(const FilePanelRequest&) const = default;
};

// Each panel is modal: the call returns once the person has chosen. Called on the main thread.
class FilePanelService {
 public:
  virtual ~FilePanelService() = default;

  // The file-system paths chosen in an open panel, nothing when it was cancelled. At most one path when
  // the request does not allow multiple selection; none when it allows neither files nor directories.
  virtual std::optional<std::vector<std::string>> runOpenPanel(const FilePanelRequest& request) = 0;
  // The file-system path chosen in a save panel, nothing when it was cancelled.
  virtual std::optional<std::string> runSavePanel(const FilePanelRequest& request) = 0;
};

}  // namespace desktop
