// The window's part of event handling: key events along the responder chain, the key-view loop, and
// pointer presses and releases.
#include <vector>

#include "platform/appkit/event.h"
#include "platform/appkit/key_codes.h"
#include "platform/appkit/responder.h"
#include "platform/appkit/window.h"
#include "platform/foundation/run_loop.h"

namespace appkit {
namespace {

bool isPress(EventType type) {
  return type == EventType::leftMouseDown || type == EventType::rightMouseDown ||
         type == EventType::otherMouseDown;
}

bool isRelease(EventType type) {
  return type == EventType::leftMouseUp || type == EventType::rightMouseUp || type == EventType::otherMouseUp;
}

// The modifiers a person holds down on purpose: Caps Lock, the keypad and Function flags left out.
ModifierFlags heldModifiers(const Event& event) {
  return (event.modifierFlags() & ModifierFlags::deviceIndependentFlagsMask)
      .subtracting(ModifierFlags::capsLock | ModifierFlags::numericPad | ModifierFlags::function);
}

// The views of the key-view loop below `view`, in hierarchy order; hidden views and what they hold are
// left out.
void collectKeyViews(const std::shared_ptr<View>& view, std::vector<std::shared_ptr<View>>& loop) {
  if (view->isHidden()) return;
  if (auto* responder = dynamic_cast<Responder*>(view.get());
      responder && responder->canBecomeKeyView() && responder->acceptsFirstResponder()) {
    loop.push_back(view);
  }
  for (const auto& subview : view->subviews()) collectKeyViews(subview, loop);
}

// The nearest view at or above `view` that is a responder.
std::shared_ptr<View> nearestResponder(std::shared_ptr<View> view) {
  for (; view; view = view->superview()) {
    if (dynamic_cast<Responder*>(view.get())) return view;
  }
  return nullptr;
}

}  // namespace

void Window::sendEvent(const Event& event) {
  foundation::assertMainThread();
  // A handler may close the window or drop the last reference to it.
  auto keepAlive = weak_from_this().lock();
  if (event.type() == EventType::keyDown) {
    for (auto view = firstResponder(*this); view; view = view->superview()) {
      if (auto* responder = dynamic_cast<Responder*>(view.get()); responder && responder->keyDown(event))
        return;
    }
    const bool isBacktab = event.specialKey() == SpecialKey::backTab;
    if (event.keyCode() == KeyCode::tab || isBacktab) {
      const auto modifiers = heldModifiers(event);
      if (modifiers.subtracting(ModifierFlags::shift).isEmpty()) {
        if (isBacktab || modifiers.contains(ModifierFlags::shift)) {
          selectPreviousKeyView();
        } else {
          selectNextKeyView();
        }
      }
    }
    return;
  }
  if (isPress(event.type())) {
    makeKeyWindow();
    mouseTarget_.reset();
    if (!contentView_) return;
    // Only the responder under the pointer is asked to take focus: a click on a button inside a focusable
    // container leaves focus where it was.
    auto target = nearestResponder(contentView_->hitTest(event.locationInWindow()));
    if (!target) return;
    // A click into the view being edited goes to its editor: focus stays as it is.
    if (target != firstResponder(*this) && dynamic_cast<Responder*>(target.get())->acceptsFirstResponder()) {
      makeFirstResponder(*this, target);
    }
    mouseTarget_ = target;
    dynamic_cast<Responder*>(target.get())->mouseDown(event);
    return;
  }
  if (isRelease(event.type())) {
    auto target = mouseTarget_.lock();
    mouseTarget_.reset();
    if (target) dynamic_cast<Responder*>(target.get())->mouseUp(event);
  }
}

bool Window::selectNextKeyView() { return selectKeyView(true); }

bool Window::selectPreviousKeyView() { return selectKeyView(false); }

bool Window::selectKeyView(bool isForward) {
  foundation::assertMainThread();
  std::vector<std::shared_ptr<View>> loop;
  if (contentView_) collectKeyViews(contentView_, loop);
  if (loop.empty()) return false;
  const auto count = loop.size();
  const auto current = firstResponder(*this);
  std::size_t position = isForward ? count - 1 : 0;  // nothing focused: start at the first (last) view
  for (std::size_t i = 0; i < count; ++i) {
    if (loop[i] == current) position = i;
  }
  // The loop comes back to the focused view last: focusing it again ends its editing and starts it anew.
  for (std::size_t step = 1; step <= count; ++step) {
    const auto index = isForward ? (position + step) % count : (position + count - step % count) % count;
    if (makeFirstResponder(*this, loop[index])) return true;
  }
  return false;
}

}  // namespace appkit
