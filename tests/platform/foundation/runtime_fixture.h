// A manual clock and a fresh main queue for each test.
#pragma once

#include "tests/support/manual_time_test.h"

using ManualTimeTest = testsupport::ManualTimeTest;
