// Test programs find the application's resources in the build tree, where the build lays them out as they
// are installed: a test program does not lie beside them as the application does.
#include "platform/foundation/bundle.h"

namespace {

const bool isRegistered = [] {
  foundation::Bundle::addMainResourceFallback(QUILLO_BUILD_RESOURCE_DIR);
  return true;
}();

}  // namespace
