#pragma once
#include "platform/audio/audio_backend.h"

#include <memory>

namespace murmora::audio {

// The default input and output through PortAudio. PortAudio starts at the first stream opened,
// not before; while no device has been found it starts afresh at the next attempt, so that a
// sound server started later is found.
std::unique_ptr<AudioBackend> makePortAudioBackend();

} // namespace murmora::audio
