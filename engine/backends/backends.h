#pragma once
#include "engine/audio_backend.h"

#include <memory>

namespace murmora::audio {

// The backend the program uses. On Linux the sound server through its own protocol whenever one
// answers, else PortAudio (plain ALSA); on Windows WASAPI (wasapi_backend.h).
std::unique_ptr<AudioBackend> makeAudioBackend();

} // namespace murmora::audio
