#include "tests/recording/recording_fixture.h"

namespace murmora::fakes {
namespace {

const Commands OpenAndRecord{"open new type waveaudio alias capture", "record capture"};
const Commands StopPlayback{"stop voice1", "close voice1"};

using StartByHotkey = RecordingTest;

TEST_F(StartByHotkey, OpensAndRecordsTheCaptureDeviceAndNotesTheStart) {
    app.Label1.caption = "12 sec";
    app.hotkeys.Press(0);
    EXPECT_EQ(app.mci.Take(), OpenAndRecord);
    EXPECT_EQ(app.PictureRecord.Current(), "recordbuttonrecording");
    EXPECT_EQ(app.m.RecordingState, RecorderBusy);
    EXPECT_FALSE(app.m.AutoRecording);
    EXPECT_EQ(app.m.RecordStartTime, app.clock.now);
    EXPECT_TRUE(app.Timer1.enabled);
    EXPECT_FALSE(app.Timer3.enabled);
    EXPECT_EQ(app.Label1.caption, "12 sec") << "the start writes no label";
    EXPECT_TRUE(app.messages.shown.empty());
}

TEST_F(StartByHotkey, ShowsTheRecordingPictureBeforeTheDeviceOpens) {
    app.mci.respond = [this](const std::string& command, std::string&) {
        if (command == OpenAndRecord[0]) {
            EXPECT_EQ(app.PictureRecord.Current(), "recordbuttonrecording");
        }
        return 0;
    };
    app.form.Command1Click();
    EXPECT_EQ(app.mci.Take(), OpenAndRecord);
}

TEST_F(StartByHotkey, WhileAFilePlaysStopsItAndStartsNoTake) {
    PlayAFile();
    app.Label1.caption = "3 sec";
    app.Label2.caption = "1.5 KB";
    app.hotkeys.Press(0);
    EXPECT_EQ(app.mci.Take(), StopPlayback);
    EXPECT_EQ(app.m.MciResult, "0");
    EXPECT_EQ(app.Label1.caption, "");
    EXPECT_EQ(app.Label2.caption, "");
    EXPECT_EQ(app.m.RecordingState, RecorderIdle);
    EXPECT_FALSE(app.Timer1.enabled);
    EXPECT_EQ(app.m.PlayMode, "playing") << "only the playback loop's next poll changes it";
}

TEST_F(StartByHotkey, StartsOnlyOnceThePlaybackLoopHasSeenTheFileStop) {
    PlayAFile();
    app.hotkeys.Press(0);
    app.hotkeys.Press(0);
    EXPECT_EQ(app.mci.Take(), (Commands{"stop voice1", "close voice1", "stop voice1", "close voice1"}));
    app.m.PlayMode = "stopped";
    app.hotkeys.Press(0);
    EXPECT_EQ(app.mci.Take(), OpenAndRecord);
}

TEST_F(StartByHotkey, DuringAManualTakeChangesNothing) {
    StartManualTake();
    const DateTime started = app.m.RecordStartTime;
    app.clock.Advance(4);
    app.hotkeys.Press(0);
    EXPECT_TRUE(app.mci.Take().empty());
    EXPECT_EQ(app.m.RecordStartTime, started);
    EXPECT_EQ(app.m.RecordingState, RecorderBusy);
}

TEST_F(StartByHotkey, DuringAScheduledTakeStillStopsAPlayingFileButStartsNothing) {
    StartScheduledTake(60);
    PlayAFile();
    app.hotkeys.Press(0);
    EXPECT_EQ(app.mci.Take(), StopPlayback);
    EXPECT_TRUE(app.m.AutoRecording);
    EXPECT_FALSE(app.Timer1.enabled);
    app.m.PlayMode = "stopped";
    app.hotkeys.Press(0);
    EXPECT_TRUE(app.mci.Take().empty());
}

TEST_F(StartByHotkey, WhileTheSaveDialogIsOpenStartsNothing) {
    StartManualTake();
    Commands sentWhileOpen;
    app.CommonDialog1.Answers("/home/user/first.wav", [&] {
        app.hotkeys.Press(0);
        sentWhileOpen = app.mci.Take();
    });
    app.hotkeys.Press(1);
    EXPECT_EQ(sentWhileOpen, (Commands{"stop capture"})) << "no second take under the alias that holds the first";
    EXPECT_EQ(app.mci.Take(), (Commands{"save capture /home/user/first.wav", "close capture"}));
    EXPECT_EQ(app.m.RecordingState, RecorderIdle);
    EXPECT_FALSE(app.Timer1.enabled);
}

TEST_F(StartByHotkey, WhileTheSaveDialogIsOpenStillStopsAPlayingFile) {
    StartManualTake();
    Commands sentWhileOpen;
    app.CommonDialog1.Answers("/home/user/first.wav", [&] {
        app.mci.Take();
        PlayAFile();
        app.hotkeys.Press(0);
        sentWhileOpen = app.mci.Take();
    });
    app.hotkeys.Press(1);
    EXPECT_EQ(sentWhileOpen, StopPlayback);
}

TEST_F(StartByHotkey, WhileTheConfirmationIsOpenStartsNothing) {
    StartManualTake();
    app.CommonDialog1.Answers("/home/user/first.wav");
    app.messages.whileOpen = [&](const ShownMessage&) { app.hotkeys.Press(0); };
    app.hotkeys.Press(1);
    EXPECT_EQ(app.mci.Take(), (Commands{"stop capture", "save capture /home/user/first.wav", "close capture"}));
}

TEST_F(StartByHotkey, AfterTheSaveStartsTheNextTake) {
    StartManualTake();
    app.CommonDialog1.Answers("/home/user/first.wav");
    app.hotkeys.Press(1);
    app.mci.Take();
    app.hotkeys.Press(0);
    EXPECT_EQ(app.mci.Take(), OpenAndRecord);
    EXPECT_FALSE(app.m.CaptureSavePending);
}

// Without a sound input nothing records: the panel says so at once instead of showing a take
// that would end in a save dialog for nothing.
class StartWithoutInput : public RecordingTest {
protected:
    void SetUp() override {
        RecordingTest::SetUp();
        app.mci.respond = [](const std::string& command, std::string&) {
            return command == "open new type waveaudio alias capture" ? 306 : 0;
        };
    }
    void ExpectNoTake() {
        EXPECT_EQ(app.mci.Take(), (Commands{"open new type waveaudio alias capture", "close capture"}));
        EXPECT_EQ(app.messages.Prompts(),
                  std::vector<std::string>{"The sound input could not be opened: nothing is being recorded."});
        EXPECT_EQ(app.messages.shown.at(0).style, vbExclamation);
        EXPECT_EQ(app.PictureRecord.Current(), "recordbuttonup");
        EXPECT_EQ(app.m.RecordingState, RecorderIdle);
        EXPECT_FALSE(app.Timer1.enabled);
    }
};

TEST_F(StartWithoutInput, TheHotkeyStartsNoTakeAndSaysWhy) {
    app.hotkeys.Press(0);
    ExpectNoTake();
    app.hotkeys.Press(1);
    EXPECT_TRUE(app.mci.Take().empty()) << "no take to stop";
}

TEST_F(StartWithoutInput, TheRecordButtonStartsNoTakeAndIsReleased) {
    app.PictureRecord.Down(LeftButton);
    app.mci.Take(); // the press stops any playback first
    app.PictureRecord.Up(LeftButton);
    ExpectNoTake();
    EXPECT_EQ(app.m.RecordButtonState, ButtonReleased);
}

TEST_F(StartWithoutInput, ARecordCommandThatFailsClosesTheDeviceAgain) {
    app.mci.respond = [](const std::string& command, std::string&) { return command == "record capture" ? 306 : 0; };
    app.hotkeys.Press(0);
    EXPECT_EQ(app.mci.Take(),
              (Commands{"open new type waveaudio alias capture", "record capture", "close capture"}));
    EXPECT_EQ(app.m.RecordingState, RecorderIdle);
}

} // namespace
} // namespace murmora::fakes
