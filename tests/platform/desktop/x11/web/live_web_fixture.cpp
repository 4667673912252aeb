#include "tests/platform/desktop/x11/web/live_web_fixture.h"

#include <optional>

// Fontconfig keeps the patterns of the fonts it matched for as long as the process runs, without a way to
// release them that Pango's font map would not use again: not a leak of ours.
extern "C" const char* __lsan_default_suppressions() {
  return "leak:libfontconfig.so\n"
         // JavaScriptCore keeps cycles of its own objects for the life of the process.
         "leak:libjavascriptcoregtk-4.1.so\n"
         // GLib's first block of quarks, made as the library loads, is left behind (never freed, as
         // lock-free readers may still hold it) once the many quarks of WebKit and GTK's file chooser
         // outgrow it. GLib is built without frame pointers, so the trace of any allocation through
         // g_malloc ends there and cannot tell that block from others.
         "leak:g_malloc\n"
         // libdbus keeps its connection to the session bus (the accessibility bridge's) for good.
         "leak:libdbus-1.so\n";
}

// See the file for why.
extern "C" const char* __ubsan_default_options() {
  return "print_stacktrace=1:suppressions=" QUILLO_TEST_DIR "/fixtures/ubsan_suppressions.txt";
}

namespace livewebtest {

std::string evaluated(webkit::WebView& view, const std::string& script) {
  std::optional<std::string> outcome;
  view.evaluateJavaScript(
      script, [&](const std::optional<foundation::Json>& result, const std::optional<webkit::WebError>&) {
        outcome = result ? foundation::jsonText(*result) : "";
      });
  if (!testsupport::live::serveUntil([&] { return outcome.has_value(); })) return "";
  return *outcome;
}

foundation::Point onDisplay(webkit::WebView& view, foundation::Point inPage) {
  auto page = webKitPage(view);
  if (!page) return {};
  gint x = 0, y = 0;
  GtkWidget* widget = GTK_WIDGET(page->webView());
  GtkWidget* top = gtk_widget_get_toplevel(widget);
  gint inTopX = 0, inTopY = 0;
  gtk_widget_translate_coordinates(widget, top, 0, 0, &inTopX, &inTopY);
  gdk_window_get_origin(gtk_widget_get_window(top), &x, &y);
  return {x + inTopX + inPage.x, y + inTopY + inPage.y};
}

}  // namespace livewebtest
