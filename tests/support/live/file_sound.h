// A sound system of files for the live speech tests: what is spoken is written to one file, what the
// microphone hears is read from another.
#pragma once

#include <filesystem>
#include <memory>
#include <optional>
#include <utility>

#include "platform/desktop/audio/file_sound_system.h"

namespace testsupport::live {

// Speaks into `playbackFile` and hears `captureFile` (either may be absent). The microphone hears the file
// eight times faster than a person would speak it, after four seconds of quiet (half a second at that
// pace): what it hears before the recognition request exists is dropped, and the request is made once the
// main loop has turned, so the quiet keeps the first word whole on a busy machine.
inline std::shared_ptr<desktop::audio::FileSoundSystem> fileSoundSystem(
    std::optional<std::filesystem::path> playbackFile, std::optional<std::filesystem::path> captureFile) {
  desktop::audio::FileSoundSystem::Options options;
  options.playbackFile = std::move(playbackFile);
  options.captureFile = std::move(captureFile);
  options.capturePace = 8.0;
  options.leadingSilence = 4.0;
  return desktop::audio::FileSoundSystem::make(std::move(options));
}

}  // namespace testsupport::live
