// The application's event dispatch: its local event monitors see each event first, and what they let
// through goes to a window.
#pragma once

#include <memory>

#include "platform/appkit/event.h"
#include "platform/appkit/window.h"

namespace appkit {

// Hands one event of the application's input to its receivers, on the main thread: the local monitors of
// its type see it first (handleLocalEvent); what they pass on goes to the key window when it is a key
// event, and to `window` when it is a pointer event (the window the pointer is over; the key window when
// none is given). An event no window takes is dropped.
void dispatchEvent(const Event& event, const std::shared_ptr<Window>& window = nullptr);

}  // namespace appkit
