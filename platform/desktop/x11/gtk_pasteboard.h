// The general pasteboard as the desktop's clipboard: text goes to and comes from the GTK clipboard, so
// other programs paste what this one copies and the other way round.
#pragma once

#include <gtk/gtk.h>

#include <cstdint>
#include <map>
#include <mutex>
#include <set>
#include <string>

#include "platform/desktop/pasteboard_service.h"

namespace desktop::x11 {

// Safe to call from any thread: the clipboard itself is used on the main thread only.
class GtkPasteboard final : public PasteboardService {
 public:
  GtkPasteboard();
  ~GtkPasteboard() override;

  std::int64_t declareTypes(const std::vector<std::string>& types) override;
  bool setString(const std::string& value, const std::string& type) override;
  std::optional<std::string> string(const std::string& type) const override;

 private:
  static void ownerChanged(GtkClipboard*, GdkEvent*, gpointer self);

  GtkClipboard* clipboard_;
  gulong ownerChangeHandler_ = 0;
  mutable std::mutex mutex_;
  std::int64_t changeCount_ = 0;
  std::set<std::string> declaredTypes_;
  // Contents of types other than text: this program's own, never seen by other programs.
  std::map<std::string, std::string> privateContents_;
};

}  // namespace desktop::x11
