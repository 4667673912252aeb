// Splits a byte stream into lines on the raw bytes (LF or CR LF), before any text decoding, so a
// multi-byte character is never cut whatever the pieces the bytes arrive in.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace foundation {

class LineSplitter {
 public:
  // Adds the next bytes of the stream.
  void append(std::string_view bytes);
  // The next complete line without its terminator, or nothing until more bytes arrive.
  std::optional<std::string> nextLine();
  // At the end of the stream: the next line, the last one too when it has no terminator; nothing once
  // every byte has been returned.
  std::optional<std::string> finish();
  // Bytes held that do not yet form a complete line (plus complete lines not taken yet).
  std::size_t bufferedSize() const { return buffer_.size() - start_; }

 private:
  std::string buffer_;
  std::size_t start_ = 0;    // first byte not yet returned
  std::size_t scanned_ = 0;  // bytes before this offset hold no LF (from start_)
};

}  // namespace foundation
