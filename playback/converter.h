#pragma once
#include <string>

#include "buttons/image_button.h"
#include "buttons/resource_pictures.h"
#include "platform/controls.h"
#include "platform/dialogs.h"
#include "platform/files.h"
#include "platform/process_launcher.h"
#include "platform/screen_metrics.h"

namespace murmora {

struct ConverterServices {
    Files& files;
    ProcessLauncher& launcher;
    MessageBoxes& messages;
    ResourcePictures& pictures;
    const ScreenMetrics& screen;
};

struct ConverterControls {
    PictureButton& convertButton;
    FileDialog& convertDialog;
};

// The Convert button: hands a chosen WAV file to the outside encoder LAME.exe in the program's
// library folder, which writes the MP3 beside it.
class Converter {
public:
    Converter(ConverterServices services, ConverterControls controls);

    // The Convert action.
    void convert();

private:
    ConverterServices services_;
    ConverterControls controls_;
    ImageButton convertButton_;
};

} // namespace murmora
