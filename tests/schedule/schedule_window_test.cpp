#include "tests/schedule/schedule_fixture.h"

namespace murmora::fakes {
namespace {

using ScheduleWindow = ScheduleTest;

TEST_F(ScheduleWindow, OpeningDisarmsTheScheduleBeforeShowingTheWindow) {
    arm(11, 0, 0, "AM");
    bool startTimerWhileShown = true;
    std::string captionWhileShown;
    openWindow([&] {
        startTimerWhileShown = app.scheduleStartTimer.enabled;
        captionWhileShown = app.scheduleCaptionLabel.caption;
    });
    EXPECT_FALSE(startTimerWhileShown);
    EXPECT_EQ(captionWhileShown, "Record:") << "the labels keep their text while the window is open";
    EXPECT_EQ(app.scheduleButton.current(), "custom:109");
}

class FileButton : public ScheduleTest {
protected:
    // The "File" button answered with `answer`; returns the one message it showed.
    ShownMessage chooseFile(std::optional<std::string> answer) {
        app.messages.shown.clear();
        app.targetDialog.answer(std::move(answer));
        app.panel.schedule.onChooseTargetClicked();
        EXPECT_EQ(app.messages.shown.size(), 1u);
        return app.messages.shown.empty() ? ShownMessage{} : app.messages.shown.back();
    }
};

TEST_F(FileButton, AsksWithASaveDialogAndTheChosenFileBecomesTheTarget) {
    const ShownMessage told = chooseFile("/home/user/night.wav");
    EXPECT_EQ(app.targetDialog.shownAs, Strings{"save"});
    EXPECT_EQ(app.targetDialog.setup.title, "Save File As");
    EXPECT_EQ(app.targetDialog.setup.filter, (FileFilter{"Wav File (*.Wav)", {"*.Wav"}}));
    EXPECT_TRUE(app.targetDialog.setup.askBeforeOverwrite && app.targetDialog.setup.folderMustExist);
    EXPECT_EQ(told.text + "|" + told.title, "Recording will be saved as /home/user/night.wav|Murmora");
    EXPECT_EQ(told.style, MessageStyle::information);
    EXPECT_EQ(app.targetPathBox.contents, "/home/user/night.wav");
}

TEST_F(FileButton, CancelAfterAChoiceGoesBackToTheDefaultTarget) {
    chooseFile("/media/rec/a.wav");
    const ShownMessage told = chooseFile(std::nullopt);
    EXPECT_EQ(told.text, "Recording will be saved as AutoRec.wav in /home/user");
    EXPECT_EQ(told.style, MessageStyle::exclamation);
    EXPECT_EQ(app.targetPathBox.contents, kDefaultTarget);
}

// The program folder is /opt/murmora: a file inside it is refused, and one whose path only
// holds its text is not. Windows compares letters without regard to case.
TEST_F(FileButton, RefusesAFileInsideTheProgramFolder) {
#ifdef _WIN32
    const bool otherCaseRefused = true;
#else
    const bool otherCaseRefused = false;
#endif
    const std::pair<const char*, bool> cases[] = {
        {"/opt/murmora/a.wav", true},
        {"/opt/murmora/takes/a.wav", true},
        {"/opt//murmora/./a.wav", true},
        {"/opt/murmora/../murmora/a.wav", true},
        {"/opt/murmora-recordings/a.wav", false},
        {"/mnt/copy/opt/murmora/a.wav", false},
        {"/opt/murmora/../other/a.wav", false},
        {"/opt/murmor/a.wav", false},
        {"/OPT/Murmora/a.wav", otherCaseRefused},
    };
    for (const auto& [path, refused] : cases) {
        chooseFile("/home/user/night.wav");
        const ShownMessage told = chooseFile(path);
        EXPECT_EQ(told.text, refused ? "Can not save Recording in Program Path"
                                     : std::string("Recording will be saved as ") + path)
            << path;
        EXPECT_EQ(told.style, MessageStyle::information);
        EXPECT_EQ(app.targetPathBox.contents, refused ? "/home/user/night.wav" : path) << path;
    }
    app.files.program = "/"; // a program at the root refuses every file
    EXPECT_EQ(chooseFile("/home/user/night.wav").text, "Can not save Recording in Program Path");
}

using ClosingTheWindow = ScheduleTest;

TEST_F(ClosingTheWindow, WithActivateTickedHidesItAndArmsTheSchedule) {
    openWindow([&] {
        chooseStart(1, 0, 0, "PM");
        app.activateCheckBox.checked = true;
        closeByUser();
    });
    EXPECT_FALSE(app.windows.scheduleWindowShown);
    EXPECT_FALSE(app.windows.scheduleWindowUnloaded);
    EXPECT_EQ(app.scheduleCaptionLabel.caption + app.scheduleTimeLabel.caption, "Record:1:00:00 PM");
    EXPECT_TRUE(app.scheduleStartTimer.enabled);
    EXPECT_TRUE(app.messages.shown.empty());
    expectTakeStartsAt(13, 0, 0);
}

TEST_F(ClosingTheWindow, WithActivateClearedClearsAPendingScheduleAndDeletesNothing) {
    arm(1, 0, 0, "PM");
    app.files.add(kDefaultTarget);
    openWindow([&] {
        app.activateCheckBox.checked = false;
        closeByUser();
    });
    EXPECT_EQ(app.scheduleCaptionLabel.caption + app.scheduleTimeLabel.caption, "");
    EXPECT_FALSE(app.scheduleStartTimer.enabled);
    EXPECT_TRUE(app.files.fileExists(kDefaultTarget));
}

TEST_F(ClosingTheWindow, AZeroDurationKeepsTheWindowOpenUntilADurationIsSet) {
    openWindow([this] {
        chooseStart(2, 30, 0, "PM");
        chooseDuration(0, 0, 0);
        app.activateCheckBox.checked = true;
        closeByUser();
        EXPECT_TRUE(app.windows.scheduleWindowShown);
        EXPECT_FALSE(app.scheduleStartTimer.enabled);
        EXPECT_EQ(app.scheduleTimeLabel.caption, "2:30:00 PM") << "the labels are written before the refusal";
        chooseDuration(0, 0, 30);
        closeByUser();
    });
    EXPECT_EQ(app.messages.texts(), Strings{"Cannot Activate with Recording Duration = 0"});
    EXPECT_EQ(app.messages.shown.at(0).style, MessageStyle::exclamation);
    EXPECT_FALSE(app.windows.scheduleWindowShown);
    EXPECT_TRUE(app.scheduleStartTimer.enabled);
    EXPECT_EQ(app.panel.schedule.takeSeconds(), 30);
}

TEST_F(ClosingTheWindow, ReArmingWithoutChangesCountsAfreshToTheSameStartOrTheNextDays) {
    arm(1, 0, 0, "PM");
    app.clock.setTimeOfDay(11, 0, 0);
    openWindow();
    tickAt(12, 59, 59);
    EXPECT_TRUE(app.engine.take().empty()) << "armed anew at 11:00:00 for 1:00:00 PM";
    app.clock.setTimeOfDay(13, 0, 1);
    openWindow();
    tickAt(13, 0, 2);
    EXPECT_TRUE(app.engine.take().empty());
    app.clock.advance(kSecondsPerDay - 3);
    app.scheduleStartTimer.tick();
    EXPECT_TRUE(app.engine.take().empty());
    app.clock.advance(1);
    app.scheduleStartTimer.tick();
    EXPECT_EQ(app.engine.take(), kTakeStarted) << "the next day at 1:00:00 PM";
}

TEST_F(ScheduleWindow, ANewDurationAndTargetApplyToTheRunningScheduledTake) {
    arm(10, 0, 10, "AM", 60);
    tickAt(10, 0, 10);
    ASSERT_TRUE(app.scheduledStopTimer.enabled);
    app.clock.setTimeOfDay(10, 0, 30);
    openWindow([this] {
        chooseStart(10, 1, 30, "AM");
        chooseDuration(0, 2, 0);
        app.targetPathBox.setText("/tmp/new.wav");
        closeByUser();
    });
    app.engine.take();
    app.clock.setTimeOfDay(10, 1, 10);
    app.scheduledStopTimer.tick();
    EXPECT_TRUE(app.engine.take().empty()) << "the old duration no longer ends it";
    tickAt(10, 1, 30); // the new start comes while the take still runs
    EXPECT_EQ(app.messages.texts(), kAlreadyRecording);
    app.clock.setTimeOfDay(10, 2, 10);
    app.scheduledStopTimer.tick();
    app.engine.deliver();
    EXPECT_EQ(app.engine.take(), (EngineCalls{{EngineCall::stopTake, {}}, saveTakeAt("/tmp/new.wav")}));
}

TEST_F(ScheduleWindow, ClosingAtShutdownNeitherArmsNorDeletesNorRefuses) {
    app.files.add(kDefaultTarget);
    app.activateCheckBox.checked = true;
    chooseDuration(0, 0, 0);
    app.scheduleCaptionLabel.caption = "kept";
    app.closeButton.click();
    ASSERT_TRUE(app.windows.scheduleWindowUnloaded);
    EXPECT_TRUE(app.files.fileExists(kDefaultTarget));
    EXPECT_FALSE(app.scheduleStartTimer.enabled);
    EXPECT_EQ(app.scheduleCaptionLabel.caption, "kept");
    EXPECT_TRUE(app.messages.shown.empty());
}

// Arming deletes nothing, nor stops a playback: a target already there (a scheduled take saved
// earlier, say) is replaced only when the new take is saved over it. The arming message says so,
// as it names a target folder that does not exist.
TEST_F(ScheduleWindow, ArmingKeepsAnExistingTargetAndSaysTheTakeWillReplaceIt) {
    const struct {
        std::string target;
        std::string told;
    } cases[] = {{kDefaultTarget, "The schedule is armed. The file  " + kDefaultTarget +
                                      "  is already there: the scheduled recording will replace it when it is saved."},
                 {"/media/stick/night.wav",
                  "The folder of the scheduled recording's file  /media/stick/night.wav  does not "
                  "exist.\n\nThe schedule is armed. If the recording cannot be saved there when it "
                  "ends, it is saved under a dated name in your home folder instead."}};
    app.files.add(kDefaultTarget, "the last scheduled take");
    app.saveTakeDialog.answer("/home/user/earlier.wav"); // a take that plays meanwhile
    app.hotkeys.press(0);
    app.hotkeys.press(1);
    app.engine.deliver();
    app.playButton.click();
    app.engine.take();
    for (const auto& c : cases) {
        app.messages.shown.clear();
        app.targetPathBox.setText(c.target);
        arm(1, 0, 0, "PM");
        EXPECT_TRUE(app.scheduleStartTimer.enabled);
        EXPECT_EQ(app.messages.texts(), Strings{c.told});
        EXPECT_EQ(app.messages.shown.at(0).style, MessageStyle::exclamation);
    }
    EXPECT_TRUE(app.engine.take().empty()) << "the playback goes on";
    const auto& kept = app.files.files[kDefaultTarget];
    EXPECT_EQ(std::string(kept.begin(), kept.end()), "the last scheduled take");
}

// Windows makes "night.wav" of "night.wav. ": the schedule arms, warns and saves by that name.
TEST_F(ScheduleWindow, ArmingTakesTheNameTheSystemWillCreate) {
    app.files.rewrittenNames["/home/user/night.wav. "] = "/home/user/night.wav";
    app.files.add("/home/user/night.wav", "an earlier take");
    app.targetPathBox.setText("/home/user/night.wav. ");
    arm(1, 0, 0, "PM");
    EXPECT_EQ(app.targetPathBox.contents, "/home/user/night.wav");
    EXPECT_EQ(app.messages.texts(),
              Strings{"The schedule is armed. The file  /home/user/night.wav  is already there: the scheduled "
                      "recording will replace it when it is saved."});
}

} // namespace
} // namespace murmora::fakes
