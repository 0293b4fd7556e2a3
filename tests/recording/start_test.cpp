#include "tests/recording/recording_fixture.h"

namespace murmora::fakes {
namespace {

using StartByHotkey = RecordingTest;

TEST_F(StartByHotkey, ShowsTheRecordingPictureThenStartsATake) {
    std::string pictureAtStart;
    app.engine.onCall = [&](const EngineCall&) { pictureAtStart = app.recordButton.current(); };
    app.hotkeys.press(0);
    EXPECT_EQ(app.engine.take(), EngineCalls{kStartTake});
    EXPECT_EQ(pictureAtStart, "recordbuttonrecording");
    EXPECT_EQ(app.panel.recorder.state(), RecorderState::recording);
    EXPECT_TRUE(app.elapsedTimer.enabled);
    EXPECT_FALSE(app.scheduledStopTimer.enabled) << "a manual take";
    EXPECT_TRUE(app.messages.shown.empty());
}

TEST_F(StartByHotkey, WhileAFilePlaysStopsItAndClearsTheDisplayInsteadOfStarting) {
    startPlayback();
    app.secondsLabel.caption = "3 sec";
    app.hotkeys.press(0);
    EXPECT_EQ(app.engine.take(), EngineCalls{kStopPlayback});
    EXPECT_EQ(app.secondsLabel.caption, "");
    EXPECT_EQ(app.panel.recorder.state(), RecorderState::idle);
    app.hotkeys.press(0);
    EXPECT_EQ(app.engine.take(), EngineCalls{kStartTake});
}

TEST_F(StartByHotkey, DuringATakeStartsNothingButStillStopsAPlayingFile) {
    startPlayback();
    startScheduledTake(60);
    app.hotkeys.press(0);
    EXPECT_EQ(app.engine.take(), EngineCalls{kStopPlayback});
    app.hotkeys.press(0);
    EXPECT_TRUE(app.engine.take().empty());
    EXPECT_TRUE(app.scheduledStopTimer.enabled) << "the scheduled take goes on";
    EXPECT_FALSE(app.elapsedTimer.enabled);
}

// The engine holds the take until it is saved or discarded: no second take may start meanwhile.
TEST_F(StartByHotkey, NothingStartsUntilTheTakeIsSavedThenTheNextTakeStarts) {
    startManualTake();
    EngineCalls byHotkey, byButton;
    app.saveTakeDialog.answer("/home/user/first.wav", [&] {
        app.engine.take();
        app.hotkeys.press(0);
        byHotkey = app.engine.take();
        app.recordButton.down(kLeftButton);
        app.recordButton.up(kLeftButton);
        byButton = app.engine.take();
    });
    app.messages.whileOpen = [&](const ShownMessage&) { app.hotkeys.press(0); };
    app.hotkeys.press(1);
    app.engine.deliver();
    EXPECT_TRUE(byHotkey.empty());
    EXPECT_TRUE(byButton.empty());
    EXPECT_EQ(app.engine.take(), EngineCalls{saveTakeAt("/home/user/first.wav")})
        << "nor while the confirmation is open";
    expectIdle();
    app.messages.whileOpen = {};
    app.hotkeys.press(0);
    EXPECT_EQ(app.engine.take(), EngineCalls{kStartTake});
}

// The engine names the cause: no sound input, no file for the take (a full disk), a server that
// does not answer.
TEST_F(RecordingTest, WhenNoTakeCanStartTheUserIsToldWhyInTheEnginesWords) {
    const std::string takeFolderFull =
        "The file for the recording could not be created in /home/user/.cache/murmora/takes (No space left on device)";
    const struct {
        SoundFailure failure;
        std::string reason, told;
    } causes[] = {{SoundFailure::noDevice, "The sound input could not be opened",
                   "The sound input could not be opened: nothing is being recorded."},
                  {SoundFailure::takeFile, takeFolderFull, takeFolderFull + ": nothing is being recorded."},
                  {SoundFailure::notAnswering, "The sound server does not answer",
                   "The sound server does not answer: nothing is being recorded. Try again in a moment."}};
    for (const auto& [failure, reason, told] : causes) {
        app.messages.shown.clear();
        app.engine.startFailure = {failure, reason};
        app.recordButton.down(kLeftButton);
        app.engine.take();
        app.recordButton.up(kLeftButton);
        EXPECT_EQ(app.engine.take(), EngineCalls{kStartTake});
        EXPECT_EQ(app.messages.shown.size(), 1u);
        expectMessage(0, told, MessageStyle::exclamation);
        expectIdle();
        app.hotkeys.press(1);
        EXPECT_TRUE(app.engine.take().empty()) << "no take to stop";
    }
}

using RecordButton = RecordingTest;

TEST_F(RecordButton, PressStopsPlaybackAndReleaseOverItStartsATake) {
    app.secondsLabel.caption = "7 sec";
    app.sizeLabel.caption = "2.0 KB";
    const std::size_t before = app.recordButton.shown.size();
    app.recordButton.down(kLeftButton);
    EXPECT_EQ(app.secondsLabel.caption + app.sizeLabel.caption, "");
    EXPECT_EQ(app.engine.take(), EngineCalls{kStopPlayback}) << "whether or not a file plays";
    app.recordButton.up(kLeftButton);
    EXPECT_EQ(app.engine.take(), EngineCalls{kStartTake});
    EXPECT_EQ(shownSince(app.recordButton.shown, before), (Strings{"recordbuttondown", "recordbuttonrecording"}));
}

TEST_F(RecordButton, DraggedOffAndReleasedOutsideStartsNothingButBackInItDoes) {
    app.recordButton.down(kLeftButton);
    const std::size_t before = app.recordButton.shown.size();
    app.recordButton.move(kLeftButton | kRightButton, 400, 400);
    EXPECT_EQ(app.recordButton.shown.size(), before) << "moves with two buttons held change nothing";
    app.recordButton.move(kLeftButton, 7, 7);
    app.recordButton.move(kLeftButton, 200, 7);
    app.recordButton.move(kLeftButton, 201, 7);
    EXPECT_EQ(shownSince(app.recordButton.shown, before),
              (Strings{"recordbuttondown", "recordbuttonup", "recordbuttonup"}));
    app.recordButton.up(kLeftButton, 201, 7);
    EXPECT_EQ(app.engine.take(), EngineCalls{kStopPlayback});
    expectIdle();

    app.recordButton.down(kLeftButton);
    app.recordButton.move(kLeftButton, 7, 27);
    app.recordButton.move(kLeftButton, 7, 13);
    app.recordButton.up(kLeftButton);
    EXPECT_EQ(app.engine.take(), (EngineCalls{kStopPlayback, kStartTake}));
}

TEST_F(RecordButton, PressedWithTheRightButtonStartsATakeWhereverReleased) {
    app.recordButton.down(kRightButton);
    app.recordButton.move(kRightButton, 400, 400);
    EXPECT_EQ(app.recordButton.current(), "recordbuttondown") << "only the left button alone is followed";
    app.recordButton.up(kRightButton, 400, 400);
    EXPECT_EQ(app.engine.take(), (EngineCalls{kStopPlayback, kStartTake}));
}

// The area is 5 to 1495 twips across and 5 to 310 down, bounds included: at 96 dots per inch
// 15 twips a pixel, at 120 dots per inch 12.
TEST(RecordButtonArea, ThePointerIsOverTheButtonWithinEveryBound) {
    const struct {
        double dotsPerInch, x, y;
        bool over;
    } cases[] = {{96, 99.6, 20.6, true},   {96, 0.34, 0.34, true},  {96, 99.7, 10, false},
                 {96, 0.32, 10, false},    {96, 10, 20.7, false},   {96, 10, 0.32, false},
                 {120, 124.5, 25.8, true}, {120, 124.6, 10, false}, {120, 10, 25.9, false}};
    for (const auto& c : cases) {
        FakePanel app;
        app.screen.dotsPerInch = c.dotsPerInch;
        app.start();
        app.recordButton.down(kLeftButton);
        app.recordButton.move(kLeftButton, c.x, c.y);
        const std::string at =
            std::to_string(c.x) + ", " + std::to_string(c.y) + " at " + std::to_string(c.dotsPerInch);
        EXPECT_EQ(app.recordButton.current(), c.over ? "recordbuttondown" : "recordbuttonup") << at;
        app.recordButton.up(kLeftButton, c.x, c.y);
        EXPECT_EQ(app.panel.recorder.state() == RecorderState::recording, c.over) << at;
    }
}

TEST_F(RecordingTest, ElapsedTimeIsTheClockDifferenceSinceTheTakesOwnStart) {
    startManualTake();
    const std::pair<int, std::string> steps[] = {
        {1, "1 sec"}, {6, "7 sec"}, {0, "7 sec"}, {-14, "-7 sec"}, {3609, "3602 sec"}};
    for (const auto& [advance, shown] : steps) {
        app.clock.advance(advance);
        app.elapsedTimer.tick();
        EXPECT_EQ(app.secondsLabel.caption, shown);
    }
    stopAndSave("/home/user/take.wav");
    app.clock.advance(30);
    startManualTake();
    app.clock.advance(2);
    app.elapsedTimer.tick();
    EXPECT_EQ(app.secondsLabel.caption, "2 sec") << "a new take counts from its own start";
}

} // namespace
} // namespace murmora::fakes
