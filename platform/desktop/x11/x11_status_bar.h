// This program's items in the desktop's status area: a StatusNotifier item (ayatana-appindicator, with
// its menu) where the session has a StatusNotifier host, a tray icon (XEmbed) otherwise.
#pragma once

#include <gtk/gtk.h>

#include <cstdint>
#include <map>
#include <memory>

#include "platform/desktop/headless_status_bar.h"
#include "platform/desktop/status_bar_service.h"

namespace desktop::x11 {

// The records (numbers, widths, pictures, tooltips, handlers) are those of a headless status bar spanning
// the main screen's top; what the desktop shows follows them on the main thread. A click on a tray icon
// is a click on the item; a StatusNotifier host shows the item's menu on a click instead, whose first
// entry, "Open", clicks the item and whose last, "Quit", ends the application. An item's frame is where
// its tray icon is, or the top right of the main screen when the desktop does not say.
class X11StatusBar final : public StatusBarService {
 public:
  // How items are shown: chosen once, from whether the session bus has a StatusNotifier watcher.
  enum class Kind { statusNotifier, trayIcon };

  explicit X11StatusBar(foundation::Rect mainScreenFrame);
  ~X11StatusBar() override;

  Kind kind() const { return kind_; }

  double thickness() const override { return records_.thickness(); }
  std::uint64_t addItem(double width, ClickHandler onClick) override;
  void removeItem(std::uint64_t number) override;
  void setWidth(std::uint64_t number, double width) override;
  void setImage(std::uint64_t number, std::optional<StatusItemImage> image) override;
  void setToolTip(std::uint64_t number, std::optional<std::string> toolTip) override;
  std::optional<StatusItemRecord> item(std::uint64_t number) const override;

  // The tray icon of an item, null for items shown as StatusNotifier items. Main thread only.
  GtkStatusIcon* trayIcon(std::uint64_t number) const;

 private:
  struct Shown;
  void show(std::uint64_t number);

  Kind kind_;
  HeadlessStatusBar records_;
  // Touched on the main thread only.
  std::map<std::uint64_t, std::unique_ptr<Shown>> shown_;
};

}  // namespace desktop::x11
