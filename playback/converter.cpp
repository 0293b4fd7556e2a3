#include "playback/converter.h"

#include "core/paths.h"
#include "core/texts.h"

namespace murmora {

namespace {

const char* const kEncoderName = "LAME.exe";
const char* const kConvertDialogTitle = textKey("Convert Wav File");
const char* const kEncoderMissing = textKey("File LAME.exe is required for mp3 conversion");

std::string encoderNotStarted(const std::error_code& why) {
    return translated("File LAME.exe could not be started (%s)", {why.message()});
}

} // namespace

Converter::Converter(ConverterServices services, ConverterControls controls)
    : services_(services), controls_(controls),
      convertButton_(services.pictures, services.screen, controls.convertButton, kConvertButtonLayout,
                     [this] { convert(); }) {}

void Converter::convert() {
    FileDialog& dialog = controls_.convertDialog;
    dialog.configure({.title = translated(kConvertDialogTitle), .filter = kWavFiles, .folderMustExist = true});
    const auto source = dialog.showOpen();
    if (!source || !services_.files.fileExists(*source)) return;
    const std::string target = *source + ".mp3";
    // Whatever has the MP3's name goes first, even when the encoder turns out to be missing: a
    // stale MP3, or a link, which would send the encoder's output wherever it points. A removal
    // that fails is left to the encoder, which writes over the file.
    static_cast<void>(services_.files.removeFile(target));

    const std::string encoder = pathInFolder(services_.files.libraryFolder(), kEncoderName);
    if (!services_.files.fileExists(encoder)) {
        services_.messages.show(translated(kEncoderMissing), MessageStyle::exclamation, kAppTitle);
        return;
    }
    // Two arguments and no shell: a path with blanks stays one argument, and the MP3 lands
    // under exactly the name chosen above. The encoder runs on its own; nothing waits for it.
    if (const std::error_code failure = services_.launcher.startDetached(encoder, {*source, target}, folderOf(*source)))
        services_.messages.show(encoderNotStarted(failure), MessageStyle::exclamation, kAppTitle);
}

} // namespace murmora
