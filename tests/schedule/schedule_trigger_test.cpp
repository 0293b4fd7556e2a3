#include "tests/schedule/schedule_fixture.h"

namespace murmora::fakes {
namespace {

using ScheduleFiring = ScheduleTest;

TEST_F(ScheduleFiring, StartsTheScheduledTakeAtTheFirstTickThatReachesTheDelayLeavingAPlayingFileAlone) {
    app.files.add("/home/user/earlier.wav");
    app.hotkeys.press(0);
    app.saveTakeDialog.answer("/home/user/earlier.wav");
    app.hotkeys.press(1);
    app.engine.deliver();
    app.playButton.click();
    app.messages.shown.clear();
    app.engine.take();
    arm(10, 0, 5, "AM");
    tickAt(10, 0, 4);
    EXPECT_TRUE(app.engine.take().empty());
    EXPECT_TRUE(app.scheduleStartTimer.enabled);
    tickAt(10, 0, 6); // a late tick still starts
    EXPECT_EQ(app.engine.take(), kTakeStarted);
    EXPECT_TRUE(app.panel.player.isPlaying());
    EXPECT_EQ(app.recordButton.current(), "recordbuttonrecording");
    EXPECT_EQ(app.panel.recorder.state(), RecorderState::recording);
    EXPECT_TRUE(app.scheduledStopTimer.enabled);
    EXPECT_FALSE(app.scheduleStartTimer.enabled);
    EXPECT_FALSE(app.elapsedTimer.enabled) << "the seconds display does not run for a scheduled take";
    EXPECT_EQ(app.scheduleCaptionLabel.caption + app.scheduleTimeLabel.caption, "Record:10:00:05 AM");
}

// The timer, left to run from the moment of arming, ticks at that moment's fraction of each
// second: armed at .75, the take started 0.75 s after its second.
TEST_F(ScheduleFiring, StartsWithinAQuarterSecondOfItsSecondWhenArmedLateInASecond) {
    app.clock.setTimeOfDay(10, 0, 4);
    app.clock.intoSecond = std::chrono::milliseconds(750);
    arm(10, 0, 7, "AM");
    for (int tick = 0; tick < 10 && app.panel.recorder.state() == RecorderState::idle; ++tick) {
        app.clock.advance(app.scheduleStartTimer.interval);
        app.scheduleStartTimer.tick();
    }
    ASSERT_EQ(app.panel.recorder.state(), RecorderState::recording);
    EXPECT_EQ(app.clock.time, FakeClock::kBaseDay + 10 * 3600 + 7);
    EXPECT_LE(app.clock.intoSecond, std::chrono::milliseconds(250));
}

TEST_F(ScheduleFiring, WithoutASoundInputStartsNoTakeAndSaysWhy) {
    arm(10, 0, 5, "AM");
    app.engine.startFailure = {SoundFailure::noDevice, "The sound input could not be opened"};
    tickAt(10, 0, 5);
    EXPECT_EQ(app.engine.take(), kTakeStarted);
    EXPECT_EQ(app.messages.texts(), Strings{"The sound input could not be opened: nothing is being recorded."});
    EXPECT_EQ(app.panel.recorder.state(), RecorderState::idle);
    EXPECT_FALSE(app.scheduleStartTimer.enabled) << "the schedule is one-shot";
    EXPECT_EQ(app.scheduleCaptionLabel.caption + app.scheduleTimeLabel.caption, "");
}

TEST_F(ScheduleFiring, ATakeThatRanDoesNotStartAgainTheNextDay) {
    arm(10, 0, 10, "AM", 3);
    tickAt(10, 0, 10);
    app.clock.advance(3);
    app.scheduledStopTimer.tick();
    app.engine.deliver();
    ASSERT_EQ(app.panel.recorder.state(), RecorderState::idle);
    app.engine.take();
    for (int day = 1; day <= 2; ++day) {
        app.clock.setTimeOfDay(10, 0, 10);
        app.clock.advance(day * kSecondsPerDay);
        app.scheduleStartTimer.tick();
    }
    EXPECT_TRUE(app.engine.take().empty());
    EXPECT_FALSE(app.scheduleStartTimer.enabled);
}

TEST_F(ScheduleFiring, TheClockSetBackAfterArmingDelaysTheStartToTheChosenTime) {
    arm(10, 30, 0, "AM");
    app.clock.setTimeOfDay(9, 0, 0); // an hour back right after arming
    expectTakeStartsAt(10, 30, 0);
}

TEST_F(ScheduleFiring, DuringAManualTakeRefusesOnceAndLetsTheTakeGoOn) {
    arm(10, 0, 10, "AM");
    app.hotkeys.press(0);
    app.engine.take();
    bool startTimerWhileOpen = true;
    app.messages.whileOpen = [&](const ShownMessage&) { startTimerWhileOpen = app.scheduleStartTimer.enabled; };
    tickAt(10, 0, 10);
    EXPECT_EQ(app.messages.texts(), kAlreadyRecording);
    EXPECT_EQ(app.messages.shown.at(0).style, MessageStyle::exclamation);
    EXPECT_FALSE(startTimerWhileOpen) << "disarmed before the box opens";
    EXPECT_EQ(app.scheduleCaptionLabel.caption + app.scheduleTimeLabel.caption, "");
    EXPECT_TRUE(app.engine.take().empty());
    EXPECT_EQ(app.panel.recorder.state(), RecorderState::recording);
    EXPECT_FALSE(app.scheduledStopTimer.enabled) << "the manual take goes on";
    EXPECT_TRUE(app.elapsedTimer.enabled);
}

// The take waits for the manual save and runs its full duration from its real start.
TEST_F(ScheduleFiring, WhileTheManualTakeAwaitsItsSaveWaitsForTheNextTickAfterIt) {
    arm(10, 0, 10, "AM", 5);
    app.hotkeys.press(0);
    EngineCalls duringDialog;
    app.saveTakeDialog.answer("/home/user/manual.wav", [&] {
        app.engine.take();
        tickAt(10, 0, 10);
        tickAt(10, 0, 40);
        duringDialog = app.engine.take();
        EXPECT_TRUE(app.scheduleStartTimer.enabled) << "still armed while the take waits for its name";
    });
    app.hotkeys.press(1);
    app.engine.deliver();
    EXPECT_TRUE(duringDialog.empty()) << "the held take is neither joined nor closed";
    EXPECT_EQ(app.engine.take(), EngineCalls{saveTakeAt("/home/user/manual.wav")});
    tickAt(10, 0, 41);
    EXPECT_EQ(app.engine.take(), kTakeStarted);
    EXPECT_FALSE(app.scheduleStartTimer.enabled);
    app.clock.setTimeOfDay(10, 0, 45);
    app.scheduledStopTimer.tick();
    EXPECT_TRUE(app.engine.take().empty());
    app.clock.setTimeOfDay(10, 0, 46);
    app.scheduledStopTimer.tick();
    app.engine.deliver();
    EXPECT_EQ(app.engine.take(), (EngineCalls{{EngineCall::stopTake, {}}, saveTakeAt(kDefaultTarget)}));
}

TEST_F(ScheduleFiring, StartsAfterTheUserGaveUpOnThePendingManualTake) {
    arm(10, 0, 10, "AM");
    app.hotkeys.press(0);
    app.saveTakeDialog.answer(std::nullopt, [this] { tickAt(10, 0, 15); });
    app.messages.whileOpen = [this](const ShownMessage&) { app.scheduleStartTimer.tick(); };
    app.hotkeys.press(1);
    app.engine.deliver();
    EXPECT_EQ(app.engine.take(),
              (EngineCalls{{EngineCall::startTake, {}}, {EngineCall::stopTake, {}}, {EngineCall::discardTake, {}}}));
    app.messages.whileOpen = {};
    app.scheduleStartTimer.tick();
    EXPECT_EQ(app.engine.take(), kTakeStarted);
}

} // namespace
} // namespace murmora::fakes
