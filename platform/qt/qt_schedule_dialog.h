#pragma once
#include <functional>

#include <QDialog>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>

#include "platform/qt/qt_controls.h"
#include "platform/qt/qt_dialogs.h"
#include "platform/screen_metrics.h"

namespace murmora::qt {

// The schedule window: a fixed-size dialog with a close box, laid out in twips (client area
// 5175 x 2610) and converted to the screen's pixels. Every box takes typing.
class QtScheduleDialog final : public QDialog {
public:
    QtScheduleDialog(QWidget* owner, const ScreenMetrics& screen);

    // Runs instead of the close the user asked for (close box, Escape, the window manager):
    // the window stays shown until the handler hides it.
    std::function<void()> onCloseRequested;

    // Escape closes the window the same way as its close box.
    void reject() override;

    QGroupBox* const startFrame;
    QGroupBox* const durationFrame;
    QGroupBox* const targetFrame;
    QGroupBox* const activateFrame;
    QtTextBox* const startHourBox;
    QtTextBox* const startMinuteBox;
    QtTextBox* const startSecondBox;
    QtTextBox* const dayHalfBox;
    QtTextBox* const durationHoursBox;
    QtTextBox* const durationMinutesBox;
    QtTextBox* const durationSecondsBox;
    QtTextBox* const targetPathBox;
    QtSpinner* const startHourSpinner;
    QtSpinner* const startMinuteSpinner;
    QtSpinner* const startSecondSpinner;
    QtSpinner* const dayHalfSpinner;
    QtSpinner* const durationHoursSpinner;
    QtSpinner* const durationMinutesSpinner;
    QtSpinner* const durationSecondsSpinner;
    QPushButton* const chooseTargetButton;
    QtCheckBox* const activateCheckBox;
    QtFileDialog targetDialog;

protected:
    void closeEvent(QCloseEvent* event) override;
};

} // namespace murmora::qt
