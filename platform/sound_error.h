#pragma once
#include <string>

namespace murmora {

// Why a call to the sound engine failed, as the rules tell the cases apart.
enum class SoundFailure {
    none,
    noDevice,      // no input or output could be opened
    notAnswering,  // the sound server did not answer in time; what was left open is cleaned up once it does
    deviceLost,    // the input or output went away
    takeFile,      // the take's file could not be made, or written to its end
    notSaved,      // the take could not be put at the path asked for; it is kept
    saveCancelled, // the save was given up when asked; the take is kept
    notFound,      // no such file
    notPlayable    // no sound file that can be played
};

// A failure and the user's words for it: what failed, where, and the system's reason. Empty
// (SoundFailure::none) on success.
struct SoundError {
    SoundFailure failure = SoundFailure::none;
    std::string text;

    explicit operator bool() const { return failure != SoundFailure::none; }
};

} // namespace murmora
