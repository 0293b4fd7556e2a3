#pragma once
#include <functional>
#include <memory>

#include "platform/schedule_layout.h"
#include "platform/screen_metrics.h"
#include "platform/win32/win32_controls.h"
#include "platform/win32/win32_dialogs.h"
#include "platform/win32/win32_owned_window.h"

namespace murmora::win32 {

// The schedule window: a fixed-size window with a close box, owned by the panel, laid out as
// platform/schedule_layout.h says. Every box takes typing.
class Win32ScheduleDialog {
public:
    Win32ScheduleDialog(HWND owner, const ScreenMetrics& screen);
    ~Win32ScheduleDialog();
    Win32ScheduleDialog(const Win32ScheduleDialog&) = delete;
    Win32ScheduleDialog& operator=(const Win32ScheduleDialog&) = delete;

    HWND handle() const { return window_; }
    // Shows the window and handles messages until it is hidden again; the owner takes no input meanwhile.
    void runModal();
    void hide();

    // Run instead of the close the user asked for (close box, Escape, Alt+F4): the window stays
    // shown until the handler hides it.
    std::function<void()> onCloseRequested;
    std::function<void()> onChooseTargetClicked;

    std::unique_ptr<Win32TextBox> startHourBox, startMinuteBox, startSecondBox, dayHalfBox;
    std::unique_ptr<Win32TextBox> durationHoursBox, durationMinutesBox, durationSecondsBox, targetPathBox;
    std::unique_ptr<Win32Spinner> startHourSpinner, startMinuteSpinner, startSecondSpinner, dayHalfSpinner;
    std::unique_ptr<Win32Spinner> durationHoursSpinner, durationMinutesSpinner, durationSecondsSpinner;
    std::unique_ptr<Win32CheckBox> activateCheckBox;
    Win32FileDialog targetDialog;

private:
    template <typename Owner>
    friend LRESULT CALLBACK ownedWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT handle(UINT message, WPARAM wParam, LPARAM lParam);
    void createControls();
    // The first time it shows, the window stands in the middle of the panel.
    void centreOnOwner();
    // Makes a child control at `place` in twips, with the translation of `text` if there is one.
    HWND control(const wchar_t* type, const char* text, DWORD style, const schedule_layout::Box& place, int id = 0);
    // `place` in a frame, from the window's client corner.
    static schedule_layout::Box inFrame(const schedule_layout::Frame& frame, const schedule_layout::Box& place);
    int across(int twips) const;
    int down(int twips) const;

    HWND owner_;
    const ScreenMetrics& screen_;
    HWND window_ = nullptr;
    HFONT font_ = nullptr;
    bool shownBefore_ = false;
};

} // namespace murmora::win32
