#include "platform/win32/win32_schedule_dialog.h"
#include "platform/win32/win32_texts.h"

#include "core/twips.h"
#include "platform/win32/win32_messages.h"
#include "platform/win32/win32_panel_layout.h"

namespace murmora::win32 {

namespace layout = schedule_layout;

namespace {

const wchar_t* const kScheduleClass = L"MurmoraSchedule";
constexpr int kChooseTargetId = 101;
constexpr int kActivateId = 102;
// The windows were laid out for a narrow lettering of 8 points.
constexpr int kDesignFontPoints = 8;

} // namespace

Win32ScheduleDialog::Win32ScheduleDialog(HWND owner, const ScreenMetrics& screen) : owner_(owner), screen_(screen) {
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = &ownedWindowProc<Win32ScheduleDialog>;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512) /* IDC_ARROW */);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    windowClass.lpszClassName = kScheduleClass;
    RegisterClassExW(&windowClass);

    const DWORD style = WS_POPUP | WS_CAPTION | WS_SYSMENU;
    const DWORD extended = WS_EX_DLGMODALFRAME | WS_EX_CONTROLPARENT;
    RECT outer{0, 0, across(layout::kClientWidth), down(layout::kClientHeight)};
    AdjustWindowRectEx(&outer, style, FALSE, extended);
    window_ = CreateWindowExW(extended, kScheduleClass, uiText(layout::kTitle).c_str(), style, CW_USEDEFAULT,
                              CW_USEDEFAULT, outer.right - outer.left, outer.bottom - outer.top, owner, nullptr,
                              GetModuleHandleW(nullptr), this);
    font_ = designFont(kDesignFontPoints);
    createControls();
}

Win32ScheduleDialog::~Win32ScheduleDialog() {
    if (window_) DestroyWindow(window_);
    if (font_) DeleteObject(font_);
}

int Win32ScheduleDialog::across(int twips) const { return pixelsOfTwips(twips, screen_.dotsPerInchX()); }

int Win32ScheduleDialog::down(int twips) const { return pixelsOfTwips(twips, screen_.dotsPerInchY()); }

HWND Win32ScheduleDialog::control(const wchar_t* type, const char* text, DWORD style, const layout::Box& place,
                                  int id) {
    const HWND made =
        CreateWindowExW(0, type, text ? uiText(text).c_str() : L"", WS_CHILD | WS_VISIBLE | style, across(place.left),
                        down(place.top), across(place.width), down(place.height), window_,
                        reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleW(nullptr), nullptr);
    SendMessageW(made, WM_SETFONT, reinterpret_cast<WPARAM>(font_), FALSE);
    return made;
}

void Win32ScheduleDialog::createControls() {
    for (const layout::Frame* frame :
         {&layout::kStartFrame, &layout::kDurationFrame, &layout::kTargetFrame, &layout::kActivateFrame})
        control(L"BUTTON", frame->caption, BS_GROUPBOX, frame->box);
    for (const layout::Field* field : layout::kFields)
        control(L"STATIC", field->headingText, SS_LEFT, inFrame(*field->frame, field->heading()));
    // The boxes take typing, and their arrow keys step their spinners: Tab goes to them, in the
    // order they are made.
    auto box = [this](const layout::Frame& frame, const layout::Box& place) {
        return std::make_unique<Win32TextBox>(
            control(L"EDIT", nullptr, WS_BORDER | ES_AUTOHSCROLL | WS_TABSTOP, inFrame(frame, place)));
    };
    auto field = [this, &box](const layout::Field& place, std::unique_ptr<Win32TextBox>& fieldBox,
                              std::unique_ptr<Win32Spinner>& spinner) {
        fieldBox = box(*place.frame, place.box());
        spinner = std::make_unique<Win32Spinner>(
            control(L"SCROLLBAR", nullptr, SBS_VERT, inFrame(*place.frame, place.spinner())), place.range.minimum,
            place.range.maximum);
    };
    field(layout::kStartHour, startHourBox, startHourSpinner);
    field(layout::kStartMinute, startMinuteBox, startMinuteSpinner);
    field(layout::kStartSecond, startSecondBox, startSecondSpinner);
    field(layout::kDayHalf, dayHalfBox, dayHalfSpinner);
    field(layout::kDurationHours, durationHoursBox, durationHoursSpinner);
    field(layout::kDurationMinutes, durationMinutesBox, durationMinutesSpinner);
    field(layout::kDurationSeconds, durationSecondsBox, durationSecondsSpinner);
    control(L"BUTTON", layout::kChooseTargetText, BS_PUSHBUTTON | WS_TABSTOP,
            inFrame(layout::kTargetFrame, layout::kChooseTargetButton), kChooseTargetId);
    targetPathBox = box(layout::kTargetFrame, layout::kTargetPathBox);
    activateCheckBox = std::make_unique<Win32CheckBox>(
        control(L"BUTTON", layout::kActivateText, BS_AUTOCHECKBOX | WS_TABSTOP,
                inFrame(layout::kActivateFrame, layout::kActivateCheckBox), kActivateId));
}

layout::Box Win32ScheduleDialog::inFrame(const layout::Frame& frame, const layout::Box& place) {
    return {frame.box.left + place.left, frame.box.top + place.top, place.width, place.height};
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
