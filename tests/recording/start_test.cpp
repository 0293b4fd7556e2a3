#include "tests/recording/recording_fixture.h"

namespace murmora::fakes {
namespace {

const Commands StopPlaybackThenRecord{"stop voice1", "close voice1", OpenAndRecord[0], OpenAndRecord[1]};

using StartByHotkey = RecordingTest;

TEST_F(StartByHotkey, ShowsTheRecordingPictureThenOpensAndRecordsTheDevice) {
    std::string pictureAtOpen;
    app.mci.respond = [&](const std::string& command, std::string&) {
        if (command == OpenAndRecord[0]) pictureAtOpen = app.PictureRecord.current();
        return 0;
    };
    app.hotkeys.press(0);
    EXPECT_EQ(app.mci.take(), OpenAndRecord);
    EXPECT_EQ(pictureAtOpen, "recordbuttonrecording");
    EXPECT_EQ(app.m.RecordingState, RecorderBusy);
    EXPECT_FALSE(app.m.AutoRecording);
    EXPECT_EQ(app.m.RecordStartTime, app.clock.time);
    EXPECT_TRUE(app.Timer1.enabled);
    EXPECT_TRUE(app.messages.shown.empty());
}

TEST_F(StartByHotkey, WhileAFilePlaysStopsItAndStartsOnlyOnceThePlaybackLoopSawItStop) {
    app.m.PlayMode = "playing";
    app.Label1.caption = "3 sec";
    app.hotkeys.press(0);
    app.hotkeys.press(0);
    EXPECT_EQ(app.mci.take(), StopPlayback + StopPlayback[0] + StopPlayback[1]);
    EXPECT_EQ(app.Label1.caption, "");
    EXPECT_EQ(app.m.RecordingState, RecorderIdle);
    app.m.PlayMode = "stopped";  // the playback loop's next poll
    app.hotkeys.press(0);
    EXPECT_EQ(app.mci.take(), OpenAndRecord);
}

TEST_F(StartByHotkey, DuringATakeStartsNothingButStillStopsAPlayingFile) {
    StartScheduledTake(60);
    app.hotkeys.press(0);
    EXPECT_TRUE(app.mci.take().empty());
    app.m.PlayMode = "playing";
    app.hotkeys.press(0);
    EXPECT_EQ(app.mci.take(), StopPlayback);
    EXPECT_TRUE(app.m.AutoRecording);
    EXPECT_FALSE(app.Timer1.enabled);
}

// The device holds the take until its save has finished: no second take may open under its alias.
TEST_F(StartByHotkey, NothingStartsUntilTheTakeIsSavedThenTheNextTakeStarts) {
    StartManualTake();
    Commands byHotkey, byButton;
    app.CommonDialog1.answer("/home/user/first.wav", [&] {
        app.mci.take();
        app.hotkeys.press(0);
        byHotkey = app.mci.take();
        app.PictureRecord.down(kLeftButton);
        app.PictureRecord.up(kLeftButton);
        byButton = app.mci.take();
    });
    app.messages.whileOpen = [&](const ShownMessage&) { app.hotkeys.press(0); };
    app.hotkeys.press(1);
    EXPECT_TRUE(byHotkey.empty());
    EXPECT_TRUE(byButton.empty());
    EXPECT_EQ(app.mci.take(), (Commands{SaveCapture("/home/user/first.wav"), "close capture"}))
        << "nor while the confirmation is open";
    ExpectIdle();
    app.messages.whileOpen = {};
    app.hotkeys.press(0);
    EXPECT_EQ(app.mci.take(), OpenAndRecord);
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
        app.mci.respond = [code](const std::string& command, std::string&) { return command == OpenAndRecord[0] ? code : 0; };
        app.PictureRecord.down(kLeftButton);
        app.mci.take();
        app.PictureRecord.up(kLeftButton);
        EXPECT_EQ(app.mci.take(), (Commands{OpenAndRecord[0], "close capture"}));
        EXPECT_EQ(app.messages.shown.size(), 1u);
        ExpectMessage(0, cause + ": nothing is being recorded.", MessageStyle::exclamation);
        EXPECT_EQ(app.m.RecordButtonState, ButtonReleased);
        ExpectIdle();
        app.hotkeys.press(1);
        EXPECT_TRUE(app.mci.take().empty()) << "no take to stop";
    }
}

TEST_F(RecordingTest, ARecordCommandThatFailsClosesTheDeviceAgain) {
    app.mci.respond = [](const std::string& command, std::string&) { return command == OpenAndRecord[1] ? 306 : 0; };
    app.hotkeys.press(0);
    EXPECT_EQ(app.mci.take(), (Commands{OpenAndRecord[0], OpenAndRecord[1], "close capture"}));
    EXPECT_EQ(app.m.RecordingState, RecorderIdle);
}

using RecordButton = RecordingTest;

TEST_F(RecordButton, PressStopsPlaybackAndReleaseOverItStartsATake) {
    app.Label1.caption = "7 sec";
    app.Label2.caption = "2.0 KB";
    const std::size_t before = app.PictureRecord.shown.size();
    app.PictureRecord.down(kLeftButton);
    EXPECT_EQ(app.Label1.caption + app.Label2.caption, "");
    EXPECT_EQ(app.mci.take(), StopPlayback) << "whether or not a file plays";
    app.PictureRecord.up(kLeftButton);
    EXPECT_EQ(app.mci.take(), OpenAndRecord);
    EXPECT_EQ(ShownSince(app.PictureRecord.shown, before), (Strings{"recordbuttondown", "recordbuttonrecording"}));
    EXPECT_EQ(app.m.RecordButtonState, ButtonReleased);
}

TEST_F(RecordButton, DraggedOffAndReleasedOutsideStartsNothingButBackInItDoes) {
    app.PictureRecord.down(kLeftButton);
    const std::size_t before = app.PictureRecord.shown.size();
    app.PictureRecord.move(kLeftButton | kRightButton, 5000, 5000);
    EXPECT_EQ(app.PictureRecord.shown.size(), before) << "moves with two buttons held change nothing";
    app.PictureRecord.move(kLeftButton, 100, 100);
    app.PictureRecord.move(kLeftButton, 3000, 100);
    app.PictureRecord.move(kLeftButton, 3010, 100);
    EXPECT_EQ(ShownSince(app.PictureRecord.shown, before),
              (Strings{"recordbuttondown", "recordbuttonup", "recordbuttonup"}));
    app.PictureRecord.up(kLeftButton, 3010, 100);
    EXPECT_EQ(app.mci.take(), StopPlayback);
    ExpectIdle();

    app.PictureRecord.down(kLeftButton);
    app.PictureRecord.move(kLeftButton, 100, 400);
    app.PictureRecord.move(kLeftButton, 100, 200);
    app.PictureRecord.up(kLeftButton);
    EXPECT_EQ(app.mci.take(), StopPlaybackThenRecord);
}

TEST_F(RecordButton, PressedWithTheRightButtonStartsATakeWhereverReleased) {
    app.PictureRecord.down(kRightButton);
    app.PictureRecord.move(kRightButton, 5000, 5000);
    EXPECT_EQ(app.PictureRecord.current(), "recordbuttondown") << "only the left button alone is followed";
    app.PictureRecord.up(kRightButton, 5000, 5000);
    EXPECT_EQ(app.mci.take(), StopPlaybackThenRecord);
}

TEST_F(RecordButton, PointerOverTheButtonIncludesEveryBound) {
    const struct { float x, y; bool over; } cases[] = {{1495, 310, true},  {5, 5, true},        {1495.5f, 100, false},
                                                       {4.9f, 100, false}, {100, 310.5f, false}, {100, 4.9f, false}};
    for (const auto& c : cases) {
        app.PictureRecord.down(kLeftButton);
        app.PictureRecord.move(kLeftButton, c.x, c.y);
        EXPECT_EQ(app.m.RecordButtonState, c.over ? ButtonPressed : ButtonReleased) << c.x << ", " << c.y;
        EXPECT_EQ(app.PictureRecord.current(), c.over ? "recordbuttondown" : "recordbuttonup") << c.x << ", " << c.y;
        app.PictureRecord.move(kLeftButton, 3000, 3000);  // off again, so that the release starts nothing
        app.PictureRecord.up(kLeftButton, 3000, 3000);
    }
}

TEST_F(RecordButton, DuringATakeIgnoresThePointer) {
    StartManualTake();
    const std::size_t before = app.PictureRecord.shown.size();
    app.PictureRecord.down(kLeftButton);
    app.PictureRecord.up(kLeftButton);
    EXPECT_TRUE(app.mci.take().empty());
    EXPECT_EQ(app.PictureRecord.shown.size(), before);
}

TEST_F(RecordingTest, ElapsedTimeIsTheClockDifferenceSinceTheTakesOwnStart) {
    StartManualTake();
    const std::pair<int, std::string> steps[] = {{1, "1 sec"}, {6, "7 sec"}, {0, "7 sec"}, {-14, "-7 sec"},
                                                 {3609, "3602 sec"}};
    for (const auto& [advance, shown] : steps) {
        app.clock.advance(advance);
        app.Timer1.tick();
        EXPECT_EQ(app.Label1.caption, shown);
    }
    EXPECT_EQ(app.m.RecordSeconds, 3602);
    app.CommonDialog1.answer("/home/user/take.wav");
    app.hotkeys.press(1);
    app.clock.advance(30);
    StartManualTake();
    app.clock.advance(2);
    app.Timer1.tick();
    EXPECT_EQ(app.Label1.caption, "2 sec") << "a new take counts from its own start";
}

} // namespace
} // namespace murmora::fakes
