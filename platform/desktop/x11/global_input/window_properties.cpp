#include "platform/desktop/x11/global_input/window_properties.h"

#include <X11/Xlib.h>

namespace desktop::x11 {

std::vector<unsigned long> longProperty(Display* display, unsigned long window, const char* name,
                                        unsigned long type, long most) {
  Atom actualType = None;
  int format = 0;
  unsigned long count = 0;
  unsigned long remaining = 0;
  unsigned char* data = nullptr;
  std::vector<unsigned long> values;
  if (XGetWindowProperty(display, window, XInternAtom(display, name, False), 0, most, False, type,
                         &actualType, &format, &count, &remaining, &data) == Success &&
      actualType == type && format == 32) {
    const auto* items = reinterpret_cast<const unsigned long*>(data);
    values.assign(items, items + count);
  }
  if (data) XFree(data);
  return values;
}

std::string textProperty(Display* display, unsigned long window, const char* name) {
  Atom actualType = None;
  int format = 0;
  unsigned long count = 0;
  unsigned long remaining = 0;
  unsigned char* data = nullptr;
  std::string text;
  if (XGetWindowProperty(display, window, XInternAtom(display, name, False), 0, 1024, False,
                         XInternAtom(display, "UTF8_STRING", False), &actualType, &format, &count, &remaining,
                         &data) == Success &&
      format == 8 && data != nullptr)
    text.assign(reinterpret_cast<const char*>(data), count);
  if (data) XFree(data);
  return text;
}

}  // namespace desktop::x11
