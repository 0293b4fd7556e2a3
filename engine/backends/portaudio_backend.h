#pragma once
#include "engine/audio_backend.h"

#include <memory>

namespace murmora::audio {

// The default input and output through PortAudio, for machines without a sound server. Every
// PortAudio call runs on a thread of its own, so that a caller waits kDeviceDeadline at most
// even when a device hangs; only PortAudio's start, which lists the devices, may take up to a
// second. It starts at the first stream opened; while no stream is open it starts afresh at the
// next attempt, so that a device that came later is found.
std::unique_ptr<AudioBackend> makePortAudioBackend();

} // namespace murmora::audio
