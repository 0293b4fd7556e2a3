#include "schedule/schedule_window.h"

#include <algorithm>
#include <cctype>
#include <cstdio>

#include "core/paths.h"
#include "core/texts.h"
#include "schedule/schedule_arithmetic.h"

namespace murmora {

namespace {

std::string plain(int value) { return std::to_string(value); }

std::string twoDigits(int value) {
    char text[16];
    std::snprintf(text, sizeof text, "%02d", value);
    return text;
}

std::string dayHalfText(int value) { return value == 2 ? "PM" : "AM"; }

// The spinner value a text typed into a box names: a whole number in digits, or for the day half
// AM or PM in any case; blanks around it do not count. Nothing when it names none.
std::optional<int> typedValue(std::string text, bool dayHalf) {
    const auto blank = [](unsigned char c) { return std::isspace(c) != 0; };
    text.erase(text.begin(), std::find_if_not(text.begin(), text.end(), blank));
    text.erase(std::find_if_not(text.rbegin(), text.rend(), blank).base(), text.end());
    if (dayHalf) {
        std::ranges::transform(text, text.begin(), [](unsigned char c) { return std::toupper(c); });
        if (text == "AM") return 1;
        if (text == "PM") return 2;
        return std::nullopt;
    }
    const bool digits = std::ranges::all_of(text, [](unsigned char c) { return std::isdigit(c) != 0; });
    if (text.empty() || !digits) return std::nullopt;
    // More digits than a spinner's range has are out of it, whatever their value.
    if (text.size() > 4) return 10000;
    return std::stoi(text);
}

std::string typingRefusal(const char* name, const Spinner& spinner, bool dayHalf, const std::string& typed) {
    if (dayHalf) return translated("%s must be AM or PM, not \"%s\".", {translated(name), typed});
    return translated("%1$s must be a whole number from %2$s to %3$s, not \"%4$s\".",
                      {translated(name), std::to_string(spinner.minimum()), std::to_string(spinner.maximum()), typed});
}

const char* const kTargetDialogTitle = textKey("Save File As");

const char* const kDefaultTargetName = "AutoRec.wav";
const char* const kDefaultTargetMessage = textKey("Recording will be saved as AutoRec.wav in %s");
const char* const kNoHomeForDefaultTarget =
    textKey("There is no home folder to save AutoRec.wav in: choose the file of the scheduled recording with File.");
const char* const kProgramPathRefusal = textKey("Can not save Recording in Program Path");
const char* const kTargetChosenMessage = textKey("Recording will be saved as %s");
const char* const kZeroDurationRefusal = textKey("Cannot Activate with Recording Duration = 0");

// Says too where a scheduled take goes when its target cannot be written.
std::string missingFolderWarning(const std::string& target) {
    return translated("The folder of the scheduled recording's file  %s  does not exist.\n\nThe schedule is armed. "
                      "If the recording cannot be saved there when it ends, it is saved under a dated name in your "
                      "home folder instead.",
                      {target});
}

std::string replaceWarning(const std::string& target) {
    return translated("The schedule is armed. The file  %s  is already there: the scheduled recording will replace "
                      "it when it is saved.",
                      {target});
}

} // namespace

ScheduleWindow::ScheduleWindow(ScheduleServices services, ScheduleWindowControls controls, SchedulePanelControls panel,
                               ScheduledRecording& recording)
    : services_(services), controls_(controls),
      trigger_(services.clock, services.messages,
               {panel.scheduleCaptionLabel, panel.scheduleTimeLabel, panel.scheduleStartTimer}, recording),
      scheduleButton_(services.pictures, services.screen, panel.scheduleButton, kScheduleButtonLayout,
                      [this] { open(); }) {}

std::array<ScheduleWindow::TimeBox, 7> ScheduleWindow::timeBoxes() const {
    const auto& c = controls_;
    return {{{c.startHour, plain, textKey("The hour of the start time")},
             {c.startMinute, twoDigits, textKey("The minute of the start time")},
             {c.startSecond, twoDigits, textKey("The second of the start time")},
             {c.dayHalf, dayHalfText, "AM/PM"},
             {c.durationHours, plain, textKey("The hours of the duration")},
             {c.durationMinutes, twoDigits, textKey("The minutes of the duration")},
             {c.durationSeconds, twoDigits, textKey("The seconds of the duration")}}};
}

void ScheduleWindow::load() {
    auto& c = controls_;
    for (const TimeBox& box : timeBoxes()) {
        // The box shows the spinner's value from the start and follows every change.
        box.field.spinner.setChangeHandler([box] { box.showSpinnerValue(); });
        box.showSpinnerValue();
        box.field.box.setEditFinishedHandler([this, box] { takeTypedValue(box); });
        box.field.box.setStepHandler([this, box](int steps) { onBoxStepped(box, steps); });
    }
    c.targetPathBox.setText(defaultTargetPath());
    const std::pair<Spinner*, int> startValues[] = {{&c.startHour.spinner, 1},      {&c.startMinute.spinner, 0},
                                                    {&c.startSecond.spinner, 0},    {&c.dayHalf.spinner, 1},
                                                    {&c.durationHours.spinner, 0},  {&c.durationMinutes.spinner, 1},
                                                    {&c.durationSeconds.spinner, 0}};
    for (const auto& [spinner, value] : startValues)
        spinner->setValue(value);
    trigger_.load();
}

std::string ScheduleWindow::defaultTargetPath() const {
    // There is no drive root a user may write to: the scheduled take goes to the home folder,
    // and without one the user chooses where.
    const std::string home = services_.files.homeFolder();
    return home.empty() ? std::string() : pathInFolder(home, kDefaultTargetName);
}

void ScheduleWindow::open() {
    // A pending schedule is disarmed while the user edits it; closing arms it afresh.
    trigger_.disarm();
    services_.windows.showScheduleWindow();
}

void ScheduleWindow::onChooseTargetClicked() {
    FileDialog& dialog = controls_.targetDialog;
    dialog.configure({.title = translated(kTargetDialogTitle),
                      .filter = kWavFiles,
                      .askBeforeOverwrite = true,
                      .folderMustExist = true});
    const std::optional<std::string> chosen = dialog.showSave();
    if (!chosen || chosen->empty()) {
        const std::string home = services_.files.homeFolder();
        tell(home.empty() ? translated(kNoHomeForDefaultTarget) : translated(kDefaultTargetMessage, {home}),
             MessageStyle::exclamation);
        controls_.targetPathBox.setText(defaultTargetPath());
        return;
    }
    if (isInFolder(*chosen, services_.files.programFolder())) {
        tell(translated(kProgramPathRefusal), MessageStyle::information);
        return;
    }
    tell(translated(kTargetChosenMessage, {*chosen}), MessageStyle::information);
    controls_.targetPathBox.setText(*chosen);
}

bool ScheduleWindow::takeTypedValue(const TimeBox& box) {
    const std::string typed = box.field.box.text();
    Spinner& spinner = box.field.spinner;
    if (typed == box.format(spinner.value())) return true;
    const bool dayHalf = &spinner == &controls_.dayHalf.spinner;
    const std::optional<int> value = typedValue(typed, dayHalf);
    const bool inRange = value && *value >= spinner.minimum() && *value <= spinner.maximum();
    if (inRange) spinner.setValue(*value);
    // Also when the value stays (a minute typed as "5" shows as "05"), and before a refusal is
    // told, so that what is shown is what is used.
    box.showSpinnerValue();
    if (!inRange) tell(typingRefusal(box.name, spinner, dayHalf, typed), MessageStyle::exclamation);
    return inRange;
}

bool ScheduleWindow::takeTypedValues() {
    for (const TimeBox& box : timeBoxes()) {
        if (!takeTypedValue(box)) return false;
    }
    return true;
}

void ScheduleWindow::onBoxStepped(const TimeBox& box, int steps) {
    if (takeTypedValue(box)) box.field.spinner.setValue(box.field.spinner.value() + steps);
}

void ScheduleWindow::onCloseRequested() {
    // A value still being typed counts; one refused keeps the window open.
    if (!takeTypedValues()) return;
    std::optional<std::string> armedTarget;
    if (controls_.activateCheckBox.isChecked()) {
        armedTarget = arm();
        if (!armedTarget) return;
    } else {
        trigger_.clearShown();
    }
    services_.windows.hideScheduleWindow();
    if (armedTarget) tellAboutTarget(*armedTarget);
}

std::optional<std::string> ScheduleWindow::arm() {
    trigger_.show(startText());
    const std::int32_t seconds = chosenTakeSeconds();
    if (seconds == 0) {
        tell(translated(kZeroDurationRefusal), MessageStyle::exclamation);
        return std::nullopt;
    }
    const auto& c = controls_;
    // The take is saved, and the messages speak, by the file the system will make of the name.
    const std::string target = services_.files.nameAsCreated(c.targetPathBox.text());
    if (target != c.targetPathBox.text()) c.targetPathBox.setText(target);
    trigger_.arm(startTimeSeconds(c.startHour.spinner.value(), c.startMinute.spinner.value(),
                                  c.startSecond.spinner.value(), c.dayHalf.box.text()),
                 seconds);
    return target;
}

std::string ScheduleWindow::startText() const {
    const auto& c = controls_;
    return c.startHour.box.text() + ":" + c.startMinute.box.text() + ":" + c.startSecond.box.text() + " " +
           c.dayHalf.box.text();
}

std::int32_t ScheduleWindow::chosenTakeSeconds() const {
    const auto& c = controls_;
    return c.durationHours.spinner.value() * 3600 + c.durationMinutes.spinner.value() * 60 +
           c.durationSeconds.spinner.value();
}

void ScheduleWindow::tellAboutTarget(const std::string& target) {
    if (!services_.files.folderExists(folderOf(target))) {
        tell(missingFolderWarning(target), MessageStyle::exclamation);
    } else if (services_.files.fileExists(target)) {
        tell(replaceWarning(target), MessageStyle::exclamation);
    }
}

void ScheduleWindow::tell(const std::string& text, MessageStyle style) {
    services_.messages.show(text, style, kAppTitle);
}

} // namespace murmora
