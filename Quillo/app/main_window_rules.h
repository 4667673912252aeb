// What happens when the main window is shown: the activation policy follows `showNormalApp` at once, and
// half a second later the main and settings windows take the level "floatOnTop" asks for and the main
// window closes when the application should live in the status bar alone.
#pragma once

#include <chrono>

namespace Quillo {

// The titles by which the application finds its main window (the settings window's is
// kSettingsWindowTitle).
inline constexpr const char* kMainWindowTitle = "Quillo";
// How long after the main window is shown its level and closing rule apply.
inline constexpr std::chrono::milliseconds kWindowLevelDelay{500};

// Each time the main window's content is shown: applyWindowLevels is put on the main queue for 0.5 s from
// now, and applyActivationPolicy runs at once.
void mainWindowAppeared();
// Regular while `showNormalApp` is on, accessory otherwise.
void applyActivationPolicy();
// Every window titled "Quillo" or "Quillo Settings" gets the floating level (3) while the plain setting
// "floatOnTop" is on and the normal level (0) otherwise; then every window titled "Quillo" closes while
// `showNormalApp` is off. Titles must match exactly; other windows are left alone.
void applyWindowLevels();
// The level part of applyWindowLevels, for a given "floatOnTop".
void setMainAndSettingsWindowLevels(bool floatOnTop);
// Closes every window titled "Quillo".
void closeMainWindows();

}  // namespace Quillo
