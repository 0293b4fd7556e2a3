#pragma once
#include <optional>
#include <string>

namespace murmora {

// Message box styles used by the program.
enum MessageStyle : int { vbCritical = 16, vbExclamation = 48, vbInformation = 64 };

class MessageBox {
public:
    virtual ~MessageBox() = default;
    // Modal, with an OK button only; returns when the user has closed it.
    virtual void MsgBox(const std::string& prompt, int style, const std::string& title) = 0;
};

// File dialog flags.
enum FileDialogFlag : int { cdlOFNOverwritePrompt = 2, cdlOFNHideReadOnly = 4, cdlOFNPathMustExist = 2048 };

struct FileDialogSetup {
    std::string DialogTitle;
    std::string Filter;   // "Description|pattern", e.g. "Wav File (*.Wav)|*.Wav"
    int Flags = 0;
};

// A file dialog object. It keeps the last chosen file name between uses.
class FileDialog {
public:
    virtual ~FileDialog() = default;
    virtual void Configure(const FileDialogSetup& setup) = 0;
    // The chosen path, or nothing when the user cancelled or the dialog failed.
    virtual std::optional<std::string> ShowSave() = 0;
    virtual std::optional<std::string> ShowOpen() = 0;
};

} // namespace murmora
