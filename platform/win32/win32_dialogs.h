#pragma once
#include <functional>
#include <string>

#include "platform/dialogs.h"
#include "platform/wide/wide.h"

namespace murmora::win32 {

// The window a message box or file dialog belongs to: the active window of the program.
HWND dialogOwner();

// A small window with a line of text that the user cannot close until a Cancel is offered; the
// program's other windows take no input while it shows. A percentage told is shown after the
// text. The Cancel offered runs by its button, Escape or the close box.
class Win32ProgressWindow final : public ProgressWindow {
public:
    ~Win32ProgressWindow() override { hide(); }
    void show(const std::string& text) override;
    void setPercent(int percent) override;
    void offerCancel(std::function<void()> onCancel) override;
    void hide() override;

private:
    static INT_PTR CALLBACK dialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    void cancel();

    HWND window_ = nullptr;
    HWND owner_ = nullptr;
    HWND line_ = nullptr;
    std::string text_;
    std::function<void()> onCancel_;
};

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

// The filter as the dialog takes it: the description and the patterns ("*.a;*.b"), each ended
// by a NUL, and a NUL that ends the list.
std::wstring dialogFilter(const FileFilter& filter);

} // namespace murmora::win32
