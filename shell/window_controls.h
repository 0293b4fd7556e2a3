#pragma once
// The panel's controls taken from a window that names them as the panel does, however the
// window holds each: the control itself or a pointer (plain or owning) to it. Every toolkit's
// window and the tests' fakes are wired by these two, so a control added to the panel is wired
// in one place.
#include "shell/panel.h"

namespace murmora {

namespace window_controls {

template <typename Held>
concept Dereferenceable = requires(Held& held) {
    *held;
};

template <typename Held>
auto& control(Held& held) {
    if constexpr (Dereferenceable<Held>)
        return *held;
    else
        return held;
}

} // namespace window_controls

// The menu and the announcer may live beside the window rather than in it.
template <typename Window>
PanelControls panelControlsOf(Window& window, ChoiceMenu& choiceMenu, Announcer& announcer) {
    using window_controls::control;
    return {.recordButton = control(window.recordButton),
            .minimizeButton = control(window.minimizeButton),
            .closeButton = control(window.closeButton),
            .stopButton = control(window.stopButton),
            .convertButton = control(window.convertButton),
            .playButton = control(window.playButton),
            .scheduleButton = control(window.scheduleButton),
            .secondsLabel = control(window.secondsLabel),
            .sizeLabel = control(window.sizeLabel),
            .copyrightLabel = control(window.copyrightLabel),
            .versionLabel = control(window.versionLabel),
            .scheduleCaptionLabel = control(window.scheduleCaptionLabel),
            .scheduleTimeLabel = control(window.scheduleTimeLabel),
            .elapsedTimer = control(window.elapsedTimer),
            .scheduleStartTimer = control(window.scheduleStartTimer),
            .scheduledStopTimer = control(window.scheduledStopTimer),
            .levelTimer = control(window.levelTimer),
            .levelDisplay = control(window.levelDisplay),
            .saveTakeDialog = control(window.saveTakeDialog),
            .convertDialog = control(window.convertDialog),
            .saveProgressTimer = control(window.saveProgressTimer),
            .saveProgress = control(window.saveProgress),
            .choiceMenu = choiceMenu,
            .announcer = announcer};
}

template <typename Window>
ScheduleWindowControls scheduleControlsOf(Window& window) {
    using window_controls::control;
    return {.startHour = {control(window.startHourSpinner), control(window.startHourBox)},
            .startMinute = {control(window.startMinuteSpinner), control(window.startMinuteBox)},
            .startSecond = {control(window.startSecondSpinner), control(window.startSecondBox)},
            .dayHalf = {control(window.dayHalfSpinner), control(window.dayHalfBox)},
            .durationHours = {control(window.durationHoursSpinner), control(window.durationHoursBox)},
            .durationMinutes = {control(window.durationMinutesSpinner), control(window.durationMinutesBox)},
            .durationSeconds = {control(window.durationSecondsSpinner), control(window.durationSecondsBox)},
            .targetPathBox = control(window.targetPathBox),
            .activateCheckBox = control(window.activateCheckBox),
            .targetDialog = control(window.targetDialog)};
}

} // namespace murmora
