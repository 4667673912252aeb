// The person at the live session's keyboard and pointer, through the X server (XTest on the test's own
// GDK connection): typing ASCII text key by key as a US keyboard types it, key combinations with any
// modifier keys held, and clicks. Free of Xlib's headers, whose macros clash with GoogleTest's names.
#pragma once

#include <functional>
#include <string>
#include <vector>

namespace live_inline_test {

// Types the text one key at a time (Shift held where the key's character needs it); after each key,
// `isArrived` is asked, with the text typed so far, until the character has arrived where it went (a
// program reads keys only as fast as it can). False when a character did not arrive.
bool typeAsPerson(const std::string& text,
                  const std::function<bool(const std::string& typedSoFar)>& isArrived);

// Presses and releases a key (an X key symbol name: "Return", "k") with modifier keys held ("Shift_L",
// "Super_L", "Alt_L").
void pressCombination(const std::vector<std::string>& modifiers, const std::string& key);

// Clicks the first pointer button at a point of the screen (pixels from its top-left corner).
void clickAt(double x, double y);

}  // namespace live_inline_test
