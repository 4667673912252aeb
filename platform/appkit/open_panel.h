// The open panel: asks the person for one or more existing files (or folders) to open.
#pragma once

#include <functional>
#include <memory>
#include <vector>

#include "platform/appkit/save_panel.h"  // ModalResponse
#include "platform/foundation/url.h"

namespace appkit {

// The desktop shows the panel and the person chooses (the headless desktop answers from the test's
// script; without a desktop every panel is cancelled). Main thread only.
class OpenPanel : public std::enable_shared_from_this<OpenPanel> {
  struct Token {};

 public:
  static std::shared_ptr<OpenPanel> openPanel();
  explicit OpenPanel(Token) {}

  bool canChooseFiles() const { return canChooseFiles_; }
  void setCanChooseFiles(bool value) { canChooseFiles_ = value; }
  bool canChooseDirectories() const { return canChooseDirectories_; }
  void setCanChooseDirectories(bool value) { canChooseDirectories_ = value; }
  bool allowsMultipleSelection() const { return allowsMultipleSelection_; }
  void setAllowsMultipleSelection(bool value) { allowsMultipleSelection_ = value; }

  // The chosen files, once the panel ended with OK; empty before and after a cancel. Never more than one
  // unless multiple selection is allowed.
  const std::vector<foundation::URL>& urls() const { return urls_; }

  // Shows the panel and returns when the person has chosen.
  ModalResponse runModal();
  // Shows the panel and returns at once; the completion handler runs on the main queue when the person
  // has chosen. The panel stays alive until then.
  void begin(std::function<void(ModalResponse)> completionHandler);

 private:
  bool canChooseFiles_ = true;
  bool canChooseDirectories_ = false;
  bool allowsMultipleSelection_ = false;
  std::vector<foundation::URL> urls_;
};

}  // namespace appkit
