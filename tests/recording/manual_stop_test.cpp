#include "tests/recording/recording_fixture.h"

namespace murmora::fakes {
namespace {

const std::string kChosen = "/home/user/take.wav";
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
        app.engine.deliver();
        ASSERT_EQ(app.panel.recorder.latestTakePath(), path);
    }
};

TEST_F(ManualStop, ByHotkeyEndsTheTakeThenAsksForANameOnceItsEndIsWritten) {
    app.clock.advance(3);
    app.elapsedTimer.tick();
    app.hotkeys.press(1);
    EXPECT_EQ(app.engine.take(), EngineCalls{kStopTake});
    EXPECT_EQ(app.panel.recorder.state(), RecorderState::holdingTake);
    EXPECT_TRUE(app.saveTakeDialog.shownAs.empty()) << "the take's end is not written yet";
    app.saveTakeDialog.answer(kChosen, [&] {
        EXPECT_EQ(app.panel.recorder.state(), RecorderState::holdingTake);
        app.hotkeys.press(1); // a second stop finds nothing to stop
    });
    app.engine.deliver();
    EXPECT_EQ(app.engine.take(), EngineCalls{saveTakeAt(kChosen)});
    EXPECT_EQ(app.saveTakeDialog.shownAs, Strings{"save"});
    EXPECT_EQ(app.saveTakeDialog.setup.title, "Save Recorded File");
    EXPECT_EQ(app.saveTakeDialog.setup.filter, (FileFilter{"Wav File (*.Wav)", {"*.Wav"}}));
    EXPECT_TRUE(app.saveTakeDialog.setup.askBeforeOverwrite && app.saveTakeDialog.setup.folderMustExist);
    expectIdle();
    EXPECT_EQ(app.stopButton.current(), "custom:105");
    EXPECT_EQ(app.secondsLabel.caption, "3 sec");
}

TEST_F(ManualStop, ConfirmsOnceTheFileIsThereSoThatPlayFindsIt) {
    app.messages.whileOpen = [&](const ShownMessage&) {
        EXPECT_TRUE(app.files.fileExists(kChosen));
        EXPECT_EQ(app.panel.recorder.latestTakePath(), kChosen) << "Play finds the file while the box is open";
        EXPECT_EQ(app.panel.recorder.state(), RecorderState::holdingTake) << "no take starts meanwhile";
    };
    stopAndSave(kChosen);
    EXPECT_EQ(app.messages.shown.size(), 1u);
    expectMessage(0, "Recording saved as  " + kChosen, MessageStyle::information);
    expectIdle();
}

class ManualStopCancelled : public ManualStop, public ::testing::WithParamInterface<std::optional<std::string>> {};

TEST_P(ManualStopCancelled, DiscardsTheTakeWithAWordAndKeepsThePlayTarget) {
    app.saveTakeDialog.answer(GetParam());
    app.hotkeys.press(1);
    app.engine.deliver();
    EXPECT_EQ(app.engine.take(), (EngineCalls{kStopTake, kDiscardTake}));
    EXPECT_EQ(app.messages.shown.size(), 1u);
    expectMessage(0, "Recording Not Saved", MessageStyle::exclamation);
    EXPECT_EQ(app.panel.recorder.latestTakePath(), kEarlier);
    expectIdle();
}

INSTANTIATE_TEST_SUITE_P(ByCancelOrEmptyPath, ManualStopCancelled,
                         ::testing::Values(std::nullopt, std::optional<std::string>("")));

// A take whose end the engine reports as early: a full disk, the input lost just before the
// stop, or a stop the server did not confirm.
TEST_F(ManualStop, ATakeCutShortIsSaidSoWithWhatIsKeptBeforeItIsSaved) {
    const struct {
        SoundFailure failure;
        std::string reason, told;
    } cases[] = {{SoundFailure::takeFile, kDiskFull, kPartlyWritten},
                 {SoundFailure::deviceLost, "The sound device went away",
                  "The sound input was lost after 4 sec. The recording so far is kept."},
                 {SoundFailure::notAnswering, "The sound server does not answer",
                  "The sound server does not answer. The recording so far is kept."}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.told);
        app.messages.shown.clear();
        app.engine.takeEnd.early = {c.failure, c.reason};
        app.saveTakeDialog.answer(kChosen, [&] { EXPECT_EQ(app.messages.texts(), Strings{c.told}); });
        app.hotkeys.press(1);
        app.engine.deliver();
        expectMessage(0, c.told, MessageStyle::exclamation);
        EXPECT_EQ(app.messages.texts().at(1), "Recording saved as  " + kChosen);
        startManualTake();
    }
}

// A take that ended before its first frame: an empty file told as saved would be a lie.
TEST_F(ManualStop, ATakeThatGotNoSoundIsToldSoAndNothingIsSaved) {
    const struct {
        SoundFailure failure;
        std::string reason, told;
    } cases[] = {
        {SoundFailure::none, "", "No sound was recorded: there is nothing to save."},
        {SoundFailure::deviceLost, "The sound device went away",
         "The sound input was lost before any sound was recorded: there is nothing to save."},
        {SoundFailure::notAnswering, "The sound server does not answer",
         "The sound server does not answer and no sound was recorded: there is nothing to save."},
        {SoundFailure::takeFile, kDiskFull, kDiskFull + ", before any sound was recorded: there is nothing to save."}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.told);
        app.messages.shown.clear();
        app.engine.takeEnd = {0, {c.failure, c.reason}, true};
        app.hotkeys.press(1);
        app.engine.deliver();
        EXPECT_EQ(app.engine.take(), (EngineCalls{kStopTake, kDiscardTake}));
        EXPECT_TRUE(app.saveTakeDialog.shownAs.empty());
        EXPECT_EQ(app.messages.texts(), Strings{c.told});
        EXPECT_EQ(app.panel.recorder.latestTakePath(), kEarlier);
        expectIdle();
        startManualTake();
    }
}

TEST_F(ManualStop, FailedSaveKeepsTheTakeAndAsksAgainUntilSaved) {
    app.saveTakeDialog.answer("/gone/take.wav");
    app.saveTakeDialog.answer(kChosen);
    app.messages.whileOpen = [&](const ShownMessage&) {
        EXPECT_EQ(app.panel.recorder.state(), RecorderState::holdingTake);
    };
    app.hotkeys.press(1);
    app.engine.deliver();
    EXPECT_EQ(app.engine.take(), (EngineCalls{kStopTake, saveTakeAt("/gone/take.wav"), saveTakeAt(kChosen)}));
    EXPECT_EQ(app.messages.shown.size(), 2u);
    expectMessage(0,
                  "Recording could not be saved as  /gone/take.wav\n" + kNoFolder +
                      "\n\nThe recording is kept: choose another name or folder.",
                  MessageStyle::exclamation);
    EXPECT_EQ(app.messages.texts().at(1), "Recording saved as  " + kChosen);
    EXPECT_EQ(app.panel.recorder.latestTakePath(), kChosen);
    expectIdle();
}

TEST_F(ManualStop, AFailedSaveThenACancelDiscardsTheTakeAndPlayKeepsItsFile) {
    app.saveTakeDialog.answer("/gone/take.wav");
    app.hotkeys.press(1);
    app.engine.deliver();
    EXPECT_EQ(app.engine.take(), (EngineCalls{kStopTake, saveTakeAt("/gone/take.wav"), kDiscardTake}));
    EXPECT_EQ(app.messages.texts().at(1), "Recording Not Saved");
    EXPECT_EQ(app.panel.recorder.latestTakePath(), kEarlier) << "never a file that was not written";
    expectIdle();
}

TEST_F(ManualStop, ASaveThatTakesLongShowsItsFileAfterHalfASecondWhileThePanelAnswers) {
    const std::string path = "/home/user/a long save.wav";
    app.saveTakeDialog.answer(path);
    app.hotkeys.press(1);
    app.engine.deliverNext(); // the take's end; its save runs
    ASSERT_EQ(app.panel.recorder.state(), RecorderState::saving);
    EXPECT_EQ(app.saveProgressTimer.interval, std::chrono::milliseconds(500));
    EXPECT_FALSE(app.saveProgress.text) << "a quick save shows nothing";
    app.saveProgressTimer.tick();
    EXPECT_EQ(app.saveProgress.text, "Saving the recording as  " + path);
    EXPECT_FALSE(app.saveProgress.onCancel) << "a WAV file is moved or copied whole";
    EXPECT_FALSE(app.saveProgress.percent);
    EXPECT_FALSE(app.saveProgressTimer.enabled);
    app.hotkeys.press(0);
    app.hotkeys.press(1);
    EXPECT_EQ(app.engine.take(), (EngineCalls{kStopTake, saveTakeAt(path)})) << "no take starts or stops meanwhile";
    app.engine.deliver();
    EXPECT_EQ(app.messages.texts(), Strings{"Recording saved as  " + path});
    expectIdle();
}

TEST_F(ManualStop, AnEncodingShowsItsPercentageAndCanBeCancelledWhichKeepsTheTakeAndAsksAgain) {
    const std::string path = "/home/user/take.flac";
    app.engine.holdSaves = true;
    app.saveTakeDialog.answer(path);
    app.hotkeys.press(1);
    app.engine.deliver(); // the take's end; its save runs
    app.engine.take();
    app.engine.tellSaveProgress(0.123);
    app.engine.deliverNext();
    EXPECT_FALSE(app.saveProgress.text) << "told before the window shows";
    app.saveProgressTimer.tick();
    EXPECT_EQ(app.saveProgress.text, "Saving the recording as  " + path);
    EXPECT_EQ(app.saveProgress.percent, 12);
    app.engine.tellSaveProgress(0.5);
    app.engine.deliverNext();
    EXPECT_EQ(app.saveProgress.percent, 50);
    app.saveTakeDialog.answer(std::nullopt); // asked again, and this time cancelled
    app.saveProgress.cancel();
    EXPECT_EQ(app.engine.take(), (EngineCalls{{EngineCall::cancelSave, {}}}));
    EXPECT_EQ(app.panel.recorder.state(), RecorderState::saving) << "until the engine has given it up";
    app.engine.holdSaves = false;
    app.engine.finishSave();
    app.engine.deliver();
    EXPECT_FALSE(app.saveProgress.text);
    EXPECT_EQ(app.saveTakeDialog.shownAs, (Strings{"save", "save"}));
    EXPECT_EQ(app.messages.texts(), Strings{"Recording Not Saved"}) << "nothing said of the cancel itself";
    EXPECT_EQ(app.engine.take(), EngineCalls{kDiscardTake});
    EXPECT_EQ(app.panel.recorder.latestTakePath(), kEarlier);
    expectIdle();
}

TEST_F(ManualStop, StopButtonReleasedAfterThePointerLeftItLetsTheTakeGoOn) {
    app.stopButton.down(kLeftButton);
    app.stopButton.move(kLeftButton, 60, 7);
    app.stopButton.up(kLeftButton, 60, 7);
    EXPECT_TRUE(app.engine.take().empty());
    EXPECT_EQ(app.panel.recorder.state(), RecorderState::recording);
    EXPECT_EQ(app.stopButton.current(), "custom:105");
}

TEST_F(RecordingTest, StopWhenNothingRecordsOrPlaysDoesNothing) {
    const std::size_t stopPictures = app.stopButton.shown.size();
    const std::size_t recordPictures = app.recordButton.shown.size();
    app.hotkeys.press(1);
    app.stopButton.click();
    EXPECT_TRUE(app.engine.take().empty());
    EXPECT_EQ(app.stopButton.shown.size(), stopPictures);
    EXPECT_EQ(app.recordButton.shown.size(), recordPictures);
    EXPECT_TRUE(app.saveTakeDialog.shownAs.empty());
    EXPECT_TRUE(app.messages.shown.empty());
}

} // namespace
} // namespace murmora::fakes
