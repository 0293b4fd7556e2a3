#pragma once
#include <QRegion>
#include <QWidget>

#include "platform/window_host.h"
#include "platform/qt/form2_window.h"
#include "platform/qt/shaped_form_window.h"

namespace murmora {

// The region as a Qt region: one rectangle for each span of each band.
QRegion toQRegion(const Region& region);

// The program's two windows: the panel and the schedule window.
class QtWindowHost final : public WindowHost {
public:
    QtWindowHost(ShapedFormWindow& main, Form2Window& form2);

    void setPanelBackground(const Picture& picture) override;
    void minimizePanel() override { main_.showMinimized(); }
    void setPanelOutline(const Region& region) override;
    void showScheduleWindow() override;
    void hideScheduleWindow() override { form2_.hide(); }
    void unloadScheduleWindow() override;
    void endProgram() override;

    // True once the program has been told to end: later closes only let the windows go.
    bool programEnding() const { return ending_; }
    bool scheduleWindowLoaded() const { return form2Loaded_; }

private:
    ShapedFormWindow& main_;
    Form2Window& form2_;
    bool form2Loaded_ = true;
    bool ending_ = false;
};

} // namespace murmora
