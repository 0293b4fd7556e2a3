// The user's words for what failed in the engine, which the panel shows and the command
// language tells.
#include "engine/audio_backend.h"
#include "engine/sound_failures.h"

#include <gtest/gtest.h>

#include <functional>

namespace murmora::audio {
namespace {

std::error_code systemError(std::errc error) { return std::make_error_code(error); }

TEST(SoundFailures, SayWhatFailedWhereAndWhy) {
    const struct {
        const char* name;
        std::function<SoundError()> failure;
        SoundFailure kind;
        const char* text;
    } cases[] = {
        {"take, silent server", [] { return takeNotStarted(AudioError::notAnswering, "/t"); },
         SoundFailure::notAnswering, "The sound server does not answer"},
        {"take, no server", [] { return takeNotStarted(AudioError::noServer, "/t"); }, SoundFailure::noDevice,
         "The sound input could not be opened"},
        {"take, no device", [] { return takeNotStarted(AudioError::deviceFailed, "/t"); }, SoundFailure::noDevice,
         "The sound input could not be opened"},
        {"take file", [] { return takeNotStarted(systemError(std::errc::permission_denied), "/t/a b"); },
         SoundFailure::takeFile, "The file for the recording could not be created in /t/a b (Permission denied)"},
        {"disk full", [] { return takeNotWritten(systemError(std::errc::no_space_on_device)); }, SoundFailure::takeFile,
         "The file for the recording could not be written to its end (No space left on device)"},
        {"stop unconfirmed", [] { return takeNotWritten(AudioError::notAnswering); }, SoundFailure::notAnswering,
         "The sound server does not answer"},
        {"input lost", [] { return takeInputLost(); }, SoundFailure::deviceLost, "The sound device went away"},
        {"not saved", [] { return takeNotSaved(systemError(std::errc::read_only_file_system)); },
         SoundFailure::notSaved, "The file could not be saved (Read-only file system)"},
        {"playback, silent server", [] { return playbackNotStarted(AudioError::notAnswering); },
         SoundFailure::notAnswering, "The sound server does not answer"},
        {"playback, no device", [] { return playbackNotStarted(AudioError::deviceFailed); }, SoundFailure::noDevice,
         "The sound output could not be opened"},
        {"not a WAV", [] { return playbackNotStarted(AudioError::notWav); }, SoundFailure::notPlayable,
         "The file is no WAV file that can be read"},
        {"no sound file", [] { return playbackNotStarted(AudioError::notSound); }, SoundFailure::notPlayable,
         "The file is no WAV, FLAC, Opus or MP3 file that can be played"},
        {"no file", [] { return playbackNotStarted(systemError(std::errc::no_such_file_or_directory)); },
         SoundFailure::notFound, "The file was not found (No such file or directory)"},
    };
    for (const auto& c : cases) {
        const SoundError error = c.failure();
        EXPECT_EQ(error.failure, c.kind) << c.name;
        EXPECT_EQ(error.text, c.text) << c.name;
    }
}

} // namespace
} // namespace murmora::audio
