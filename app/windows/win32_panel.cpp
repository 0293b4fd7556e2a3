#include "app/windows/win32_panel.h"

#include "engine/backends/backends.h"
#include "engine/disk_take_folder.h"
#include "engine/take_file.h"

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
             {.recordButton = window_.recordButton,
              .minimizeButton = window_.minimizeButton,
              .closeButton = window_.closeButton,
              .stopButton = window_.stopButton,
              .convertButton = window_.convertButton,
              .playButton = window_.playButton,
              .scheduleButton = window_.scheduleButton,
              .secondsLabel = window_.secondsLabel,
              .sizeLabel = window_.sizeLabel,
              .copyrightLabel = window_.copyrightLabel,
              .versionLabel = window_.versionLabel,
              .scheduleCaptionLabel = window_.scheduleCaptionLabel,
              .scheduleTimeLabel = window_.scheduleTimeLabel,
              .elapsedTimer = window_.elapsedTimer,
              .scheduleStartTimer = window_.scheduleStartTimer,
              .scheduledStopTimer = window_.scheduledStopTimer,
              .levelTimer = window_.levelTimer,
              .levelDisplay = window_.levelDisplay,
              .saveTakeDialog = window_.saveTakeDialog,
              .convertDialog = window_.convertDialog,
              .saveProgressTimer = window_.saveProgressTimer,
              .saveProgress = window_.saveProgress,
              .choiceMenu = choiceMenu_,
              .announcer = announcer_},
             {.startHour = {*scheduleDialog_.startHourSpinner, *scheduleDialog_.startHourBox},
              .startMinute = {*scheduleDialog_.startMinuteSpinner, *scheduleDialog_.startMinuteBox},
              .startSecond = {*scheduleDialog_.startSecondSpinner, *scheduleDialog_.startSecondBox},
              .dayHalf = {*scheduleDialog_.dayHalfSpinner, *scheduleDialog_.dayHalfBox},
              .durationHours = {*scheduleDialog_.durationHoursSpinner, *scheduleDialog_.durationHoursBox},
              .durationMinutes = {*scheduleDialog_.durationMinutesSpinner, *scheduleDialog_.durationMinutesBox},
              .durationSeconds = {*scheduleDialog_.durationSecondsSpinner, *scheduleDialog_.durationSecondsBox},
              .targetPathBox = *scheduleDialog_.targetPathBox,
              .activateCheckBox = *scheduleDialog_.activateCheckBox,
              .targetDialog = scheduleDialog_.targetDialog}) {
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
