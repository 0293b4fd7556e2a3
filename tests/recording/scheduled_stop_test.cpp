#include "tests/recording/recording_fixture.h"

namespace murmora::fakes {
namespace {

const std::string kTarget = "/home/user/AutoRec.wav";
// The take starts at 13:05:07 on the fake clock's day, 2024-10-04.
const std::string kFallback = "/home/user/Murmora take 2024-10-04 13-05-07.wav";

using ScheduledStop = RecordingTest;

TEST_F(ScheduledStop, CutButtonSavesToThePathBoxAsItIsAtTheStopWithoutADialog) {
    startScheduledTake(60);
    app.targetPathBox.contents = "/tmp/edited.wav";
    const std::size_t stopBefore = app.stopButton.shown.size();
    app.stopButton.click();
    app.engine.deliver();
    EXPECT_EQ(app.engine.take(), (EngineCalls{kStopTake, saveTakeAt("/tmp/edited.wav")}));
    EXPECT_EQ(app.panel.recorder.latestTakePath(), "/tmp/edited.wav");
    EXPECT_TRUE(app.saveTakeDialog.shownAs.empty());
    EXPECT_TRUE(app.messages.shown.empty());
    EXPECT_EQ(shownSince(app.stopButton.shown, stopBefore), (Strings{"custom:106", "custom:105"}));
    expectIdle();
}

TEST_F(ScheduledStop, HotkeyStopsAPlayingFileAfterTheInput) {
    startPlayback();
    startScheduledTake(60);
    app.hotkeys.press(1);
    app.engine.deliver();
    EXPECT_EQ(app.engine.take(), (EngineCalls{kStopTake, kStopPlayback, saveTakeAt(kTarget)}));
    expectIdle();
}

TEST_F(ScheduledStop, TheTimeOfTheTakeStopsItAtTheFirstTickThatReachesTheDurationAndSavesToThePathBoxAsEdited) {
    startScheduledTake(5);
    app.clock.advance(4);
    app.scheduledStopTimer.tick();
    EXPECT_TRUE(app.engine.take().empty());
    EXPECT_EQ(app.scheduleCaptionLabel.caption, "Record:");
    app.targetPathBox.contents = "/tmp/later.wav";
    app.clock.advance(1);
    app.scheduledStopTimer.tick();
    app.engine.deliver();
    EXPECT_EQ(app.engine.take(), (EngineCalls{kStopTake, saveTakeAt("/tmp/later.wav")}));
    EXPECT_EQ(app.panel.recorder.latestTakePath(), "/tmp/later.wav");
    EXPECT_EQ(app.scheduleCaptionLabel.caption + app.scheduleTimeLabel.caption, "");
    EXPECT_TRUE(app.messages.shown.empty());
    EXPECT_TRUE(app.files.fileExists("/tmp/later.wav"));
    expectIdle();
}

TEST_F(ScheduledStop, TheTimeOfTheTakeStopsAPlayingFileFirstAndSaysWhenTheDiskFilledDuringTheTake) {
    startPlayback();
    startScheduledTake(2);
    app.engine.takeEnd.early = {SoundFailure::takeFile, kDiskFull};
    const std::size_t stopPictures = app.stopButton.shown.size();
    app.clock.advance(3);
    app.scheduledStopTimer.tick();
    app.engine.deliver();
    EXPECT_EQ(app.engine.take(), (EngineCalls{kStopPlayback, kStopTake, saveTakeAt(kTarget)}));
    EXPECT_EQ(app.messages.texts(), Strings{kPartlyWritten});
    EXPECT_TRUE(app.files.fileExists(kTarget));
    EXPECT_EQ(app.stopButton.shown.size(), stopPictures);
}

// A save may take a while (a copy to another file system) with hotkeys and timers acting
// meanwhile: the take being saved is not stopped again, and no take starts until it is saved.
TEST_F(ScheduledStop, WhileTheSaveRunsNeitherHotkeysNorADueScheduleTouchTheEngine) {
    startScheduledTake(2);
    app.panel.schedule.onCloseRequested(); // armed again, due now
    app.messages.shown.clear();
    app.clock.advance(2);
    app.scheduledStopTimer.tick();
    app.engine.deliverNext(); // the take's end: its save runs
    ASSERT_EQ(app.panel.recorder.state(), RecorderState::saving);
    app.engine.take();
    app.hotkeys.press(1);
    app.hotkeys.press(0);
    app.scheduleStartTimer.tick();
    EXPECT_TRUE(app.engine.take().empty());
    app.engine.deliver();
    expectIdle();
    EXPECT_TRUE(app.scheduleStartTimer.enabled) << "the schedule starts at its first tick after the save";
    app.scheduleStartTimer.tick();
    EXPECT_EQ(app.engine.take(), EngineCalls{kStartTake});
}

TEST_F(ScheduledStop, ClockSetBackDelaysTheStopAndSetForwardBringsItEarlier) {
    startScheduledTake(10);
    app.clock.advance(8 - 60);
    app.scheduledStopTimer.tick();
    EXPECT_TRUE(app.engine.take().empty());
    app.clock.advance(61);
    app.scheduledStopTimer.tick();
    EXPECT_TRUE(app.scheduledStopTimer.enabled) << "9 seconds by the clock";
    app.clock.advance(3600);
    app.scheduledStopTimer.tick();
    EXPECT_FALSE(app.scheduledStopTimer.enabled);
}

TEST_F(ScheduledStop, ClearsTheSecondsAndSizeOfTheTakeOrFileBeforeWhenItStarts) {
    app.secondsLabel.caption = "12.5 sec";
    app.sizeLabel.caption = "2153.3 KB";
    startScheduledTake(60);
    EXPECT_EQ(app.secondsLabel.caption + app.sizeLabel.caption, "");
}

enum class ScheduledEnd {
    stopButton,
    stopHotkey,
    time
};

class UnwritableTarget : public RecordingTest, public ::testing::WithParamInterface<ScheduledEnd> {
protected:
    void startAndEnd(const std::string& target) {
        startScheduledTake(5, target);
        app.clock.advance(5);
        switch (GetParam()) {
        case ScheduledEnd::stopButton:
            app.stopButton.click();
            break;
        case ScheduledEnd::stopHotkey:
            app.hotkeys.press(1);
            break;
        case ScheduledEnd::time:
            app.scheduledStopTimer.tick();
            break;
        }
        app.engine.deliver();
    }
    const EngineCalls savedToTheFallback{kStopTake, saveTakeAt("/gone/AutoRec.wav"), saveTakeAt(kFallback)};
};

TEST_P(UnwritableTarget, SavesToADatedFileInTheHomeFolderNeverOverAnEarlierOneAndSaysWhere) {
    app.messages.whileOpen = [&](const ShownMessage&) {
        EXPECT_EQ(app.panel.recorder.state(), RecorderState::idle) << "the take is saved while the box is open";
    };
    startAndEnd("/gone/AutoRec.wav");
    EXPECT_EQ(app.engine.take(), savedToTheFallback);
    EXPECT_EQ(app.panel.recorder.latestTakePath(), kFallback) << "so that Play finds the take";
    EXPECT_EQ(app.messages.shown.size(), 1u);
    expectMessage(
        0, "Recording could not be saved as  /gone/AutoRec.wav\n" + kNoFolder + "\n\nIt was saved as  " + kFallback,
        MessageStyle::exclamation);
    EXPECT_TRUE(app.saveTakeDialog.shownAs.empty());
    expectIdle();

    app.files.files[kFallback] = {'f', 'i', 'r', 's', 't'};
    app.clock.advance(-5); // a second take from the same second, with an empty path box
    startAndEnd("");
    const std::string second = "/home/user/Murmora take 2024-10-04 13-05-07 (2).wav";
    EXPECT_EQ(app.engine.take(), (EngineCalls{kStopTake, saveTakeAt(""), saveTakeAt(second)}));
    EXPECT_EQ(app.panel.recorder.latestTakePath(), second);
    EXPECT_EQ(app.files.files[kFallback], (std::vector<unsigned char>{'f', 'i', 'r', 's', 't'}));
}

TEST_P(UnwritableTarget, WhenTheHomeFolderFailsTooTheUserChoosesThePlaceOrDiscardsIt) {
    app.files.folders.erase("/home/user");
    app.files.folders.insert("/media/usb");
    app.saveTakeDialog.answer("/media/usb/take.wav", [&] {
        EXPECT_EQ(app.panel.recorder.state(), RecorderState::holdingTake);
        EXPECT_FALSE(app.engine.called(EngineCall::discardTake)) << "the engine still holds the take";
    });
    startAndEnd("/gone/AutoRec.wav");
    EXPECT_EQ(app.engine.take(), savedToTheFallback + saveTakeAt("/media/usb/take.wav"));
    EXPECT_EQ(app.messages.texts(),
              (Strings{"Recording could not be saved as  /gone/AutoRec.wav\n" + kNoFolder + "\nnor as  " + kFallback +
                           "\n" + kNoFolder + "\n\nThe recording is kept: choose where to save it.",
                       "Recording saved as  /media/usb/take.wav"}));
    EXPECT_EQ(app.saveTakeDialog.setup.title, "Save Recorded File");
    EXPECT_EQ(app.panel.recorder.latestTakePath(), "/media/usb/take.wav") << "Play takes the file the user chose";
    expectIdle();

    app.files.folders.erase("/media/usb");
    app.clock.advance(-5);            // a take from the same second, so the same fallback name
    startAndEnd("/gone/AutoRec.wav"); // and this time the user cancels
    EXPECT_EQ(app.engine.take(), savedToTheFallback + kDiscardTake);
    EXPECT_EQ(app.messages.shown.back().text, "Recording Not Saved");
    expectIdle();
}

INSTANTIATE_TEST_SUITE_P(ScheduledTake, UnwritableTarget,
                         ::testing::Values(ScheduledEnd::stopButton, ScheduledEnd::stopHotkey, ScheduledEnd::time));

TEST_F(ScheduledStop, ADurationOfOneStopsAtTheFirstTickAndAHomeAtTheRootTakesTheFallback) {
    app.files.home = "/";
    startScheduledTake(1, "/gone/AutoRec.wav");
    app.clock.advance(1);
    app.scheduledStopTimer.tick();
    app.engine.deliver();
    EXPECT_EQ(app.panel.recorder.latestTakePath(), "/Murmora take 2024-10-04 13-05-07.wav") << "with one separator";
    EXPECT_TRUE(app.files.fileExists(app.panel.recorder.latestTakePath()));
    EXPECT_EQ(fallbackTakeName(0, 3), "Murmora take 1970-01-01 00-00-00 (3).wav");
}

TEST(LeftoverTakes, EachGoesToTheHomeFolderOrIsNamedWhereItIs) {
    FakePanel app;
    const std::string told = "Murmora ended during a recording.\n\nWhat was recorded until then is kept as  ";
    const std::string stuck = "/cache/takes/take-7-0.wav";
    for (const std::string path : {"/cache/takes/take-12-0.wav", "/cache/takes/take-40-0.wav", stuck.c_str()}) {
        app.files.add(path);
        app.takes.left.push_back({path, 1796562307}); // 2026-12-06 13:05:07 on the wall clock
    }
    app.files.undeletable.insert(stuck);
    app.start();
    const std::string first = "/home/user/Murmora take 2026-12-06 13-05-07.wav";
    const std::string second = "/home/user/Murmora take 2026-12-06 13-05-07 (2).wav";
    EXPECT_TRUE(app.files.fileExists(first));
    EXPECT_TRUE(app.files.fileExists(second));
    EXPECT_FALSE(app.files.fileExists("/cache/takes/take-12-0.wav"));
    EXPECT_EQ(app.messages.texts(), (Strings{told + first, told + second, told + stuck}));
    EXPECT_EQ(app.messages.shown.at(0).style, MessageStyle::exclamation);
}

TEST(LeftoverTakes, OneWhoseSaveDidNotFinishIsToldSo) {
    FakePanel app;
    const std::string path = "/cache/takes/take-12-0.wav";
    app.files.add(path);
    app.takes.left.push_back({path, 1796562307, true});
    app.start();
    const std::string recovered = "/home/user/Murmora take 2026-12-06 13-05-07.wav";
    EXPECT_TRUE(app.files.fileExists(recovered));
    EXPECT_EQ(app.messages.texts(), Strings{"Murmora ended while it saved a recording: the save did not finish.\n\n"
                                            "The recording is kept as  " +
                                            recovered});
    EXPECT_EQ(app.messages.shown.at(0).style, MessageStyle::exclamation);
}

} // namespace
} // namespace murmora::fakes
