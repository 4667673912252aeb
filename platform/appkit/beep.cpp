#include "platform/appkit/beep.h"

#include "platform/desktop/alert_service.h"
#include "platform/desktop/desktop.h"

namespace appkit {

void beep() {
  if (auto* desktop = desktop::Desktop::current()) desktop->alerts().beep();
}

}  // namespace appkit
