#pragma once
#include <string>

#include "platform/dialogs.h"
#include "platform/wide/wide.h"

namespace murmora::win32 {

// The window a message box or file dialog belongs to: the active window of the program.
HWND dialogOwner();

// A small window with a line of text that the user cannot close; the program's other windows
// take no input while it shows. A percentage told is shown after the text.
class Win32ProgressWindow final : public ProgressWindow {
public:
    ~Win32ProgressWindow() override { hide(); }
    void show(const std::string& text) override;
    void setPercent(int percent) override;
    // Offers nothing: the saves here are WAV files the MCI service writes before the window could
    // be clicked, which cannot be given up.
    void offerCancel(std::function<void()>) override {}
    void hide() override;

private:
    HWND window_ = nullptr;
    HWND owner_ = nullptr;
    HWND line_ = nullptr;
    std::string text_;
};

// MessageBoxW's icon for a message of the style.
UINT messageBoxIcon(MessageStyle style);

class Win32MessageBoxes final : public MessageBoxes {
public:
    void show(const std::string& text, MessageStyle style, const std::string& title) override;
    // A task dialog: a message box cannot name its buttons.
    SaveAnswer askToSave(const std::string& text, const std::string& title) override;
};

// The Windows dialog's flags for the setup; the dialog's read-only box is always hidden.
DWORD fileDialogFlags(const FileDialogSetup& setup);

// GetSaveFileNameW / GetOpenFileNameW.
class Win32FileDialog final : public FileDialog {
public:
    void configure(const FileDialogSetup& setup) override { setup_ = setup; }
    std::optional<std::string> showSave() override { return show(true); }
    std::optional<std::string> showOpen() override { return show(false); }

private:
    std::optional<std::string> show(bool save);

    FileDialogSetup setup_;
    std::wstring lastFileName_;
};

// "Description|pattern|..." as the dialog's filter: the parts separated and ended by NULs.
std::wstring dialogFilter(const std::string& filter);

} // namespace murmora::win32
