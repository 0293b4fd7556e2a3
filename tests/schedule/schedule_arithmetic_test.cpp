#include "tests/schedule/schedule_fixture.h"

namespace murmora::fakes {
namespace {

using ScheduleArithmetic = ScheduleTest;

TEST_F(ScheduleArithmetic, TheFourTimeTextLayoutsGiveTheSecondsAfterMidnight) {
    const std::pair<std::string, std::int32_t> cases[] = {
        {"12:15:30 AM", 930},   {"12:15:30 PM", 44130}, {"9:05:07 PM", 75907}, {"09:05:07 PM", 75907},
        {"11:05:07 AM", 39907}, {"21:05:07", 75907},    {"7:05:07", 25507},    {"12:00:00 AM", 0},
        {"12:00:00 PM", 43200}, {"00:00:00", 0},        {"23:59:59", 86399}};
    app.clock.setTimeOfDay(3, 33, 33);  // disagrees with every text, so only the text can give the result
    for (const auto& [text, seconds] : cases) {
        app.clock.timeText = text;
        app.form.trigger.SetAlarm();
        EXPECT_EQ(app.mod.CurrentTimeSeconds, seconds) << text;
    }
}

TEST_F(ScheduleArithmetic, ThePmOffsetIsSetByAnAfternoonTextOrStart) {
    app.clock.timeText = "9:05:07 AM";
    app.form.trigger.SetAlarm();  // the start time is 1:00:00 AM as well
    EXPECT_EQ(app.mod.PmOffsetSeconds, 0);
    app.clock.timeText = "11:05:07 PM";
    app.form.trigger.SetAlarm();
    EXPECT_EQ(app.mod.CurrentAmPm, "PM");
    EXPECT_EQ(app.mod.PmOffsetSeconds, 43200);
    app.clock.timeText = "9:05:07 AM";
    ChooseStart(1, 0, 0, "PM");
    app.form.trigger.SetAlarm();
    EXPECT_EQ(app.mod.PmOffsetSeconds, 43200);
}

TEST_F(ScheduleArithmetic, AnUnreadableTimeTextTakesTheTimeOfDayFromTheClock) {
    app.clock.setTimeOfDay(21, 5, 7);
    ChooseStart(10, 0, 0, "PM");
    for (const char* text : {"9:05:07 p.m.", "9:05:07 午後", "21.05.07", "9:0x:07 PM", "25:00:00", "21:05:60",
                             "13:05:07 PM", ""}) {
        app.clock.timeText = text;
        app.mod.CurrentTimeSeconds = 12345;
        app.mod.CurrentHour = 4;
        app.form.trigger.SetAlarm();
        EXPECT_EQ(app.mod.CurrentTimeSeconds, 75907) << text;
        EXPECT_EQ(app.mod.CurrentHour, 4) << text << ": nothing of the text is stored";
        EXPECT_EQ(app.mod.StartDelaySeconds, 79200 - 75907) << text;
    }
}

TEST_F(ScheduleArithmetic, TheTimeTextIsASecondReadingOfTheClock) {
    app.clock.timeText = "10:00:01";  // the seconds turned over between the two readings
    const int readsBefore = app.clock.reads;
    app.form.trigger.SetAlarm();
    EXPECT_EQ(app.clock.reads, readsBefore + 1);
    EXPECT_EQ(app.mod.ScheduleBase, FakeClock::kBaseDay + 36000);
    EXPECT_EQ(app.mod.CurrentTimeSeconds, 36001);
}

TEST_F(ScheduleArithmetic, TheChosenStartGivesTheSecondsAfterMidnight) {
    const struct { int hour, minute, second; const char* dayHalf; std::int32_t seconds; } cases[] = {
        {12, 0, 0, "AM", 0},     {12, 0, 0, "PM", 43200}, {1, 0, 0, "PM", 46800},     {12, 30, 0, "PM", 45000},
        {1, 0, 0, "AM", 3600},   {12, 15, 0, "AM", 900},  {11, 59, 59, "PM", 86399}, {11, 59, 59, "AM", 43199}};
    for (const auto& c : cases) {
        ChooseStart(c.hour, c.minute, c.second, c.dayHalf);
        app.form.trigger.SetAlarm();
        EXPECT_EQ(app.mod.AlarmTimeSeconds, c.seconds) << c.hour << ":" << c.minute << ":" << c.second << c.dayHalf;
    }
}

TEST_F(ScheduleArithmetic, ADayHalfTextOtherThanAmOrPmKeepsTheEarlierStart) {
    ChooseStart(2, 0, 0, "AM");
    app.form.trigger.SetAlarm();
    app.VScroll1.setValue(5);
    app.Text4.contents = "am";
    app.form.trigger.SetAlarm();
    EXPECT_EQ(app.mod.AlarmTimeSeconds, 7200);
}

TEST_F(ScheduleArithmetic, TheDelayCountsToTheNextTimeTheClockShowsTheStart) {
    const struct { int nowHour, nowMinute, startHour, startMinute; const char* dayHalf; int seconds; } cases[] =
        {{10, 0, 10, 0, "AM", 0},    {10, 0, 9, 0, "AM", 82800}, {23, 30, 12, 15, "AM", 2700},
         {10, 0, 1, 0, "PM", 10800}, {0, 0, 11, 59, "PM", 86340}};
    for (const auto& c : cases) {
        app.clock.setTimeOfDay(c.nowHour, c.nowMinute, 0);
        ChooseStart(c.startHour, c.startMinute, 0, c.dayHalf);
        app.form.trigger.SetAlarm();
        EXPECT_EQ(app.mod.StartDelaySeconds, c.seconds) << c.nowHour << ":" << c.nowMinute << " to " << c.startHour
                                                        << ":" << c.startMinute << c.dayHalf;
    }
}

TEST_F(ScheduleArithmetic, TheLongestDurationIs35999Seconds) {
    ChooseDuration(9, 59, 59);
    app.VScroll5.stepUp();
    app.form.trigger.SetAlarm();
    EXPECT_EQ(app.mod.AutoDurationSeconds, 35999);
}

} // namespace
} // namespace murmora::fakes
