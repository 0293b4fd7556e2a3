#include "tests/schedule/schedule_fixture.h"

namespace murmora::fakes {
namespace {

// ---- The current time of day read from the clock's text ----

struct ClockText {
    std::string text;
    std::int32_t seconds;
};

class CurrentTimeText : public ScheduleTest, public ::testing::WithParamInterface<ClockText> {};

TEST_P(CurrentTimeText, GivesTheSecondsAfterMidnight) {
    // The clock's own reading disagrees with every text, so only the text can give the result.
    app.clock.SetTimeOfDay(3, 33, 33);
    app.clock.timeText = GetParam().text;
    app.form.trigger.SetAlarm();
    EXPECT_EQ(app.mod.CurrentTimeText, GetParam().text);
    EXPECT_EQ(app.mod.CurrentTimeSeconds, GetParam().seconds);
}

INSTANTIATE_TEST_SUITE_P(FourLayouts, CurrentTimeText,
                         ::testing::Values(ClockText{"12:15:30 AM", 930}, ClockText{"12:15:30 PM", 44130},
                                           ClockText{"9:05:07 PM", 75907}, ClockText{"21:05:07", 75907},
                                           ClockText{"7:05:07", 25507}, ClockText{"11:05:07 AM", 39907},
                                           ClockText{"9:05:07 AM", 32707}, ClockText{"09:05:07 PM", 75907},
                                           ClockText{"12:00:00 AM", 0}, ClockText{"12:00:00 PM", 43200},
                                           ClockText{"00:00:00", 0}, ClockText{"23:59:59", 86399}));

TEST_F(ScheduleTest, TwelveHourTextStoresItsFields) {
    app.clock.timeText = "11:05:07 PM";
    app.form.trigger.SetAlarm();
    EXPECT_EQ(app.mod.CurrentHour, 11);
    EXPECT_EQ(app.mod.CurrentMinute, 5);
    EXPECT_EQ(app.mod.CurrentSecond, 7);
    EXPECT_EQ(app.mod.CurrentAmPm, "PM");
    EXPECT_EQ(app.mod.PmOffsetSeconds, 43200);
}

TEST_F(ScheduleTest, MorningTextLeavesThePmOffsetUnset) {
    app.clock.timeText = "9:05:07 AM";
    app.form.trigger.SetAlarm();  // the start time is 1:00:00 AM as well
    EXPECT_EQ(app.mod.PmOffsetSeconds, 0);
    EXPECT_EQ(app.mod.CurrentAmPm, "AM");
}

// ---- Texts that are not one of the four layouts: the clock's reading counts ----

class UnreadableTimeText : public ScheduleTest, public ::testing::WithParamInterface<std::string> {};

TEST_P(UnreadableTimeText, TakesTheTimeOfDayFromTheClock) {
    app.clock.SetTimeOfDay(21, 5, 7);
    app.clock.timeText = GetParam();
    app.mod.CurrentTimeSeconds = 12345;  // what an earlier arming left
    app.mod.CurrentHour = 4;
    app.form.trigger.SetAlarm();
    EXPECT_EQ(app.mod.CurrentTimeSeconds, 75907);
    EXPECT_EQ(app.mod.CurrentHour, 4) << "nothing of the text is stored";
}

INSTANTIATE_TEST_SUITE_P(OtherLocalesAndBrokenTexts, UnreadableTimeText,
                         ::testing::Values("9:05:07 p.m.",  // length 12
                                           "9:05:07 pm", "21:05:07 Uhr", "9:05:07 午後", "21.05.07", "21h05:07",
                                           "ab:cd:ef", "9:0x:07 PM", "25:00:00", "21:65:07", "21:05:60",
                                           "13:05:07 PM", "", "  :  :  "));

TEST_F(ScheduleTest, LengthTwelveTextStartsAtTheChosenTimeAfterAll) {
    app.clock.SetTimeOfDay(21, 5, 7);
    app.clock.timeText = "9:05:07 p.m.";
    ChooseStart(10, 0, 0, "PM");
    app.form.trigger.SetAlarm();
    EXPECT_EQ(app.mod.StartDelaySeconds, 79200 - 75907);
}

TEST_F(ScheduleTest, TimeTextIsASecondReadingOfTheClock) {
    // The seconds turned over between the two readings: the base is the first, the time of
    // day the second.
    app.clock.SetTimeOfDay(10, 0, 0);
    app.clock.timeText = "10:00:01";
    const int readsBefore = app.clock.reads;
    app.form.trigger.SetAlarm();
    EXPECT_EQ(app.clock.reads, readsBefore + 1);
    EXPECT_EQ(app.mod.ScheduleBase, FakeClock::BaseDay + 36000);
    EXPECT_EQ(app.mod.CurrentTimeSeconds, 36001);
}

// ---- The chosen start time ----

struct StartTime {
    int hour, minute, second;
    const char* dayHalf;
    std::int32_t seconds;
};

class ChosenStartTime : public ScheduleTest, public ::testing::WithParamInterface<StartTime> {};

TEST_P(ChosenStartTime, GivesTheSecondsAfterMidnight) {
    const StartTime& t = GetParam();
    ChooseStart(t.hour, t.minute, t.second, t.dayHalf);
    app.form.trigger.SetAlarm();
    EXPECT_EQ(app.mod.AlarmTimeSeconds, t.seconds);
}

INSTANTIATE_TEST_SUITE_P(TwelveHourClock, ChosenStartTime,
                         ::testing::Values(StartTime{12, 0, 0, "AM", 0}, StartTime{12, 0, 0, "PM", 43200},
                                           StartTime{1, 0, 0, "PM", 46800}, StartTime{12, 30, 0, "PM", 45000},
                                           StartTime{11, 59, 59, "PM", 86399}, StartTime{1, 0, 0, "AM", 3600},
                                           StartTime{12, 15, 0, "AM", 900}, StartTime{11, 59, 59, "AM", 43199}));

TEST_F(ScheduleTest, AfternoonStartSetsThePmOffset) {
    ChooseStart(1, 0, 0, "PM");
    app.form.trigger.SetAlarm();
    EXPECT_EQ(app.mod.PmOffsetSeconds, 43200);
}

TEST_F(ScheduleTest, DayHalfTextOtherThanAmOrPmKeepsTheEarlierStartTime) {
    ChooseStart(2, 0, 0, "AM");
    app.form.trigger.SetAlarm();
    ASSERT_EQ(app.mod.AlarmTimeSeconds, 7200);
    app.VScroll1.SetValue(5);
    app.Text4.text = "am";
    app.form.trigger.SetAlarm();
    EXPECT_EQ(app.mod.AlarmTimeSeconds, 7200);
}

// ---- The delay to the start ----

struct Delay {
    int nowHour, nowMinute;
    int startHour, startMinute;
    const char* dayHalf;
    std::int32_t seconds;
};

class StartDelay : public ScheduleTest, public ::testing::WithParamInterface<Delay> {};

TEST_P(StartDelay, CountsToTheNextTimeTheClockShowsTheStart) {
    const Delay& d = GetParam();
    app.clock.SetTimeOfDay(d.nowHour, d.nowMinute, 0);
    ChooseStart(d.startHour, d.startMinute, 0, d.dayHalf);
    app.form.trigger.SetAlarm();
    EXPECT_EQ(app.mod.StartDelaySeconds, d.seconds);
}

INSTANTIATE_TEST_SUITE_P(SameDayNextDayAcrossMidnight, StartDelay,
                         ::testing::Values(Delay{10, 0, 10, 0, "AM", 0}, Delay{10, 0, 9, 0, "AM", 82800},
                                           Delay{23, 30, 12, 15, "AM", 2700}, Delay{10, 0, 1, 0, "PM", 10800},
                                           Delay{0, 0, 11, 59, "PM", 86340}));

TEST_F(ScheduleTest, AlarmDurationLeavesItsArgumentsAlone) {
    std::int32_t a = 900;
    std::int32_t s = 84600;
    app.form.trigger.AlarmDuration(a, s);
    EXPECT_EQ(app.mod.StartDelaySeconds, 2700);
    EXPECT_EQ(a, 900);
    EXPECT_EQ(s, 84600);
}

// ---- Duration and target ----

TEST_F(ScheduleTest, LongestDurationIs35999Seconds) {
    ChooseDuration(9, 59, 59);
    app.VScroll5.StepUp();
    app.form.trigger.SetAlarm();
    EXPECT_EQ(app.mod.AutoDurationSeconds, 35999);
}

TEST_F(ScheduleTest, SetAlarmTakesTheTargetFromThePathBox) {
    app.Text8.text = "/home/user/night.wav";
    app.form.trigger.SetAlarm();
    EXPECT_EQ(app.mod.AutoSavePath, "/home/user/night.wav");
}

TEST_F(ScheduleTest, SetAlarmLeavesTimer2ToItsCaller) {
    app.form.trigger.SetAlarm();
    EXPECT_FALSE(app.Timer2.enabled);
}

} // namespace
} // namespace murmora::fakes
