#pragma once
#include <string>

#include "platform/dialogs.h"
#include "platform/win32/wide.h"

namespace murmora {

// The window a message box or file dialog belongs to: the active window of the program.
HWND dialogOwner();

class Win32MessageBoxes final : public MessageBoxes {
public:
    void show(const std::string& text, MessageStyle style, const std::string& title) override;
};

// GetSaveFileNameW / GetOpenFileNameW. The flags of the setup are the Windows dialog's own
// (OFN_OVERWRITEPROMPT, OFN_HIDEREADONLY, OFN_PATHMUSTEXIST).
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

} // namespace murmora
