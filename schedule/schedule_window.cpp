#include "schedule/schedule_window.h"

#include <cstdio>

namespace murmora {

namespace {

std::string TwoDigits(int value) {
    char text[16];
    std::snprintf(text, sizeof text, "%02d", value);
    return text;
}

std::string DayHalf(int value) { return value == 2 ? "PM" : "AM"; }

// The text box shows the spinner's value from the start and follows every change.
void ShowOnChange(ScrollBar& spinner, TextBox& text, std::string (*format)(int)) {
    auto show = [&spinner, &text, format] { text.SetText(format(spinner.Value())); };
    spinner.SetChangeHandler(show);
    show();
}

std::string Plain(int value) { return std::to_string(value); }

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
    std::string home = ctx_.os.files.HomeFolder();
    if (home.empty() || home.back() != '/') home += '/';
    return home + "AutoRec.wav";
}

} // namespace murmora

// Placeholder bodies so the panel links while the schedule window's actions are written.
namespace murmora {
void ScheduleWindow::OpenAction() {}
void ScheduleWindow::Command1Click() {}
void ScheduleWindow::QueryUnload(std::int16_t&, std::int16_t) {}
} // namespace murmora
