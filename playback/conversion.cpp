#include "playback/conversion.h"

#include "shell/paths.h"

namespace murmora {

namespace {

const char* const EncoderName = "LAME.exe";
const char* const ConvertDialogTitle = "Convert Wav File";
const char* const EncoderMissingMessage = "File LAME.exe is required for mp3 conversion";

std::string EncoderNotStarted(const std::error_code& why) {
    return std::string("File LAME.exe could not be started (") + why.message() + ")";
}

} // namespace

std::string Conversion::EncoderPath() const {
    return PathInFolder(ctx_.os.files.programFolder(), EncoderName);
}

void Conversion::ConvertAction() {
    FileDialog& dialog = ctx_.ui.CommonDialog2;
    dialog.configure({ConvertDialogTitle, WavFileFilter, kHideReadOnly | kFolderMustExist});
    const auto chosen = dialog.showOpen();
    if (!chosen) return;

    Files& files = ctx_.os.files;
    ctx_.m.ConvertSourceFile = *chosen;
    if (!files.fileExists(ctx_.m.ConvertSourceFile)) return;
    ctx_.m.ConvertTargetFile = ctx_.m.ConvertSourceFile + ".mp3";
    // Whatever has the MP3's name goes first, even when the encoder turns out to be missing: a
    // stale MP3, or a link, which would send the encoder's output wherever it points. A failed
    // removal is left for the encoder, which writes over the file.
    static_cast<void>(files.removeFile(ctx_.m.ConvertTargetFile));

    const std::string encoder = EncoderPath();
    if (!files.fileExists(encoder)) {
        ctx_.os.messages.show(EncoderMissingMessage, MessageStyle::exclamation, AppTitle);
        return;
    }
    // Two arguments and no shell: a path with blanks stays one argument, and the MP3 lands
    // under exactly the name chosen above. The encoder runs on its own; nothing waits for it.
    const std::error_code failure = ctx_.os.launcher.startDetached(
        encoder, {ctx_.m.ConvertSourceFile, ctx_.m.ConvertTargetFile}, FolderOf(ctx_.m.ConvertSourceFile));
    if (failure) ctx_.os.messages.show(EncoderNotStarted(failure), MessageStyle::exclamation, AppTitle);
}

} // namespace murmora
