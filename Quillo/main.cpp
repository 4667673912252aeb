// Quillo's entry point.
#include "platform/foundation/log.h"
#include "platform/render/pango_text_measurer.h"

int main() {
  // Layout measures text in the fonts the renderer draws it with.
  render::installPangoTextMeasurer();
  foundation::log("Quillo: the desktop application is not built yet; this placeholder exits.");
  return 0;
}
