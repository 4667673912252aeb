#include "platform/desktop/x11/gtk_pasteboard.h"

#include "platform/appkit/pasteboard.h"
#include "platform/desktop/x11/gtk_main_loop.h"

namespace desktop::x11 {

namespace {

bool isText(const std::string& type) { return type == appkit::pasteboardTypeString; }

}  // namespace

GtkPasteboard::GtkPasteboard() : clipboard_(gtk_clipboard_get(GDK_SELECTION_CLIPBOARD)) {
  ownerChangeHandler_ =
      g_signal_connect(clipboard_, "owner-change", G_CALLBACK(&GtkPasteboard::ownerChanged), this);
}

GtkPasteboard::~GtkPasteboard() { g_signal_handler_disconnect(clipboard_, ownerChangeHandler_); }

void GtkPasteboard::ownerChanged(GtkClipboard*, GdkEvent* event, gpointer data) {
  // Another program copied: its contents replace ours, as a new change of the pasteboard. (The owner is
  // a window of this program when the change is its own.)
  GdkWindow* owner = event->owner_change.owner;
  if (owner != nullptr && gdk_window_get_window_type(owner) != GDK_WINDOW_FOREIGN) return;
  auto& self = *static_cast<GtkPasteboard*>(data);
  std::lock_guard lock(self.mutex_);
  ++self.changeCount_;
  self.declaredTypes_ = {appkit::pasteboardTypeString};
  self.privateContents_.clear();
}

std::int64_t GtkPasteboard::declareTypes(const std::vector<std::string>& types) {
  std::int64_t count = 0;
  {
    std::lock_guard lock(mutex_);
    count = ++changeCount_;
    declaredTypes_ = {types.begin(), types.end()};
    privateContents_.clear();
  }
  // Nothing of the former contents stays pasteable, in this program or another.
  onMainThread([&] { gtk_clipboard_set_text(clipboard_, "", 0); });
  return count;
}

bool GtkPasteboard::setString(const std::string& value, const std::string& type) {
  {
    std::lock_guard lock(mutex_);
    if (!declaredTypes_.contains(type)) return false;
    if (!isText(type)) {
      privateContents_[type] = value;
      return true;
    }
  }
  onMainThread([&] { gtk_clipboard_set_text(clipboard_, value.data(), static_cast<gint>(value.size())); });
  return true;
}

std::optional<std::string> GtkPasteboard::string(const std::string& type) const {
  if (!isText(type)) {
    std::lock_guard lock(mutex_);
    auto found = privateContents_.find(type);
    if (found == privateContents_.end()) return std::nullopt;
    return found->second;
  }
  std::optional<std::string> text;
  onMainThread([&] {
    // Waits for the owner's answer, serving the main context meanwhile.
    if (gchar* contents = gtk_clipboard_wait_for_text(clipboard_)) {
      text.emplace(contents);
      g_free(contents);
    }
  });
  if (text && text->empty()) return std::nullopt;
  return text;
}

}  // namespace desktop::x11
