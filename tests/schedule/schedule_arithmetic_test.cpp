#include "schedule/schedule_arithmetic.h"
#include "tests/schedule/schedule_fixture.h"

namespace murmora::fakes {
namespace {

TEST(ClockText, TheFourLayoutsGiveTheSecondsAfterMidnight) {
    const std::pair<std::string, std::int32_t> cases[] = {
        {"12:15:30 AM", 930},   {"12:15:30 PM", 44130}, {"9:05:07 PM", 75907}, {"09:05:07 PM", 75907},
        {"11:05:07 AM", 39907}, {"21:05:07", 75907},    {"7:05:07", 25507},    {"12:00:00 AM", 0},
        {"12:00:00 PM", 43200}, {"00:00:00", 0},        {"23:59:59", 86399}};
    for (const auto& [text, seconds] : cases)
        EXPECT_EQ(clockTextSeconds(text), seconds) << text;
}

TEST(ClockText, AnythingElseIsNoReading) {
    for (const char* text : {"9:05:07 p.m.", "9:05:07 午後", "21.05.07", "9:0x:07 PM", "25:00:00", "21:05:60",
                             "13:05:07 PM", "9:05:07 am", ""})
        EXPECT_EQ(clockTextSeconds(text), std::nullopt) << text;
}

TEST(StartTime, TheChosenStartGivesTheSecondsAfterMidnight) {
    const struct {
        int hour, minute, second;
        const char* dayHalf;
        std::optional<std::int32_t> seconds;
    } cases[] = {{12, 0, 0, "AM", 0},       {12, 0, 0, "PM", 43200},   {1, 0, 0, "PM", 46800},
                 {12, 30, 0, "PM", 45000},  {1, 0, 0, "AM", 3600},     {12, 15, 0, "AM", 900},
                 {11, 59, 59, "PM", 86399}, {11, 59, 59, "AM", 43199}, {5, 0, 0, "am", std::nullopt}};
    for (const auto& c : cases) {
        EXPECT_EQ(startTimeSeconds(c.hour, c.minute, c.second, c.dayHalf), c.seconds)
            << c.hour << ":" << c.minute << ":" << c.second << c.dayHalf;
    }
}

TEST(StartDelay, CountsToTheNextTimeTheClockShowsTheStart) {
    const struct {
        std::int32_t start, now, delay;
    } cases[] = {
        {36000, 36000, 0}, {32400, 36000, 82800}, {900, 84600, 2700}, {46800, 36000, 10800}, {86340, 0, 86340}};
    for (const auto& c : cases)
        EXPECT_EQ(startDelaySeconds(c.start, c.now), c.delay) << c.start << " from " << c.now;
}

using ScheduleArming = ScheduleTest;

// Armed at 10:00:00 on the clock whose text says 10:00:01: the text gives the time of day,
// the reading the moment the waiting counts from.
TEST_F(ScheduleArming, TheTimeTextIsASecondReadingOfTheClock) {
    app.clock.timeText = "10:00:01";
    arm(10, 0, 5, "AM");
    expectTakeStartsAt(10, 0, 4);
}

TEST_F(ScheduleArming, AnUnreadableTimeTextTakesTheTimeOfDayFromTheClock) {
    app.clock.setTimeOfDay(21, 5, 7);
    app.clock.timeText = "9:05:07 p.m.";
    arm(10, 0, 0, "PM");
    expectTakeStartsAt(22, 0, 0);
}

} // namespace
} // namespace murmora::fakes
