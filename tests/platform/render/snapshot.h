// Snapshot tests of drawings: pinned fonts for the whole program, and comparison of a drawing with its
// golden PNG in fixtures/snapshots/ within a small per-pixel tolerance. Run with QUILLO_UPDATE_SNAPSHOTS=1
// (scripts/update-snapshots.sh) to write the drawings as the new goldens when a change is intended.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "platform/render/canvas.h"

namespace rendertest {

// Equal sizes, and no channel of any pixel further from the golden's than `tolerance` (of 255). On a
// mismatch the drawing and a picture of the differences are written to the system's temporary folder
// and named in the message.
::testing::AssertionResult matchesSnapshot(const render::Canvas& drawing, const std::string& name,
                                           int tolerance = 10);

}  // namespace rendertest
