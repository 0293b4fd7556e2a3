#include "app/windows/win32_panel.h"

namespace murmora {

Win32Panel::Win32Panel()
    : panel_(
          {clock_, messages_, mci_, takes_, files_, launcher_, hotkeys_, resources_, pump_, windows_, regions_,
           screen_},
          {window_.recordButton,      window_.minimizeButton, window_.closeButton,        window_.stopButton,
           window_.convertButton,     window_.playButton,     window_.scheduleButton,     window_.secondsLabel,
           window_.sizeLabel,         window_.copyrightLabel, window_.versionLabel,       window_.scheduleCaptionLabel,
           window_.scheduleTimeLabel, window_.elapsedTimer,   window_.scheduleStartTimer, window_.scheduledStopTimer,
           window_.levelTimer,        window_.levelDisplay,   window_.saveTakeDialog,     window_.convertDialog},
          {{*scheduleDialog_.startHourSpinner, *scheduleDialog_.startHourBox},
           {*scheduleDialog_.startMinuteSpinner, *scheduleDialog_.startMinuteBox},
           {*scheduleDialog_.startSecondSpinner, *scheduleDialog_.startSecondBox},
           {*scheduleDialog_.dayHalfSpinner, *scheduleDialog_.dayHalfBox},
           {*scheduleDialog_.durationHoursSpinner, *scheduleDialog_.durationHoursBox},
           {*scheduleDialog_.durationMinutesSpinner, *scheduleDialog_.durationMinutesBox},
           {*scheduleDialog_.durationSecondsSpinner, *scheduleDialog_.durationSecondsBox},
           *scheduleDialog_.targetPathBox,
           *scheduleDialog_.activateCheckBox,
           scheduleDialog_.targetDialog}) {
    // Closed by the system rather than by its Close button: only the unload runs, and the
    // program ends although the schedule window is still loaded.
    window_.onSystemClose = [this] {
        if (windows_.programEnding()) return;
        panel_.unload();
        windows_.endProgram();
    };
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

} // namespace murmora
