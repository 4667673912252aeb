#include "platform/desktop/x11/x11_status_bar.h"

#include <gio/gio.h>
#include <libayatana-appindicator/app-indicator.h>

#include <string>

#include "platform/appkit/application.h"
#include "platform/desktop/x11/gtk_main_loop.h"
#include "platform/desktop/x11/screen_coordinates.h"
#include "platform/foundation/run_loop.h"

// GtkStatusIcon is GTK's XEmbed tray icon: deprecated for StatusNotifier items, and still what a tray
// without a StatusNotifier host (trayer, stalonetray, older panels) shows.
G_GNUC_BEGIN_IGNORE_DEPRECATIONS

namespace desktop::x11 {

namespace {

bool sessionHasStatusNotifierWatcher() {
  GDBusConnection* bus = g_bus_get_sync(G_BUS_TYPE_SESSION, nullptr, nullptr);
  if (bus == nullptr) return false;
  GVariant* reply = g_dbus_connection_call_sync(
      bus, "org.freedesktop.DBus", "/org/freedesktop/DBus", "org.freedesktop.DBus", "NameHasOwner",
      g_variant_new("(s)", "org.kde.StatusNotifierWatcher"), G_VARIANT_TYPE("(b)"), G_DBUS_CALL_FLAGS_NONE,
      1000, nullptr, nullptr);
  gboolean hasOwner = FALSE;
  if (reply != nullptr) {
    g_variant_get(reply, "(b)", &hasOwner);
    g_variant_unref(reply);
  }
  g_object_unref(bus);
  return hasOwner;
}

}  // namespace

struct X11StatusBar::Shown {
  ClickHandler onClick;
  GtkStatusIcon* icon = nullptr;
  AppIndicator* indicator = nullptr;
  GtkWidget* menu = nullptr;

  ~Shown() {
    if (icon != nullptr) {
      g_signal_handlers_disconnect_by_data(icon, this);
      gtk_status_icon_set_visible(icon, FALSE);
      g_object_unref(icon);
    }
    if (indicator != nullptr) {
      app_indicator_set_status(indicator, APP_INDICATOR_STATUS_PASSIVE);
      g_object_unref(indicator);
    }
    if (menu != nullptr) {
      gtk_widget_destroy(menu);
      g_object_unref(menu);
    }
  }

  void click() const {
    if (onClick) onClick();
  }
};

X11StatusBar::X11StatusBar(foundation::Rect mainScreenFrame)
    : kind_(sessionHasStatusNotifierWatcher() ? Kind::statusNotifier : Kind::trayIcon) {
  records_.setScreenFrame(mainScreenFrame);
}

X11StatusBar::~X11StatusBar() { shown_.clear(); }

std::uint64_t X11StatusBar::addItem(double width, ClickHandler onClick) {
  const auto number = records_.addItem(width, onClick);
  onMainThread([&] {
    auto shown = std::make_unique<Shown>();
    shown->onClick = std::move(onClick);
    auto* item = shown.get();
    // The menu: what a StatusNotifier host shows on a click, and a tray icon on the secondary button.
    shown->menu = gtk_menu_new();
    g_object_ref_sink(shown->menu);
    GtkWidget* open = gtk_menu_item_new_with_label("Open");
    g_signal_connect_swapped(open, "activate", G_CALLBACK(+[](Shown* item) { item->click(); }), item);
    GtkWidget* quit = gtk_menu_item_new_with_label("Quit");
    g_signal_connect(quit, "activate", G_CALLBACK(+[](GtkMenuItem*, gpointer) {
                       foundation::RunLoop::main().async([] { appkit::Application::shared().terminate(); });
                     }),
                     nullptr);
    gtk_menu_shell_append(GTK_MENU_SHELL(shown->menu), open);
    gtk_menu_shell_append(GTK_MENU_SHELL(shown->menu), gtk_separator_menu_item_new());
    gtk_menu_shell_append(GTK_MENU_SHELL(shown->menu), quit);
    gtk_widget_show_all(shown->menu);
    if (kind_ == Kind::statusNotifier) {
      const std::string identifier =
          std::string(g_get_prgname() ? g_get_prgname() : "quillo") + "-" + std::to_string(number);
      shown->indicator = app_indicator_new(identifier.c_str(), "", APP_INDICATOR_CATEGORY_APPLICATION_STATUS);
      app_indicator_set_menu(shown->indicator, GTK_MENU(shown->menu));
      app_indicator_set_secondary_activate_target(shown->indicator, open);
    } else {
      shown->icon = gtk_status_icon_new();
      g_signal_connect_swapped(shown->icon, "activate", G_CALLBACK(+[](Shown* item) { item->click(); }),
                               item);
      g_signal_connect(shown->icon, "popup-menu",
                       G_CALLBACK(+[](GtkStatusIcon*, guint, guint, gpointer data) {
                         gtk_menu_popup_at_pointer(GTK_MENU(static_cast<Shown*>(data)->menu), nullptr);
                       }),
                       item);
    }
    shown_[number] = std::move(shown);
  });
  return number;
}

void X11StatusBar::removeItem(std::uint64_t number) {
  records_.removeItem(number);
  onMainThread([&] { shown_.erase(number); });
}

void X11StatusBar::setWidth(std::uint64_t number, double width) { records_.setWidth(number, width); }

void X11StatusBar::setImage(std::uint64_t number, std::optional<StatusItemImage> image) {
  records_.setImage(number, image);
  show(number);
}

void X11StatusBar::setToolTip(std::uint64_t number, std::optional<std::string> toolTip) {
  records_.setToolTip(number, toolTip);
  show(number);
}

void X11StatusBar::show(std::uint64_t number) {
  const auto record = records_.item(number);
  if (!record) return;
  onMainThread([&] {
    auto found = shown_.find(number);
    if (found == shown_.end()) return;
    auto& shown = *found->second;
    const bool hasImage = record->image && !record->image->path.empty();
    if (shown.icon != nullptr) {
      if (hasImage) gtk_status_icon_set_from_file(shown.icon, record->image->path.c_str());
      gtk_status_icon_set_tooltip_text(shown.icon, record->toolTip ? record->toolTip->c_str() : nullptr);
      gtk_status_icon_set_visible(shown.icon, hasImage);
    } else if (shown.indicator != nullptr) {
      if (hasImage) {
        // A StatusNotifier host finds the picture by name in a folder of icons.
        app_indicator_set_icon_theme_path(shown.indicator, record->image->path.parent_path().c_str());
        app_indicator_set_icon_full(shown.indicator, record->image->path.stem().c_str(),
                                    record->toolTip ? record->toolTip->c_str() : "");
      }
      app_indicator_set_title(shown.indicator, record->toolTip ? record->toolTip->c_str() : "");
      app_indicator_set_status(shown.indicator,
                               hasImage ? APP_INDICATOR_STATUS_ACTIVE : APP_INDICATOR_STATUS_PASSIVE);
    }
  });
}

std::optional<StatusItemRecord> X11StatusBar::item(std::uint64_t number) const {
  auto record = records_.item(number);
  if (!record) return record;
  onMainThread([&] {
    GtkStatusIcon* icon = trayIcon(number);
    GdkRectangle area;
    if (icon == nullptr || !gtk_status_icon_is_embedded(icon) ||
        !gtk_status_icon_get_geometry(icon, nullptr, &area, nullptr))
      return;
    // The tray says where the icon is: the popover opens by it.
    record->frame = globalFrame(area);
  });
  return record;
}

GtkStatusIcon* X11StatusBar::trayIcon(std::uint64_t number) const {
  auto found = shown_.find(number);
  return found == shown_.end() ? nullptr : found->second->icon;
}

}  // namespace desktop::x11

G_GNUC_END_IGNORE_DEPRECATIONS
