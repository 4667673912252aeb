// Diagnostics: plain lines on standard output, capturable by tests.
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace foundation {

// Writes one diagnostic line (a newline is added). Thread-safe; lines are never interleaved.
void log(std::string_view line);

// A secret (an API key) shortened for diagnostics: its first three and last four characters around
// "…", or "…" alone when it is too short to show any of it safely.
std::string redactedSecret(std::string_view secret);

// While alive, diagnostic lines go to this capture instead of standard output. Captures nest: the
// newest one receives the lines, and the previous one is restored when it ends.
class LogCapture {
 public:
  LogCapture();
  ~LogCapture();
  LogCapture(const LogCapture&) = delete;
  LogCapture& operator=(const LogCapture&) = delete;

  std::vector<std::string> lines() const;
  bool contains(std::string_view line) const;

  struct State;

 private:
  State* state_;
  State* previous_;
};

}  // namespace foundation
