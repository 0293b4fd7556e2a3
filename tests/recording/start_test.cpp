#include "tests/recording/recording_fixture.h"

namespace murmora::fakes {
namespace {

const Commands kStopPlaybackThenRecord{"stop voice1", "close voice1", kOpenAndRecord[0], kOpenAndRecord[1]};

using StartByHotkey = RecordingTest;

TEST_F(StartByHotkey, ShowsTheRecordingPictureThenOpensAndRecordsTheDevice) {
    std::string pictureAtOpen;
    app.mci.respond = [&](const std::string& command, std::string&) {
        if (command == kOpenAndRecord[0]) pictureAtOpen = app.recordButton.current();
        return 0;
    };
    app.hotkeys.press(0);
    EXPECT_EQ(app.mci.take(), kOpenAndRecord);
    EXPECT_EQ(pictureAtOpen, "recordbuttonrecording");
    EXPECT_TRUE(app.panel.recorder.isRecording());
    EXPECT_TRUE(app.elapsedTimer.enabled);
    EXPECT_FALSE(app.scheduledStopTimer.enabled) << "a manual take";
    EXPECT_TRUE(app.messages.shown.empty());
}

TEST_F(StartByHotkey, WhileAFilePlaysStopsItAndStartsOnlyOnceThePlaybackLoopSawItStop) {
    seePlayback("playing");
    app.secondsLabel.caption = "3 sec";
    app.hotkeys.press(0);
    app.hotkeys.press(0);
    EXPECT_EQ(app.mci.take(), kStopPlayback + kStopPlayback[0] + kStopPlayback[1]);
    EXPECT_EQ(app.secondsLabel.caption, "");
    EXPECT_FALSE(app.panel.recorder.isRecording());
    seePlayback("stopped"); // the playback loop's next poll
    app.hotkeys.press(0);
    EXPECT_EQ(app.mci.take(), kOpenAndRecord);
}

TEST_F(StartByHotkey, DuringATakeStartsNothingButStillStopsAPlayingFile) {
    startScheduledTake(60);
    app.hotkeys.press(0);
    EXPECT_TRUE(app.mci.take().empty());
    seePlayback("playing");
    app.hotkeys.press(0);
    EXPECT_EQ(app.mci.take(), kStopPlayback);
    EXPECT_TRUE(app.scheduledStopTimer.enabled) << "the scheduled take goes on";
    EXPECT_FALSE(app.elapsedTimer.enabled);
}

// The device holds the take until its save has finished: no second take may open under its alias.
TEST_F(StartByHotkey, NothingStartsUntilTheTakeIsSavedThenTheNextTakeStarts) {
    startManualTake();
    Commands byHotkey, byButton;
    app.saveTakeDialog.answer("/home/user/first.wav", [&] {
        app.mci.take();
        app.hotkeys.press(0);
        byHotkey = app.mci.take();
        app.recordButton.down(kLeftButton);
        app.recordButton.up(kLeftButton);
        byButton = app.mci.take();
    });
    app.messages.whileOpen = [&](const ShownMessage&) { app.hotkeys.press(0); };
    app.hotkeys.press(1);
    EXPECT_TRUE(byHotkey.empty());
    EXPECT_TRUE(byButton.empty());
    EXPECT_EQ(app.mci.take(), (Commands{saveCapture("/home/user/first.wav"), "close capture"}))
        << "nor while the confirmation is open";
    expectIdle();
    app.messages.whileOpen = {};
    app.hotkeys.press(0);
    EXPECT_EQ(app.mci.take(), kOpenAndRecord);
}

// The service names the cause: no sound input, or no file for the take (a full disk).
TEST_F(RecordingTest, WhenNoTakeCanStartTheUserIsToldWhyInTheServicesWords) {
    const std::pair<int, std::string> causes[] = {
        {306, "The sound input could not be opened"},
        {512, "The file for the recording could not be created in /home/user/.cache/murmora/takes "
              "(No space left on device)"}};
    for (const auto& [code, cause] : causes) {
        app.messages.shown.clear();
        app.mci.errorTexts = {{code, cause}};
        app.mci.respond = [code](const std::string& command, std::string&) {
            return command == kOpenAndRecord[0] ? code : 0;
        };
        app.recordButton.down(kLeftButton);
        app.mci.take();
        app.recordButton.up(kLeftButton);
        EXPECT_EQ(app.mci.take(), (Commands{kOpenAndRecord[0], "close capture"}));
        EXPECT_EQ(app.messages.shown.size(), 1u);
        expectMessage(0, cause + ": nothing is being recorded.", MessageStyle::exclamation);
        expectIdle();
        app.hotkeys.press(1);
        EXPECT_TRUE(app.mci.take().empty()) << "no take to stop";
    }
}

TEST_F(RecordingTest, ARecordCommandThatFailsClosesTheDeviceAgain) {
    app.mci.respond = [](const std::string& command, std::string&) { return command == kOpenAndRecord[1] ? 306 : 0; };
    app.hotkeys.press(0);
    EXPECT_EQ(app.mci.take(), (Commands{kOpenAndRecord[0], kOpenAndRecord[1], "close capture"}));
    EXPECT_FALSE(app.panel.recorder.isRecording());
}

using RecordButton = RecordingTest;

TEST_F(RecordButton, PressStopsPlaybackAndReleaseOverItStartsATake) {
    app.secondsLabel.caption = "7 sec";
    app.sizeLabel.caption = "2.0 KB";
    const std::size_t before = app.recordButton.shown.size();
    app.recordButton.down(kLeftButton);
    EXPECT_EQ(app.secondsLabel.caption + app.sizeLabel.caption, "");
    EXPECT_EQ(app.mci.take(), kStopPlayback) << "whether or not a file plays";
    app.recordButton.up(kLeftButton);
    EXPECT_EQ(app.mci.take(), kOpenAndRecord);
    EXPECT_EQ(shownSince(app.recordButton.shown, before), (Strings{"recordbuttondown", "recordbuttonrecording"}));
}

TEST_F(RecordButton, DraggedOffAndReleasedOutsideStartsNothingButBackInItDoes) {
    app.recordButton.down(kLeftButton);
    const std::size_t before = app.recordButton.shown.size();
    app.recordButton.move(kLeftButton | kRightButton, 5000, 5000);
    EXPECT_EQ(app.recordButton.shown.size(), before) << "moves with two buttons held change nothing";
    app.recordButton.move(kLeftButton, 100, 100);
    app.recordButton.move(kLeftButton, 3000, 100);
    app.recordButton.move(kLeftButton, 3010, 100);
    EXPECT_EQ(shownSince(app.recordButton.shown, before),
              (Strings{"recordbuttondown", "recordbuttonup", "recordbuttonup"}));
    app.recordButton.up(kLeftButton, 3010, 100);
    EXPECT_EQ(app.mci.take(), kStopPlayback);
    expectIdle();

    app.recordButton.down(kLeftButton);
    app.recordButton.move(kLeftButton, 100, 400);
    app.recordButton.move(kLeftButton, 100, 200);
    app.recordButton.up(kLeftButton);
    EXPECT_EQ(app.mci.take(), kStopPlaybackThenRecord);
}

TEST_F(RecordButton, PressedWithTheRightButtonStartsATakeWhereverReleased) {
    app.recordButton.down(kRightButton);
    app.recordButton.move(kRightButton, 5000, 5000);
    EXPECT_EQ(app.recordButton.current(), "recordbuttondown") << "only the left button alone is followed";
    app.recordButton.up(kRightButton, 5000, 5000);
    EXPECT_EQ(app.mci.take(), kStopPlaybackThenRecord);
}

TEST(RecordButtonArea, ThePointerIsOverTheButtonWithinEveryBound) {
    const struct {
        float x, y;
        bool over;
    } cases[] = {{1495, 310, true},  {5, 5, true},         {1495.5f, 100, false},
                 {4.9f, 100, false}, {100, 310.5f, false}, {100, 4.9f, false}};
    for (const auto& c : cases) {
        FakePanel app;
        app.start();
        app.recordButton.down(kLeftButton);
        app.recordButton.move(kLeftButton, c.x, c.y);
        EXPECT_EQ(app.recordButton.current(), c.over ? "recordbuttondown" : "recordbuttonup") << c.x << ", " << c.y;
        app.recordButton.up(kLeftButton, c.x, c.y);
        EXPECT_EQ(app.panel.recorder.isRecording(), c.over) << c.x << ", " << c.y;
    }
}

TEST_F(RecordButton, DuringATakeIgnoresThePointer) {
    startManualTake();
    const std::size_t before = app.recordButton.shown.size();
    app.recordButton.down(kLeftButton);
    app.recordButton.up(kLeftButton);
    EXPECT_TRUE(app.mci.take().empty());
    EXPECT_EQ(app.recordButton.shown.size(), before);
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
    app.saveTakeDialog.answer("/home/user/take.wav");
    app.hotkeys.press(1);
    app.clock.advance(30);
    startManualTake();
    app.clock.advance(2);
    app.elapsedTimer.tick();
    EXPECT_EQ(app.secondsLabel.caption, "2 sec") << "a new take counts from its own start";
}

} // namespace
} // namespace murmora::fakes
