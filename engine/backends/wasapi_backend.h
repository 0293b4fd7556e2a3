#pragma once
#include "engine/audio_backend.h"

#include <memory>

namespace murmora::audio {

// The default input and output endpoints of Windows through WASAPI in shared mode, event-driven,
// each stream pumped by a thread of its own; Windows converts the format of the stream (16-bit
// PCM at the rate asked for) to and from the endpoint's. Opens, starts and stops run on one
// device thread and give up after kDeviceDeadline; the first open alone waits up to a second for
// the audio driver, which starts when the backend is made. A stream is lost when its endpoint is
// invalidated or removed, or stops delivering while it runs; when the user picks another default
// endpoint of its kind, a stream that is still alive moves to it and goes on.
std::unique_ptr<AudioBackend> makeWasapiBackend();

} // namespace murmora::audio
