#pragma once
#include <memory>

#include <QRegion>
#include <QWidget>

#include "platform/window_host.h"
#include "platform/qt/form2_window.h"
#include "platform/qt/shaped_form_window.h"

namespace murmora {

// The region as a Qt region: one rectangle for each span of each band.
QRegion ToQRegion(const Region& region);

// The program's three windows: the panel, the schedule window and the empty Form1.
class QtWindowHost final : public WindowHost {
public:
    QtWindowHost(ShapedFormWindow& main, Form2Window& form2);

    void SetBackgroundPicture(const Picture& picture) override;
    void MinimizeMain() override { main_.showMinimized(); }
    void SetWindowRgn(const Region& region, bool redraw) override;
    void ShowForm2Modal() override;
    void HideForm2() override { form2_.hide(); }
    void UnloadForm1() override { form1_.reset(); }
    void UnloadForm2() override;
    void EndProgram() override;

    // True once the program has been told to end: later closes only let the windows go.
    bool ProgramEnding() const { return ending_; }
    bool Form1Loaded() const { return form1_ != nullptr; }
    bool Form2Loaded() const { return form2Loaded_; }

private:
    ShapedFormWindow& main_;
    Form2Window& form2_;
    std::unique_ptr<QWidget> form1_ = std::make_unique<QWidget>();
    bool form2Loaded_ = true;
    bool ending_ = false;
};

} // namespace murmora
