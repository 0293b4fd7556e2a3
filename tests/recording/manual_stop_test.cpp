#include "tests/recording/recording_fixture.h"

namespace murmora::fakes {
namespace {

const std::string kChosen = "/home/user/take.wav";
const Commands kStopSaveClose{"stop capture", saveCapture(kChosen), "close capture"};
const std::string kEarlier = "/home/user/earlier.wav";

class ManualStop : public RecordingTest {
protected:
    void SetUp() override {
        RecordingTest::SetUp();
        saveScheduledTakeAt(kEarlier);
        startManualTake();
    }

    // A scheduled take saved at `path`: the take Play plays until another is saved.
    void saveScheduledTakeAt(const std::string& path) {
        startScheduledTake(1, path);
        app.clock.advance(1);
        app.scheduledStopTimer.tick();
        ASSERT_EQ(app.panel.recorder.latestTakePath(), path);
    }
};

TEST_F(ManualStop, ByHotkeyAsksForANameSavesThenConfirmsBeforeTheDeviceCloses) {
    app.clock.advance(3);
    app.elapsedTimer.tick();
    app.saveTakeDialog.answer(kChosen, [&] {
        EXPECT_FALSE(app.panel.recorder.isRecording()) << "the recorder reads idle but holds the take";
        EXPECT_TRUE(app.panel.recorder.isHoldingTake());
        EXPECT_EQ(app.mci.take(), (Commands{"stop capture"}));
        app.hotkeys.press(1); // a second stop finds nothing to stop
    });
    app.messages.whileOpen = [&](const ShownMessage&) {
        EXPECT_TRUE(app.files.fileExists(kChosen));
        EXPECT_EQ(app.panel.recorder.latestTakePath(), kChosen) << "Play finds the file while the box is open";
        EXPECT_FALSE(app.mci.sent("close capture"));
    };
    app.hotkeys.press(1);
    EXPECT_EQ(app.mci.take(), (Commands{saveCapture(kChosen), "close capture"}));
    EXPECT_EQ(app.saveTakeDialog.shownAs, Strings{"save"});
    EXPECT_EQ(app.saveTakeDialog.setup.title, "Save Recorded File");
    EXPECT_EQ(app.saveTakeDialog.setup.filter, "Wav File (*.Wav)|*.Wav");
    EXPECT_EQ(app.saveTakeDialog.setup.flags, 2054);
    EXPECT_EQ(app.messages.shown.size(), 1u);
    expectMessage(0, "Recording saved as  " + kChosen, MessageStyle::information);
    EXPECT_EQ(app.panel.recorder.latestTakePath(), kChosen);
    expectIdle();
    EXPECT_EQ(app.stopButton.current(), "custom:105");
    EXPECT_EQ(app.secondsLabel.caption, "3 sec");
}

class ManualStopCancelled : public ManualStop, public ::testing::WithParamInterface<std::optional<std::string>> {};

TEST_P(ManualStopCancelled, DiscardsTheTakeWithAWordAndKeepsThePlayTarget) {
    app.saveTakeDialog.answer(GetParam());
    app.hotkeys.press(1);
    EXPECT_EQ(app.mci.take(), (Commands{"stop capture", "close capture"}));
    EXPECT_EQ(app.messages.shown.size(), 1u);
    expectMessage(0, "Recording Not Saved", MessageStyle::exclamation);
    EXPECT_EQ(app.panel.recorder.latestTakePath(), kEarlier);
    expectIdle();
}

INSTANTIATE_TEST_SUITE_P(ByCancelOrEmptyPath, ManualStopCancelled,
                         ::testing::Values(std::nullopt, std::optional<std::string>("")));

TEST_F(ManualStop, NameWithoutExtensionIsUsedAsTheDialogReturnsIt) {
    app.saveTakeDialog.answer("/home/user/my take");
    app.hotkeys.press(1);
    EXPECT_EQ(app.mci.take(), (Commands{"stop capture", saveCapture("/home/user/my take"), "close capture"}));
    EXPECT_EQ(app.messages.texts(), Strings{"Recording saved as  /home/user/my take"});
    EXPECT_EQ(app.panel.recorder.latestTakePath(), "/home/user/my take");
}

TEST_F(ManualStop, ATakeCutShortByAFullDiskIsSaidSoBeforeItIsSaved) {
    app.mci.respond = [this](const std::string& command, std::string& reply) {
        return command == "stop capture" ? 512 : answer(command, reply); // the disk filled during the take
    };
    app.saveTakeDialog.answer(kChosen);
    app.hotkeys.press(1);
    EXPECT_EQ(app.mci.take(), kStopSaveClose);
    expectMessage(0, kPartlyWritten, MessageStyle::exclamation);
    EXPECT_EQ(app.messages.texts().at(1), "Recording saved as  " + kChosen);
}

TEST_F(ManualStop, FailedSaveKeepsTheTakeAndAsksAgainUntilSavedOrCancelled) {
    const Commands failedSave{"stop capture", saveCapture("/gone/take.wav")};
    app.saveTakeDialog.answer("/gone/take.wav");
    app.saveTakeDialog.answer(kChosen);
    app.messages.whileOpen = [&](const ShownMessage&) { EXPECT_TRUE(app.panel.recorder.isHoldingTake()); };
    app.hotkeys.press(1);
    EXPECT_EQ(app.mci.take(), failedSave + saveCapture(kChosen) + "close capture");
    EXPECT_EQ(app.messages.shown.size(), 2u);
    expectMessage(0,
                  "Recording could not be saved as  /gone/take.wav\n" + kNoFolder +
                      "\n\nThe recording is kept: choose another name or folder.",
                  MessageStyle::exclamation);
    EXPECT_EQ(app.messages.texts().at(1), "Recording saved as  " + kChosen);
    EXPECT_EQ(app.panel.recorder.latestTakePath(), kChosen);

    app.messages.whileOpen = {};
    saveScheduledTakeAt(kEarlier);
    app.messages.shown.clear();
    startManualTake();
    app.saveTakeDialog.answer("/gone/take.wav");
    app.hotkeys.press(1);
    EXPECT_EQ(app.mci.take(), failedSave + "close capture");
    EXPECT_EQ(app.messages.texts().at(1), "Recording Not Saved");
    EXPECT_EQ(app.panel.recorder.latestTakePath(), kEarlier) << "never a file that was not written";
    expectIdle();
}

TEST_F(ManualStop, StopButtonReleasedAfterThePointerLeftItLetsTheTakeGoOn) {
    app.stopButton.down(kLeftButton);
    app.stopButton.move(kLeftButton, 900, 100);
    app.stopButton.up(kLeftButton, 900, 100);
    EXPECT_TRUE(app.mci.take().empty());
    EXPECT_TRUE(app.panel.recorder.isRecording());
    EXPECT_EQ(app.stopButton.current(), "custom:105");
}

TEST_F(RecordingTest, StopWhenIdleByHotkeyOrStopButtonDoesNothing) {
    const std::size_t stopPictures = app.stopButton.shown.size();
    const std::size_t recordPictures = app.recordButton.shown.size();
    app.hotkeys.press(1);
    app.stopButton.click();
    EXPECT_TRUE(app.mci.take().empty());
    EXPECT_EQ(app.stopButton.shown.size(), stopPictures);
    EXPECT_EQ(app.recordButton.shown.size(), recordPictures);
    EXPECT_TRUE(app.saveTakeDialog.shownAs.empty());
    EXPECT_TRUE(app.messages.shown.empty());
}

} // namespace
} // namespace murmora::fakes
