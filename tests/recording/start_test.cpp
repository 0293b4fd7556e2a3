#include "tests/recording/recording_fixture.h"

namespace murmora::fakes {
namespace {

const Commands StopPlaybackThenRecord{"stop voice1", "close voice1", OpenAndRecord[0], OpenAndRecord[1]};

using StartByHotkey = RecordingTest;

TEST_F(StartByHotkey, ShowsTheRecordingPictureThenOpensAndRecordsTheDevice) {
    std::string pictureAtOpen;
    app.mci.respond = [&](const std::string& command, std::string&) {
        if (command == OpenAndRecord[0]) pictureAtOpen = app.PictureRecord.Current();
        return 0;
    };
    app.hotkeys.Press(0);
    EXPECT_EQ(app.mci.Take(), OpenAndRecord);
    EXPECT_EQ(pictureAtOpen, "recordbuttonrecording");
    EXPECT_EQ(app.m.RecordingState, RecorderBusy);
    EXPECT_FALSE(app.m.AutoRecording);
    EXPECT_EQ(app.m.RecordStartTime, app.clock.now);
    EXPECT_TRUE(app.Timer1.enabled);
    EXPECT_TRUE(app.messages.shown.empty());
}

TEST_F(StartByHotkey, WhileAFilePlaysStopsItAndStartsOnlyOnceThePlaybackLoopSawItStop) {
    app.m.PlayMode = "playing";
    app.Label1.caption = "3 sec";
    app.hotkeys.Press(0);
    app.hotkeys.Press(0);
    EXPECT_EQ(app.mci.Take(), StopPlayback + StopPlayback[0] + StopPlayback[1]);
    EXPECT_EQ(app.Label1.caption, "");
    EXPECT_EQ(app.m.RecordingState, RecorderIdle);
    app.m.PlayMode = "stopped";  // the playback loop's next poll
    app.hotkeys.Press(0);
    EXPECT_EQ(app.mci.Take(), OpenAndRecord);
}

TEST_F(StartByHotkey, DuringATakeStartsNothingButStillStopsAPlayingFile) {
    StartScheduledTake(60);
    app.hotkeys.Press(0);
    EXPECT_TRUE(app.mci.Take().empty());
    app.m.PlayMode = "playing";
    app.hotkeys.Press(0);
    EXPECT_EQ(app.mci.Take(), StopPlayback);
    EXPECT_TRUE(app.m.AutoRecording);
    EXPECT_FALSE(app.Timer1.enabled);
}

// The device holds the take until its save has finished: no second take may open under its alias.
TEST_F(StartByHotkey, NothingStartsUntilTheTakeIsSavedThenTheNextTakeStarts) {
    StartManualTake();
    Commands byHotkey, byButton;
    app.CommonDialog1.Answers("/home/user/first.wav", [&] {
        app.mci.Take();
        app.hotkeys.Press(0);
        byHotkey = app.mci.Take();
        app.PictureRecord.Down(LeftButton);
        app.PictureRecord.Up(LeftButton);
        byButton = app.mci.Take();
    });
    app.messages.whileOpen = [&](const ShownMessage&) { app.hotkeys.Press(0); };
    app.hotkeys.Press(1);
    EXPECT_TRUE(byHotkey.empty());
    EXPECT_TRUE(byButton.empty());
    EXPECT_EQ(app.mci.Take(), (Commands{SaveCapture("/home/user/first.wav"), "close capture"}))
        << "nor while the confirmation is open";
    ExpectIdle();
    app.messages.whileOpen = {};
    app.hotkeys.Press(0);
    EXPECT_EQ(app.mci.Take(), OpenAndRecord);
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
        app.PictureRecord.Down(LeftButton);
        app.mci.Take();
        app.PictureRecord.Up(LeftButton);
        EXPECT_EQ(app.mci.Take(), (Commands{OpenAndRecord[0], "close capture"}));
        EXPECT_EQ(app.messages.shown.size(), 1u);
        ExpectMessage(0, cause + ": nothing is being recorded.", vbExclamation);
        EXPECT_EQ(app.m.RecordButtonState, ButtonReleased);
        ExpectIdle();
        app.hotkeys.Press(1);
        EXPECT_TRUE(app.mci.Take().empty()) << "no take to stop";
    }
}

TEST_F(RecordingTest, ARecordCommandThatFailsClosesTheDeviceAgain) {
    app.mci.respond = [](const std::string& command, std::string&) { return command == OpenAndRecord[1] ? 306 : 0; };
    app.hotkeys.Press(0);
    EXPECT_EQ(app.mci.Take(), (Commands{OpenAndRecord[0], OpenAndRecord[1], "close capture"}));
    EXPECT_EQ(app.m.RecordingState, RecorderIdle);
}

using RecordButton = RecordingTest;

TEST_F(RecordButton, PressStopsPlaybackAndReleaseOverItStartsATake) {
    app.Label1.caption = "7 sec";
    app.Label2.caption = "2.0 KB";
    const std::size_t before = app.PictureRecord.shown.size();
    app.PictureRecord.Down(LeftButton);
    EXPECT_EQ(app.Label1.caption + app.Label2.caption, "");
    EXPECT_EQ(app.mci.Take(), StopPlayback) << "whether or not a file plays";
    app.PictureRecord.Up(LeftButton);
    EXPECT_EQ(app.mci.Take(), OpenAndRecord);
    EXPECT_EQ(ShownSince(app.PictureRecord.shown, before), (Strings{"recordbuttondown", "recordbuttonrecording"}));
    EXPECT_EQ(app.m.RecordButtonState, ButtonReleased);
}

TEST_F(RecordButton, DraggedOffAndReleasedOutsideStartsNothingButBackInItDoes) {
    app.PictureRecord.Down(LeftButton);
    const std::size_t before = app.PictureRecord.shown.size();
    app.PictureRecord.Move(LeftButton | RightButton, 5000, 5000);
    EXPECT_EQ(app.PictureRecord.shown.size(), before) << "moves with two buttons held change nothing";
    app.PictureRecord.Move(LeftButton, 100, 100);
    app.PictureRecord.Move(LeftButton, 3000, 100);
    app.PictureRecord.Move(LeftButton, 3010, 100);
    EXPECT_EQ(ShownSince(app.PictureRecord.shown, before),
              (Strings{"recordbuttondown", "recordbuttonup", "recordbuttonup"}));
    app.PictureRecord.Up(LeftButton, 3010, 100);
    EXPECT_EQ(app.mci.Take(), StopPlayback);
    ExpectIdle();

    app.PictureRecord.Down(LeftButton);
    app.PictureRecord.Move(LeftButton, 100, 400);
    app.PictureRecord.Move(LeftButton, 100, 200);
    app.PictureRecord.Up(LeftButton);
    EXPECT_EQ(app.mci.Take(), StopPlaybackThenRecord);
}

TEST_F(RecordButton, PressedWithTheRightButtonStartsATakeWhereverReleased) {
    app.PictureRecord.Down(RightButton);
    app.PictureRecord.Move(RightButton, 5000, 5000);
    EXPECT_EQ(app.PictureRecord.Current(), "recordbuttondown") << "only the left button alone is followed";
    app.PictureRecord.Up(RightButton, 5000, 5000);
    EXPECT_EQ(app.mci.Take(), StopPlaybackThenRecord);
}

TEST_F(RecordButton, PointerOverTheButtonIncludesEveryBound) {
    const struct { float x, y; bool over; } cases[] = {{1495, 310, true},  {5, 5, true},        {1495.5f, 100, false},
                                                       {4.9f, 100, false}, {100, 310.5f, false}, {100, 4.9f, false}};
    for (const auto& c : cases) {
        app.PictureRecord.Down(LeftButton);
        app.PictureRecord.Move(LeftButton, c.x, c.y);
        EXPECT_EQ(app.m.RecordButtonState, c.over ? ButtonPressed : ButtonReleased) << c.x << ", " << c.y;
        EXPECT_EQ(app.PictureRecord.Current(), c.over ? "recordbuttondown" : "recordbuttonup") << c.x << ", " << c.y;
        app.PictureRecord.Move(LeftButton, 3000, 3000);  // off again, so that the release starts nothing
        app.PictureRecord.Up(LeftButton, 3000, 3000);
    }
}

TEST_F(RecordButton, DuringATakeIgnoresThePointer) {
    StartManualTake();
    const std::size_t before = app.PictureRecord.shown.size();
    app.PictureRecord.Down(LeftButton);
    app.PictureRecord.Up(LeftButton);
    EXPECT_TRUE(app.mci.Take().empty());
    EXPECT_EQ(app.PictureRecord.shown.size(), before);
}

TEST_F(RecordingTest, ElapsedTimeIsTheClockDifferenceSinceTheTakesOwnStart) {
    StartManualTake();
    const std::pair<int, std::string> steps[] = {{1, "1 sec"}, {6, "7 sec"}, {0, "7 sec"}, {-14, "-7 sec"},
                                                 {3609, "3602 sec"}};
    for (const auto& [advance, shown] : steps) {
        app.clock.Advance(advance);
        app.Timer1.Tick();
        EXPECT_EQ(app.Label1.caption, shown);
    }
    EXPECT_EQ(app.m.RecordSeconds, 3602);
    app.CommonDialog1.Answers("/home/user/take.wav");
    app.hotkeys.Press(1);
    app.clock.Advance(30);
    StartManualTake();
    app.clock.Advance(2);
    app.Timer1.Tick();
    EXPECT_EQ(app.Label1.caption, "2 sec") << "a new take counts from its own start";
}

} // namespace
} // namespace murmora::fakes
