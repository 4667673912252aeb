#include "platform/foundation/http/line_splitter.h"

#include <cstring>

namespace foundation {

void LineSplitter::append(std::string_view bytes) {
  // Drop the bytes already handed out before growing, so the buffer stays about one line long.
  if (start_ > 0 && start_ >= buffer_.size() / 2) {
    buffer_.erase(0, start_);
    scanned_ -= start_;
    start_ = 0;
  }
  buffer_.append(bytes);
}

std::optional<std::string> LineSplitter::nextLine() {
  const char* data = buffer_.data();
  const void* found = std::memchr(data + scanned_, '\n', buffer_.size() - scanned_);
  if (found == nullptr) {
    scanned_ = buffer_.size();
    return std::nullopt;
  }
  const std::size_t terminator = static_cast<std::size_t>(static_cast<const char*>(found) - data);
  std::size_t end = terminator;
  if (end > start_ && data[end - 1] == '\r') --end;
  std::string line(data + start_, end - start_);
  start_ = terminator + 1;
  scanned_ = start_;
  return line;
}

std::optional<std::string> LineSplitter::finish() {
  if (auto line = nextLine()) return line;
  if (start_ == buffer_.size()) return std::nullopt;
  std::string rest = buffer_.substr(start_);
  buffer_.clear();
  start_ = 0;
  scanned_ = 0;
  return rest;
}

}  // namespace foundation
