// Diagnostics: plain lines on standard output, capturable by tests.
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace foundation {

// Writes one diagnostic line (a newline is added). Thread-safe; lines are never interleaved.
void log(std::string_view line);

// Writes a diagnostic line that carries text read from other applications (what the person typed or
// selected there) only when standard output is a terminal someone watches. On a desktop session standard
// output usually ends in the system journal, kept on disk, where such text must not go.
void logReadText(std::string_view line);

// A secret (an API key) shortened for diagnostics: its first three and last four characters around
// "…", or "…" alone when it is too short to show any of it safely.
std::string redactedSecret(std::string_view secret);

// While alive, diagnostic lines go to this capture instead of standard output. Captures nest: the
// newest one receives the lines, and the previous one is restored when it ends.
class LogCapture {
 public:
  // Where the captured lines stand in for: a terminal, or standard output that goes elsewhere (a journal).
  enum class Output { terminal, notTerminal };

  explicit LogCapture(Output output = Output::terminal);
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
