#include "tests/platform/desktop/x11/live_desktop_fixture.h"

#include <gdk/gdkx.h>

#include <cstdlib>

#include "platform/render/renderer.h"

// Xlib's macros (None, Bool, Status) clash with names above: it comes last.
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>
#include <X11/keysym.h>

namespace testsupport::live {

namespace {

Display* xDisplay() { return gdk_x11_display_get_xdisplay(gdk_display_get_default()); }

}  // namespace

void movePointerTo(int x, int y) {
  XTestFakeMotionEvent(xDisplay(), -1, x, y, CurrentTime);
  XFlush(xDisplay());
}

void clickAt(int x, int y) {
  movePointerTo(x, y);
  XTestFakeButtonEvent(xDisplay(), 1, True, CurrentTime);
  XTestFakeButtonEvent(xDisplay(), 1, False, CurrentTime);
  XFlush(xDisplay());
}

bool clickTrayIconUntil(GtkStatusIcon* icon, const std::function<bool()>& clicked, int* clicks) {
  G_GNUC_BEGIN_IGNORE_DEPRECATIONS
  auto iconArea = [&] {
    GdkRectangle area{};
    gtk_status_icon_get_geometry(icon, nullptr, &area, nullptr);
    return area;
  };
  G_GNUC_END_IGNORE_DEPRECATIONS
  GdkRectangle last = iconArea();
  int stillPolls = 0;
  const bool settled = serveUntil([&] {
    const auto area = iconArea();
    const bool same = area.x == last.x && area.y == last.y && area.width == last.width;
    stillPolls = same && area.width > 0 ? stillPolls + 1 : 0;
    last = area;
    return stillPolls >= 10;
  });
  int made = 0;
  while (settled && !clicked() && made < 3) {
    const auto area = iconArea();
    clickAt(area.x + area.width / 2, area.y + area.height / 2);
    ++made;
    serveUntil(clicked, std::chrono::seconds(4));
  }
  if (clicks != nullptr) *clicks = made;
  return clicked();
}

void pressKey(unsigned long keySymbol, HeldKey held) {
  Display* display = xDisplay();
  const KeyCode code = XKeysymToKeycode(display, keySymbol);
  KeyCode modifier = 0;
  if (held == HeldKey::shift) modifier = XKeysymToKeycode(display, XK_Shift_L);
  if (held == HeldKey::control) modifier = XKeysymToKeycode(display, XK_Control_L);
  if (modifier != 0) XTestFakeKeyEvent(display, modifier, True, CurrentTime);
  XTestFakeKeyEvent(display, code, True, CurrentTime);
  XTestFakeKeyEvent(display, code, False, CurrentTime);
  if (modifier != 0) XTestFakeKeyEvent(display, modifier, False, CurrentTime);
  XFlush(display);
}

foundation::Point contentOrigin(const desktop::x11::GtkWindowPresenter& shown) {
  gint x = 0, y = 0;
  gdk_window_get_origin(gtk_widget_get_window(gtk_bin_get_child(GTK_BIN(shown.widget()))), &x, &y);
  return {static_cast<double>(x), static_cast<double>(y)};
}

bool drawAgainAndWait(desktop::x11::GtkWindowPresenter& shown) {
  int draws = 0;
  GtkWidget* content = gtk_bin_get_child(GTK_BIN(shown.widget()));
  const gulong handler =
      g_signal_connect_after(content, "draw", G_CALLBACK(+[](GtkWidget*, cairo_t*, gpointer count) {
                               ++*static_cast<int*>(count);
                               return FALSE;
                             }),
                             &draws);
  shown.setNeedsDisplay();
  const bool isDrawn = serveUntil([&] { return draws > 0; });
  g_signal_handler_disconnect(content, handler);
  XSync(xDisplay(), False);
  return isDrawn;
}

int differingPixels(const desktop::x11::GtkWindowPresenter& shown) {
  constexpr int kColourStep = 8;
  const auto canvas = render::Renderer().draw(*shown.window());
  const auto origin = contentOrigin(shown);
  XImage* image = XGetImage(xDisplay(), DefaultRootWindow(xDisplay()), static_cast<int>(origin.x),
                            static_cast<int>(origin.y), static_cast<unsigned>(canvas.pixelsWide()),
                            static_cast<unsigned>(canvas.pixelsHigh()), AllPlanes, ZPixmap);
  if (image == nullptr) return -1;
  int differing = 0;
  for (int y = 0; y < canvas.pixelsHigh(); ++y) {
    for (int x = 0; x < canvas.pixelsWide(); ++x) {
      const unsigned long onScreen = XGetPixel(image, x, y);
      const std::uint32_t drawn = canvas.pixel(x, y);
      for (int shift : {16, 8, 0}) {
        const int difference = std::abs(static_cast<int>((onScreen >> shift) & 0xFF) -
                                        static_cast<int>((drawn >> shift) & 0xFF));
        if (difference > kColourStep) {
          if (differing < 5)
            ADD_FAILURE() << "at " << x << "," << y << std::hex << " the screen shows " << onScreen
                          << ", the renderer drew " << drawn;
          ++differing;
          break;
        }
      }
    }
  }
  XDestroyImage(image);
  return differing;
}

}  // namespace testsupport::live
