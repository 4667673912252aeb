// Keyboard focus: views that can take it, and each window's first responder (the view that gets key
// events), with the platform's handshake of resigning and becoming.
#pragma once

#include <functional>
#include <memory>

#include "platform/appkit/event.h"
#include "platform/appkit/view.h"
#include "platform/appkit/window.h"

namespace appkit {

// Mixed into a view that can take keyboard focus. Main thread only.
class Responder {
 public:
  virtual ~Responder() = default;

  // Whether the view takes focus at all (clicks and makeFirstResponder).
  virtual bool acceptsFirstResponder() const { return false; }
  // Whether the view takes part in the window's key-view loop (Tab, Shift-Tab).
  virtual bool canBecomeKeyView() const { return acceptsFirstResponder(); }
  // Asked before the view becomes first responder; false refuses.
  virtual bool becomeFirstResponder() { return true; }
  // Asked before the view stops being first responder; false refuses.
  virtual bool resignFirstResponder() { return true; }
  // A text field edits through a field editor that is the real first responder: making such a view
  // first responder again ends its editing and starts it anew.
  virtual bool usesFieldEditor() const { return false; }

  // A key press the window hands on: first to its first responder, then, while no one has handled it, to
  // the responders among that view's superviews. Returns whether this responder handled it.
  virtual bool keyDown(const Event&) { return false; }
  // A press of the pointer's button over the view (or over a view inside it that is no responder), and
  // its release, which goes to the responder that got the press wherever the pointer is by then.
  virtual void mouseDown(const Event&) {}
  virtual void mouseUp(const Event&) {}

  // Told after the view has become (true) or stopped being (false) its window's first responder; whoever
  // shows the view sets it to follow its focus.
  std::function<void(bool isFirstResponder)> firstResponderDidChange;
};

// The window's first responder, or null when the window itself is (nothing focused). A view that has
// left the window no longer counts. Main thread only.
std::shared_ptr<View> firstResponder(const Window& window);

// Makes `view` (null: nothing) the window's first responder: the current one is asked to resign (a
// refusal keeps it and fails), then `view` to become (it must be a responder in this window that accepts
// focus; otherwise the window itself is left first responder and this fails). Returns whether `view` is
// now first responder. Making the current first responder first responder again succeeds at once,
// except for views with a field editor (see usesFieldEditor).
bool makeFirstResponder(Window& window, const std::shared_ptr<View>& view);

}  // namespace appkit
