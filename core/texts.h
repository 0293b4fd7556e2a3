#pragma once

namespace murmora {

// The title of the program's windows and message boxes.
inline constexpr const char* kAppTitle = "Murmora";
// What the file dialogs call WAV files in their list of types.
inline constexpr const char* kWavFileDescription = "Wav File (*.Wav)";
// What the user is told when the sound server does not answer in time.
inline constexpr const char* kServerDoesNotAnswer = "The sound server does not answer";

} // namespace murmora
