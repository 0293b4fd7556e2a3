#include "tests/recording/recording_fixture.h"

namespace murmora::fakes {
namespace {

const std::string Chosen = "/home/user/take.wav";

class ManualStop : public RecordingTest {
protected:
    void SetUp() override {
        RecordingTest::SetUp();
        app.mod.LastSaveScheduled = true;  // an earlier scheduled take
        app.m.PlayFileName = "/home/user/earlier.wav";
        StartManualTake();
    }
    std::vector<std::string> CutPictures() const { return app.SeeThroughCut.shown; }
};

TEST_F(ManualStop, ByHotkeyAsksForANameSavesAndConfirms) {
    app.CommonDialog1.Answers(Chosen);
    app.hotkeys.Press(1);
    EXPECT_EQ(app.mci.Take(), (Commands{"stop capture", "save capture " + Chosen, "close capture"}));
    EXPECT_EQ(app.CommonDialog1.shownAs, (std::vector<std::string>{"save"}));
    ASSERT_EQ(app.messages.shown.size(), 1u);
    EXPECT_EQ(app.messages.shown[0].prompt, "Recording saved as  /home/user/take.wav");
    EXPECT_EQ(app.messages.shown[0].style, vbInformation);
    EXPECT_EQ(app.messages.shown[0].title, "Murmora");
    EXPECT_EQ(app.m.PlayFileName, Chosen);
    EXPECT_FALSE(app.mod.LastSaveScheduled);
    EXPECT_TRUE(app.files.FileExists(Chosen));
    EXPECT_EQ(app.m.RecordingState, RecorderIdle);
    EXPECT_FALSE(app.m.CaptureSavePending);
    EXPECT_FALSE(app.Timer1.enabled);
    EXPECT_EQ(app.PictureRecord.Current(), "recordbuttonup");
    EXPECT_EQ(app.SeeThroughCut.Current(), "custom:105");
}

TEST_F(ManualStop, SetsUpTheSaveDialog) {
    app.hotkeys.Press(1);
    EXPECT_EQ(app.CommonDialog1.setup.DialogTitle, "Save Recorded File");
    EXPECT_EQ(app.CommonDialog1.setup.Filter, "Wav File (*.Wav)|*.Wav");
    EXPECT_EQ(app.CommonDialog1.setup.Flags, 2054);
}

TEST_F(ManualStop, TheRecorderIsIdleButTheTakeIsHeldWhileTheDialogIsOpen) {
    app.clock.Advance(3);
    app.Timer1.Tick();
    app.CommonDialog1.Answers(Chosen, [&] {
        EXPECT_EQ(app.m.RecordingState, RecorderIdle);
        EXPECT_TRUE(app.m.CaptureSavePending);
        EXPECT_FALSE(app.Timer1.enabled);
        EXPECT_EQ(app.PictureRecord.Current(), "recordbuttonup");
        EXPECT_EQ(app.SeeThroughCut.Current(), "custom:105");
        EXPECT_EQ(app.Label1.caption, "3 sec");
        EXPECT_EQ(app.mci.Take(), (Commands{"stop capture"}));
    });
    app.hotkeys.Press(1);
    EXPECT_EQ(app.CommonDialog1.shownAs.size(), 1u);
}

TEST_F(ManualStop, ConfirmsOnlyOnceTheFileIsWrittenAndBeforeTheDeviceCloses) {
    app.CommonDialog1.Answers(Chosen);
    app.messages.whileOpen = [&](const ShownMessage&) {
        EXPECT_EQ(app.mci.commands.back(), "save capture " + Chosen);
        EXPECT_TRUE(app.files.FileExists(Chosen));
        EXPECT_EQ(app.m.PlayFileName, Chosen) << "Play finds the file while the box is open";
        EXPECT_FALSE(app.mod.LastSaveScheduled);
        EXPECT_TRUE(app.m.CaptureSavePending);
    };
    app.hotkeys.Press(1);
    EXPECT_EQ(app.mci.commands.back(), "close capture");
}

TEST_F(ManualStop, CancelledDialogDiscardsTheTakeWithAWord) {
    app.clock.Advance(2);
    app.Timer1.Tick();
    app.CommonDialog1.Answers(std::nullopt);
    app.hotkeys.Press(1);
    EXPECT_EQ(app.mci.Take(), (Commands{"stop capture", "close capture"}));
    ASSERT_EQ(app.messages.shown.size(), 1u);
    EXPECT_EQ(app.messages.shown[0].prompt, "Recording Not Saved");
    EXPECT_EQ(app.messages.shown[0].style, vbExclamation);
    EXPECT_EQ(app.messages.shown[0].title, "Murmora");
    EXPECT_EQ(app.m.PlayFileName, "/home/user/earlier.wav");
    EXPECT_TRUE(app.mod.LastSaveScheduled);
    EXPECT_EQ(app.PictureRecord.Current(), "recordbuttonup");
    EXPECT_EQ(app.Label1.caption, "2 sec");
    EXPECT_FALSE(app.m.CaptureSavePending);
}

TEST_F(ManualStop, EmptyPathCountsAsACancel) {
    app.CommonDialog1.Answers(std::string());
    app.hotkeys.Press(1);
    EXPECT_EQ(app.mci.Take(), (Commands{"stop capture", "close capture"}));
    EXPECT_EQ(app.messages.Prompts(), (std::vector<std::string>{"Recording Not Saved"}));
    EXPECT_EQ(app.m.PlayFileName, "/home/user/earlier.wav");
    EXPECT_TRUE(app.mod.LastSaveScheduled);
    EXPECT_FALSE(app.m.CaptureSavePending);
}

TEST_F(ManualStop, NameWithoutExtensionIsUsedAsTheDialogReturnsIt) {
    app.CommonDialog1.Answers("/home/user/my take");
    app.hotkeys.Press(1);
    EXPECT_EQ(app.mci.Take(), (Commands{"stop capture", "save capture /home/user/my take", "close capture"}));
    EXPECT_EQ(app.messages.Prompts(), (std::vector<std::string>{"Recording saved as  /home/user/my take"}));
    EXPECT_EQ(app.m.PlayFileName, "/home/user/my take");
}

const std::string PartlyWritten =
    "The recording could not be written to its end (is the disk full?).\n\n"
    "What was recorded until then is kept and will be saved.";

TEST_F(ManualStop, ATakeCutShortByAFullDiskIsSaidSoBeforeItIsSaved) {
    app.mci.respond = [this](const std::string& command, std::string&) {
        return command == "stop capture" ? 512 : Answer(command);  // the disk filled during the take
    };
    app.CommonDialog1.Answers(Chosen);
    app.hotkeys.Press(1);
    EXPECT_EQ(app.mci.Take(), (Commands{"stop capture", "save capture " + Chosen, "close capture"}));
    EXPECT_EQ(app.messages.Prompts(), (std::vector<std::string>{PartlyWritten, "Recording saved as  " + Chosen}));
    EXPECT_EQ(app.messages.shown.at(0).style, vbExclamation);
}

TEST_F(ManualStop, FailedSaveKeepsTheTakeAndAsksAgain) {
    app.CommonDialog1.Answers("/gone/take.wav");
    app.CommonDialog1.Answers(Chosen);
    app.hotkeys.Press(1);
    EXPECT_EQ(app.mci.Take(),
              (Commands{"stop capture", "save capture /gone/take.wav", "save capture " + Chosen, "close capture"}));
    EXPECT_EQ(app.CommonDialog1.shownAs.size(), 2u);
    ASSERT_EQ(app.messages.shown.size(), 2u);
    EXPECT_EQ(app.messages.shown[0].prompt,
              "Recording could not be saved as  /gone/take.wav\n\n"
              "The recording is kept: choose another name or folder.");
    EXPECT_EQ(app.messages.shown[0].style, vbExclamation);
    EXPECT_EQ(app.messages.shown[0].title, "Murmora");
    EXPECT_EQ(app.messages.shown[1].prompt, "Recording saved as  /home/user/take.wav");
    EXPECT_EQ(app.m.PlayFileName, Chosen);
    EXPECT_FALSE(app.mod.LastSaveScheduled);
}

TEST_F(ManualStop, FailedSaveThenCancelDiscardsWithAWordAndChangesNoPlayTarget) {
    app.CommonDialog1.Answers("/gone/take.wav");
    app.CommonDialog1.Answers(std::nullopt);
    app.hotkeys.Press(1);
    EXPECT_EQ(app.mci.Take(), (Commands{"stop capture", "save capture /gone/take.wav", "close capture"}));
    ASSERT_EQ(app.messages.shown.size(), 2u);
    EXPECT_EQ(app.messages.shown[1].prompt, "Recording Not Saved");
    EXPECT_EQ(app.messages.shown[1].style, vbExclamation);
    EXPECT_EQ(app.m.PlayFileName, "/home/user/earlier.wav") << "never a file that was not written";
    EXPECT_TRUE(app.mod.LastSaveScheduled);
    EXPECT_FALSE(app.files.FileExists("/gone/take.wav"));
}

TEST_F(ManualStop, TheTakeIsStillHeldWhileTheFailureIsShown) {
    app.CommonDialog1.Answers("/gone/take.wav");
    app.CommonDialog1.Answers(Chosen);
    int boxes = 0;
    app.messages.whileOpen = [&](const ShownMessage&) {
        if (++boxes == 1) {
            EXPECT_FALSE(app.mci.Sent("close capture"));
            EXPECT_TRUE(app.m.CaptureSavePending);
        }
    };
    app.hotkeys.Press(1);
    EXPECT_EQ(boxes, 2);
}

TEST_F(ManualStop, StopHotkeyWhileTheDialogIsOpenDoesNothing) {
    app.CommonDialog1.Answers(Chosen, [&] { app.hotkeys.Press(1); });
    app.hotkeys.Press(1);
    EXPECT_EQ(app.CommonDialog1.shownAs.size(), 1u);
    EXPECT_EQ(app.mci.Take(), (Commands{"stop capture", "save capture " + Chosen, "close capture"}));
}

TEST_F(ManualStop, StoppedBeforeTheFirstTickLeavesTheSecondsAsTheyWere) {
    app.Label1.caption = "";
    app.CommonDialog1.Answers(Chosen);
    app.hotkeys.Press(1);
    EXPECT_EQ(app.Label1.caption, "");
}

TEST_F(ManualStop, ByTheCutButtonRunsTheSameSteps) {
    const std::size_t before = app.SeeThroughCut.shown.size();
    app.CommonDialog1.Answers(Chosen);
    ClickCut();
    EXPECT_EQ(app.mci.Take(), (Commands{"stop capture", "save capture " + Chosen, "close capture"}));
    EXPECT_EQ(app.messages.Prompts(), (std::vector<std::string>{"Recording saved as  /home/user/take.wav"}));
    EXPECT_EQ(app.m.CutButtonState, ButtonReleased);
    EXPECT_EQ(std::vector<std::string>(app.SeeThroughCut.shown.begin() + static_cast<std::ptrdiff_t>(before),
                                       app.SeeThroughCut.shown.end()),
              (std::vector<std::string>{"custom:106", "custom:105"}));
    EXPECT_EQ(app.m.RecordingState, RecorderIdle);
}

TEST_F(ManualStop, ByTheCutButtonPressedWithTheRightButton) {
    app.CommonDialog1.Answers(Chosen);
    app.SeeThroughCut.Down(RightButton);
    app.SeeThroughCut.Move(RightButton, 5000, 5000);
    app.SeeThroughCut.Up(RightButton, 5000, 5000);
    EXPECT_EQ(app.m.RecordingState, RecorderIdle);
    EXPECT_TRUE(app.mci.Sent("save capture " + Chosen));
}

TEST_F(ManualStop, CutButtonReleasedAfterThePointerLeftItLetsTheTakeGoOn) {
    app.SeeThroughCut.Down(LeftButton);
    app.SeeThroughCut.Move(LeftButton, 900, 100);
    app.SeeThroughCut.Up(LeftButton, 900, 100);
    EXPECT_TRUE(app.mci.Take().empty());
    EXPECT_EQ(app.m.RecordingState, RecorderBusy);
    EXPECT_TRUE(app.Timer1.enabled);
    EXPECT_TRUE(app.CommonDialog1.shownAs.empty());
    EXPECT_EQ(app.SeeThroughCut.Current(), "custom:105");
}

using StopWhenIdle = RecordingTest;

TEST_F(StopWhenIdle, HotkeyDoesNothing) {
    const std::size_t pictures = app.PictureRecord.shown.size();
    app.hotkeys.Press(1);
    EXPECT_TRUE(app.mci.Take().empty());
    EXPECT_TRUE(app.CommonDialog1.shownAs.empty());
    EXPECT_TRUE(app.messages.shown.empty());
    EXPECT_EQ(app.PictureRecord.shown.size(), pictures);
}

TEST_F(StopWhenIdle, CutButtonPressMoveAndReleaseDoNothing) {
    const std::size_t pictures = app.SeeThroughCut.shown.size();
    app.SeeThroughCut.Down(LeftButton);
    app.SeeThroughCut.Move(LeftButton, 100, 100);
    app.SeeThroughCut.Up(LeftButton);
    EXPECT_TRUE(app.mci.Take().empty());
    EXPECT_EQ(app.SeeThroughCut.shown.size(), pictures);
    EXPECT_EQ(app.m.CutButtonState, ButtonReleased);
    EXPECT_TRUE(app.CommonDialog1.shownAs.empty());
}

} // namespace
} // namespace murmora::fakes
