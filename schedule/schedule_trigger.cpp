#include "schedule/schedule_trigger.h"

#include <cctype>
#include <optional>
#include <string>

#include "recording/mci_commands.h"

namespace murmora {

namespace {

const char* const AlreadyRecording = "AutoRecord not initiated, as already Recording";

struct ClockFields {
    int hour;
    int minute;
    int second;
    std::string dayHalf;  // "AM" or "PM" on the 12-hour clock, empty on the 24-hour clock
};

int FieldValue(const std::string& text, std::size_t position, std::size_t length) {
    return std::stoi(text.substr(position, length));
}

bool MatchesLayout(const std::string& text, const std::string& layout) {
    if (text.size() != layout.size()) return false;
    for (std::size_t i = 0; i < layout.size(); ++i) {
        const auto c = static_cast<unsigned char>(text[i]);
        const bool fits = layout[i] == '9' ? std::isdigit(c) != 0 : layout[i] == 'A' || text[i] == layout[i];
        if (!fits) return false;
    }
    return true;
}

// The time of day in one of the four layouts a clock text is read in ("7:05:07",
// "21:05:07", "9:05:07 PM", "11:05:07 AM"), each field at its fixed place. Anything else,
// other characters where a digit or separator belongs, a day half other than "AM" or "PM",
// or a field out of a clock's range, is not a reading of the clock: nothing.
std::optional<ClockFields> ReadClockText(const std::string& text) {
    static const std::string layouts[] = {"9:99:99", "99:99:99", "9:99:99 AA", "99:99:99 AA"};
    for (const std::string& layout : layouts) {
        if (!MatchesLayout(text, layout)) continue;
        const std::size_t hourWidth = layout.find(':');
        const bool twelveHour = layout.back() == 'A';
        ClockFields fields{FieldValue(text, 0, hourWidth), FieldValue(text, hourWidth + 1, 2),
                           FieldValue(text, hourWidth + 4, 2), twelveHour ? text.substr(text.size() - 2) : ""};
        if (twelveHour && fields.dayHalf != "AM" && fields.dayHalf != "PM") return std::nullopt;
        if (fields.hour > (twelveHour ? 12 : 23) || fields.minute > 59 || fields.second > 59) return std::nullopt;
        return fields;
    }
    return std::nullopt;
}

// Seconds after midnight on the 12-hour clock, where hour 12 is the first hour of its half.
std::int32_t TwelveHourSeconds(int hour, int minute, int second, std::int32_t halfOffset) {
    const std::int32_t hourSeconds = hour == 12 ? 0 : hour * 3600;
    return hourSeconds + halfOffset + minute * 60 + second;
}

} // namespace

std::int32_t ChosenDurationSeconds(const Form2Controls& form2) {
    return form2.VScroll5.value() * 3600 + form2.VScroll6.value() * 60 + form2.VScroll7.value();
}

void ScheduleTrigger::SetAlarm() {
    auto& mod = ctx_.mod;
    mod.ScheduleBase = ctx_.os.clock.now();
    mod.CurrentTimeText = ctx_.os.clock.timeOfDayText();
    ReadCurrentTime();
    ReadAlarmTime();
    AlarmDuration(mod.AlarmTimeSeconds, mod.CurrentTimeSeconds);
    mod.AutoDurationSeconds = ChosenDurationSeconds(ctx_.form2);
    mod.AutoSavePath = ctx_.form2.Text8.text();
}

void ScheduleTrigger::ReadCurrentTime() {
    auto& mod = ctx_.mod;
    const std::optional<ClockFields> fields = ReadClockText(mod.CurrentTimeText);
    if (!fields) {
        // A locale's layout we cannot read: the moment of arming gives the time of day, so
        // the delay counted from it still ends at the chosen time.
        mod.CurrentTimeSeconds = secondsAfterMidnight(mod.ScheduleBase);
        return;
    }
    mod.CurrentHour = fields->hour;
    mod.CurrentMinute = fields->minute;
    mod.CurrentSecond = fields->second;
    if (fields->dayHalf.empty()) {
        mod.CurrentTimeSeconds = fields->hour * 3600 + fields->minute * 60 + fields->second;
        return;
    }
    mod.CurrentAmPm = fields->dayHalf;
    mod.CurrentTimeSeconds =
        TwelveHourSeconds(fields->hour, fields->minute, fields->second, DayHalfOffset(mod.CurrentAmPm));
}

void ScheduleTrigger::ReadAlarmTime() {
    const auto& form2 = ctx_.form2;
    const std::string dayHalf = form2.Text4.text();
    if (dayHalf != "AM" && dayHalf != "PM") return;
    ctx_.mod.AlarmTimeSeconds = TwelveHourSeconds(form2.VScroll1.value(), form2.VScroll2.value(),
                                                  form2.VScroll3.value(), DayHalfOffset(dayHalf));
}

std::int32_t ScheduleTrigger::DayHalfOffset(const std::string& dayHalf) {
    if (dayHalf != "PM") return 0;
    ctx_.mod.PmOffsetSeconds = PmOffset;
    return ctx_.mod.PmOffsetSeconds;
}

void ScheduleTrigger::AlarmDuration(std::int32_t& a, std::int32_t& s) {
    ctx_.mod.StartDelaySeconds = a >= s ? a - s : kSecondsPerDay - (s - a);
}

void ScheduleTrigger::Timer2Tick() {
    auto& mod = ctx_.mod;
    mod.SecondsSinceSchedule = wholeSecondsBetween(mod.ScheduleBase, ctx_.os.clock.now());
    if (mod.SecondsSinceSchedule < mod.StartDelaySeconds) return;
    // The device still holds a manual take waiting for its file name: starting now would
    // merge into it or throw it away. Keep ticking; the first tick after its save starts.
    if (ctx_.m.CaptureSavePending) return;
    ctx_.ui.Timer2.setEnabled(false);
    if (ctx_.m.RecordingState != RecorderBusy) {
        StartScheduledTake();
    } else {
        RefuseStart();
    }
}

void ScheduleTrigger::StartScheduledTake() {
    pictures_.showBitmap(ctx_.ui.PictureRecord, "recordbuttonrecording");
    if (const int failure = OpenAndRecordCapture(ctx_); failure != 0) {
        pictures_.showBitmap(ctx_.ui.PictureRecord, "recordbuttonup");
        ctx_.ui.Label5.setCaption("");
        ctx_.ui.Label6.setCaption("");
        TellTakeNotStarted(ctx_, failure);
        return;
    }
    ctx_.m.RecordingState = RecorderBusy;
    ctx_.m.AutoRecording = true;
    ctx_.mod.AutoStartTime = ctx_.os.clock.now();
    ctx_.ui.Timer3.setEnabled(true);
}

void ScheduleTrigger::RefuseStart() {
    ctx_.os.messages.show(AlreadyRecording, MessageStyle::exclamation, AppTitle);
    ctx_.ui.Label5.setCaption("");
    ctx_.ui.Label6.setCaption("");
}

} // namespace murmora
