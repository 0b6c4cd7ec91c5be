// The real sound backend: Linux sound devices through RtAudio, one stream per direction.
#pragma once

#include <memory>

#include "platform/sound/SoundSystem.h"

namespace sound {

// Needs a Qt event loop on the calling (UI) thread, which receives the notifications. With no
// sound server or card the device lists are empty.
std::unique_ptr<SoundSystem> createRtAudioSoundSystem();

} // namespace sound
