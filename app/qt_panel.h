#pragma once
#include <optional>
#include <string>

#include "platform/posix/local_clock.h"
#include "platform/qt/qt_choice_menu.h"
#include "platform/qt/qt_dialogs.h"
#include "platform/qt/qt_files.h"
#include "platform/qt/qt_panel_window.h"
#include "platform/qt/qt_process_launcher.h"
#include "platform/qt/qt_resources.h"
#include "platform/qt/qt_schedule_dialog.h"
#include "platform/qt/qt_screen_metrics.h"
#include "platform/qt/qt_window_host.h"
#include "shell/panel.h"

namespace murmora::qt {

// Blocks of 128 KiB and more (the backing store of a window, a dialog's pictures) get pages of
// their own, which go back to the system once freed. Left to itself glibc raises that bound to
// the largest block freed so far; from then on each dialog's blocks come from the heap, and the
// heap grew with every take saved or not. To be called once, as the program starts.
void returnLargeBlocksToTheSystem();

// The record panel on the real machine: the Qt services and windows, wired to the rules.
// The engine, its take folder, the hotkeys and the settings come from outside, so that each may
// be the real one or a stand-in.
class QtPanel {
public:
    QtPanel(TakeEngine& takeEngine, PlaybackEngine& playbackEngine, TakeFolder& takes, Hotkeys& hotkeys,
            SettingsStore& settings);
    QtPanel(const QtPanel&) = delete;
    QtPanel& operator=(const QtPanel&) = delete;

    // Runs the start-up sequence, shows the panel and finishes the start-up once the event loop
    // runs; what stopped it, for the user, when a picture the panel cannot do without is missing
    // or unreadable.
    std::optional<std::string> start();

    posix::LocalClock clock;
    QtMessageBox messages;
    QtFiles files;
    QtProcessLauncher launcher;
    QtResources resources;
    QtScreenMetrics screen;
    QtPanelWindow window;
    QtScheduleWindow scheduleWindow{&window, screen};
    QtWindowHost windows{window, scheduleWindow};
    QtChoiceMenu choiceMenu{window};
    Panel panel;

private:
    void connectWindows();
};

} // namespace murmora::qt
