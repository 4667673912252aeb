#include "platform/desktop/audio/sound_system.h"

#include "platform/desktop/audio/alsa_sound_system.h"
#include "platform/desktop/audio/pulse_sound_system.h"

namespace desktop::audio {

std::shared_ptr<SoundSystem> systemSoundSystem() {
  if (auto pulse = PulseSoundSystem::connect()) return pulse;
  if (auto alsa = AlsaSoundSystem::open()) return alsa;
  return nullptr;
}

}  // namespace desktop::audio
