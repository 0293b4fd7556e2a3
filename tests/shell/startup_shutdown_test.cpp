#include <gtest/gtest.h>

#include "tests/fakes/fake_app.h"

namespace murmora::fakes {
namespace {

using Commands = std::vector<std::string>;

TEST(StartUp, LeavesThePanelIdleWithEveryTimerOffAndTheLabelsSet) {
    FakeApp app;
    app.form.FormLoad();
    EXPECT_EQ(app.m.RecordingState, RecorderIdle);
    EXPECT_FALSE(app.m.AutoRecording);
    EXPECT_FALSE(app.mod.LastSaveScheduled);
    EXPECT_FALSE(app.Timer1.enabled);
    EXPECT_FALSE(app.Timer2.enabled);
    EXPECT_FALSE(app.Timer3.enabled);
    EXPECT_EQ(app.m.RecordSeconds, 0);
    EXPECT_EQ(app.Label3.caption, "\u00A9Murmor");
    EXPECT_EQ(app.Label4.caption, "v 1.1");
    for (FakeLabel* label : {&app.Label1, &app.Label2, &app.Label5, &app.Label6}) EXPECT_EQ(label->caption, "");
    EXPECT_EQ(app.Label1.left, 10);
    EXPECT_EQ(app.Label2.left, 10);
    for (auto state : {app.m.CutButtonState, app.m.PlayButtonState, app.m.WavButtonState, app.m.TimeButtonState,
                       app.m.RecordButtonState, app.m.MinButtonState, app.m.CloseButtonState}) {
        EXPECT_EQ(state, ButtonReleased);
    }
    EXPECT_TRUE(app.messages.shown.empty());
    EXPECT_TRUE(app.mci.commands.empty()) << "nothing of the audio layer starts at launch";
}

TEST(StartUp, GivesTheScheduleWindowItsDefaults) {
    FakeApp app;
    app.form.FormLoad();
    const Commands texts{app.Text1.text, app.Text2.text, app.Text3.text, app.Text4.text,
                         app.Text5.text, app.Text6.text, app.Text7.text};
    EXPECT_EQ(texts, (Commands{"1", "00", "00", "AM", "0", "01", "00"}));
    EXPECT_EQ(app.Text8.text, "/home/user/AutoRec.wav");
    EXPECT_EQ(app.Check1.value, 0);
    EXPECT_FALSE(app.windows.form2Shown);
}

TEST(StartUp, DefaultTargetHasNoDoubledSeparatorWhenHomeIsTheRoot) {
    FakeApp app;
    app.files.homeFolder = "/";
    app.form.FormLoad();
    EXPECT_EQ(app.Text8.text, "/AutoRec.wav");
}

TEST(StartUp, ShowsTheSkinAndEveryReleasedPictureInOrder) {
    FakeApp app;
    app.form.FormLoad();
    EXPECT_EQ(app.windows.background, "mrskin");
    EXPECT_EQ(app.PictureRecord.Current(), "recordbuttonup");
    EXPECT_EQ(app.SeeThroughCut.Current(), "custom:105");
    EXPECT_EQ(app.SeeThroughPlay.Current(), "custom:107");
    EXPECT_EQ(app.SeeThroughTime.Current(), "custom:109");
    EXPECT_EQ(app.SeeThroughWav.Current(), "custom:111");
    EXPECT_EQ(app.SeeThroughClose.Current(), "custom:103");
    EXPECT_EQ(app.SeeThroughMin.Current(), "custom:101");
    EXPECT_EQ(app.SeeThroughMin.pictureArguments.back(), std::make_pair(0.0f, 0.0f));
    EXPECT_TRUE(app.files.FilesIn("/tmp", "~rs").empty()) << "every temporary picture file is deleted";
}

TEST(StartUp, AppliesTheOutlineOnceAndUnloadDeletesIt) {
    FakeApp app;
    app.form.FormLoad();
    EXPECT_EQ(app.windows.outlineApplied, 1);
    ASSERT_TRUE(app.windows.outline);
    EXPECT_TRUE(app.windows.outline->Contains(200, 133));
    EXPECT_FALSE(app.windows.outline->Contains(1, 1));
    EXPECT_EQ(app.regions.LiveCount(), 1u) << "only ShapeRegion outlives start-up";
    app.form.FormUnload();
    EXPECT_EQ(app.regions.LiveCount(), 0u);
}

TEST(StartUp, AMissingButtonPictureLeavesTheButtonEmptyAndGoesOn) {
    FakeApp app;
    app.resources.custom.erase(107);
    app.form.FormLoad();
    EXPECT_EQ(app.SeeThroughPlay.Current(), "");
    EXPECT_EQ(app.SeeThroughMin.Current(), "custom:101");
    EXPECT_EQ(app.files.FilesIn("/tmp", "~rs").size(), 1u);
}

TEST(StartUp, AnUnreadableButtonPictureOrAMissingSkinStopsStartUp) {
    FakeApp unreadable;
    const std::string garbage = "not a picture";
    unreadable.resources.custom[105] = std::vector<unsigned char>(garbage.begin(), garbage.end());
    EXPECT_THROW(unreadable.form.FormLoad(), PictureError);

    FakeApp noSkin;
    noSkin.resources.bitmaps.erase("MRSKIN");
    EXPECT_THROW(noSkin.form.FormLoad(), PictureError);
}

struct HotkeyCase {
    std::set<int> taken;
    const char* message;
    std::vector<int> unregisteredAtUnload;
};

class HotkeyRegistration : public ::testing::TestWithParam<HotkeyCase> {};

TEST_P(HotkeyRegistration, ReportsFailuresInOneMessageAndReleasesOnlyWhatItHolds) {
    const HotkeyCase& c = GetParam();
    FakeApp app;
    app.hotkeys.takenByOthers = c.taken;
    app.form.FormLoad();
    EXPECT_EQ(app.hotkeys.combinations, (std::vector<std::pair<unsigned, unsigned>>{{3u, 0x52u}, {3u, 0x53u}}));
    if (c.message) {
        ASSERT_EQ(app.messages.shown.size(), 1u);
        EXPECT_EQ(app.messages.shown[0].prompt, c.message);
        EXPECT_EQ(app.messages.shown[0].style, vbCritical);
        EXPECT_EQ(app.messages.shown[0].title, "Hotkey Assign");
    } else {
        EXPECT_TRUE(app.messages.shown.empty());
    }
    EXPECT_EQ(app.mod.HotkeyRecordRegistered, !c.taken.count(0));
    EXPECT_EQ(app.mod.HotkeyStopRegistered, !c.taken.count(1));
    app.form.FormUnload();
    EXPECT_EQ(app.hotkeys.unregistered, c.unregisteredAtUnload);
}

INSTANTIATE_TEST_SUITE_P(
    AllOutcomes, HotkeyRegistration,
    ::testing::Values(HotkeyCase{{}, nullptr, {0, 1}},
                      HotkeyCase{{1}, "Can not register Hotkey Cntl+Alt+S to Stop Recording", {0}},
                      HotkeyCase{{0}, "Can not register Hotkey Cntl+Alt+R to Record", {1}},
                      HotkeyCase{{0, 1}, "Can not register Hotkeys Cntl+Alt+R and Cntl+Alt+S", {}}));

TEST(Hotkeys, TheFilterIsInPlaceAfterStartUpAndDispatchesOnlyIdsZeroAndOne) {
    FakeApp app;
    FakeApp::Start(app);
    ASSERT_TRUE(app.hotkeys.filter);
    app.hotkeys.Press(2);
    app.hotkeys.Press(256);  // does not fit 8 bits: must not wrap round to id 0
    EXPECT_TRUE(app.mci.commands.empty());
    EXPECT_EQ(app.m.RecordingState, RecorderIdle);
}

TEST(Shutdown, CloseWithoutATakeStopsOnlyThePlaybackDevice) {
    FakeApp app;
    FakeApp::Start(app);
    app.Timer2.enabled = true;
    app.form.CloseAction();
    EXPECT_EQ(app.mci.Take(), (Commands{"stop voice1", "close voice1"}));
    EXPECT_FALSE(app.Timer1.enabled);
    EXPECT_FALSE(app.Timer2.enabled);
    EXPECT_FALSE(app.Timer3.enabled);
    EXPECT_EQ(app.SeeThroughClose.Current(), "custom:103");
    EXPECT_TRUE(app.windows.form1Unloaded);
    EXPECT_TRUE(app.windows.form2Unloaded);
    EXPECT_TRUE(app.windows.ended);
    EXPECT_TRUE(app.messages.shown.empty());
}

TEST(Shutdown, CloseDuringATakeDiscardsItWithoutAQuestion) {
    FakeApp app;
    FakeApp::Start(app);
    app.m.RecordingState = RecorderBusy;
    app.Timer1.enabled = true;
    app.form.CloseAction();
    EXPECT_EQ(app.mci.Take(), (Commands{"stop capture", "close capture", "stop voice1", "close voice1"}));
    EXPECT_FALSE(app.Timer1.enabled);
    EXPECT_TRUE(app.messages.shown.empty());
    EXPECT_TRUE(app.CommonDialog1.shownAs.empty());
    EXPECT_EQ(app.m.RecordingState, RecorderBusy);
}

TEST(Shutdown, UnloadKeepsTheResultCodeOfThePlaybackCommands) {
    FakeApp app;
    FakeApp::Start(app);
    app.mci.respond = [](const std::string& command, std::string&) { return command == "close voice1" ? 263 : 0; };
    app.form.FormUnload();
    EXPECT_EQ(app.m.MciResult, "263");
}

TEST(Shutdown, TheWindowManagersCloseRunsOnlyTheUnloadSequence) {
    FakeApp app;
    FakeApp::Start(app);
    app.m.RecordingState = RecorderBusy;
    app.form.FormUnload();
    EXPECT_EQ(app.mci.Take(), (Commands{"stop voice1", "close voice1"})) << "capture gets no command";
    EXPECT_EQ(app.hotkeys.unregistered, (std::vector<int>{0, 1}));
}

TEST(Minimize, MinimizesAndPutsBackTheReleasedPicture) {
    FakeApp app;
    FakeApp::Start(app);
    app.m.MinButtonState = ButtonPressed;
    app.form.MinimizeAction();
    EXPECT_TRUE(app.windows.minimized);
    EXPECT_EQ(app.m.MinButtonState, ButtonReleased);
    EXPECT_EQ(app.SeeThroughMin.Current(), "custom:101");
    EXPECT_TRUE(app.Timer1.onTick) << "timers keep their handlers while minimized";
}

} // namespace
} // namespace murmora::fakes
