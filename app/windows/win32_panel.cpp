#include "app/windows/win32_panel.h"

#include "engine/backends/backends.h"
#include "engine/disk_take_folder.h"
#include "engine/take_file.h"
#include "shell/window_controls.h"

namespace murmora::win32 {

Win32Panel::Win32Panel()
    : takeFolder_(audio::defaultTakeFolder()), engine_(audio::makeAudioBackend(), takeFolder_, uiThread_),
      takes_(audio::makeTakeFolder(takeFolder_)),
      panel_({.clock = clock_,
              .messages = messages_,
              .takeEngine = engine_,
              .playbackEngine = engine_,
              .takes = *takes_,
              .files = files_,
              .launcher = launcher_,
              .hotkeys = hotkeys_,
              .resources = resources_,
              .windows = windows_,
              .screen = screen_,
              .settings = settings_},
             panelControlsOf(window_, choiceMenu_, announcer_), scheduleControlsOf(scheduleDialog_)) {
    window_.onSystemClose = [this] { panel_.onSystemClose(); };
    window_.onSessionEnd = [this] { panel_.onSessionEnd(); };
    scheduleDialog_.onChooseTargetClicked = [this] { panel_.schedule.onChooseTargetClicked(); };
    scheduleDialog_.onCloseRequested = [this] { panel_.schedule.onCloseRequested(); };
}

std::optional<std::string> Win32Panel::start() {
    if (auto failure = panel_.load()) return failure;
    window_.show();
    // The hotkeys and their messages come once the panel is on screen, as on Linux.
    panel_.finishStartUp();
    return std::nullopt;
}

} // namespace murmora::win32
