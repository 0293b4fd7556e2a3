#include "app/qt_panel.h"

#ifdef __GLIBC__
#include <malloc.h>
#endif

#include <QApplication>
#include <QSessionManager>
#include <QTimer>

namespace murmora::qt {

namespace {

SpinnerField field(QtSpinner* spinner, QtTextBox* box) { return {*spinner, *box}; }

} // namespace

void returnLargeBlocksToTheSystem() {
#ifdef __GLIBC__
    mallopt(M_MMAP_THRESHOLD, 128 * 1024);
#endif
}

QtPanel::QtPanel(TakeEngine& takeEngine, PlaybackEngine& playbackEngine, TakeFolder& takes, Hotkeys& hotkeys,
                 SettingsStore& settings)
    : panel({.clock = clock,
             .messages = messages,
             .takeEngine = takeEngine,
             .playbackEngine = playbackEngine,
             .takes = takes,
             .files = files,
             .launcher = launcher,
             .hotkeys = hotkeys,
             .resources = resources,
             .windows = windows,
             .screen = screen,
             .settings = settings},
            {.recordButton = *window.recordButton,
             .minimizeButton = *window.minimizeButton,
             .closeButton = *window.closeButton,
             .stopButton = *window.stopButton,
             .convertButton = *window.convertButton,
             .playButton = *window.playButton,
             .scheduleButton = *window.scheduleButton,
             .secondsLabel = *window.secondsLabel,
             .sizeLabel = *window.sizeLabel,
             .copyrightLabel = *window.copyrightLabel,
             .versionLabel = *window.versionLabel,
             .scheduleCaptionLabel = *window.scheduleCaptionLabel,
             .scheduleTimeLabel = *window.scheduleTimeLabel,
             .elapsedTimer = window.elapsedTimer,
             .scheduleStartTimer = window.scheduleStartTimer,
             .scheduledStopTimer = window.scheduledStopTimer,
             .levelTimer = window.levelTimer,
             .levelDisplay = window.levelDisplay,
             .saveTakeDialog = window.saveTakeDialog,
             .convertDialog = window.convertDialog,
             .saveProgressTimer = window.saveProgressTimer,
             .saveProgress = window.saveProgress,
             .choiceMenu = choiceMenu,
             .announcer = *window.announcer},
            {.startHour = field(scheduleDialog.startHourSpinner, scheduleDialog.startHourBox),
             .startMinute = field(scheduleDialog.startMinuteSpinner, scheduleDialog.startMinuteBox),
             .startSecond = field(scheduleDialog.startSecondSpinner, scheduleDialog.startSecondBox),
             .dayHalf = field(scheduleDialog.dayHalfSpinner, scheduleDialog.dayHalfBox),
             .durationHours = field(scheduleDialog.durationHoursSpinner, scheduleDialog.durationHoursBox),
             .durationMinutes = field(scheduleDialog.durationMinutesSpinner, scheduleDialog.durationMinutesBox),
             .durationSeconds = field(scheduleDialog.durationSecondsSpinner, scheduleDialog.durationSecondsBox),
             .targetPathBox = *scheduleDialog.targetPathBox,
             .activateCheckBox = *scheduleDialog.activateCheckBox,
             .targetDialog = scheduleDialog.targetDialog}) {
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
    window.onSystemClose = [this] { panel.onSystemClose(); };
    QObject::connect(qApp, &QGuiApplication::commitDataRequest, [this](QSessionManager&) { panel.onSessionEnd(); });
    QObject::connect(scheduleDialog.chooseTargetButton, &QPushButton::clicked,
                     [this] { panel.schedule.onChooseTargetClicked(); });
    scheduleDialog.onCloseRequested = [this] { panel.schedule.onCloseRequested(); };
}

} // namespace murmora::qt
