#include "tests/schedule/schedule_fixture.h"

namespace murmora::fakes {
namespace {

using ScheduleWindow = ScheduleTest;

TEST_F(ScheduleWindow, OpeningDisarmsTheScheduleBeforeShowingTheWindow) {
    Arm(11, 0, 0, "AM");
    bool timer2WhileShown = true;
    std::string label5WhileShown;
    OpenWindow([&] {
        timer2WhileShown = app.Timer2.enabled;
        label5WhileShown = app.Label5.caption;
    });
    EXPECT_EQ(app.windows.scheduleWindowOpened, 2);
    EXPECT_FALSE(timer2WhileShown);
    EXPECT_EQ(label5WhileShown, "Record:") << "the labels keep their text while the window is open";
    EXPECT_EQ(app.SeeThroughTime.current(), "custom:109");
}

TEST_F(ScheduleWindow, EachSpinnersTextFollowsItAndStopsAtBothEnds) {
    const struct { FakeSpinner& spinner; FakeTextBox& text; const char* bottom; const char* top; } spinners[] = {
        {app.VScroll1, app.Text1, "1", "12"}, {app.VScroll2, app.Text2, "00", "59"},
        {app.VScroll3, app.Text3, "00", "59"}, {app.VScroll4, app.Text4, "AM", "PM"},
        {app.VScroll5, app.Text5, "0", "9"}, {app.VScroll6, app.Text6, "00", "59"},
        {app.VScroll7, app.Text7, "00", "59"}};
    for (const auto& s : spinners) {
        for (int step = 0; step < 71; ++step) s.spinner.stepUp();
        EXPECT_EQ(s.text.contents, s.top);
        for (int step = 0; step < 71; ++step) s.spinner.stepDown();
        EXPECT_EQ(s.text.contents, s.bottom);
    }
}

class FileButton : public ScheduleTest {
protected:
    // The "File" button answered with `answer`; returns the one message it showed.
    ShownMessage ChooseFile(std::optional<std::string> answer) {
        app.messages.shown.clear();
        app.Form2Dialog.answer(std::move(answer));
        app.form.form2.Command1Click();
        EXPECT_EQ(app.messages.shown.size(), 1u);
        return app.messages.shown.empty() ? ShownMessage{} : app.messages.shown.back();
    }
};

TEST_F(FileButton, AsksWithASaveDialogAndTheChosenFileBecomesTheTarget) {
    const ShownMessage told = ChooseFile("/home/user/night.wav");
    EXPECT_EQ(app.Form2Dialog.shownAs, Strings{"save"});
    EXPECT_EQ(app.Form2Dialog.setup.title, "Save File As");
    EXPECT_EQ(app.Form2Dialog.setup.filter, "Wav File (*.Wav)|*.Wav");
    EXPECT_EQ(app.Form2Dialog.setup.flags, 2054);
    EXPECT_EQ(told.text + "|" + told.title, "Recording will be saved as /home/user/night.wav|Murmora");
    EXPECT_EQ(told.style, MessageStyle::information);
    EXPECT_EQ(app.Text8.contents, "/home/user/night.wav");
}

TEST_F(FileButton, CancelAfterAChoiceGoesBackToTheDefaultTarget) {
    ChooseFile("/media/rec/a.wav");
    const ShownMessage told = ChooseFile(std::nullopt);
    EXPECT_EQ(told.text, "Recording will be saved as AutoRec.Wav in Root Directory");
    EXPECT_EQ(told.style, MessageStyle::exclamation);
    EXPECT_EQ(app.Text8.contents, DefaultTarget);
}

// The program folder is /opt/murmora.
TEST_F(FileButton, RefusesAPathHoldingTheProgramFolderButNotInOtherLetterCase) {
    for (const char* path : {"/opt/murmora/a.wav", "/opt/murmora-recordings/a.wav", "/mnt/copy/opt/murmora/a.wav"}) {
        ChooseFile("/home/user/night.wav");
        const ShownMessage told = ChooseFile(path);
        EXPECT_EQ(told.text, "Can not save Recording in Program Path") << path;
        EXPECT_EQ(told.style, MessageStyle::information);
        EXPECT_EQ(app.Text8.contents, "/home/user/night.wav") << path;
    }
    EXPECT_EQ(ChooseFile("/OPT/Murmora/a.wav").text, "Recording will be saved as /OPT/Murmora/a.wav");
    EXPECT_EQ(app.Text8.contents, "/OPT/Murmora/a.wav");
    app.files.program = "/";  // a program at the root refuses every file
    EXPECT_EQ(ChooseFile("/home/user/night.wav").text, "Can not save Recording in Program Path");
}

using ClosingTheWindow = ScheduleTest;

TEST_F(ClosingTheWindow, WithActivateTickedHidesItAndArmsTheSchedule) {
    std::int16_t cancel = 0;
    OpenWindow([&] {
        ChooseStart(1, 0, 0, "PM");
        app.Check1.checked = true;
        cancel = CloseByUser();
    });
    EXPECT_EQ(cancel, 1) << "the window is hidden, not unloaded";
    EXPECT_FALSE(app.windows.scheduleWindowShown);
    EXPECT_EQ(app.Label5.caption + app.Label6.caption, "Record:1:00:00 PM");
    EXPECT_EQ(app.mod.ScheduleBase, app.clock.time);
    EXPECT_EQ(app.mod.AutoSavePath, DefaultTarget);
    EXPECT_TRUE(app.Timer2.enabled);
    EXPECT_TRUE(app.messages.shown.empty());
}

TEST_F(ClosingTheWindow, WithActivateClearedClearsAPendingScheduleAndDeletesNothing) {
    Arm(1, 0, 0, "PM");
    app.files.add(DefaultTarget);
    OpenWindow([&] {
        app.Check1.checked = false;
        EXPECT_EQ(CloseByUser(), 1);
    });
    EXPECT_EQ(app.Label5.caption + app.Label6.caption, "");
    EXPECT_FALSE(app.Timer2.enabled);
    EXPECT_TRUE(app.files.fileExists(DefaultTarget));
}

TEST_F(ClosingTheWindow, AZeroDurationKeepsTheWindowOpenUntilADurationIsSet) {
    OpenWindow([this] {
        ChooseStart(2, 30, 0, "PM");
        ChooseDuration(0, 0, 0);
        app.Check1.checked = true;
        EXPECT_EQ(CloseByUser(), 1);
        EXPECT_TRUE(app.windows.scheduleWindowShown);
        EXPECT_FALSE(app.Timer2.enabled);
        EXPECT_EQ(app.Label6.caption, "2:30:00 PM") << "the labels are written before the refusal";
        ChooseDuration(0, 0, 30);
        CloseByUser();
    });
    EXPECT_EQ(app.messages.texts(), Strings{"Cannot Activate with Recording Duration = 0"});
    EXPECT_EQ(app.messages.shown.at(0).style, MessageStyle::exclamation);
    EXPECT_FALSE(app.windows.scheduleWindowShown);
    EXPECT_TRUE(app.Timer2.enabled);
    EXPECT_EQ(app.mod.AutoDurationSeconds, 30);
}

TEST_F(ClosingTheWindow, ReArmingWithoutChangesCountsAfreshToTheSameStartOrTheNextDays) {
    Arm(1, 0, 0, "PM");
    app.clock.setTimeOfDay(11, 0, 0);
    OpenWindow();
    EXPECT_EQ(app.mod.ScheduleBase, app.clock.time);
    EXPECT_EQ(app.mod.StartDelaySeconds, 7200);
    app.clock.setTimeOfDay(13, 0, 1);
    OpenWindow();
    EXPECT_EQ(app.mod.StartDelaySeconds, kSecondsPerDay - 1);
    TickAt(13, 0, 2);
    EXPECT_TRUE(app.mci.take().empty());
}

TEST_F(ClosingTheWindow, AHiddenTargetFileIsNotLookedFor) {
    const std::string hidden = "/home/user/.AutoRec.wav";
    app.files.add(hidden);
    OpenWindow([&] {
        app.Text8.contents = hidden;
        app.Check1.checked = true;
        CloseByUser();
    });
    EXPECT_TRUE(app.files.files.count(hidden));
    EXPECT_TRUE(app.messages.shown.empty());
}

TEST_F(ScheduleWindow, ANewDurationAndTargetApplyToTheRunningScheduledTake) {
    Arm(10, 0, 10, "AM", 60);
    TickAt(10, 0, 10);
    ASSERT_TRUE(app.m.AutoRecording);
    app.clock.setTimeOfDay(10, 0, 30);
    OpenWindow([this] {
        ChooseStart(10, 1, 30, "AM");
        ChooseDuration(0, 2, 0);
        app.Text8.contents = "/tmp/new.wav";
        CloseByUser();
    });
    app.mci.take();
    app.clock.setTimeOfDay(10, 1, 10);
    app.Timer3.tick();
    EXPECT_TRUE(app.mci.take().empty()) << "the old duration no longer ends it";
    TickAt(10, 1, 30);  // the new start comes while the take still runs
    EXPECT_EQ(app.messages.texts(), AlreadyRecording);
    app.clock.setTimeOfDay(10, 2, 10);
    app.Timer3.tick();
    EXPECT_EQ(app.mci.take(), (Commands{"stop capture", SaveCapture("/tmp/new.wav"), "close capture"}));
}

TEST_F(ScheduleWindow, ClosingAtShutdownNeitherArmsNorDeletesNorRefuses) {
    app.files.add(DefaultTarget);
    app.Check1.checked = true;
    ChooseDuration(0, 0, 0);
    app.Label5.caption = "kept";
    app.SeeThroughClose.click();
    ASSERT_TRUE(app.windows.scheduleWindowUnloaded);
    EXPECT_TRUE(app.files.fileExists(DefaultTarget));
    EXPECT_EQ(app.mod.ScheduleBase, 0);
    EXPECT_EQ(app.Label5.caption, "kept");
    EXPECT_TRUE(app.messages.shown.empty());
}

// Arming deletes nothing, nor stops a playback: a target already there (a scheduled take saved
// earlier, say) is replaced only when the new take is saved over it. The arming message says so,
// as it names a target folder that does not exist.
TEST_F(ScheduleWindow, ArmingKeepsAnExistingTargetAndSaysTheTakeWillReplaceIt) {
    const struct {
        std::string target;
        std::string told;
    } cases[] = {
        {DefaultTarget, "The schedule is armed. The file  " + DefaultTarget +
                            "  is already there: the scheduled recording will replace it when it is saved."},
        {"/media/stick/night.wav", "The folder of the scheduled recording's file  /media/stick/night.wav  does not "
                                   "exist.\n\nThe schedule is armed. If the recording cannot be saved there when it "
                                   "ends, it is saved under a dated name in your home folder instead."}};
    app.files.add(DefaultTarget, "the last scheduled take");
    app.mod.LastSaveScheduled = true;
    app.m.PlayMode = "playing";
    for (const auto& c : cases) {
        app.messages.shown.clear();
        app.Text8.contents = c.target;
        Arm(1, 0, 0, "PM");
        EXPECT_TRUE(app.Timer2.enabled);
        EXPECT_EQ(app.messages.texts(), Strings{c.told});
        EXPECT_EQ(app.messages.shown.at(0).style, MessageStyle::exclamation);
    }
    EXPECT_TRUE(app.mci.take().empty()) << "the playback goes on";
    const auto& kept = app.files.files[DefaultTarget];
    EXPECT_EQ(std::string(kept.begin(), kept.end()), "the last scheduled take");
}

} // namespace
} // namespace murmora::fakes
