#include "platform/appkit/beep.h"

#include "platform/desktop/headless_desktop.h"

namespace appkit {

void beep() {
  if (auto* desktop = desktop::HeadlessDesktop::current()) desktop->alerts().beep();
}

}  // namespace appkit
