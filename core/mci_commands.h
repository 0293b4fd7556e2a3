#pragma once
#include <string>

// Every MCI command text the program sends. A take records from the default input under the
// alias "capture"; a file plays under the alias "voice1".
namespace murmora::mci_commands {

inline constexpr const char* kOpenNewTake = "open new type waveaudio alias capture";
inline constexpr const char* kRecordTake = "record capture";
inline constexpr const char* kStopTake = "stop capture";
inline constexpr const char* kCloseTake = "close capture";
inline constexpr const char* kTakeModeQuery = "status capture mode";
inline constexpr const char* kTakeLengthQuery = "status capture length";
// The input's present peak sample value while recording, 0 to 32767.
inline constexpr const char* kTakeLevelQuery = "status capture level";
// "save capture" and the path in double quotes: the take so far as a WAV file at `path`.
std::string saveTake(const std::string& path);

// "open" and the path in double quotes, "type waveaudio alias voice1".
std::string openPlayback(const std::string& path);
inline constexpr const char* kTimeInMilliseconds = "set voice1 time format ms";
inline constexpr const char* kTimeInBytes = "set voice1 time format bytes";
inline constexpr const char* kPlaybackLengthQuery = "status voice1 length";
inline constexpr const char* kPlay = "play voice1";
inline constexpr const char* kStopPlayback = "stop voice1";
inline constexpr const char* kClosePlayback = "close voice1";
inline constexpr const char* kPlaybackModeQuery = "status voice1 mode";

// The mode replies the program looks for.
inline constexpr const char* kPlayingMode = "playing";
inline constexpr const char* kLostMode = "not ready";

// A path as a command carries it: in double quotes, which the MCI service needs around a path
// with blanks and between which it takes the path exactly as it stands.
std::string quotedPath(const std::string& path);

} // namespace murmora::mci_commands
