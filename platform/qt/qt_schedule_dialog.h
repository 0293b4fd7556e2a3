#pragma once
#include <functional>
#include <memory>

#include <QDialog>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>

#include "platform/qt/held_controls.h"
#include "platform/qt/qt_controls.h"
#include "platform/qt/qt_dialogs.h"
#include "platform/schedule_layout.h"
#include "platform/screen_metrics.h"

namespace murmora::qt {

class QtScheduleWindow;

// The schedule window: a fixed-size dialog with a close box, laid out as platform/schedule_layout.h
// says. Every box takes typing.
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

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    QWidget* frameOf(const schedule_layout::Field& field) const;
    QtTextBox* box(const ScreenMetrics& screen, const schedule_layout::Field& field) const;
    QtSpinner* spinner(const ScreenMetrics& screen, const schedule_layout::Field& field, QtTextBox* box) const;
};

// The schedule window as the rules see it from the start. The dialog itself is made the first
// time it is asked for: making its text boxes sets up the fonts, which would hold back the
// panel's first appearance. Until then its controls hold what the rules tell them.
class QtScheduleWindow {
public:
    QtScheduleWindow(QWidget* owner, const ScreenMetrics& screen) : owner_(owner), screen_(screen) {}

    // Makes the dialog at the first call, with what the controls held.
    QtScheduleDialog& dialog();
    // The dialog once made, else nullptr.
    QtScheduleDialog* madeDialog() const { return dialog_.get(); }

    HeldTextBox startHourBox;
    HeldTextBox startMinuteBox;
    HeldTextBox startSecondBox;
    HeldTextBox dayHalfBox;
    HeldTextBox durationHoursBox;
    HeldTextBox durationMinutesBox;
    HeldTextBox durationSecondsBox;
    HeldTextBox targetPathBox;
    HeldSpinner startHourSpinner{schedule_layout::kStartHour.range};
    HeldSpinner startMinuteSpinner{schedule_layout::kStartMinute.range};
    HeldSpinner startSecondSpinner{schedule_layout::kStartSecond.range};
    HeldSpinner dayHalfSpinner{schedule_layout::kDayHalf.range};
    HeldSpinner durationHoursSpinner{schedule_layout::kDurationHours.range};
    HeldSpinner durationMinutesSpinner{schedule_layout::kDurationMinutes.range};
    HeldSpinner durationSecondsSpinner{schedule_layout::kDurationSeconds.range};
    HeldCheckBox activateCheckBox;
    QtFileDialog targetDialog;
    std::function<void()> onChooseTargetClicked;
    std::function<void()> onCloseRequested; // see QtScheduleDialog's

private:
    QWidget* owner_;
    const ScreenMetrics& screen_;
    std::unique_ptr<QtScheduleDialog> dialog_;
};

} // namespace murmora::qt
