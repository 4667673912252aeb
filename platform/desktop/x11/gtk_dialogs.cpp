#include "platform/desktop/x11/gtk_dialogs.h"

#include <gtk/gtk.h>

#include <memory>
#include <utility>

namespace desktop::x11 {

namespace {

// GTK reads an underscore in a button title as a mnemonic; the title is shown as it stands.
std::string literalButtonTitle(const std::string& title) {
  std::string escaped;
  for (char character : title) {
    if (character == '_') escaped += '_';
    escaped += character;
  }
  return escaped;
}

GtkWindow* windowTitled(const std::string& title) {
  GtkWindow* found = nullptr;
  GList* windows = gtk_window_list_toplevels();
  for (GList* item = windows; item != nullptr && found == nullptr; item = item->next) {
    auto* window = GTK_WINDOW(item->data);
    const gchar* windowTitle = gtk_window_get_title(window);
    if (windowTitle != nullptr && title == windowTitle && gtk_widget_get_visible(GTK_WIDGET(window)))
      found = window;
  }
  g_list_free(windows);
  return found;
}

GtkMessageType messageTypeOf(std::uint64_t style) {
  switch (style) {
    case 1:
      return GTK_MESSAGE_INFO;
    case 2:
      return GTK_MESSAGE_ERROR;
    default:
      return GTK_MESSAGE_WARNING;
  }
}

struct PendingAlert {
  AlertService::Answer answer;
  std::optional<std::size_t> cancelIndex;
};

void answered(GtkDialog* dialog, gint response, gpointer data) {
  auto& pending = *static_cast<PendingAlert*>(data);
  std::size_t index = 0;
  if (response >= 0) {
    index = static_cast<std::size_t>(response);
  } else if (pending.cancelIndex) {
    index = *pending.cancelIndex;
  } else {
    return;  // the dialog stays until a button is pressed
  }
  auto answer = std::move(pending.answer);
  gtk_widget_destroy(GTK_WIDGET(dialog));  // frees `pending`
  if (answer) answer(index);
}

}  // namespace

void GtkAlerts::present(AlertRequest request, Answer answer) {
  GtkWindow* parent = request.sheetWindowTitle ? windowTitled(*request.sheetWindowTitle) : nullptr;
  GtkWidget* dialog = gtk_message_dialog_new(
      parent, static_cast<GtkDialogFlags>(GTK_DIALOG_MODAL | GTK_DIALOG_DESTROY_WITH_PARENT),
      messageTypeOf(request.style), GTK_BUTTONS_NONE, "%s", request.messageText.c_str());
  if (!request.informativeText.empty())
    gtk_message_dialog_format_secondary_text(GTK_MESSAGE_DIALOG(dialog), "%s",
                                             request.informativeText.c_str());
  auto titles = request.buttonTitles;
  if (titles.empty()) titles.push_back("OK");
  auto pending = std::make_unique<PendingAlert>();
  for (std::size_t index = 0; index < titles.size(); ++index) {
    gtk_dialog_add_button(GTK_DIALOG(dialog), literalButtonTitle(titles[index]).c_str(),
                          static_cast<gint>(index));
    if (titles[index] == "Cancel" && !pending->cancelIndex) pending->cancelIndex = index;
  }
  gtk_dialog_set_default_response(GTK_DIALOG(dialog), 0);
  pending->answer = std::move(answer);
  auto* data = pending.release();
  g_signal_connect_data(
      dialog, "response", G_CALLBACK(&answered), data,
      [](gpointer data, GClosure*) { delete static_cast<PendingAlert*>(data); }, GConnectFlags{});
  gtk_window_present(GTK_WINDOW(dialog));
}

void GtkAlerts::beep() {
  if (GdkDisplay* display = gdk_display_get_default()) gdk_display_beep(display);
}

namespace {

// Runs a file chooser modally; the chosen paths, nothing when it was cancelled.
std::optional<std::vector<std::string>> runChooser(GtkFileChooserAction action, const char* acceptTitle,
                                                   const FilePanelRequest& request) {
  GtkWidget* dialog = gtk_file_chooser_dialog_new(nullptr, nullptr, action, "_Cancel", GTK_RESPONSE_CANCEL,
                                                  acceptTitle, GTK_RESPONSE_ACCEPT, nullptr);
  auto* chooser = GTK_FILE_CHOOSER(dialog);
  gtk_dialog_set_default_response(GTK_DIALOG(dialog), GTK_RESPONSE_ACCEPT);
  if (action == GTK_FILE_CHOOSER_ACTION_SAVE) {
    gtk_file_chooser_set_do_overwrite_confirmation(chooser, TRUE);
    gtk_file_chooser_set_current_name(chooser, request.nameFieldStringValue.c_str());
  } else {
    gtk_file_chooser_set_select_multiple(chooser, request.allowsMultipleSelection);
  }
  std::optional<std::vector<std::string>> chosen;
  if (gtk_dialog_run(GTK_DIALOG(dialog)) == GTK_RESPONSE_ACCEPT) {
    chosen.emplace();
    GSList* names = gtk_file_chooser_get_filenames(chooser);
    for (GSList* item = names; item != nullptr; item = item->next) {
      chosen->emplace_back(static_cast<const char*>(item->data));
      g_free(item->data);
    }
    g_slist_free(names);
  }
  gtk_widget_destroy(dialog);
  return chosen;
}

}  // namespace

std::optional<std::vector<std::string>> GtkFilePanels::runOpenPanel(const FilePanelRequest& request) {
  // A panel that may choose nothing has nothing to show.
  if (!request.canChooseFiles && !request.canChooseDirectories) return std::vector<std::string>{};
  // GTK's chooser picks either files or folders; files win when both are allowed.
  const auto action =
      request.canChooseFiles ? GTK_FILE_CHOOSER_ACTION_OPEN : GTK_FILE_CHOOSER_ACTION_SELECT_FOLDER;
  auto chosen = runChooser(action, "_Open", request);
  if (chosen && !request.allowsMultipleSelection && chosen->size() > 1) chosen->resize(1);
  return chosen;
}

std::optional<std::string> GtkFilePanels::runSavePanel(const FilePanelRequest& request) {
  auto chosen = runChooser(GTK_FILE_CHOOSER_ACTION_SAVE, "_Save", request);
  if (!chosen || chosen->empty()) return std::nullopt;
  return chosen->front();
}

}  // namespace desktop::x11
