// Light or dark, as the desktop's setting says, followed while the program runs.
#pragma once

#include <gtk/gtk.h>

#include <cstddef>
#include <functional>
#include <map>

#include "platform/ui/color_scheme.h"

namespace desktop::x11 {

// Dark when the desktop prefers dark: the freedesktop colour-scheme setting (GNOME's
// org.gnome.desktop.interface color-scheme, where installed), GTK's dark-theme preference, or a GTK theme
// named as a dark one ("Adwaita-dark"). Main thread only; observers are called there when it changes.
class GtkAppearance {
 public:
  using Observer = std::function<void(ui::ColorScheme)>;

  GtkAppearance();
  ~GtkAppearance();
  GtkAppearance(const GtkAppearance&) = delete;
  GtkAppearance& operator=(const GtkAppearance&) = delete;

  ui::ColorScheme colorScheme() const { return scheme_; }
  std::size_t addObserver(Observer observer);
  void removeObserver(std::size_t token);

 private:
  static void settingChanged(GObject*, GParamSpec*, gpointer self);
  static void interfaceSettingChanged(GSettings*, gchar*, gpointer self);
  ui::ColorScheme readScheme() const;
  void update();

  GtkSettings* settings_ = nullptr;
  GSettings* interfaceSettings_ = nullptr;
  std::vector<gulong> handlers_;
  gulong interfaceHandler_ = 0;
  ui::ColorScheme scheme_ = ui::ColorScheme::light;
  std::map<std::size_t, Observer> observers_;
  std::size_t nextToken_ = 1;
};

}  // namespace desktop::x11
