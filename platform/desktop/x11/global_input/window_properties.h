// Reading properties of X windows: lists of 32-bit items (windows, cardinals) and UTF-8 texts.
#pragma once

#include <string>
#include <vector>

struct _XDisplay;

namespace desktop::x11 {

// The items of a window's property of the given type and 32-bit format, up to `most` of them; empty when
// the window has no such property (or is gone).
std::vector<unsigned long> longProperty(_XDisplay* display, unsigned long window, const char* name,
                                        unsigned long type, long most = 1);
// A window's UTF8_STRING property; empty when it has none.
std::string textProperty(_XDisplay* display, unsigned long window, const char* name);

}  // namespace desktop::x11
