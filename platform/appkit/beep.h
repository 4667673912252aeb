// The system beep: the sound that tells a person a key press was refused.
#pragma once

namespace appkit {

// Plays the system beep (on the headless desktop: counted by its alerts). Any thread.
void beep();

}  // namespace appkit
