#include "platform/ui/receive_modifier.h"

#include <memory>
#include <utility>

#include "platform/foundation/run_loop.h"
#include "platform/ui/view_graph.h"

namespace ui {
namespace {

// What a shown view keeps while it receives. The action is replaced at each evaluation (it captures the
// view value of that evaluation); the subscription reads it through the shared slot, on the main thread.
struct Reception {
  std::shared_ptr<std::function<void(const std::any&)>> action;
  concurrency::AnyCancellable subscription;
};

}  // namespace

void ReceiveModifier::evaluated(detail::Node& node, detail::UpdateContext&, bool) const {
  if (auto* reception = std::any_cast<Reception>(&node.modifierState())) *reception->action = action;
}

void ReceiveModifier::appeared(detail::Node& node, detail::UpdateContext&) const {
  auto current = std::make_shared<std::function<void(const std::any&)>>(action);
  std::weak_ptr<std::function<void(const std::any&)>> weak = current;
  auto deliver = [weak](std::any value) {
    auto run = [weak, value = std::move(value)] {
      if (auto action = weak.lock(); action && *action) (*action)(value);
    };
    if (foundation::isMainThread()) {
      run();
    } else {
      foundation::RunLoop::main().async(std::move(run));
    }
  };
  auto subscription = subscribe ? subscribe(std::move(deliver)) : concurrency::AnyCancellable();
  node.modifierState() = Reception{std::move(current), std::move(subscription)};
}

void ReceiveModifier::disappeared(detail::Node& node, detail::UpdateContext&) const {
  if (auto* reception = std::any_cast<Reception>(&node.modifierState())) reception->subscription.cancel();
  node.modifierState().reset();
}

}  // namespace ui
