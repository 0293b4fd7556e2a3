#pragma once
#include "engine/audio_backend.h"

#include <memory>

namespace murmora::audio {

// The default input and output of the sound server (PulseAudio, or PipeWire's server for the
// same protocol) through libpulse's threaded main loop. The connection is opened at once in the
// background, kept while it lasts and opened afresh after the server went away. Opens answer
// `noServer` when nothing listens at the server's address.
std::unique_ptr<AudioBackend> makePulseBackend();

} // namespace murmora::audio
