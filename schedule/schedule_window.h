#pragma once
#include <array>
#include <cstdint>
#include <optional>
#include <string>

#include "buttons/image_button.h"
#include "buttons/resource_pictures.h"
#include "platform/clock.h"
#include "platform/controls.h"
#include "platform/dialogs.h"
#include "platform/files.h"
#include "platform/screen_metrics.h"
#include "platform/window_host.h"
#include "recording/scheduled_recording.h"
#include "recording/take_schedule.h"
#include "schedule/schedule_trigger.h"

namespace murmora {

// A spinner and the text box that shows its value.
struct SpinnerField {
    Spinner& spinner;
    TextBox& box;
};

struct ScheduleWindowControls {
    SpinnerField startHour; // 1 to 12
    SpinnerField startMinute;
    SpinnerField startSecond;
    SpinnerField dayHalf; // 1 AM, 2 PM
    SpinnerField durationHours;
    SpinnerField durationMinutes;
    SpinnerField durationSeconds;
    TextBox& targetPathBox;
    CheckBox& activateCheckBox;
    FileDialog& targetDialog;
};

// The schedule's controls on the panel.
struct SchedulePanelControls {
    PictureButton& scheduleButton;
    Label& scheduleCaptionLabel;
    Label& scheduleTimeLabel;
    Timer& scheduleStartTimer;
};

struct ScheduleServices {
    Clock& clock;
    Files& files;
    MessageBoxes& messages;
    WindowHost& windows;
    ResourcePictures& pictures;
    const ScreenMetrics& screen;
};

// The schedule window: start time, duration, target file and "Activate". The Schedule button
// opens it, which disarms a pending schedule; closing it with "Activate" ticked arms one. Each
// time and duration box shows its spinner's value and takes a typed one (AM or PM in any case
// for the day half): a value its spinner holds sets the spinner, any other is refused with a
// message; the keyboard's arrows in a box step its spinner.
class ScheduleWindow final : public TakeSchedule {
public:
    ScheduleWindow(ScheduleServices services, ScheduleWindowControls controls, SchedulePanelControls panel,
                   ScheduledRecording& recording);

    // Start-up: each box follows its spinner; start 1:00:00 AM, duration 0:01:00, the default
    // target; nothing armed.
    void load();
    // The program ends: an armed schedule will not fire.
    void disarm() { trigger_.disarm(); }
    // The "File" button: chooses the target file.
    void onChooseTargetClicked();
    // The user closes the window (close box, Escape, the window manager): arms the schedule or
    // clears it, and hides the window, which stays open only when a zero duration is refused.
    void onCloseRequested();

    std::int32_t takeSeconds() const override { return trigger_.takeSeconds(); }
    std::string targetPath() const override { return controls_.targetPathBox.text(); }
    void takeOver() override { trigger_.clearShown(); }

private:
    // A time or duration box with its spinner: how the box shows the spinner's value, and what
    // a refusal calls it.
    struct TimeBox {
        SpinnerField field;
        std::string (*format)(int value);
        const char* name;
        void showSpinnerValue() const { field.box.setText(format(field.spinner.value())); }
    };
    std::array<TimeBox, 7> timeBoxes() const;
    // What the user typed into the box, when it differs from what it shows: a value the spinner
    // holds sets it; any other is refused with a message, and the box shows the spinner's value
    // again. False when refused.
    bool takeTypedValue(const TimeBox& box);
    bool takeTypedValues();
    void onBoxStepped(const TimeBox& box, int steps);

    // The Schedule button's action.
    void open();
    // Shows the start time on the panel and arms the schedule; nothing, with the window left
    // open, when the duration is zero; else the target armed.
    std::optional<std::string> arm();
    // Names a target whose folder is missing, or one already there. Nothing is deleted: the take
    // replaces an existing file only when it is saved over it, so a cancelled schedule, a take
    // that fails or the program's end never cost the old file.
    void tellAboutTarget(const std::string& target);
    std::string defaultTargetPath() const;
    std::string startText() const;
    std::int32_t chosenTakeSeconds() const;
    void tell(const std::string& text, MessageStyle style);

    ScheduleServices services_;
    ScheduleWindowControls controls_;
    ScheduleTrigger trigger_;
    ImageButton scheduleButton_;
};

} // namespace murmora
