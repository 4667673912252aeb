// The modifier behind onReceive: a view that acts on every value of a publisher while it is shown.
#pragma once

#include <any>
#include <functional>
#include <string>

#include "platform/concurrency/cancellable.h"
#include "platform/ui/view_spec.h"

namespace ui {

// Subscribes when the modified view appears and cancels when it disappears. Each value runs the action
// of the view's latest evaluation on the main thread: at once when the value arrives there, otherwise on
// the main queue.
struct ReceiveModifier final : detail::Modifier {
  // Starts delivering the publisher's values to the callback; the handle stops the delivery.
  std::function<concurrency::AnyCancellable(std::function<void(std::any)>)> subscribe;
  std::function<void(const std::any&)> action;
  std::string name() const override { return "onReceive"; }
  void evaluated(detail::Node& node, detail::UpdateContext& context, bool isNew) const override;
  void appeared(detail::Node& node, detail::UpdateContext& context) const override;
  void disappeared(detail::Node& node, detail::UpdateContext& context) const override;
};

}  // namespace ui
