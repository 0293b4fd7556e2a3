#pragma once
// The whole record panel on fakes: every control, every service and the panel's rules.
#include "shell/window_controls.h"
#include "tests/support/fake_controls.h"
#include "tests/support/fake_engine.h"
#include "tests/support/fake_platform.h"
#include "tests/support/fixed_screen.h"

namespace murmora::fakes {

using Strings = std::vector<std::string>;

struct FakePanel {
    FakeClock clock;
    FakeMessageBoxes messages;
    FakeFiles files;
    FakeEngine engine{files};
    FakeTakeFolder takes{files};
    FakeLauncher launcher;
    FakeHotkeys hotkeys;
    FakeResources resources{files};
    FakeWindowHost windows;
    FixedScreen screen;

    FakePictureButton recordButton, minimizeButton, closeButton, stopButton, convertButton, playButton, scheduleButton;
    FakeLabel secondsLabel, sizeLabel, copyrightLabel, versionLabel, scheduleCaptionLabel, scheduleTimeLabel;
    FakeTimer elapsedTimer, scheduleStartTimer, scheduledStopTimer, levelTimer, saveProgressTimer;
    FakeLevelDisplay levelDisplay;
    FakeFileDialog saveTakeDialog, convertDialog;
    FakeProgressWindow saveProgress;
    FakeSettingsStore settings;
    FakeChoiceMenu choiceMenu;
    FakeAnnouncer announcer;

    FakeSpinner startHourSpinner{1, 12}, startMinuteSpinner{0, 59}, startSecondSpinner{0, 59}, dayHalfSpinner{1, 2},
        durationHoursSpinner{0, 9}, durationMinutesSpinner{0, 59}, durationSecondsSpinner{0, 59};
    FakeTextBox startHourBox, startMinuteBox, startSecondBox, dayHalfBox, durationHoursBox, durationMinutesBox,
        durationSecondsBox, targetPathBox;
    FakeCheckBox activateCheckBox;
    FakeFileDialog targetDialog;

    Panel panel{{.clock = clock,
                 .messages = messages,
                 .takeEngine = engine,
                 .playbackEngine = engine,
                 .takes = takes,
                 .files = files,
                 .launcher = launcher,
                 .hotkeys = hotkeys,
                 .resources = resources,
                 .windows = windows,
                 .screen = screen,
                 .settings = settings},
                panelControlsOf(*this, choiceMenu, announcer),
                scheduleControlsOf(*this)};

    // The user's moves in the schedule window: a start time as its spinners show it, a duration.
    void chooseStart(int hour, int minute, int second, const std::string& dayHalf) {
        startHourSpinner.setValue(hour);
        startMinuteSpinner.setValue(minute);
        startSecondSpinner.setValue(second);
        dayHalfSpinner.setValue(dayHalf == "PM" ? 2 : 1);
    }
    void chooseDuration(int seconds) {
        durationHoursSpinner.setValue(seconds / 3600);
        durationMinutesSpinner.setValue(seconds / 60 % 60);
        durationSecondsSpinner.setValue(seconds % 60);
    }
    // Arms the schedule to start at `secondsAfterMidnight`, run `durationSeconds` and be saved at
    // `target`: Activate ticked and the window closed.
    void armSchedule(int secondsAfterMidnight, int durationSeconds, const std::string& target) {
        const int hour = secondsAfterMidnight / 3600;
        chooseStart(hour % 12 == 0 ? 12 : hour % 12, secondsAfterMidnight / 60 % 60, secondsAfterMidnight % 60,
                    hour < 12 ? "AM" : "PM");
        chooseDuration(durationSeconds);
        targetPathBox.setText(target);
        activateCheckBox.checked = true;
        panel.schedule.onCloseRequested();
    }

    // Runs the start-up, then forgets what the engine was asked: nothing asked or shown yet.
    void start() {
        panel.load();
        panel.finishStartUp();
        engine.take();
    }
};

} // namespace murmora::fakes
