#include "tests/recording/recording_fixture.h"

namespace murmora::fakes {
namespace {

const std::string Chosen = "/home/user/take.wav";
const Commands StopSaveClose{"stop capture", SaveCapture(Chosen), "close capture"};
const std::string Earlier = "/home/user/earlier.wav";

class ManualStop : public RecordingTest {
protected:
    void SetUp() override {
        RecordingTest::SetUp();
        app.mod.LastSaveScheduled = true;  // an earlier scheduled take
        app.m.PlayFileName = Earlier;
        StartManualTake();
    }
};

TEST_F(ManualStop, ByHotkeyAsksForANameSavesThenConfirmsBeforeTheDeviceCloses) {
    app.clock.advance(3);
    app.Timer1.tick();
    app.CommonDialog1.answer(Chosen, [&] {
        EXPECT_EQ(app.m.RecordingState, RecorderIdle) << "the recorder reads idle but holds the take";
        EXPECT_TRUE(app.m.CaptureSavePending);
        EXPECT_EQ(app.mci.take(), (Commands{"stop capture"}));
        app.hotkeys.press(1);  // a second stop finds nothing to stop
    });
    app.messages.whileOpen = [&](const ShownMessage&) {
        EXPECT_TRUE(app.files.fileExists(Chosen));
        EXPECT_EQ(app.m.PlayFileName, Chosen) << "Play finds the file while the box is open";
        EXPECT_FALSE(app.mci.sent("close capture"));
    };
    app.hotkeys.press(1);
    EXPECT_EQ(app.mci.take(), (Commands{SaveCapture(Chosen), "close capture"}));
    EXPECT_EQ(app.CommonDialog1.shownAs, Strings{"save"});
    EXPECT_EQ(app.CommonDialog1.setup.title, "Save Recorded File");
    EXPECT_EQ(app.CommonDialog1.setup.filter, "Wav File (*.Wav)|*.Wav");
    EXPECT_EQ(app.CommonDialog1.setup.flags, 2054);
    EXPECT_EQ(app.messages.shown.size(), 1u);
    ExpectMessage(0, "Recording saved as  " + Chosen, MessageStyle::information);
    EXPECT_FALSE(app.mod.LastSaveScheduled);
    ExpectIdle();
    EXPECT_EQ(app.SeeThroughCut.current(), "custom:105");
    EXPECT_EQ(app.Label1.caption, "3 sec");
}

class ManualStopCancelled : public ManualStop, public ::testing::WithParamInterface<std::optional<std::string>> {};

TEST_P(ManualStopCancelled, DiscardsTheTakeWithAWordAndKeepsThePlayTarget) {
    app.CommonDialog1.answer(GetParam());
    app.hotkeys.press(1);
    EXPECT_EQ(app.mci.take(), (Commands{"stop capture", "close capture"}));
    EXPECT_EQ(app.messages.shown.size(), 1u);
    ExpectMessage(0, "Recording Not Saved", MessageStyle::exclamation);
    EXPECT_EQ(app.m.PlayFileName, Earlier);
    EXPECT_TRUE(app.mod.LastSaveScheduled);
    ExpectIdle();
}

INSTANTIATE_TEST_SUITE_P(ByCancelOrEmptyPath, ManualStopCancelled,
                         ::testing::Values(std::nullopt, std::optional<std::string>("")));

TEST_F(ManualStop, NameWithoutExtensionIsUsedAsTheDialogReturnsIt) {
    app.CommonDialog1.answer("/home/user/my take");
    app.hotkeys.press(1);
    EXPECT_EQ(app.mci.take(), (Commands{"stop capture", SaveCapture("/home/user/my take"), "close capture"}));
    EXPECT_EQ(app.messages.texts(), Strings{"Recording saved as  /home/user/my take"});
    EXPECT_EQ(app.m.PlayFileName, "/home/user/my take");
}

TEST_F(ManualStop, ATakeCutShortByAFullDiskIsSaidSoBeforeItIsSaved) {
    app.mci.respond = [this](const std::string& command, std::string&) {
        return command == "stop capture" ? 512 : Answer(command);  // the disk filled during the take
    };
    app.CommonDialog1.answer(Chosen);
    app.hotkeys.press(1);
    EXPECT_EQ(app.mci.take(), StopSaveClose);
    ExpectMessage(0, PartlyWritten, MessageStyle::exclamation);
    EXPECT_EQ(app.messages.texts().at(1), "Recording saved as  " + Chosen);
}

TEST_F(ManualStop, FailedSaveKeepsTheTakeAndAsksAgainUntilSavedOrCancelled) {
    const Commands failedSave{"stop capture", SaveCapture("/gone/take.wav")};
    app.CommonDialog1.answer("/gone/take.wav");
    app.CommonDialog1.answer(Chosen);
    app.messages.whileOpen = [&](const ShownMessage&) { EXPECT_TRUE(app.m.CaptureSavePending); };
    app.hotkeys.press(1);
    EXPECT_EQ(app.mci.take(), failedSave + SaveCapture(Chosen) + "close capture");
    EXPECT_EQ(app.messages.shown.size(), 2u);
    ExpectMessage(0,
                  "Recording could not be saved as  /gone/take.wav\n\n"
                  "The recording is kept: choose another name or folder.",
                  MessageStyle::exclamation);
    EXPECT_EQ(app.messages.texts().at(1), "Recording saved as  " + Chosen);
    EXPECT_EQ(app.m.PlayFileName, Chosen);
    EXPECT_FALSE(app.mod.LastSaveScheduled);

    app.messages.shown.clear();
    app.mod.LastSaveScheduled = true;
    app.m.PlayFileName = Earlier;
    StartManualTake();
    app.CommonDialog1.answer("/gone/take.wav");
    app.hotkeys.press(1);
    EXPECT_EQ(app.mci.take(), failedSave + "close capture");
    EXPECT_EQ(app.messages.texts().at(1), "Recording Not Saved");
    EXPECT_EQ(app.m.PlayFileName, Earlier) << "never a file that was not written";
    EXPECT_TRUE(app.mod.LastSaveScheduled);
    ExpectIdle();
}

TEST_F(ManualStop, ByTheCutButtonPressedWithTheRightButtonWhereverReleased) {
    app.CommonDialog1.answer(Chosen);
    app.SeeThroughCut.down(kRightButton);
    app.SeeThroughCut.move(kRightButton, 5000, 5000);
    app.SeeThroughCut.up(kRightButton, 5000, 5000);
    EXPECT_EQ(app.mci.take(), StopSaveClose);
}

TEST_F(ManualStop, CutButtonReleasedAfterThePointerLeftItLetsTheTakeGoOn) {
    app.SeeThroughCut.down(kLeftButton);
    app.SeeThroughCut.move(kLeftButton, 900, 100);
    app.SeeThroughCut.up(kLeftButton, 900, 100);
    EXPECT_TRUE(app.mci.take().empty());
    EXPECT_EQ(app.m.RecordingState, RecorderBusy);
    EXPECT_EQ(app.SeeThroughCut.current(), "custom:105");
}

TEST_F(RecordingTest, StopWhenIdleByHotkeyOrCutButtonDoesNothing) {
    const std::size_t cutPictures = app.SeeThroughCut.shown.size();
    const std::size_t recordPictures = app.PictureRecord.shown.size();
    app.hotkeys.press(1);
    app.SeeThroughCut.click();
    EXPECT_TRUE(app.mci.take().empty());
    EXPECT_EQ(app.SeeThroughCut.shown.size(), cutPictures);
    EXPECT_EQ(app.PictureRecord.shown.size(), recordPictures);
    EXPECT_EQ(app.m.CutButtonState, ButtonReleased);
    EXPECT_TRUE(app.CommonDialog1.shownAs.empty());
    EXPECT_TRUE(app.messages.shown.empty());
}

} // namespace
} // namespace murmora::fakes
