#pragma once

namespace murmora {

// The title of the program's windows and message boxes.
inline constexpr const char* kAppTitle = "Murmora";
// The one filter of every file dialog; the dialogs match it without regard to case.
inline constexpr const char* kWavFileFilter = "Wav File (*.Wav)|*.Wav";
// What the user is told when the sound server does not answer in time.
inline constexpr const char* kServerDoesNotAnswer = "The sound server does not answer";

} // namespace murmora
