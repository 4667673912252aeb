// What a recognition task reports: the text recognised so far, whether it is final, and failures.
#pragma once

#include <string>

namespace speech {

// One reading of the audio heard so far.
struct Transcription {
  std::string formattedString;
  bool operator==(const Transcription&) const = default;
};

// A result of a recognition task. Results are cumulative: each holds the whole text recognised so far.
struct RecognitionResult {
  Transcription bestTranscription;
  bool isFinal = false;
  bool operator==(const RecognitionResult&) const = default;
};

// Codes of the recognition failures this layer reports itself; the recognition service adds its own.
namespace recognition_error_code {
inline constexpr int cancelled = 301;
inline constexpr int notAuthorized = 1700;
inline constexpr int unavailable = 1101;
}  // namespace recognition_error_code

// A failure of a recognition task.
struct RecognitionError {
  int code = 0;
  std::string localizedDescription;
  bool operator==(const RecognitionError&) const = default;
};

}  // namespace speech
