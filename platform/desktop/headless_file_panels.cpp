#include "platform/desktop/headless_file_panels.h"

#include <utility>

namespace desktop {

void HeadlessFilePanels::answerNextOpenPanel(std::optional<std::vector<std::string>> paths) {
  std::lock_guard lock(mutex_);
  openAnswers_.push_back(std::move(paths));
}

void HeadlessFilePanels::answerNextSavePanel(std::optional<std::string> path) {
  std::lock_guard lock(mutex_);
  saveAnswers_.push_back(std::move(path));
}

std::optional<std::vector<std::string>> HeadlessFilePanels::runOpenPanel(const FilePanelRequest& request) {
  std::lock_guard lock(mutex_);
  auto shown = request;
  shown.kind = FilePanelRequest::Kind::open;
  shown_.push_back(shown);
  if (openAnswers_.empty()) return std::nullopt;
  auto answer = std::move(openAnswers_.front());
  openAnswers_.pop_front();
  if (!answer) return std::nullopt;
  if (!request.canChooseFiles && !request.canChooseDirectories) return std::vector<std::string>{};
  if (!request.allowsMultipleSelection && answer->size() > 1) answer->resize(1);
  return answer;
}

std::optional<std::string> HeadlessFilePanels::runSavePanel(const FilePanelRequest& request) {
  std::lock_guard lock(mutex_);
  auto shown = request;
  shown.kind = FilePanelRequest::Kind::save;
  shown_.push_back(shown);
  if (saveAnswers_.empty()) return std::nullopt;
  auto answer = std::move(saveAnswers_.front());
  saveAnswers_.pop_front();
  return answer;
}

std::vector<FilePanelRequest> HeadlessFilePanels::shownPanels() const {
  std::lock_guard lock(mutex_);
  return shown_;
}

std::size_t HeadlessFilePanels::pendingAnswerCount() const {
  std::lock_guard lock(mutex_);
  return openAnswers_.size() + saveAnswers_.size();
}

}  // namespace desktop
