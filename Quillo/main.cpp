// Quillo's entry point.
#include "platform/foundation/log.h"

int main() {
  foundation::log("Quillo: the desktop application is not built yet; this placeholder exits.");
  return 0;
}
