#include "tests/recording/recording_fixture.h"

namespace murmora::fakes {
namespace {

const std::string Target = "/home/user/AutoRec.wav";
// The take starts at 13:05:07 on the fake clock's day, 2024-10-04.
const std::string Fallback = "/home/user/Murmora take 2024-10-04 13-05-07.wav";

using ScheduledStopByUser = RecordingTest;

TEST_F(ScheduledStopByUser, CutButtonSavesToThePathBoxWithoutADialog) {
    StartScheduledTake(60);
    app.clock.Advance(10);
    app.Text8.text = "/tmp/edited.wav";
    const std::size_t cutBefore = app.SeeThroughCut.shown.size();
    ClickCut();
    EXPECT_EQ(app.mci.Take(), (Commands{"stop capture", "save capture /tmp/edited.wav", "close capture"}));
    EXPECT_EQ(app.mod.AutoSavePath, "/tmp/edited.wav") << "the path box as it is at the stop";
    EXPECT_TRUE(app.CommonDialog1.shownAs.empty());
    EXPECT_TRUE(app.messages.shown.empty());
    EXPECT_EQ(app.Label5.caption, "");
    EXPECT_EQ(app.Label6.caption, "");
    EXPECT_EQ(std::vector<std::string>(app.SeeThroughCut.shown.begin() + static_cast<std::ptrdiff_t>(cutBefore),
                                       app.SeeThroughCut.shown.end()),
              (std::vector<std::string>{"custom:106", "custom:105"}));
    EXPECT_EQ(app.m.CutButtonState, ButtonReleased);
    EXPECT_EQ(app.PictureRecord.Current(), "recordbuttonup");
    EXPECT_FALSE(app.Timer3.enabled);
    EXPECT_FALSE(app.m.AutoRecording);
    EXPECT_EQ(app.m.RecordingState, RecorderIdle);
    EXPECT_TRUE(app.mod.LastSaveScheduled);
    EXPECT_FALSE(app.m.CaptureSavePending);
}

TEST_F(ScheduledStopByUser, HotkeyStopsAPlayingFileAfterTheCapture) {
    StartScheduledTake(60);
    PlayAFile();
    app.hotkeys.Press(1);
    EXPECT_EQ(app.mci.Take(),
              (Commands{"stop capture", "stop voice1", "close voice1", "save capture " + Target, "close capture"}));
    EXPECT_TRUE(app.mod.LastSaveScheduled);
    EXPECT_EQ(app.m.RecordingState, RecorderIdle);
    EXPECT_EQ(app.m.CutButtonState, ButtonReleased);
}

TEST_F(ScheduledStopByUser, HotkeyLeavesAFileThatIsNotPlayingAlone) {
    StartScheduledTake(60);
    app.hotkeys.Press(1);
    EXPECT_EQ(app.mci.Take(), (Commands{"stop capture", "save capture " + Target, "close capture"}));
}

TEST_F(ScheduledStopByUser, CutButtonDraggedOffLetsTheTakeGoOn) {
    StartScheduledTake(60);
    app.SeeThroughCut.Down(LeftButton);
    app.SeeThroughCut.Move(LeftButton, 100, 781);
    app.SeeThroughCut.Up(LeftButton, 100, 781);
    EXPECT_TRUE(app.mci.Take().empty());
    EXPECT_TRUE(app.m.AutoRecording);
    EXPECT_TRUE(app.Timer3.enabled);
}

using ScheduledStopByTime = RecordingTest;

TEST_F(ScheduledStopByTime, TicksBeforeTheDurationOnlyCountTheSeconds) {
    StartScheduledTake(5);
    app.clock.Advance(4);
    app.Timer3.Tick();
    EXPECT_EQ(app.mod.AutoElapsedSeconds, 4);
    EXPECT_TRUE(app.mci.Take().empty());
    EXPECT_TRUE(app.Timer3.enabled);
    EXPECT_EQ(app.m.RecordingState, RecorderBusy);
    EXPECT_EQ(app.Label5.caption, "Start: 13:05:07");
}

TEST_F(ScheduledStopByTime, StopsAtTheFirstTickThatReachesTheDuration) {
    StartScheduledTake(5);
    app.clock.Advance(5);
    app.Timer3.Tick();
    EXPECT_EQ(app.mod.AutoElapsedSeconds, 5);
    EXPECT_EQ(app.mci.Take(), (Commands{"stop capture", "save capture " + Target, "close capture"}));
    EXPECT_FALSE(app.Timer3.enabled);
    EXPECT_FALSE(app.m.AutoRecording);
    EXPECT_EQ(app.m.RecordingState, RecorderIdle);
    EXPECT_TRUE(app.mod.LastSaveScheduled);
    EXPECT_EQ(app.mod.AutoSavePath, Target);
    EXPECT_EQ(app.PictureRecord.Current(), "recordbuttonup");
    EXPECT_EQ(app.Label5.caption, "");
    EXPECT_EQ(app.Label6.caption, "");
    EXPECT_TRUE(app.messages.shown.empty());
    EXPECT_TRUE(app.files.FileExists(Target));
}

TEST_F(ScheduledStopByTime, ATakeCutShortByAFullDiskIsSaidSoAndSavedToTheTarget) {
    StartScheduledTake(5);
    app.mci.respond = [this](const std::string& command, std::string&) {
        return command == "stop capture" ? 512 : Answer(command);
    };
    app.clock.Advance(5);
    app.Timer3.Tick();
    EXPECT_EQ(app.mci.Take(), (Commands{"stop capture", "save capture " + Target, "close capture"}));
    ASSERT_EQ(app.messages.shown.size(), 1u);
    EXPECT_EQ(app.messages.shown[0].prompt,
              "The recording could not be written to its end (is the disk full?).\n\n"
              "What was recorded until then is kept and will be saved.");
    EXPECT_TRUE(app.files.FileExists(Target));
}

TEST_F(ScheduledStopByTime, DurationOfOneStopsAtTheFirstTick) {
    StartScheduledTake(1);
    app.clock.Advance(1);
    app.Timer3.Tick();
    EXPECT_FALSE(app.m.AutoRecording);
    EXPECT_TRUE(app.mci.Sent("save capture " + Target));
}

TEST_F(ScheduledStopByTime, StopsAPlayingFileBeforeTheCaptureAndLeavesTheCutButtonAlone) {
    StartScheduledTake(2);
    PlayAFile();
    const std::size_t cutPictures = app.SeeThroughCut.shown.size();
    app.clock.Advance(3);
    app.Timer3.Tick();
    EXPECT_EQ(app.mci.Take(),
              (Commands{"stop voice1", "close voice1", "stop capture", "save capture " + Target, "close capture"}));
    EXPECT_EQ(app.SeeThroughCut.shown.size(), cutPictures);
}

TEST_F(ScheduledStopByTime, ClockSetBackDelaysTheStop) {
    StartScheduledTake(10);
    app.clock.Advance(8);
    app.clock.Advance(-60);
    app.Timer3.Tick();
    EXPECT_EQ(app.mod.AutoElapsedSeconds, -52);
    EXPECT_TRUE(app.m.AutoRecording);
    app.clock.Advance(61);
    app.Timer3.Tick();
    EXPECT_TRUE(app.m.AutoRecording) << "9 seconds by the clock";
    app.clock.Advance(1);
    app.Timer3.Tick();
    EXPECT_FALSE(app.m.AutoRecording);
}

TEST_F(ScheduledStopByTime, ClockSetForwardBringsTheStopEarlier) {
    StartScheduledTake(3600);
    app.clock.Advance(2);
    app.Timer3.Tick();
    EXPECT_TRUE(app.m.AutoRecording);
    app.clock.Advance(3600);
    app.Timer3.Tick();
    EXPECT_FALSE(app.m.AutoRecording);
    EXPECT_EQ(app.mod.AutoElapsedSeconds, 3602);
}

TEST_F(ScheduledStopByTime, PathBoxEditedDuringTheTakeDecidesWhereItGoes) {
    StartScheduledTake(2);
    app.Text8.text = "/tmp/later.wav";
    app.clock.Advance(2);
    app.Timer3.Tick();
    EXPECT_TRUE(app.mci.Sent("save capture /tmp/later.wav"));
    EXPECT_EQ(app.mod.AutoSavePath, "/tmp/later.wav");
    EXPECT_TRUE(app.files.FileExists("/tmp/later.wav"));
}

// The three ways a scheduled take ends, each of which must keep a take whose target is gone.
enum class ScheduledEnd { CutButton, Hotkey, Timer3 };

class UnwritableTarget : public RecordingTest, public ::testing::WithParamInterface<ScheduledEnd> {
protected:
    void StartAndEnd(const std::string& target) {
        StartScheduledTake(5, target);
        app.clock.Advance(5);
        switch (GetParam()) {
        case ScheduledEnd::CutButton: ClickCut(); break;
        case ScheduledEnd::Hotkey: app.hotkeys.Press(1); break;
        case ScheduledEnd::Timer3: app.Timer3.Tick(); break;
        }
    }
};

TEST_P(UnwritableTarget, SavesToADatedFileInTheHomeFolderAndSaysWhere) {
    app.m.PlayFileName = "/home/user/earlier.wav";
    StartAndEnd("/gone/AutoRec.wav");
    EXPECT_EQ(app.mci.Take(), (Commands{"stop capture", "save capture /gone/AutoRec.wav", "save capture " + Fallback,
                                        "close capture"}));
    EXPECT_TRUE(app.files.FileExists(Fallback));
    EXPECT_EQ(app.mod.AutoSavePath, Fallback) << "so that Play finds the take";
    EXPECT_TRUE(app.mod.LastSaveScheduled);
    EXPECT_EQ(app.m.RecordingState, RecorderIdle);
    EXPECT_FALSE(app.m.CaptureSavePending);
    ASSERT_EQ(app.messages.shown.size(), 1u);
    EXPECT_EQ(app.messages.shown[0].prompt, "Recording could not be saved as  /gone/AutoRec.wav\n\n"
                                            "It was saved as  " + Fallback);
    EXPECT_EQ(app.messages.shown[0].style, vbExclamation);
    EXPECT_EQ(app.messages.shown[0].title, "Murmora");
    EXPECT_TRUE(app.CommonDialog1.shownAs.empty());
}

TEST_P(UnwritableTarget, TheRecorderIsIdleAndTheDeviceFreeWhileTheBoxIsOpen) {
    app.messages.whileOpen = [&](const ShownMessage&) {
        EXPECT_EQ(app.m.RecordingState, RecorderIdle);
        EXPECT_FALSE(app.m.AutoRecording);
        EXPECT_EQ(app.mci.commands.back(), "close capture");
        app.hotkeys.Press(1);  // a stop now finds nothing to stop
    };
    StartAndEnd("/gone/AutoRec.wav");
    EXPECT_EQ(app.mci.Take().size(), 4u);
}

TEST_P(UnwritableTarget, EmptyPathBoxGoesToTheFallbackToo) {
    StartAndEnd("");
    EXPECT_EQ(app.mci.Take(), (Commands{"stop capture", "save capture ", "save capture " + Fallback, "close capture"}));
    EXPECT_EQ(app.mod.AutoSavePath, Fallback);
}

TEST_P(UnwritableTarget, NeverOverwritesAnEarlierFallbackFile) {
    app.files.Add(Fallback, "an earlier take");
    StartAndEnd("/gone/AutoRec.wav");
    const std::string second = "/home/user/Murmora take 2024-10-04 13-05-07 (2).wav";
    EXPECT_TRUE(app.mci.Sent("save capture " + second));
    EXPECT_EQ(app.mod.AutoSavePath, second);
    EXPECT_EQ(app.files.files[Fallback], (std::vector<unsigned char>{'a', 'n', ' ', 'e', 'a', 'r', 'l', 'i', 'e', 'r',
                                                                     ' ', 't', 'a', 'k', 'e'}));
}

TEST_P(UnwritableTarget, WhenTheHomeFolderFailsTooTheUserChoosesThePlace) {
    app.files.folders.erase("/home/user");
    app.files.folders.insert("/media/usb");
    app.mod.LastSaveScheduled = false;
    app.CommonDialog1.Answers("/media/usb/take.wav", [&] {
        EXPECT_EQ(app.m.RecordingState, RecorderIdle);
        EXPECT_TRUE(app.m.CaptureSavePending);
        EXPECT_FALSE(app.mci.Sent("close capture")) << "the device still holds the take";
    });
    StartAndEnd("/gone/AutoRec.wav");
    EXPECT_EQ(app.mci.Take(), (Commands{"stop capture", "save capture /gone/AutoRec.wav", "save capture " + Fallback,
                                        "save capture /media/usb/take.wav", "close capture"}));
    EXPECT_EQ(app.messages.Prompts(),
              (std::vector<std::string>{"Recording could not be saved as  /gone/AutoRec.wav\nnor as  " + Fallback +
                                            "\n\nThe recording is kept: choose where to save it.",
                                        "Recording saved as  /media/usb/take.wav"}));
    EXPECT_EQ(app.messages.shown[0].style, vbExclamation);
    EXPECT_EQ(app.CommonDialog1.setup.DialogTitle, "Save Recorded File");
    EXPECT_EQ(app.m.PlayFileName, "/media/usb/take.wav");
    EXPECT_FALSE(app.mod.LastSaveScheduled) << "Play takes the file the user chose";
    EXPECT_FALSE(app.m.CaptureSavePending);
    EXPECT_EQ(app.m.RecordingState, RecorderIdle);
}

TEST_P(UnwritableTarget, WhenTheHomeFolderFailsTooOnlyTheUsersCancelDiscardsIt) {
    app.files.folders.erase("/home/user");
    app.CommonDialog1.Answers(std::nullopt);
    StartAndEnd("/gone/AutoRec.wav");
    EXPECT_EQ(app.mci.Take(), (Commands{"stop capture", "save capture /gone/AutoRec.wav", "save capture " + Fallback,
                                        "close capture"}));
    EXPECT_EQ(app.messages.shown.back().prompt, "Recording Not Saved");
    EXPECT_FALSE(app.m.CaptureSavePending);
}

INSTANTIATE_TEST_SUITE_P(ScheduledTake, UnwritableTarget,
                         ::testing::Values(ScheduledEnd::CutButton, ScheduledEnd::Hotkey, ScheduledEnd::Timer3),
                         [](const auto& info) {
                             switch (info.param) {
                             case ScheduledEnd::CutButton: return std::string("CutButton");
                             case ScheduledEnd::Hotkey: return std::string("Hotkey");
                             case ScheduledEnd::Timer3: return std::string("Timer3");
                             }
                             return std::string();
                         });

TEST(FallbackTakeName, SaysWhenTheTakeStarted) {
    EXPECT_EQ(FallbackTakeName(1796562307), "Murmora take 2026-12-06 13-05-07.wav");
    EXPECT_EQ(FallbackTakeName(0), "Murmora take 1970-01-01 00-00-00.wav");
    EXPECT_EQ(FallbackTakeName(1796562307, 3), "Murmora take 2026-12-06 13-05-07 (3).wav");
}

TEST_F(ScheduledStopByTime, FallbackInAHomeFolderAtTheRootHasOneSeparator) {
    app.files.homeFolder = "/";
    StartScheduledTake(1, "/gone/AutoRec.wav");
    app.clock.Advance(1);
    app.Timer3.Tick();
    EXPECT_EQ(app.mod.AutoSavePath, "/Murmora take 2024-10-04 13-05-07.wav");
    EXPECT_TRUE(app.files.FileExists(app.mod.AutoSavePath));
}

} // namespace
} // namespace murmora::fakes
