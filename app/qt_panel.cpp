#include "app/qt_panel.h"

#ifdef __GLIBC__
#include <malloc.h>
#endif

#include <QApplication>
#include <QSessionManager>
#include <QTimer>

namespace murmora::qt {

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
            {.startHour = {scheduleWindow.startHourSpinner, scheduleWindow.startHourBox},
             .startMinute = {scheduleWindow.startMinuteSpinner, scheduleWindow.startMinuteBox},
             .startSecond = {scheduleWindow.startSecondSpinner, scheduleWindow.startSecondBox},
             .dayHalf = {scheduleWindow.dayHalfSpinner, scheduleWindow.dayHalfBox},
             .durationHours = {scheduleWindow.durationHoursSpinner, scheduleWindow.durationHoursBox},
             .durationMinutes = {scheduleWindow.durationMinutesSpinner, scheduleWindow.durationMinutesBox},
             .durationSeconds = {scheduleWindow.durationSecondsSpinner, scheduleWindow.durationSecondsBox},
             .targetPathBox = scheduleWindow.targetPathBox,
             .activateCheckBox = scheduleWindow.activateCheckBox,
             .targetDialog = scheduleWindow.targetDialog}) {
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
    scheduleWindow.onChooseTargetClicked = [this] { panel.schedule.onChooseTargetClicked(); };
    scheduleWindow.onCloseRequested = [this] { panel.schedule.onCloseRequested(); };
}

} // namespace murmora::qt
