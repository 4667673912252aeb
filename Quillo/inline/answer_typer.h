// Types text into another application as synthetic keyboard events posted to its process: plain text as
// the Unicode string of one key press, each line feed as Shift-Return.
#pragma once

#include <atomic>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace Quillo {

// Posts one key press (down, then up; key code 0, no modifier flags) carrying the gathered characters as
// its Unicode string to the process, and empties the list. Posts nothing for an empty list.
void flushTypedBuffer(std::vector<std::string>& characters, std::int32_t processIdentifier);

// Holds the process that answers are typed into. The main thread sets it on every application activation
// while the answer task types from its own thread: the process identifier is an atomic, and each call
// of typeText reads it once, so a piece goes whole to one process.
class AnswerTyper {
 public:
  std::optional<std::int32_t> frontmostPid() const { return frontmostPid_.load(); }
  void setFrontmostPid(std::optional<std::int32_t> pid) { frontmostPid_.store(pid); }

  // Types one piece of text into the process named by frontmostPid, walking it character by character:
  // runs of characters other than LINE FEED go as one key press each, every LINE FEED as Shift-Return
  // (key code 36, flags 0x20000). Does nothing while no process is known. A key event the system refuses
  // to make is skipped.
  void typeText(std::string_view text) const;

 private:
  std::atomic<std::optional<std::int32_t>> frontmostPid_{std::nullopt};
};

}  // namespace Quillo
