#include "app/qt_panel.h"

#include "shell/window_controls.h"

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
            panelControlsOf(window, choiceMenu, *window.announcer), scheduleControlsOf(scheduleWindow)) {
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
