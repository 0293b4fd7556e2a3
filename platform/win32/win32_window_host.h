#pragma once
#include "platform/win32/win32_panel_window.h"
#include "platform/win32/win32_schedule_dialog.h"
#include "platform/window_host.h"

namespace murmora::win32 {

// The program's two windows: the panel and the schedule window.
class Win32WindowHost final : public WindowHost {
public:
    Win32WindowHost(Win32PanelWindow& panel, Win32ScheduleDialog& scheduleDialog)
        : panel_(panel), scheduleDialog_(scheduleDialog) {}

    void setPanelBackground(const Picture& picture) override { panel_.setBackground(picture); }
    void minimizePanel() override { ShowWindow(panel_.handle(), SW_MINIMIZE); }
    // SetWindowRgn of GDI's region: the system owns it from then on and redraws the window.
    void setPanelOutline(const Outline& outline) override;
    void showScheduleWindow() override;
    void hideScheduleWindow() override { scheduleDialog_.hide(); }
    void unloadScheduleWindow() override;
    // Ends the message loop once the current handler has returned.
    void endProgram() override;

private:
    Win32PanelWindow& panel_;
    Win32ScheduleDialog& scheduleDialog_;
    bool scheduleWindowLoaded_ = true;
};

// The screen's logical dots per inch from GDI.
class Win32ScreenMetrics final : public ScreenMetrics {
public:
    double dotsPerInchX() const override;
    double dotsPerInchY() const override;
};

} // namespace murmora::win32
