#pragma once
// The whole record panel on fakes: every control, every service and the panel's rules.
#include "platform/regions.h"
#include "platform/screen_metrics.h"
#include "shell/panel.h"
#include "tests/support/fake_controls.h"
#include "tests/support/fake_platform.h"

namespace murmora::fakes {

class FakeScreen : public ScreenMetrics {
public:
    double twipsPerPixel = 15.0;
    double twipsPerPixelX() const override { return twipsPerPixel; }
    double twipsPerPixelY() const override { return twipsPerPixel; }
};

using Commands = std::vector<std::string>;
using Strings = std::vector<std::string>;
inline const Commands kOpenAndRecord{"open new type waveaudio alias capture", "record capture"};
inline const Commands kStopPlayback{"stop voice1", "close voice1"};

// "save capture" with the path in quotes, as the rules send it, and the path such a command names.
inline std::string saveCapture(const std::string& path) { return "save capture \"" + path + "\""; }
inline std::string savedPath(const std::string& command) { return command.substr(14, command.size() - 15); }

struct FakePanel {
    FakeClock clock;
    FakeMessageBoxes messages;
    FakeMci mci;
    FakeTakeFolder takes;
    FakeFiles files;
    FakeLauncher launcher;
    FakeHotkeys hotkeys;
    FakeResources resources{files};
    FakeEventPump pump;
    FakeWindowHost windows;
    RegionTable regions;
    FakeScreen screen;

    FakePictureButton recordButton, minimizeButton, closeButton, stopButton, convertButton, playButton, scheduleButton;
    FakeLabel secondsLabel, sizeLabel, copyrightLabel, versionLabel, scheduleCaptionLabel, scheduleTimeLabel;
    FakeTimer elapsedTimer, scheduleStartTimer, scheduledStopTimer, levelTimer;
    FakeLevelDisplay levelDisplay;
    FakeFileDialog saveTakeDialog, convertDialog;

    FakeSpinner startHourSpinner{1, 12}, startMinuteSpinner{0, 59}, startSecondSpinner{0, 59}, dayHalfSpinner{1, 2},
        durationHoursSpinner{0, 9}, durationMinutesSpinner{0, 59}, durationSecondsSpinner{0, 59};
    FakeTextBox startHourBox, startMinuteBox, startSecondBox, dayHalfBox, durationHoursBox, durationMinutesBox,
        durationSecondsBox, targetPathBox;
    FakeCheckBox activateCheckBox;
    FakeFileDialog targetDialog;

    Panel panel{{clock, messages, mci, takes, files, launcher, hotkeys, resources, pump, windows, regions, screen},
                {recordButton,       minimizeButton,       closeButton,       stopButton,     convertButton,
                 playButton,         scheduleButton,       secondsLabel,      sizeLabel,      copyrightLabel,
                 versionLabel,       scheduleCaptionLabel, scheduleTimeLabel, elapsedTimer,   scheduleStartTimer,
                 scheduledStopTimer, levelTimer,           levelDisplay,      saveTakeDialog, convertDialog},
                {{startHourSpinner, startHourBox},
                 {startMinuteSpinner, startMinuteBox},
                 {startSecondSpinner, startSecondBox},
                 {dayHalfSpinner, dayHalfBox},
                 {durationHoursSpinner, durationHoursBox},
                 {durationMinutesSpinner, durationMinutesBox},
                 {durationSecondsSpinner, durationSecondsBox},
                 targetPathBox,
                 activateCheckBox,
                 targetDialog}};

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

    // Runs the start-up, then forgets what it sent: nothing sent or shown yet.
    void start() {
        panel.load();
        panel.finishStartUp();
        mci.take();
    }
};

} // namespace murmora::fakes
