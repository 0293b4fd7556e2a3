#include "platform/win32/win32_schedule_dialog.h"
#include "platform/win32/win32_texts.h"

#include "core/twips.h"
#include "platform/win32/win32_messages.h"

namespace murmora::win32 {

namespace {

const wchar_t* const kScheduleClass = L"MurmoraSchedule";
constexpr int kChooseTargetId = 101;
constexpr int kActivateId = 102;
// The windows were laid out for a narrow lettering of 8 points.
constexpr int kDesignFontPoints = 8;

struct Frame {
    int left, top;
};
// The right-hand frames, as wide as their titles need in Windows' lettering in every language
// ("Set Recording Duration" was cut at its end in 2055 twips).
constexpr int kRightFrameWidth = 2295;
constexpr Frame kStartFrame{120, 100};
constexpr Frame kDurationFrame{3000, 100};
constexpr Frame kTargetFrame{120, 1790};
constexpr Frame kActivateFrame{3000, 1790};

} // namespace

Win32ScheduleDialog::Win32ScheduleDialog(HWND owner, const ScreenMetrics& screen) : owner_(owner), screen_(screen) {
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = &Win32ScheduleDialog::windowProc;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512) /* IDC_ARROW */);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    windowClass.lpszClassName = kScheduleClass;
    RegisterClassExW(&windowClass);

    const DWORD style = WS_POPUP | WS_CAPTION | WS_SYSMENU;
    const DWORD extended = WS_EX_DLGMODALFRAME | WS_EX_CONTROLPARENT;
    RECT outer{0, 0, across(kDurationFrame.left + kRightFrameWidth + 120), down(2610)};
    AdjustWindowRectEx(&outer, style, FALSE, extended);
    window_ = CreateWindowExW(extended, kScheduleClass, uiText("Murmora - Record Panel").c_str(), style, CW_USEDEFAULT,
                              CW_USEDEFAULT, outer.right - outer.left, outer.bottom - outer.top, owner, nullptr,
                              GetModuleHandleW(nullptr), this);
    const HDC screenDc = GetDC(nullptr);
    font_ = CreateFontW(-MulDiv(kDesignFontPoints, GetDeviceCaps(screenDc, LOGPIXELSY), 72), 0, 0, 0, FW_NORMAL, 0, 0,
                        0, DEFAULT_CHARSET, 0, 0, CLEARTYPE_QUALITY, 0, L"Tahoma");
    ReleaseDC(nullptr, screenDc);
    createControls();
}

Win32ScheduleDialog::~Win32ScheduleDialog() {
    if (window_) DestroyWindow(window_);
    if (font_) DeleteObject(font_);
}

int Win32ScheduleDialog::across(int twips) const { return pixelsOfTwips(twips, screen_.dotsPerInchX()); }

int Win32ScheduleDialog::down(int twips) const { return pixelsOfTwips(twips, screen_.dotsPerInchY()); }

HWND Win32ScheduleDialog::control(const wchar_t* type, const wchar_t* text, DWORD style, int left, int top, int width,
                                  int height, int id) {
    const HWND made = CreateWindowExW(
        0, type, text, WS_CHILD | WS_VISIBLE | style, across(left), down(top), across(width), down(height), window_,
        reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleW(nullptr), nullptr);
    SendMessageW(made, WM_SETFONT, reinterpret_cast<WPARAM>(font_), FALSE);
    return made;
}

void Win32ScheduleDialog::createControls() {
    auto frame = [this](Frame f, int width, int height, const wchar_t* caption) {
        control(L"BUTTON", caption, BS_GROUPBOX, f.left, f.top, width, height);
    };
    auto heading = [this](Frame f, int left, int width, const wchar_t* caption) {
        control(L"STATIC", caption, SS_LEFT, f.left + left, f.top + 240, width, 255);
    };
    auto box = [this](Frame f, int left, int top, int width, DWORD style) {
        return std::make_unique<Win32TextBox>(
            control(L"EDIT", L"", WS_BORDER | ES_AUTOHSCROLL | style, f.left + left, f.top + top, width, 285));
    };
    auto spinner = [this](Frame f, int left, int minimum, int maximum) {
        return std::make_unique<Win32Spinner>(
            control(L"SCROLLBAR", L"", SBS_VERT, f.left + left, f.top + 840, 255, 615), minimum, maximum);
    };
    frame(kStartFrame, 2775, 1575, uiText("Set Recording Time").c_str());
    frame(kDurationFrame, kRightFrameWidth, 1575, uiText("Set Recording Duration").c_str());
    frame(kTargetFrame, 2775, 735, uiText("Save As").c_str());
    frame(kActivateFrame, kRightFrameWidth, 735, uiText("AutoRecord").c_str());
    heading(kStartFrame, 240, 255, uiText("hr").c_str());
    heading(kStartFrame, 840, 375, uiText("min").c_str());
    heading(kStartFrame, 1440, 375, uiText("sec").c_str());
    heading(kStartFrame, 1920, 615, uiText("AM/PM").c_str());
    heading(kDurationFrame, 240, 375, uiText("hrs").c_str());
    heading(kDurationFrame, 840, 495, uiText("mins").c_str());
    heading(kDurationFrame, 1440, 495, uiText("secs").c_str());
    // The boxes take typing, and their arrow keys step their spinners: Tab goes to them.
    startHourBox = box(kStartFrame, 120, 480, 495, WS_TABSTOP);
    startMinuteBox = box(kStartFrame, 720, 480, 495, WS_TABSTOP);
    startSecondBox = box(kStartFrame, 1320, 480, 495, WS_TABSTOP);
    dayHalfBox = box(kStartFrame, 1920, 480, 495, WS_TABSTOP);
    durationHoursBox = box(kDurationFrame, 120, 480, 495, WS_TABSTOP);
    durationMinutesBox = box(kDurationFrame, 720, 480, 495, WS_TABSTOP);
    durationSecondsBox = box(kDurationFrame, 1320, 480, 495, WS_TABSTOP);
    startHourSpinner = spinner(kStartFrame, 240, 1, 12);
    startMinuteSpinner = spinner(kStartFrame, 840, 0, 59);
    startSecondSpinner = spinner(kStartFrame, 1440, 0, 59);
    dayHalfSpinner = spinner(kStartFrame, 2040, 1, 2);
    durationHoursSpinner = spinner(kDurationFrame, 240, 0, 9);
    durationMinutesSpinner = spinner(kDurationFrame, 840, 0, 59);
    durationSecondsSpinner = spinner(kDurationFrame, 1440, 0, 59);
    control(L"BUTTON", uiText("File").c_str(), BS_PUSHBUTTON | WS_TABSTOP, kTargetFrame.left + 120,
            kTargetFrame.top + 260, 735, 350, kChooseTargetId);
    targetPathBox = box(kTargetFrame, 880, 290, 1815, WS_TABSTOP);
    activateCheckBox = std::make_unique<Win32CheckBox>(control(L"BUTTON", uiText("Activate").c_str(),
                                                               BS_AUTOCHECKBOX | WS_TABSTOP, kActivateFrame.left + 120,
                                                               kActivateFrame.top + 290, 1335, 255, kActivateId));
}

void Win32ScheduleDialog::runModal() {
    if (!shownBefore_) centreOnOwner();
    shownBefore_ = true;
    EnableWindow(owner_, FALSE);
    ShowWindow(window_, SW_SHOW);
    SetForegroundWindow(window_);
    // As in a dialog, the keyboard starts at the first control Tab reaches: the hour's spinner.
    SetFocus(GetNextDlgTabItem(window_, nullptr, FALSE));
    MSG message;
    while (IsWindowVisible(window_)) {
        const BOOL got = GetMessageW(&message, nullptr, 0, 0);
        if (got <= 0) {
            // The program is ending: the outer loop must see it too.
            PostQuitMessage(got == 0 ? static_cast<int>(message.wParam) : 1);
            break;
        }
        dispatchMessage(message);
    }
    EnableWindow(owner_, TRUE);
}

void Win32ScheduleDialog::centreOnOwner() {
    RECT owner{}, own{};
    GetWindowRect(owner_, &owner);
    GetWindowRect(window_, &own);
    const int width = own.right - own.left;
    const int height = own.bottom - own.top;
    SetWindowPos(window_, nullptr, (owner.left + owner.right - width) / 2, (owner.top + owner.bottom - height) / 2, 0,
                 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void Win32ScheduleDialog::hide() {
    // The owner takes input again before the window goes, so that it becomes the active window.
    EnableWindow(owner_, TRUE);
    ShowWindow(window_, SW_HIDE);
}

LRESULT CALLBACK Win32ScheduleDialog::windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        auto* self = static_cast<Win32ScheduleDialog*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
        self->window_ = window;
        SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    }
    auto* self = reinterpret_cast<Win32ScheduleDialog*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    return self ? self->handle(message, wParam, lParam) : DefWindowProcW(window, message, wParam, lParam);
}

LRESULT Win32ScheduleDialog::handle(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_VSCROLL:
        if (auto* spinner =
                reinterpret_cast<Win32Spinner*>(GetWindowLongPtrW(reinterpret_cast<HWND>(lParam), GWLP_USERDATA)))
            spinner->onScroll(wParam);
        return 0;
    case WM_COMMAND:
        if (LOWORD(wParam) == kChooseTargetId && HIWORD(wParam) == BN_CLICKED && onChooseTargetClicked)
            onChooseTargetClicked();
        if (LOWORD(wParam) == IDCANCEL && onCloseRequested) onCloseRequested(); // Escape
        return 0;
    case WM_CLOSE:
        if (onCloseRequested) onCloseRequested();
        return 0;
    default:
        return DefWindowProcW(window_, message, wParam, lParam);
    }
}

} // namespace murmora::win32
