// What screen readers are told of a take as it happens, once each: its start, pause, resume
// and end, and a save that no message tells.
#include <algorithm>
#include <functional>

#include "tests/recording/recording_fixture.h"

namespace murmora::fakes {
namespace {

constexpr int kPauseHotkey = 2;
const std::string kChosen = "/home/user/take.wav";
const std::string kTarget = "/home/user/AutoRec.wav";

class Announcement : public RecordingTest {
protected:
    // What was announced since the last look.
    Strings said() { return std::exchange(app.announcer.said, {}); }
};

TEST_F(Announcement, ATakeIsToldAsRecordingOnceHoweverItStarts) {
    const struct {
        const char* how;
        std::function<void()> start;
    } cases[] = {{"button", [&] { app.recordButton.click(); }},
                 {"hotkey", [&] { app.hotkeys.press(0); }},
                 {"schedule", [&] { startScheduledTake(5); }}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.how);
        c.start();
        app.clock.advance(1);
        app.elapsedTimer.tick();
        app.levelTimer.tick();
        EXPECT_EQ(said(), Strings{"recording"});
        stopAndSave(kChosen);
        said();
    }
}

TEST_F(Announcement, ATakeThatCannotStartIsNotToldAsRecording) {
    app.engine.startFailure = {SoundFailure::noDevice, "The sound input could not be opened"};
    app.hotkeys.press(0);
    EXPECT_EQ(said(), Strings{});
}

TEST_F(Announcement, APauseIsToldWithTheSecondsAsTheDisplayShowsThemAndTheResumeAsRecording) {
    startManualTake();
    said();
    app.clock.advance(3);
    app.hotkeys.press(kPauseHotkey);
    EXPECT_EQ(said(), Strings{"3 sec paused"});
    app.clock.advance(10);
    app.hotkeys.press(kPauseHotkey);
    EXPECT_EQ(said(), Strings{"recording"});
}

TEST_F(Announcement, TheEndIsToldOnceWithTheSecondsWhateverEndsTheTake) {
    const struct {
        const char* how;
        bool scheduled;
        std::function<void()> end;
    } cases[] = {{"stop button", false, [&] { app.stopButton.click(); }},
                 {"stop hotkey", false, [&] { app.hotkeys.press(1); }},
                 {"schedule's time", true, [&] { app.scheduledStopTimer.tick(); }},
                 {"lost input", false, [&] { app.engine.loseInput(4); }}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.how);
        if (c.scheduled)
            startScheduledTake(4, kTarget);
        else
            startManualTake();
        said();
        app.clock.advance(4);
        app.saveTakeDialog.answer(kChosen);
        c.end();
        app.engine.deliver();
        const Strings told = said();
        // A scheduled take's save at its target is told after it.
        ASSERT_FALSE(told.empty());
        EXPECT_EQ(told.front(), "recording stopped, 4 sec");
        EXPECT_EQ(std::count(told.begin(), told.end(), told.front()), 1);
        expectIdle();
    }
}

// The input is found lost a while after it went: the message and the end say the same seconds.
TEST_F(Announcement, ALostInputsEndIsToldWithTheSecondsTheTakeHolds) {
    startManualTake();
    said();
    app.clock.advance(5);
    app.saveTakeDialog.answer(kChosen);
    app.engine.loseInput(4);
    app.engine.deliver();
    EXPECT_EQ(said(), Strings{"recording stopped, 4 sec"});
    EXPECT_EQ(app.messages.texts().at(0), "The sound input was lost after 4 sec. The recording so far is kept.");
}

TEST_F(Announcement, AScheduledTakeSavedAtItsTargetIsToldSoAsNoMessageSaysIt) {
    startScheduledTake(2, kTarget);
    said();
    app.clock.advance(2);
    app.scheduledStopTimer.tick();
    app.engine.deliver();
    EXPECT_EQ(said(), (Strings{"recording stopped, 2 sec", "Recording saved as  " + kTarget}));
    EXPECT_TRUE(app.messages.shown.empty());
}

TEST_F(Announcement, ATakeSavedWhereTheUserSaidIsToldByItsMessageAlone) {
    startManualTake();
    app.clock.advance(2);
    said();
    stopAndSave(kChosen);
    EXPECT_EQ(said(), Strings{"recording stopped, 2 sec"});
    EXPECT_EQ(app.messages.texts(), Strings{"Recording saved as  " + kChosen});
}

} // namespace
} // namespace murmora::fakes
