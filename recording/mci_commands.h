#pragma once
#include <string>

#include "shell/context.h"

namespace murmora {

// Device aliases.
inline const char* const CaptureAlias = "capture";
inline const char* const PlaybackAlias = "voice1";

// A path as a command carries it: in double quotes, which the MCI service needs around a path
// with blanks and between which it takes the path exactly as it stands.
std::string QuotedPath(const std::string& path);

// Sends a command for the device capture with CaptureReply as its 1024-character reply
// buffer and returns the result code.
int SendCaptureCommand(Context& ctx, const std::string& command);

// "open new type waveaudio alias capture", then "record capture". When either fails nothing
// records and the device is closed again. 0 when the take runs, else the failure's result code.
int OpenAndRecordCapture(Context& ctx);

// Tells the user that a take could not start, in the MCI service's words for `result`: the
// sound input, the file for the take and why, or a sound server that does not answer.
void TellTakeNotStarted(Context& ctx, int result);

// True when the device capture reports that its input went away: the take has ended.
bool CaptureLost(Context& ctx);

// The whole seconds the device capture holds.
long CaptureSeconds(Context& ctx);

// What the user is told when the sound server does not answer in time.
inline const char* const ServerDoesNotAnswer = "The sound server does not answer";

// Sends a command for the device voice1 without a reply buffer; the result code goes to
// MciResult as decimal text.
void SendPlaybackCommand(Context& ctx, const std::string& command);

// "stop voice1", then "close voice1".
void StopAndClosePlayback(Context& ctx);

// True while the last mode query found the device voice1 playing.
bool PlayModeIsPlaying(const Context& ctx);

} // namespace murmora
