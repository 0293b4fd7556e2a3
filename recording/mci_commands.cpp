#include "recording/mci_commands.h"

#include <cstdlib>

#include "platform/mci_service.h"

namespace murmora {

std::string QuotedPath(const std::string& path) { return '"' + path + '"'; }

int SendCaptureCommand(Context& ctx, const std::string& command) {
    return ctx.os.mci.sendString(command, ctx.m.CaptureReply.data(), ctx.m.CaptureReply.size());
}

int OpenAndRecordCapture(Context& ctx) {
    int result = SendCaptureCommand(ctx, "open new type waveaudio alias capture");
    if (result == 0) result = SendCaptureCommand(ctx, "record capture");
    if (result != 0) SendCaptureCommand(ctx, "close capture");
    return result;
}

void TellTakeNotStarted(Context& ctx, int result) {
    const std::string why = result == mci::kServerNotAnswering
                                ? std::string(ServerDoesNotAnswer) + ": nothing is being recorded. Try again in a moment."
                                : ctx.os.mci.getErrorString(result) + ": nothing is being recorded.";
    ctx.os.messages.show(why, MessageStyle::exclamation, AppTitle);
}

bool CaptureLost(Context& ctx) {
    SendCaptureCommand(ctx, "status capture mode");
    return std::string(ctx.m.CaptureReply.c_str()) == "not ready";
}

long CaptureSeconds(Context& ctx) {
    SendCaptureCommand(ctx, "status capture length");
    return std::strtol(ctx.m.CaptureReply.c_str(), nullptr, 10) / 1000;
}

void SendPlaybackCommand(Context& ctx, const std::string& command) {
    ctx.m.MciResult = std::to_string(ctx.os.mci.sendString(command, nullptr, 0));
}

void StopAndClosePlayback(Context& ctx) {
    SendPlaybackCommand(ctx, "stop voice1");
    SendPlaybackCommand(ctx, "close voice1");
}

bool PlayModeIsPlaying(const Context& ctx) { return ctx.m.PlayMode == "playing"; }

} // namespace murmora
