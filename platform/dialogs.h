#pragma once
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "core/texts.h"

namespace murmora {

// What a message box tells, which its icon shows: a failure, a warning, or news.
enum class MessageStyle {
    critical,
    exclamation,
    information
};

// The answer to a question whether to save something before going on.
enum class SaveAnswer {
    save,
    discard,
    cancel
};

// Modal message boxes.
class MessageBoxes {
public:
    virtual ~MessageBoxes() = default;
    // A box with an OK button only; returns when the user has closed it.
    virtual void show(const std::string& text, MessageStyle style, const std::string& title) = 0;
    // A question with the buttons Save, Discard and Cancel; a box closed otherwise answers cancel.
    virtual SaveAnswer askToSave(const std::string& text, const std::string& title) = 0;
};

// The kind of file a file dialog lists: what its list of types says, and the names it shows.
struct FileFilter {
    std::string description;           // "Wav File (*.Wav)"
    std::vector<std::string> patterns; // {"*.Wav"}; matched without regard to case
    bool operator==(const FileFilter&) const = default;
};

// The one filter of every file dialog but the save dialog of a take in another format.
inline const FileFilter kWavFiles{kWavFileDescription, {"*.Wav"}};

struct FileDialogSetup {
    std::string title;
    FileFilter filter;
    // The user confirms the choice of a file that exists already.
    bool askBeforeOverwrite = false;
    // A name in a folder that does not exist is refused, and the dialog stays open.
    bool folderMustExist = false;
};

// A file dialog object. It keeps the last chosen file name between uses.
class FileDialog {
public:
    virtual ~FileDialog() = default;
    virtual void configure(const FileDialogSetup& setup) = 0;
    // The chosen path, or nothing when the user cancelled or the dialog failed.
    virtual std::optional<std::string> showSave() = 0;
    virtual std::optional<std::string> showOpen() = 0;
};

// A window that says what the program is busy with, until it is hidden. While it shows, the
// user cannot close it nor use the program's other windows.
class ProgressWindow {
public:
    virtual ~ProgressWindow() = default;
    // Shows `text` with a busy bar.
    virtual void show(const std::string& text) = 0;
    // How much of the work is done, 0 to 100: shown in place of the busy bar until hide().
    virtual void setPercent(int percent) = 0;
    // A Cancel button that runs `onCancel`, until hide(); the window still stays until it is
    // hidden.
    virtual void offerCancel(std::function<void()> onCancel) = 0;
    virtual void hide() = 0;
};

} // namespace murmora
