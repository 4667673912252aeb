// Runs another program from a test, waits for it and keeps what it printed.
#pragma once

#include <string>
#include <vector>

namespace testsupport {

struct ProgramRun {
  // The exit status, or -1 when the program could not be started or did not exit normally.
  int exitStatus = -1;
  // Standard output and standard error, interleaved as printed.
  std::string output;
};

// Runs `arguments` (the program's path first, found through PATH when it has no "/"), with the test's
// environment.
ProgramRun runProgram(const std::vector<std::string>& arguments);

}  // namespace testsupport
