#include "platform/appkit/responder.h"

#include <map>

#include "platform/foundation/run_loop.h"

namespace appkit {
namespace {

struct Focus {
  std::weak_ptr<const Window> window;  // tells a live window from a new one at a reused address
  std::weak_ptr<View> responder;
};

// Main-thread state: the first responder of every window that has had one.
std::map<const Window*, Focus>& focusByWindow() {
  static std::map<const Window*, Focus> focus;
  return focus;
}

void forgetClosedWindows() {
  std::erase_if(focusByWindow(), [](const auto& entry) { return entry.second.window.expired(); });
}

void setFocus(const Window& window, const std::shared_ptr<View>& view) {
  forgetClosedWindows();
  if (!view) {
    focusByWindow().erase(&window);
    return;
  }
  focusByWindow()[&window] = Focus{window.weak_from_this(), view};
}

bool isInWindow(const View& view, const Window& window) { return view.window().get() == &window; }

void notify(std::function<void(bool)> observer, bool isFirstResponder) {
  if (observer) observer(isFirstResponder);
}

}  // namespace

std::shared_ptr<View> firstResponder(const Window& window) {
  foundation::assertMainThread();
  auto found = focusByWindow().find(&window);
  if (found == focusByWindow().end() || found->second.window.lock().get() != &window) return nullptr;
  auto view = found->second.responder.lock();
  if (!view || !isInWindow(*view, window)) return nullptr;
  return view;
}

bool makeFirstResponder(Window& window, const std::shared_ptr<View>& view) {
  foundation::assertMainThread();
  auto current = firstResponder(window);
  auto* newResponder = dynamic_cast<Responder*>(view.get());
  if (current && current == view && newResponder && !newResponder->usesFieldEditor()) return true;
  if (current) {
    auto* resigning = dynamic_cast<Responder*>(current.get());
    if (resigning && !resigning->resignFirstResponder()) return false;
    setFocus(window, nullptr);
    // The observer may change views: it runs from a copy, with the responder kept alive by `current`.
    if (resigning) notify(resigning->firstResponderDidChange, false);
  }
  if (!view) return true;
  if (!newResponder || !isInWindow(*view, window) || !newResponder->acceptsFirstResponder()) return false;
  if (!newResponder->becomeFirstResponder()) return false;
  setFocus(window, view);
  notify(newResponder->firstResponderDidChange, true);
  return true;
}

}  // namespace appkit
