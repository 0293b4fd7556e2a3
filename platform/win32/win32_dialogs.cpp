#include "platform/win32/win32_dialogs.h"
#include "platform/win32/win32_texts.h"

#include "platform/win32/win32_files.h"

#include "platform/wide/wide.h"

#include <commctrl.h>
#include <commdlg.h>

#include <iterator>
#include <optional>
#include <vector>

namespace murmora::win32 {

HWND dialogOwner() { return GetActiveWindow(); }

namespace {

constexpr int kProgressWidth = 420;
constexpr int kProgressHeight = 130;
constexpr int kCancelWidth = 88;
constexpr int kCancelHeight = 26;

} // namespace

INT_PTR CALLBACK Win32ProgressWindow::dialogProc(HWND window, UINT message, WPARAM wParam, LPARAM) {
    // The Cancel button, Escape and the close box all come as IDCANCEL (the dialog class turns
    // WM_CLOSE into it).
    if (message != WM_COMMAND || LOWORD(wParam) != IDCANCEL) return FALSE;
    if (auto* self = reinterpret_cast<Win32ProgressWindow*>(GetWindowLongPtrW(window, DWLP_USER))) self->cancel();
    return TRUE;
}

void Win32ProgressWindow::show(const std::string& text) {
    hide();
    owner_ = dialogOwner();
    // The system's dialog class: a plain framed window with a title, holding one line of text;
    // its close box works only once the save can be given up.
    window_ = CreateWindowExW(WS_EX_DLGMODALFRAME | WS_EX_TOPMOST | WS_EX_CONTROLPARENT, L"#32770", L"Murmora",
                              WS_POPUP | WS_CAPTION | WS_SYSMENU, (GetSystemMetrics(SM_CXSCREEN) - kProgressWidth) / 2,
                              (GetSystemMetrics(SM_CYSCREEN) - kProgressHeight) / 2, kProgressWidth, kProgressHeight,
                              owner_, nullptr, GetModuleHandleW(nullptr), nullptr);
    SetWindowLongPtrW(window_, DWLP_USER, reinterpret_cast<LONG_PTR>(this));
    SetWindowLongPtrW(window_, DWLP_DLGPROC, reinterpret_cast<LONG_PTR>(&Win32ProgressWindow::dialogProc));
    EnableMenuItem(GetSystemMenu(window_, FALSE), SC_CLOSE, MF_BYCOMMAND | MF_GRAYED);
    RECT client{};
    GetClientRect(window_, &client);
    text_ = text;
    line_ = CreateWindowExW(
        0, L"STATIC", toWide(text).c_str(), WS_CHILD | WS_VISIBLE | SS_CENTER | SS_CENTERIMAGE | SS_PATHELLIPSIS, 10, 0,
        client.right - 20, client.bottom - kCancelHeight - 16, window_, nullptr, GetModuleHandleW(nullptr), nullptr);
    SendMessageW(line_, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)), TRUE);
    if (owner_) EnableWindow(owner_, FALSE);
    ShowWindow(window_, SW_SHOWNORMAL);
    UpdateWindow(window_);
}

void Win32ProgressWindow::setPercent(int percent) {
    if (line_) SetWindowTextW(line_, toWide(text_ + "  " + std::to_string(percent) + " %").c_str());
}

void Win32ProgressWindow::offerCancel(std::function<void()> onCancel) {
    if (!window_) return;
    onCancel_ = std::move(onCancel);
    RECT client{};
    GetClientRect(window_, &client);
    const HWND button =
        CreateWindowExW(0, L"BUTTON", uiText("Cancel").c_str(), WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_DEFPUSHBUTTON,
                        (client.right - kCancelWidth) / 2, client.bottom - kCancelHeight - 10, kCancelWidth,
                        kCancelHeight, window_, reinterpret_cast<HMENU>(IDCANCEL), GetModuleHandleW(nullptr), nullptr);
    SendMessageW(button, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)), TRUE);
    EnableMenuItem(GetSystemMenu(window_, FALSE), SC_CLOSE, MF_BYCOMMAND | MF_ENABLED);
    SetFocus(button);
}

void Win32ProgressWindow::cancel() {
    // The handler may hide the window, and with it drop the handler.
    if (auto onCancel = onCancel_) onCancel();
}

void Win32ProgressWindow::hide() {
    line_ = nullptr;
    onCancel_ = nullptr;
    if (!window_) return;
    if (owner_) EnableWindow(owner_, TRUE);
    DestroyWindow(window_);
    window_ = nullptr;
}

namespace {

// MessageBoxW's icon for a message of the style.
UINT messageBoxIcon(MessageStyle style) {
    switch (style) {
    case MessageStyle::critical:
        return MB_ICONERROR;
    case MessageStyle::exclamation:
        return MB_ICONWARNING;
    case MessageStyle::information:
        return MB_ICONINFORMATION;
    }
    return 0;
}

} // namespace

void Win32MessageBoxes::show(const std::string& text, MessageStyle style, const std::string& title) {
    MessageBoxW(dialogOwner(), toWide(text).c_str(), toWide(title).c_str(),
                MB_OK | messageBoxIcon(style) | MB_SETFOREGROUND);
}

SaveAnswer Win32MessageBoxes::askToSave(const std::string& text, const std::string& title) {
    const std::wstring wideText = toWide(text);
    const std::wstring wideTitle = toWide(title);
    const std::wstring save = uiText("Save"), discard = uiText("Discard"), cancel = uiText("Cancel");
    const TASKDIALOG_BUTTON buttons[] = {{IDYES, save.c_str()}, {IDNO, discard.c_str()}, {IDCANCEL, cancel.c_str()}};
    TASKDIALOGCONFIG config{};
    config.cbSize = sizeof config;
    config.hwndParent = dialogOwner();
    config.dwFlags = TDF_ALLOW_DIALOG_CANCELLATION | TDF_POSITION_RELATIVE_TO_WINDOW;
    config.pszWindowTitle = wideTitle.c_str();
    config.pszMainIcon = TD_WARNING_ICON;
    config.pszContent = wideText.c_str();
    config.cButtons = static_cast<UINT>(std::size(buttons));
    config.pButtons = buttons;
    config.nDefaultButton = IDYES;
    int pressed = IDCANCEL;
    if (FAILED(TaskDialogIndirect(&config, &pressed, nullptr, nullptr))) return SaveAnswer::cancel;
    return pressed == IDYES ? SaveAnswer::save : pressed == IDNO ? SaveAnswer::discard : SaveAnswer::cancel;
}

std::wstring dialogFilter(const FileFilter& filter) {
    std::wstring out = uiText(filter.description.c_str());
    out.push_back(L'\0');
    for (std::size_t i = 0; i < filter.patterns.size(); ++i)
        out += (i ? L";" : L"") + toWide(filter.patterns[i]);
    out.push_back(L'\0');
    out.push_back(L'\0');
    return out;
}

namespace {

// The path as a message shows it: a name of more than 60 characters with its middle left out.
std::wstring shownPath(const std::wstring& path) {
    std::wstring shown;
    std::size_t start = 0;
    for (;;) {
        const std::size_t end = path.find_first_of(L"\\/", start);
        std::wstring part = path.substr(start, end == std::wstring::npos ? std::wstring::npos : end - start);
        if (part.size() > 60) part = part.substr(0, 40) + L'\u2026' + part.substr(part.size() - 19);
        shown += part;
        if (end == std::wstring::npos) return shown;
        shown += path[end];
        start = end + 1;
    }
}

// Why the file system cannot take a name: a path component longer than its volume allows (255
// characters on NTFS and FAT); else nothing.
std::optional<std::wstring> nameTooLong(const std::wstring& path) {
    DWORD limit = 255;
    std::wstring root(MAX_PATH + 1, L'\0');
    if (GetVolumePathNameW(path.c_str(), root.data(), static_cast<DWORD>(root.size())))
        GetVolumeInformationW(root.c_str(), nullptr, 0, nullptr, &limit, nullptr, nullptr, 0);
    std::size_t start = 0;
    for (;;) {
        const std::size_t end = path.find_first_of(L"\\/", start);
        const std::size_t length = (end == std::wstring::npos ? path.size() : end) - start;
        if (length > limit)
            return toWide(translated("%1$s\nThe name is too long for the file system: it has %2$s characters, and a "
                                     "name there may have at most %3$s.\nChoose a shorter name.",
                                     {fromWide(shownPath(path)), std::to_string(length), std::to_string(limit)}));
        if (end == std::wstring::npos) return std::nullopt;
        start = end + 1;
    }
}

} // namespace

DWORD fileDialogFlags(const FileDialogSetup& setup) {
    // The program's working folder stays where it is whatever folder the user goes to.
    DWORD flags = OFN_HIDEREADONLY | OFN_EXPLORER | OFN_NOCHANGEDIR;
    if (setup.askBeforeOverwrite) flags |= OFN_OVERWRITEPROMPT;
    if (setup.folderMustExist) flags |= OFN_PATHMUSTEXIST;
    return flags;
}

std::optional<std::string> Win32FileDialog::show(bool save) {
    // Room for a long path; the last name chosen is offered again.
    std::vector<wchar_t> name(32768, L'\0');
    lastFileName_.copy(name.data(), name.size() - 1);
    const std::wstring title = toWide(setup_.title);
    const std::wstring filter = dialogFilter(setup_.filter);
    OPENFILENAMEW dialog{};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = dialogOwner();
    dialog.lpstrFilter = filter.c_str();
    dialog.nFilterIndex = 1;
    dialog.lpstrFile = name.data();
    dialog.nMaxFile = static_cast<DWORD>(name.size());
    dialog.lpstrTitle = title.c_str();
    dialog.Flags = fileDialogFlags(setup_);
    // The first time, the user's Documents, wherever the program was started from; after that
    // the folder of the last name chosen.
    const std::wstring documents = lastFileName_.empty() ? toWide(Win32Files().homeFolder()) : std::wstring();
    if (!documents.empty()) dialog.lpstrInitialDir = documents.c_str();
    for (;;) {
        const BOOL chosen = save ? GetSaveFileNameW(&dialog) : GetOpenFileNameW(&dialog);
        if (!chosen || name[0] == L'\0') return std::nullopt;
        // A name the file system cannot take is refused, and the dialog asks again with it.
        const std::optional<std::wstring> refusal = nameTooLong(name.data());
        if (!refusal) break;
        MessageBoxW(dialogOwner(), refusal->c_str(), title.c_str(), MB_OK | MB_ICONWARNING);
    }
    // The format, the messages and Play go by the file Windows makes, not the name typed.
    lastFileName_ = nameAsCreated(name.data());
    return fromWide(lastFileName_);
}

} // namespace murmora::win32
