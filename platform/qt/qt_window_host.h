#pragma once
#include <QRegion>
#include <QWidget>

#include "platform/qt/qt_panel_window.h"
#include "platform/qt/qt_schedule_dialog.h"
#include "platform/window_host.h"

namespace murmora::qt {

// The region as a Qt region: one rectangle for each span of each band.
QRegion toQRegion(const Region& region);

// The program's two windows: the panel and the schedule window.
class QtWindowHost final : public WindowHost {
public:
    QtWindowHost(QtPanelWindow& panel, QtScheduleWindow& scheduleWindow);

    void setPanelBackground(const Picture& picture) override;
    void minimizePanel() override { panel_.showMinimized(); }
    // The outline's pixels as the window's mask.
    void setPanelOutline(const Outline& outline) override;
    void showScheduleWindow() override;
    void hideScheduleWindow() override;
    void unloadScheduleWindow() override;
    void endProgram() override;

    // Shows the panel again if it was minimized, raises it and gives it the focus; the schedule
    // window too, while it is open.
    void bringPanelToFront();

private:
    QtPanelWindow& panel_;
    QtScheduleWindow& scheduleWindow_;
    bool scheduleWindowLoaded_ = true;
};

} // namespace murmora::qt
