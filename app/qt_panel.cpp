#include "app/qt_panel.h"

#include <QTimer>

namespace murmora {

namespace {

SpinnerField field(QtSpinner* spinner, QtTextBox* box) { return {*spinner, *box}; }

} // namespace

QtPanel::QtPanel(MciService& service, TakeFolder& takes, Hotkeys& hotkeys)
    : mci(service),
      panel({clock, messages, mci, takes, files, launcher, hotkeys, resources, pump, windows, regions, screen},
            {*window.recordButton,      *window.minimizeButton, *window.closeButton,       *window.stopButton,
             *window.convertButton,     *window.playButton,     *window.scheduleButton,    *window.secondsLabel,
             *window.sizeLabel,         *window.copyrightLabel, *window.versionLabel,      *window.scheduleCaptionLabel,
             *window.scheduleTimeLabel, window.elapsedTimer,    window.scheduleStartTimer, window.scheduledStopTimer,
             window.levelTimer,         window.levelDisplay,    window.saveTakeDialog,     window.convertDialog},
            {field(scheduleDialog.startHourSpinner, scheduleDialog.startHourBox),
             field(scheduleDialog.startMinuteSpinner, scheduleDialog.startMinuteBox),
             field(scheduleDialog.startSecondSpinner, scheduleDialog.startSecondBox),
             field(scheduleDialog.dayHalfSpinner, scheduleDialog.dayHalfBox),
             field(scheduleDialog.durationHoursSpinner, scheduleDialog.durationHoursBox),
             field(scheduleDialog.durationMinutesSpinner, scheduleDialog.durationMinutesBox),
             field(scheduleDialog.durationSecondsSpinner, scheduleDialog.durationSecondsBox),
             *scheduleDialog.targetPathBox, *scheduleDialog.activateCheckBox, scheduleDialog.targetDialog}) {
    connectWindows();
}

std::optional<std::string> QtPanel::start() {
    if (auto failure = panel.load()) return failure;
    window.show();
    // What the first paint does not show waits until the panel is on screen.
    QTimer::singleShot(0, &window, [this] { panel.finishStartUp(); });
    return std::nullopt;
}

void QtPanel::connectWindows() {
    // Closed by the window system rather than by its Close button: only the unload runs, and
    // the program ends although the schedule window is still loaded.
    window.onSystemClose = [this] {
        if (windows.programEnding()) return;
        panel.unload();
        windows.endProgram();
    };
    QObject::connect(scheduleDialog.chooseTargetButton, &QPushButton::clicked,
                     [this] { panel.schedule.onChooseTargetClicked(); });
    scheduleDialog.onCloseRequested = [this] { panel.schedule.onCloseRequested(); };
}

} // namespace murmora
