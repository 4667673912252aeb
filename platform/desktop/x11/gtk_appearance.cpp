#include "platform/desktop/x11/gtk_appearance.h"

#include <algorithm>
#include <cctype>
#include <string>
#include <vector>

namespace desktop::x11 {

namespace {

bool namesDarkTheme(std::string name) {
  std::transform(name.begin(), name.end(), name.begin(), [](unsigned char c) { return std::tolower(c); });
  return name.ends_with("-dark") || name.ends_with(":dark") || name.ends_with("_dark");
}

}  // namespace

GtkAppearance::GtkAppearance() : settings_(gtk_settings_get_default()) {
  if (settings_ != nullptr) {
    for (const char* signal : {"notify::gtk-theme-name", "notify::gtk-application-prefer-dark-theme"})
      handlers_.push_back(
          g_signal_connect(settings_, signal, G_CALLBACK(&GtkAppearance::settingChanged), this));
  }
  GSettingsSchemaSource* schemas = g_settings_schema_source_get_default();
  if (GSettingsSchema* schema =
          schemas ? g_settings_schema_source_lookup(schemas, "org.gnome.desktop.interface", TRUE) : nullptr) {
    if (g_settings_schema_has_key(schema, "color-scheme")) {
      interfaceSettings_ = g_settings_new("org.gnome.desktop.interface");
      interfaceHandler_ = g_signal_connect(interfaceSettings_, "changed::color-scheme",
                                           G_CALLBACK(&GtkAppearance::interfaceSettingChanged), this);
    }
    g_settings_schema_unref(schema);
  }
  scheme_ = readScheme();
}

GtkAppearance::~GtkAppearance() {
  for (gulong handler : handlers_) g_signal_handler_disconnect(settings_, handler);
  if (interfaceSettings_ != nullptr) {
    g_signal_handler_disconnect(interfaceSettings_, interfaceHandler_);
    g_object_unref(interfaceSettings_);
  }
}

std::size_t GtkAppearance::addObserver(Observer observer) {
  observers_.emplace(nextToken_, std::move(observer));
  return nextToken_++;
}

void GtkAppearance::removeObserver(std::size_t token) { observers_.erase(token); }

ui::ColorScheme GtkAppearance::readScheme() const {
  if (interfaceSettings_ != nullptr) {
    gchar* preference = g_settings_get_string(interfaceSettings_, "color-scheme");
    const std::string value = preference != nullptr ? preference : "";
    g_free(preference);
    if (value == "prefer-dark") return ui::ColorScheme::dark;
    if (value == "prefer-light") return ui::ColorScheme::light;
  }
  if (settings_ == nullptr) return ui::ColorScheme::light;
  gboolean prefersDark = FALSE;
  gchar* themeName = nullptr;
  g_object_get(settings_, "gtk-application-prefer-dark-theme", &prefersDark, "gtk-theme-name", &themeName,
               nullptr);
  const bool isDarkTheme = themeName != nullptr && namesDarkTheme(themeName);
  g_free(themeName);
  return prefersDark || isDarkTheme ? ui::ColorScheme::dark : ui::ColorScheme::light;
}

void GtkAppearance::update() {
  const auto scheme = readScheme();
  if (scheme == scheme_) return;
  scheme_ = scheme;
  // A copy: an observer may add or remove observers.
  auto observers = observers_;
  for (auto& [token, observer] : observers)
    if (observer) observer(scheme);
}

void GtkAppearance::settingChanged(GObject*, GParamSpec*, gpointer self) {
  static_cast<GtkAppearance*>(self)->update();
}

void GtkAppearance::interfaceSettingChanged(GSettings*, gchar*, gpointer self) {
  static_cast<GtkAppearance*>(self)->update();
}

}  // namespace desktop::x11
