#include "schedule/schedule_window.h"

#include <cstdio>
#include <optional>

#include "shell/paths.h"

#include "buttons/image_buttons.h"

namespace murmora {

namespace {

std::string TwoDigits(int value) {
    char text[16];
    std::snprintf(text, sizeof text, "%02d", value);
    return text;
}

std::string DayHalf(int value) { return value == 2 ? "PM" : "AM"; }

// The text box shows the spinner's value from the start and follows every change.
void ShowOnChange(Spinner& spinner, TextBox& text, std::string (*format)(int)) {
    auto show = [&spinner, &text, format] { text.setText(format(spinner.value())); };
    spinner.setChangeHandler(show);
    show();
}

std::string Plain(int value) { return std::to_string(value); }

const char* const TargetDialogTitle = "Save File As";
constexpr int TargetDialogFlags = kAskBeforeOverwrite | kHideReadOnly | kFolderMustExist;

const char* const DefaultTargetMessage = "Recording will be saved as AutoRec.Wav in Root Directory";
const char* const ProgramPathRefusal = "Can not save Recording in Program Path";
const std::string TargetChosenMessage = "Recording will be saved as ";
const char* const ZeroDurationRefusal = "Cannot Activate with Recording Duration = 0";

// Where a scheduled take goes when its target cannot be written.
const char* const TakeKeptSafe = "The schedule is armed. If the recording cannot be saved there when it ends, it is "
                                 "saved under a dated name in your home folder instead.";

std::string MissingFolderWarning(const std::string& target) {
    return "The folder of the scheduled recording's file  " + target + "  does not exist.\n\n" + TakeKeptSafe;
}

std::string ReplaceWarning(const std::string& target) {
    return "The schedule is armed. The file  " + target +
           "  is already there: the scheduled recording will replace it when it is saved.";
}

} // namespace

void ScheduleWindow::FormLoad() {
    auto& f = ctx_.form2;
    ShowOnChange(f.VScroll1, f.Text1, Plain);
    ShowOnChange(f.VScroll2, f.Text2, TwoDigits);
    ShowOnChange(f.VScroll3, f.Text3, TwoDigits);
    ShowOnChange(f.VScroll4, f.Text4, DayHalf);
    ShowOnChange(f.VScroll5, f.Text5, Plain);
    ShowOnChange(f.VScroll6, f.Text6, TwoDigits);
    ShowOnChange(f.VScroll7, f.Text7, TwoDigits);
}

std::string ScheduleWindow::DefaultTargetPath() const {
    // There is no drive root a user may write to: the scheduled take goes to the home folder.
    return PathInFolder(ctx_.os.files.homeFolder(), "AutoRec.wav");
}

void ScheduleWindow::OpenAction() {
    pictures_.showCustomPicture(ctx_.ui.SeeThroughTime, SeeThroughTimeLayout.normalPicture);
    ctx_.m.TimeButtonState = ButtonReleased;
    // A pending schedule is disarmed while the user edits it; closing arms it afresh.
    ctx_.ui.Timer2.setEnabled(false);
    ctx_.os.windows.showScheduleWindow();
}

void ScheduleWindow::Command1Click() {
    auto& f = ctx_.form2;
    f.CommonDialog1.configure({TargetDialogTitle, WavFileFilter, TargetDialogFlags});
    const std::optional<std::string> chosen = f.CommonDialog1.showSave();
    if (!chosen || chosen->empty()) {
        ctx_.os.messages.show(DefaultTargetMessage, MessageStyle::exclamation, AppTitle);
        f.Text8.setText(DefaultTargetPath());
        return;
    }
    if (chosen->find(ctx_.os.files.programFolder()) != std::string::npos) {
        ctx_.os.messages.show(ProgramPathRefusal, MessageStyle::information, AppTitle);
        return;
    }
    ctx_.os.messages.show(TargetChosenMessage + *chosen, MessageStyle::information, AppTitle);
    f.Text8.setText(*chosen);
}

void ScheduleWindow::QueryUnload(std::int16_t& cancel, std::int16_t unloadMode) {
    // At shutdown the window goes away with the program: nothing is armed and no saved
    // take at the target is deleted.
    if (unloadMode != vbFormControlMenu) return;
    cancel = 1;
    const bool activate = ctx_.form2.Check1.isChecked();
    if (activate) {
        if (!Arm()) return;
    } else {
        ctx_.ui.Label5.setCaption("");
        ctx_.ui.Label6.setCaption("");
    }
    ctx_.os.windows.hideScheduleWindow();
    if (activate) TellAboutTarget();
}

bool ScheduleWindow::Arm() {
    auto& f = ctx_.form2;
    ctx_.ui.Label5.setCaption("Record:");
    ctx_.ui.Label6.setCaption(f.Text1.text() + ":" + f.Text2.text() + ":" + f.Text3.text() + " " + f.Text4.text());
    ctx_.mod.AutoDurationSeconds = ChosenDurationSeconds(f);
    if (ctx_.mod.AutoDurationSeconds == 0) {
        ctx_.os.messages.show(ZeroDurationRefusal, MessageStyle::exclamation, AppTitle);
        return false;
    }
    trigger_.SetAlarm();
    ctx_.ui.Timer2.setEnabled(true);
    return true;
}

void ScheduleWindow::TellAboutTarget() {
    const std::string& target = ctx_.mod.AutoSavePath;
    if (!ctx_.os.files.folderExists(FolderOf(target))) {
        ctx_.os.messages.show(MissingFolderWarning(target), MessageStyle::exclamation, AppTitle);
    } else if (ctx_.os.files.fileExists(target)) {
        ctx_.os.messages.show(ReplaceWarning(target), MessageStyle::exclamation, AppTitle);
    }
}

} // namespace murmora
