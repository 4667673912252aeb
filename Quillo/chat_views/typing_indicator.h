// The typing indicator of the native chat: three dots bobbing one after the other in a small grey bubble.
#pragma once

#include "platform/ui/state.h"
#include "platform/ui/view.h"

namespace Quillo {

class LoadingBubble final : public ui::View {
 public:
  LoadingBubble() = default;
  ui::AnyView body() const override;

 private:
  ui::State<bool> animate_{false};  // toggled each time the bubble appears; selects the dots' offset
};

}  // namespace Quillo
