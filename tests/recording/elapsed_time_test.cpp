#include "tests/recording/recording_fixture.h"

namespace murmora::fakes {
namespace {

using ElapsedTime = RecordingTest;

TEST_F(ElapsedTime, ShowsTheWholeSecondsSinceTheStart) {
    StartManualTake();
    app.clock.Advance(1);
    app.Timer1.Tick();
    EXPECT_EQ(app.Label1.caption, "1 sec");
    EXPECT_EQ(app.m.RecordSeconds, 1);
    app.clock.Advance(1);
    app.Timer1.Tick();
    EXPECT_EQ(app.Label1.caption, "2 sec");
}

TEST_F(ElapsedTime, MissedTicksNeverMakeItDrift) {
    StartManualTake();
    app.clock.Advance(1);
    app.Timer1.Tick();
    app.clock.Advance(6);
    app.Timer1.Tick();
    EXPECT_EQ(app.Label1.caption, "7 sec");
    app.Timer1.Tick();
    app.Timer1.Tick();
    EXPECT_EQ(app.Label1.caption, "7 sec") << "extra ticks in the same second add nothing";
}

TEST_F(ElapsedTime, ClockSetBackLowersTheCountBelowZero) {
    StartManualTake();
    app.clock.Advance(3);
    app.Timer1.Tick();
    app.clock.Advance(-10);
    app.Timer1.Tick();
    EXPECT_EQ(app.Label1.caption, "-7 sec");
    EXPECT_EQ(app.m.RecordSeconds, -7);
}

TEST_F(ElapsedTime, ClockSetForwardRaisesTheCount) {
    StartManualTake();
    app.clock.Advance(3600 + 2);
    app.Timer1.Tick();
    EXPECT_EQ(app.Label1.caption, "3602 sec");
}

TEST_F(ElapsedTime, TheLastCountStaysShownAfterTheStop) {
    StartManualTake();
    app.clock.Advance(5);
    app.Timer1.Tick();
    app.CommonDialog1.Answers("/home/user/take.wav");
    app.hotkeys.Press(1);
    EXPECT_FALSE(app.Timer1.enabled);
    app.clock.Advance(5);
    app.Timer1.Tick();
    EXPECT_EQ(app.Label1.caption, "5 sec");
}

TEST_F(ElapsedTime, ANewTakeCountsFromItsOwnStart) {
    StartManualTake();
    app.clock.Advance(9);
    app.CommonDialog1.Answers("/home/user/take.wav");
    app.hotkeys.Press(1);
    app.clock.Advance(30);
    StartManualTake();
    app.clock.Advance(2);
    app.Timer1.Tick();
    EXPECT_EQ(app.Label1.caption, "2 sec");
}

} // namespace
} // namespace murmora::fakes
