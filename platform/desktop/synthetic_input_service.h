// Input this program makes up and hands to another application, as if the person had typed it there.
#pragma once

#include "platform/desktop/input_event.h"

namespace desktop {

class SyntheticInputService {
 public:
  virtual ~SyntheticInputService() = default;

  // Delivers a key event ("keyDown" or "keyUp", with its key code, modifier flags and the text it types)
  // to one process only: it does not enter the desktop's input event stream, so this program's own event
  // observers never see it. Returns false, delivering nothing, when the process is not running.
  virtual bool postKeyboardEvent(int processIdentifier, const InputEvent& event) = 0;
};

}  // namespace desktop
