#include "engine/sound_failures.h"

#include "core/texts.h"
#include "engine/audio_backend.h"
#include "engine/utf8_path.h"

#include <optional>

namespace murmora::audio {
namespace {

// The failures of the audio layer that are the same whatever was asked but for the device,
// which `notOpened` names.
std::optional<SoundError> deviceFailure(const std::error_code& error, const char* notOpened) {
    if (error == AudioError::notAnswering)
        return SoundError{SoundFailure::notAnswering, translated(kServerDoesNotAnswer)};
    if (error == AudioError::noServer || error == AudioError::deviceFailed)
        return SoundError{SoundFailure::noDevice, translated(notOpened)};
    return std::nullopt;
}

std::string withReason(const std::string& text, const std::error_code& error) {
    return translated("%s (%s)", {text, error.message()});
}

const char* const kInputNotOpened = textKey("The sound input could not be opened");

} // namespace

SoundError takeNotStarted(const std::error_code& error, const std::filesystem::path& takeFolder) {
    if (auto failure = deviceFailure(error, kInputNotOpened)) return *failure;
    return {
        SoundFailure::takeFile,
        withReason(translated("The file for the recording could not be created in %s", {utf8Of(takeFolder)}), error)};
}

SoundError takeNotWritten(const std::error_code& error) {
    if (auto failure = deviceFailure(error, kInputNotOpened)) return *failure;
    return {SoundFailure::takeFile,
            withReason(translated("The file for the recording could not be written to its end"), error)};
}

SoundError takeInputLost() { return {SoundFailure::deviceLost, translated("The sound device went away")}; }

SoundError takeNotSaved(const std::error_code& error) {
    if (error == std::errc::operation_canceled)
        return {SoundFailure::saveCancelled, translated("The save was cancelled")};
    return {SoundFailure::notSaved, withReason(translated("The file could not be saved"), error)};
}

SoundError inputsNotListed(const std::error_code& error) {
    if (auto failure = deviceFailure(error, textKey("The sound inputs could not be opened"))) return *failure;
    return {SoundFailure::noDevice, withReason(translated("The sound inputs could not be listed"), error)};
}

SoundError playbackNotStarted(const std::error_code& error) {
    if (auto failure = deviceFailure(error, textKey("The sound output could not be opened"))) return *failure;
    if (error == AudioError::notWav)
        return {SoundFailure::notPlayable, translated("The file is no WAV file that can be read")};
    if (error == AudioError::notSound)
        return {SoundFailure::notPlayable, translated("The file is no WAV, FLAC, Opus or MP3 file that can be played")};
    return {SoundFailure::notFound, withReason(translated("The file was not found"), error)};
}

} // namespace murmora::audio
