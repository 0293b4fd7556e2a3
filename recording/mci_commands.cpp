#include "recording/mci_commands.h"

namespace murmora {

std::string QuotedPath(const std::string& path) { return '"' + path + '"'; }

int SendCaptureCommand(Context& ctx, const std::string& command) {
    return ctx.os.mci.SendString(command, ctx.m.CaptureReply.data(), ctx.m.CaptureReply.size());
}

int OpenAndRecordCapture(Context& ctx) {
    int result = SendCaptureCommand(ctx, "open new type waveaudio alias capture");
    if (result == 0) result = SendCaptureCommand(ctx, "record capture");
    if (result != 0) SendCaptureCommand(ctx, "close capture");
    return result;
}

void TellTakeNotStarted(Context& ctx, int result) {
    ctx.os.messages.MsgBox(ctx.os.mci.GetErrorString(result) + ": nothing is being recorded.", vbExclamation,
                           AppTitle);
}

void SendPlaybackCommand(Context& ctx, const std::string& command) {
    ctx.m.MciResult = std::to_string(ctx.os.mci.SendString(command, nullptr, 0));
}

void StopAndClosePlayback(Context& ctx) {
    SendPlaybackCommand(ctx, "stop voice1");
    SendPlaybackCommand(ctx, "close voice1");
}

bool PlayModeIsPlaying(const Context& ctx) { return ctx.m.PlayMode == "playing"; }

} // namespace murmora
