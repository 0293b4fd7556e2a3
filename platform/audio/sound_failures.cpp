#include "platform/audio/sound_failures.h"

#include "platform/audio/audio_backend.h"
#include "platform/audio/utf8_path.h"

#include <optional>

namespace murmora::audio {
namespace {

// The failures of the audio layer that are the same whatever was asked.
std::optional<SoundError> deviceFailure(const std::error_code& error, const char* device) {
    if (error == AudioError::notAnswering)
        return SoundError{SoundFailure::notAnswering, "The sound server does not answer"};
    if (error == AudioError::noServer || error == AudioError::deviceFailed)
        return SoundError{SoundFailure::noDevice, std::string("The sound ") + device + " could not be opened"};
    return std::nullopt;
}

std::string withReason(const std::string& text, const std::error_code& error) {
    return text + " (" + error.message() + ")";
}

} // namespace

SoundError takeNotStarted(const std::error_code& error, const std::filesystem::path& takeFolder) {
    if (auto failure = deviceFailure(error, "input")) return *failure;
    return {SoundFailure::takeFile,
            withReason("The file for the recording could not be created in " + utf8Of(takeFolder), error)};
}

SoundError takeNotWritten(const std::error_code& error) {
    if (auto failure = deviceFailure(error, "input")) return *failure;
    return {SoundFailure::takeFile, withReason("The file for the recording could not be written to its end", error)};
}

SoundError takeInputLost() { return {SoundFailure::deviceLost, "The sound device went away"}; }

SoundError takeNotSaved(const std::error_code& error) {
    if (error == std::errc::operation_canceled) return {SoundFailure::saveCancelled, "The save was cancelled"};
    return {SoundFailure::notSaved, withReason("The file could not be saved", error)};
}

SoundError inputsNotListed(const std::error_code& error) {
    if (auto failure = deviceFailure(error, "inputs")) return *failure;
    return {SoundFailure::noDevice, withReason("The sound inputs could not be listed", error)};
}

SoundError playbackNotStarted(const std::error_code& error) {
    if (auto failure = deviceFailure(error, "output")) return *failure;
    if (error == AudioError::notWav) return {SoundFailure::notPlayable, "The file is no WAV file that can be read"};
    if (error == AudioError::notSound)
        return {SoundFailure::notPlayable, "The file is no WAV, FLAC, Opus or MP3 file that can be played"};
    return {SoundFailure::notFound, withReason("The file was not found", error)};
}

} // namespace murmora::audio
