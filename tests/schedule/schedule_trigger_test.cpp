#include "tests/schedule/schedule_fixture.h"

namespace murmora::fakes {
namespace {

using ScheduleFiring = ScheduleTest;

TEST_F(ScheduleFiring, StartsTheScheduledTakeAtTheFirstTickThatReachesTheDelayLeavingAPlayingFileAlone) {
    app.m.PlayMode = "playing";
    Arm(10, 0, 5, "AM");
    TickAt(10, 0, 4);
    EXPECT_EQ(app.mod.SecondsSinceSchedule, 4);
    EXPECT_TRUE(app.mci.take().empty());
    EXPECT_TRUE(app.Timer2.enabled);
    TickAt(10, 0, 6);  // a late tick still starts
    EXPECT_EQ(app.mci.take(), ScheduledStart);
    EXPECT_EQ(app.PictureRecord.current(), "recordbuttonrecording");
    EXPECT_EQ(app.m.RecordingState, RecorderBusy);
    EXPECT_TRUE(app.m.AutoRecording);
    EXPECT_EQ(app.mod.AutoStartTime, app.clock.time);
    EXPECT_TRUE(app.Timer3.enabled);
    EXPECT_FALSE(app.Timer2.enabled);
    EXPECT_FALSE(app.Timer1.enabled) << "the seconds display does not run for a scheduled take";
    EXPECT_EQ(app.Label5.caption + app.Label6.caption, "Record:10:00:05 AM");
}

TEST_F(ScheduleFiring, WithoutASoundInputStartsNoTakeAndSaysWhy) {
    Arm(10, 0, 5, "AM");
    app.mci.respond = [](const std::string& command, std::string&) { return command == ScheduledStart[0] ? 306 : 0; };
    app.mci.errorTexts[306] = "The sound input could not be opened";
    TickAt(10, 0, 5);
    EXPECT_EQ(app.mci.take(), (Commands{ScheduledStart[0], "close capture"}));
    EXPECT_EQ(app.messages.texts(), Strings{"The sound input could not be opened: nothing is being recorded."});
    EXPECT_EQ(app.m.RecordingState, RecorderIdle);
    EXPECT_FALSE(app.Timer2.enabled) << "the schedule is one-shot";
    EXPECT_EQ(app.Label5.caption + app.Label6.caption, "");
}

TEST_F(ScheduleFiring, ATakeThatRanDoesNotStartAgainTheNextDay) {
    Arm(10, 0, 10, "AM", 3);
    TickAt(10, 0, 10);
    app.clock.advance(3);
    app.Timer3.tick();
    ASSERT_EQ(app.m.RecordingState, RecorderIdle);
    app.mci.take();
    for (int day = 1; day <= 2; ++day) {
        app.clock.setTimeOfDay(10, 0, 10);
        app.clock.advance(day * kSecondsPerDay);
        app.Timer2.tick();
    }
    EXPECT_TRUE(app.mci.take().empty());
    EXPECT_FALSE(app.Timer2.enabled);
}

TEST_F(ScheduleFiring, TheClockSetBackAfterArmingDelaysTheStartToTheChosenTime) {
    Arm(10, 30, 0, "AM");
    app.clock.setTimeOfDay(9, 0, 0);  // an hour back right after arming
    TickAt(10, 29, 59);
    EXPECT_TRUE(app.mci.take().empty());
    EXPECT_EQ(app.mod.SecondsSinceSchedule, 1799);
    TickAt(10, 30, 0);
    EXPECT_EQ(app.mci.take(), ScheduledStart);
}

TEST_F(ScheduleFiring, TheClockSetForwardPastTheStartStartsAtTheNextTick) {
    Arm(10, 30, 0, "AM");
    TickAt(10, 45, 0);
    EXPECT_EQ(app.mci.take(), ScheduledStart);
}

TEST_F(ScheduleFiring, DuringAManualTakeRefusesOnceAndLetsTheTakeGoOn) {
    Arm(10, 0, 10, "AM");
    app.hotkeys.press(0);
    app.mci.take();
    bool timer2WhileOpen = true;
    app.messages.whileOpen = [&](const ShownMessage&) { timer2WhileOpen = app.Timer2.enabled; };
    TickAt(10, 0, 10);
    EXPECT_EQ(app.messages.texts(), AlreadyRecording);
    EXPECT_EQ(app.messages.shown.at(0).style, MessageStyle::exclamation);
    EXPECT_FALSE(timer2WhileOpen) << "disarmed before the box opens";
    EXPECT_EQ(app.Label5.caption + app.Label6.caption, "");
    EXPECT_TRUE(app.mci.take().empty());
    EXPECT_EQ(app.m.RecordingState, RecorderBusy);
    EXPECT_FALSE(app.m.AutoRecording);
    EXPECT_TRUE(app.Timer1.enabled);
}

// The take waits for the manual save and runs its full duration from its real start.
TEST_F(ScheduleFiring, WhileTheManualTakeAwaitsItsSaveWaitsForTheNextTickAfterIt) {
    Arm(10, 0, 10, "AM", 5);
    app.hotkeys.press(0);
    Commands duringDialog;
    app.CommonDialog1.answer("/home/user/manual.wav", [&] {
        app.mci.take();
        TickAt(10, 0, 10);
        TickAt(10, 0, 40);
        duringDialog = app.mci.take();
        EXPECT_TRUE(app.Timer2.enabled) << "still armed while the take waits for its name";
    });
    app.hotkeys.press(1);
    EXPECT_TRUE(duringDialog.empty()) << "the held take is neither joined nor closed";
    EXPECT_EQ(app.mci.take(), (Commands{SaveCapture("/home/user/manual.wav"), "close capture"}));
    TickAt(10, 0, 41);
    EXPECT_EQ(app.mci.take(), ScheduledStart);
    EXPECT_FALSE(app.Timer2.enabled);
    app.clock.setTimeOfDay(10, 0, 45);
    app.Timer3.tick();
    EXPECT_TRUE(app.mci.take().empty());
    app.clock.setTimeOfDay(10, 0, 46);
    app.Timer3.tick();
    EXPECT_EQ(app.mci.take(), (Commands{"stop capture", SaveCapture(DefaultTarget), "close capture"}));
}

TEST_F(ScheduleFiring, StartsAfterTheUserGaveUpOnThePendingManualTake) {
    Arm(10, 0, 10, "AM");
    app.hotkeys.press(0);
    app.CommonDialog1.answer(std::nullopt, [this] { TickAt(10, 0, 15); });
    app.messages.whileOpen = [this](const ShownMessage&) { app.Timer2.tick(); };
    app.hotkeys.press(1);
    EXPECT_EQ(app.mci.take(), (Commands{ScheduledStart[0], ScheduledStart[1], "stop capture", "close capture"}));
    app.messages.whileOpen = {};
    app.Timer2.tick();
    EXPECT_EQ(app.mci.take(), ScheduledStart);
}

} // namespace
} // namespace murmora::fakes
