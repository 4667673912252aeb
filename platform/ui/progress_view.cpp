#include "platform/ui/progress_view.h"

#include <memory>

#include "platform/ui/views.h"

namespace ui {

AnyView ProgressView() {
  return AnyView(
      std::make_shared<detail::ContainerSpec>("ProgressView", std::vector<detail::Child>{}, "spinning"));
}

}  // namespace ui
