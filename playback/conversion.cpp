#include "playback/conversion.h"

#include "shell/paths.h"

namespace murmora {

namespace {

const char* const EncoderName = "LAME.exe";
const char* const ConvertDialogTitle = "Convert Wav File";
const char* const EncoderMissingMessage = "File LAME.exe is required for mp3 conversion";

} // namespace

std::string Conversion::EncoderPath() const {
    return PathInFolder(ctx_.os.files.ProgramFolder(), EncoderName);
}

void Conversion::ConvertAction() {
    FileDialog& dialog = ctx_.ui.CommonDialog2;
    dialog.Configure({ConvertDialogTitle, WavFileFilter, cdlOFNHideReadOnly | cdlOFNPathMustExist});
    const auto chosen = dialog.ShowOpen();
    if (!chosen) return;

    Files& files = ctx_.os.files;
    ctx_.m.ConvertSourceFile = *chosen;
    if (!files.FileExists(ctx_.m.ConvertSourceFile)) return;
    ctx_.m.ConvertTargetFile = ctx_.m.ConvertSourceFile + ".mp3";
    // Whatever has the MP3's name goes first, even when the encoder turns out to be missing: a
    // stale MP3, or a link, which would send the encoder's output wherever it points. A failed
    // removal is left for the encoder, which writes over the file.
    files.RemoveFile(ctx_.m.ConvertTargetFile);

    const std::string encoder = EncoderPath();
    if (!files.FileExists(encoder)) {
        ctx_.os.messages.MsgBox(EncoderMissingMessage, vbExclamation, AppTitle);
        return;
    }
    // Two arguments and no shell: a path with blanks stays one argument, and the MP3 lands
    // under exactly the name chosen above. The encoder runs on its own; nothing waits for it.
    ctx_.os.launcher.StartDetached(encoder, {ctx_.m.ConvertSourceFile, ctx_.m.ConvertTargetFile},
                                   FolderOf(ctx_.m.ConvertSourceFile));
}

} // namespace murmora
