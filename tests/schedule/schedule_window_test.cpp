#include "tests/schedule/schedule_fixture.h"

namespace murmora::fakes {
namespace {

// ---- Opening the window ----

using OpeningTheWindow = ScheduleTest;

TEST_F(OpeningTheWindow, DisarmsTheScheduleBeforeShowingTheWindow) {
    Arm(11, 0, 0, "AM");
    ASSERT_TRUE(app.Timer2.enabled);
    bool timer2WhileShown = true;
    std::string label5WhileShown;
    OpenWindow([&] {
        timer2WhileShown = app.Timer2.enabled;
        label5WhileShown = app.Label5.caption;
    });
    EXPECT_EQ(app.windows.form2Opened, 2);
    EXPECT_FALSE(timer2WhileShown);
    EXPECT_EQ(label5WhileShown, "Record:") << "the labels keep their text while the window is open";
    EXPECT_EQ(app.SeeThroughTime.Current(), "custom:109");
    EXPECT_EQ(app.m.TimeButtonState, ButtonReleased);
}

// ---- The spinners ----

struct SpinnerEnds {
    FakeScrollBar FakeApp::*spinner;
    FakeTextBox FakeApp::*text;
    const char* bottomText;
    const char* topText;
};

class Spinner : public ScheduleTest, public ::testing::WithParamInterface<SpinnerEnds> {};

TEST_P(Spinner, TextFollowsAndStopsAtBothEnds) {
    FakeScrollBar& spinner = app.*GetParam().spinner;
    FakeTextBox& text = app.*GetParam().text;
    for (int step = 0; step < 70; ++step) spinner.StepUp();
    EXPECT_EQ(text.text, GetParam().topText);
    spinner.StepUp();
    EXPECT_EQ(text.text, GetParam().topText);
    for (int step = 0; step < 70; ++step) spinner.StepDown();
    EXPECT_EQ(text.text, GetParam().bottomText);
    spinner.StepDown();
    EXPECT_EQ(text.text, GetParam().bottomText);
}

INSTANTIATE_TEST_SUITE_P(AllSeven, Spinner,
                         ::testing::Values(SpinnerEnds{&FakeApp::VScroll1, &FakeApp::Text1, "1", "12"},
                                           SpinnerEnds{&FakeApp::VScroll2, &FakeApp::Text2, "00", "59"},
                                           SpinnerEnds{&FakeApp::VScroll3, &FakeApp::Text3, "00", "59"},
                                           SpinnerEnds{&FakeApp::VScroll4, &FakeApp::Text4, "AM", "PM"},
                                           SpinnerEnds{&FakeApp::VScroll5, &FakeApp::Text5, "0", "9"},
                                           SpinnerEnds{&FakeApp::VScroll6, &FakeApp::Text6, "00", "59"},
                                           SpinnerEnds{&FakeApp::VScroll7, &FakeApp::Text7, "00", "59"}));

TEST_F(ScheduleTest, HourAtTwelveStaysThereAndTheScheduleReadsIt) {
    ChooseStart(12, 0, 0, "PM");
    app.VScroll1.StepUp();
    EXPECT_EQ(app.Text1.text, "12");
    app.form.trigger.SetAlarm();
    EXPECT_EQ(app.mod.AlarmTimeSeconds, 43200);
}

// ---- The "File" button ----

class FileButton : public ScheduleTest {
protected:
    void ChooseFile(std::optional<std::string> answer) {
        app.Form2Dialog.Answers(std::move(answer));
        app.form.form2.Command1Click();
    }
};

TEST_F(FileButton, AsksWithASaveDialogForWavFiles) {
    ChooseFile("/home/user/night.wav");
    EXPECT_EQ(app.Form2Dialog.shownAs, (std::vector<std::string>{"save"}));
    EXPECT_EQ(app.Form2Dialog.setup.DialogTitle, "Save File As");
    EXPECT_EQ(app.Form2Dialog.setup.Filter, "Wav File (*.Wav)|*.Wav");
    EXPECT_EQ(app.Form2Dialog.setup.Flags, 2054);
}

TEST_F(FileButton, ChosenFileBecomesTheTarget) {
    ChooseFile("/home/user/night.wav");
    ASSERT_EQ(app.messages.shown.size(), 1u);
    EXPECT_EQ(app.messages.shown[0].prompt, "Recording will be saved as /home/user/night.wav");
    EXPECT_EQ(app.messages.shown[0].style, vbInformation);
    EXPECT_EQ(app.messages.shown[0].title, "Murmora");
    EXPECT_EQ(app.Text8.text, "/home/user/night.wav");
}

TEST_F(FileButton, CancelAfterAChoiceGoesBackToTheDefaultTarget) {
    ChooseFile("/media/rec/a.wav");
    app.messages.shown.clear();
    ChooseFile(std::nullopt);
    ASSERT_EQ(app.messages.shown.size(), 1u);
    EXPECT_EQ(app.messages.shown[0].prompt, "Recording will be saved as AutoRec.Wav in Root Directory");
    EXPECT_EQ(app.messages.shown[0].style, vbExclamation);
    EXPECT_EQ(app.messages.shown[0].title, "Murmora");
    EXPECT_EQ(app.Text8.text, DefaultTarget);
}

class ProgramFolderRefusal : public FileButton, public ::testing::WithParamInterface<std::string> {};

TEST_P(ProgramFolderRefusal, KeepsTheEarlierTarget) {
    ChooseFile("/home/user/night.wav");
    app.messages.shown.clear();
    ChooseFile(GetParam());
    ASSERT_EQ(app.messages.shown.size(), 1u);
    EXPECT_EQ(app.messages.shown[0].prompt, "Can not save Recording in Program Path");
    EXPECT_EQ(app.messages.shown[0].style, vbInformation);
    EXPECT_EQ(app.Text8.text, "/home/user/night.wav");
}

INSTANTIATE_TEST_SUITE_P(PathHoldsTheProgramFolder, ProgramFolderRefusal,
                         ::testing::Values("/opt/murmora/a.wav", "/opt/murmora-recordings/a.wav",
                                           "/opt/murmora/takes/a.wav", "/mnt/copy/opt/murmora/a.wav"));

TEST_F(FileButton, ProgramFolderInOtherLetterCaseIsAccepted) {
    ChooseFile("/OPT/Murmora/a.wav");
    EXPECT_EQ(app.messages.Prompts(), (std::vector<std::string>{"Recording will be saved as /OPT/Murmora/a.wav"}));
    EXPECT_EQ(app.Text8.text, "/OPT/Murmora/a.wav");
}

TEST_F(FileButton, ProgramAtTheRootRefusesEveryFile) {
    app.files.programFolder = "/";
    ChooseFile("/home/user/night.wav");
    EXPECT_EQ(app.messages.Prompts(), (std::vector<std::string>{"Can not save Recording in Program Path"}));
    EXPECT_EQ(app.Text8.text, DefaultTarget);
}

// ---- Closing the window ----

using ClosingTheWindow = ScheduleTest;

TEST_F(ClosingTheWindow, WithActivateClearedHidesAndClearsAPendingSchedule) {
    Arm(1, 0, 0, "PM");
    app.files.Add(DefaultTarget);
    std::int16_t cancel = 0;
    OpenWindow([&] {
        app.Check1.value = 0;
        cancel = CloseByUser();
    });
    EXPECT_EQ(cancel, 1) << "the window is hidden, not unloaded";
    EXPECT_FALSE(app.windows.form2Shown);
    EXPECT_EQ(app.Label5.caption, "");
    EXPECT_EQ(app.Label6.caption, "");
    EXPECT_FALSE(app.Timer2.enabled);
    EXPECT_TRUE(app.files.FileExists(DefaultTarget));
    EXPECT_TRUE(app.messages.shown.empty());
}

TEST_F(ClosingTheWindow, WithActivateTickedArmsTheSchedule) {
    std::int16_t cancel = 0;
    OpenWindow([&] {
        ChooseStart(1, 0, 0, "PM");
        app.Check1.value = 1;
        cancel = CloseByUser();
    });
    EXPECT_EQ(cancel, 1);
    EXPECT_FALSE(app.windows.form2Shown);
    EXPECT_EQ(app.Label5.caption, "Record:");
    EXPECT_EQ(app.Label6.caption, "1:00:00 PM");
    EXPECT_EQ(app.mod.AutoDurationSeconds, 60);
    EXPECT_EQ(app.mod.StartDelaySeconds, 10800);
    EXPECT_EQ(app.mod.ScheduleBase, app.clock.now);
    EXPECT_EQ(app.mod.AutoSavePath, DefaultTarget);
    EXPECT_TRUE(app.Timer2.enabled);
    EXPECT_TRUE(app.messages.shown.empty());
    EXPECT_TRUE(app.mci.Take().empty());
}

TEST_F(ClosingTheWindow, ZeroDurationKeepsTheWindowOpenUntilADurationIsSet) {
    OpenWindow([this] {
        ChooseStart(2, 30, 0, "PM");
        ChooseDuration(0, 0, 0);
        app.Check1.value = 1;
        EXPECT_EQ(CloseByUser(), 1);
        EXPECT_EQ(app.messages.shown.size(), 1u);
        EXPECT_TRUE(app.windows.form2Shown);
        EXPECT_FALSE(app.Timer2.enabled);
        EXPECT_EQ(app.Label5.caption, "Record:");
        EXPECT_EQ(app.Label6.caption, "2:30:00 PM");

        ChooseDuration(0, 0, 30);
        CloseByUser();
    });
    ASSERT_EQ(app.messages.shown.size(), 1u);
    EXPECT_EQ(app.messages.shown[0].prompt, "Cannot Activate with Recording Duration = 0");
    EXPECT_EQ(app.messages.shown[0].style, vbExclamation);
    EXPECT_EQ(app.messages.shown[0].title, "Murmora");
    EXPECT_FALSE(app.windows.form2Shown);
    EXPECT_TRUE(app.Timer2.enabled);
    EXPECT_EQ(app.mod.AutoDurationSeconds, 30);
    EXPECT_EQ(app.mod.StartDelaySeconds, 16200);
}

TEST_F(ClosingTheWindow, ReArmingWithoutChangesCountsAfreshToTheSameStart) {
    Arm(1, 0, 0, "PM");
    app.clock.SetTimeOfDay(11, 0, 0);
    OpenWindow();
    EXPECT_TRUE(app.Timer2.enabled);
    EXPECT_EQ(app.mod.ScheduleBase, app.clock.now);
    EXPECT_EQ(app.mod.StartDelaySeconds, 7200);
    TickAt(12, 59, 59);
    EXPECT_TRUE(app.mci.Take().empty());
    TickAt(13, 0, 0);
    EXPECT_EQ(app.mci.Take(), ScheduledStart);
}

TEST_F(ClosingTheWindow, ReArmingAfterTheStartTimePassedMovesItToTheNextDay) {
    Arm(10, 30, 0, "AM");
    app.clock.SetTimeOfDay(10, 45, 0);
    OpenWindow();
    EXPECT_EQ(app.mod.StartDelaySeconds, SecondsPerDay - 900);
    TickAt(10, 45, 1);
    EXPECT_TRUE(app.mci.Take().empty());
}

// ---- A file already at the target ----

class ExistingTarget : public ScheduleTest {
protected:
    void SetUp() override {
        ScheduleTest::SetUp();
        app.files.Add(DefaultTarget);
        // The file must still be there while its playback is stopped.
        app.mci.respond = [this](const std::string& command, std::string&) {
            if (command == "stop voice1") existedAtStop = app.files.FileExists(DefaultTarget);
            return 0;
        };
    }
    bool existedAtStop = false;
};

TEST_F(ExistingTarget, IsDeletedOnClosingAfterItsPlaybackIsStopped) {
    app.mod.LastSaveScheduled = true;
    app.m.PlayFileName = DefaultTarget;
    app.m.PlayMode = "playing";
    Arm(1, 0, 0, "PM");
    EXPECT_EQ(app.mci.Take(), (Commands{"stop voice1", "close voice1"}));
    EXPECT_TRUE(existedAtStop);
    EXPECT_FALSE(app.files.FileExists(DefaultTarget));
    EXPECT_TRUE(app.messages.shown.empty());
    EXPECT_TRUE(app.Timer2.enabled);
}

TEST_F(ExistingTarget, AfterAManualSaveOnlyItsOwnPlaybackIsStopped) {
    app.mod.LastSaveScheduled = false;
    app.m.PlayFileName = "/HOME/USER/AutoRec.WAV";  // the target in other letter case
    app.m.PlayMode = "playing";
    Arm(1, 0, 0, "PM");
    EXPECT_EQ(app.mci.Take(), (Commands{"stop voice1", "close voice1"}));
    EXPECT_FALSE(app.files.FileExists(DefaultTarget));
}

TEST_F(ExistingTarget, AnotherFilePlayingGoesOn) {
    app.mod.LastSaveScheduled = false;
    app.m.PlayFileName = "/home/user/other.wav";
    app.m.PlayMode = "playing";
    Arm(1, 0, 0, "PM");
    EXPECT_TRUE(app.mci.Take().empty());
    EXPECT_FALSE(app.files.FileExists(DefaultTarget));
}

TEST_F(ExistingTarget, StaysWhenTheScheduleIsNotArmed) {
    OpenWindow([this] {
        app.Check1.value = 1;
        ChooseDuration(0, 0, 0);
        CloseByUser();
        app.Check1.value = 0;
        CloseByUser();
    });
    EXPECT_TRUE(app.files.FileExists(DefaultTarget));
}

TEST_F(ExistingTarget, HiddenFileIsNotLookedFor) {
    const std::string hidden = "/home/user/.AutoRec.wav";
    app.files.Add(hidden);
    OpenWindow([this, hidden] {
        app.Text8.text = hidden;
        app.Check1.value = 1;
        CloseByUser();
    });
    EXPECT_TRUE(app.files.files.count(hidden));
    EXPECT_TRUE(app.messages.shown.empty());
}

// ---- A scheduled take runs while the window is re-armed ----

TEST_F(ScheduleTest, NewDurationAndTargetApplyToTheRunningScheduledTake) {
    Arm(10, 0, 10, "AM", 60);
    TickAt(10, 0, 10);
    ASSERT_TRUE(app.m.AutoRecording);
    app.clock.SetTimeOfDay(10, 0, 30);
    OpenWindow([this] {
        ChooseStart(10, 1, 30, "AM");
        ChooseDuration(0, 2, 0);
        app.Text8.text = "/tmp/new.wav";
        CloseByUser();
    });
    app.mci.Take();
    EXPECT_EQ(app.mod.AutoDurationSeconds, 120);
    EXPECT_TRUE(app.Timer3.enabled);
    app.clock.SetTimeOfDay(10, 1, 10);
    app.Timer3.Tick();
    EXPECT_TRUE(app.mci.Take().empty()) << "the old duration no longer ends it";

    TickAt(10, 1, 30);  // the new start comes while the take still runs
    EXPECT_EQ(app.messages.Prompts(), (std::vector<std::string>{"AutoRecord not initiated, as already Recording"}));

    app.clock.SetTimeOfDay(10, 2, 10);
    app.Timer3.Tick();
    EXPECT_EQ(app.mci.Take(), (Commands{"stop capture", "save capture /tmp/new.wav", "close capture"}));
    EXPECT_TRUE(app.mod.LastSaveScheduled);
}

// ---- Shutdown ----

using ShutdownWithTheWindowLoaded = ScheduleTest;

TEST_F(ShutdownWithTheWindowLoaded, NeitherArmsNorDeletes) {
    app.files.Add(DefaultTarget);
    app.Check1.value = 1;
    app.Label5.caption = "kept";
    app.SeeThroughClose.Click();
    ASSERT_TRUE(app.windows.form2Unloaded);
    EXPECT_TRUE(app.files.FileExists(DefaultTarget));
    EXPECT_FALSE(app.Timer2.enabled);
    EXPECT_EQ(app.mod.ScheduleBase, 0);
    EXPECT_EQ(app.Label5.caption, "kept");
    EXPECT_TRUE(app.messages.shown.empty());
}

TEST_F(ShutdownWithTheWindowLoaded, ShowsNoZeroDurationMessage) {
    app.Check1.value = 1;
    ChooseDuration(0, 0, 0);
    std::int16_t cancel = 0;
    app.form.form2.QueryUnload(cancel, vbFormCode);
    EXPECT_EQ(cancel, 0) << "the window may be unloaded";
    EXPECT_TRUE(app.messages.shown.empty());
}

// ---- A target that cannot be written is named at arming ----

using UnwritableTarget = ScheduleTest;

TEST_F(UnwritableTarget, FileThatCannotBeDeletedIsNamedAndTheScheduleArmed) {
    app.files.Add(DefaultTarget);
    app.files.undeletable.insert(DefaultTarget);
    Arm(1, 0, 0, "PM");
    ASSERT_EQ(app.messages.shown.size(), 1u);
    EXPECT_NE(app.messages.shown[0].prompt.find(DefaultTarget), std::string::npos);
    EXPECT_NE(app.messages.shown[0].prompt.find("could not be deleted"), std::string::npos);
    EXPECT_EQ(app.messages.shown[0].style, vbExclamation);
    EXPECT_EQ(app.messages.shown[0].title, "Murmora");
    EXPECT_FALSE(app.windows.form2Shown);
    EXPECT_TRUE(app.Timer2.enabled);
    EXPECT_TRUE(app.files.FileExists(DefaultTarget));
}

TEST_F(UnwritableTarget, MissingFolderIsNamedAndTheTakeLandsInTheHomeFolder) {
    const std::string target = "/media/stick/night.wav";
    OpenWindow([this, target] {
        app.Text8.text = target;
        app.Check1.value = 1;
        ChooseStart(10, 0, 5, "AM");
        ChooseDuration(0, 0, 2);
        CloseByUser();
    });
    ASSERT_EQ(app.messages.shown.size(), 1u);
    EXPECT_NE(app.messages.shown[0].prompt.find(target), std::string::npos);
    EXPECT_NE(app.messages.shown[0].prompt.find("does not exist"), std::string::npos);
    EXPECT_EQ(app.messages.shown[0].style, vbExclamation);
    EXPECT_TRUE(app.Timer2.enabled);

    // The take's own fallback keeps it when the folder is still missing at the end.
    app.mci.respond = [](const std::string& command, std::string&) {
        return command.find("/media/stick/") == std::string::npos ? 0 : 275;
    };
    TickAt(10, 0, 5);
    app.clock.SetTimeOfDay(10, 0, 7);
    app.Timer3.Tick();
    EXPECT_TRUE(app.mci.Sent("save capture /home/user/Murmora take 2024-10-04 10-00-05.wav"));
    EXPECT_TRUE(app.mod.LastSaveScheduled);
}

} // namespace
} // namespace murmora::fakes
