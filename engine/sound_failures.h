#pragma once
#include "platform/sound_error.h"

#include <filesystem>
#include <system_error>

namespace murmora::audio {

// The user's words for what went wrong in the engine: what failed, where, and the reason the
// audio layer or the system gave. The panel and the MCI command language tell the same words.

// A take could not be opened (its file made in `takeFolder`, its input opened) or started.
SoundError takeNotStarted(const std::error_code& error, const std::filesystem::path& takeFolder);
// The take could not be written to its end: the disk refused its frames (it holds what was
// written before), or the sound server did not confirm its stop.
SoundError takeNotWritten(const std::error_code& error);
// The input went away during the take.
SoundError takeInputLost();
// The take could not be put at the path asked for, or its save was cancelled.
SoundError takeNotSaved(const std::error_code& error);
// The inputs could not be listed.
SoundError inputsNotListed(const std::error_code& error);
// A file could not be opened to play, or its playing started.
SoundError playbackNotStarted(const std::error_code& error);

} // namespace murmora::audio
