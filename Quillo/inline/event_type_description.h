// The text name of an application-kit event type, as diagnostics write it.
#pragma once

#include <string>

#include "platform/appkit/event.h"

namespace Quillo {

// "leftMouseDown", "rightMouseDown" and "keyDown" for the three kinds the Inline assistant watches;
// "rawValue=" and the decimal number for every other kind.
std::string eventTypeDescription(appkit::EventType type);

}  // namespace Quillo
