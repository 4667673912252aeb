// File panels as the headless desktop answers them: the program shows open and save panels, and a test
// decides beforehand what the person in front of them chooses.
#pragma once

#include <deque>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "platform/desktop/file_panel_service.h"

namespace desktop {

// Answers are taken in order, one per panel of their kind; a panel with no answer waiting is cancelled.
// Thread-safe: one mutex guards the answers and the record of shown panels.
class HeadlessFilePanels final : public FilePanelService {
 public:
  // The next open panel ends with OK and these file-system paths, or is cancelled when nothing is given.
  void answerNextOpenPanel(std::optional<std::vector<std::string>> paths);
  // The next save panel ends with OK and this file-system path, or is cancelled when nothing is given.
  void answerNextSavePanel(std::optional<std::string> path);

  // The program shows a panel and gets the person's choice (nothing: cancelled). An open panel that does
  // not allow multiple selection hands back at most the first path of its answer, and one that allows
  // neither files nor directories hands back no paths.
  std::optional<std::vector<std::string>> runOpenPanel(const FilePanelRequest& request) override;
  std::optional<std::string> runSavePanel(const FilePanelRequest& request) override;

  // The panels shown so far, oldest first.
  std::vector<FilePanelRequest> shownPanels() const;
  // Answers not used yet.
  std::size_t pendingAnswerCount() const;

 private:
  mutable std::mutex mutex_;
  std::deque<std::optional<std::vector<std::string>>> openAnswers_;
  std::deque<std::optional<std::string>> saveAnswers_;
  std::vector<FilePanelRequest> shown_;
};

}  // namespace desktop
