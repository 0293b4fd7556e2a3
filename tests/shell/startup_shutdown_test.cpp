#include <gtest/gtest.h>

#include "tests/fakes/fake_app.h"

namespace murmora::fakes {
namespace {

using Commands = std::vector<std::string>;

TEST(StartUp, LeavesThePanelIdleWithEveryTimerOffTheLabelsSetAndTheScheduleDefaults) {
    FakeApp app;
    app.form.FormLoad();
    EXPECT_EQ(app.m.RecordingState, RecorderIdle);
    EXPECT_FALSE(app.m.AutoRecording);
    EXPECT_FALSE(app.mod.LastSaveScheduled);
    EXPECT_FALSE(app.Timer1.enabled || app.Timer2.enabled || app.Timer3.enabled);
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

    const Commands texts{app.Text1.contents, app.Text2.contents, app.Text3.contents, app.Text4.contents,
                         app.Text5.contents, app.Text6.contents, app.Text7.contents};
    EXPECT_EQ(texts, (Commands{"1", "00", "00", "AM", "0", "01", "00"}));
    EXPECT_EQ(app.Text8.contents, "/home/user/AutoRec.wav");
    EXPECT_FALSE(app.Check1.checked);
    EXPECT_FALSE(app.windows.scheduleWindowShown);

    FakeApp rootHome;
    rootHome.files.home = "/";
    rootHome.form.FormLoad();
    EXPECT_EQ(rootHome.Text8.contents, "/AutoRec.wav") << "no doubled separator";
}

TEST(StartUp, ShowsTheSkinAndEveryReleasedPictureAndAppliesTheOutlineOnce) {
    FakeApp app;
    app.form.FormLoad();
    EXPECT_EQ(app.windows.background, "mrskin");
    EXPECT_EQ(app.PictureRecord.current(), "recordbuttonup");
    EXPECT_EQ(app.SeeThroughCut.current(), "custom:105");
    EXPECT_EQ(app.SeeThroughPlay.current(), "custom:107");
    EXPECT_EQ(app.SeeThroughTime.current(), "custom:109");
    EXPECT_EQ(app.SeeThroughWav.current(), "custom:111");
    EXPECT_EQ(app.SeeThroughClose.current(), "custom:103");
    EXPECT_EQ(app.SeeThroughMin.current(), "custom:101");
    EXPECT_TRUE(app.files.filesIn("/tmp", "~rs").empty()) << "every temporary picture file is deleted";

    EXPECT_EQ(app.windows.outlineApplied, 1);
    ASSERT_TRUE(app.windows.outline);
    EXPECT_TRUE(app.windows.outline->contains(200, 133));
    EXPECT_FALSE(app.windows.outline->contains(1, 1));
    EXPECT_EQ(app.regions.liveCount(), 1u) << "only ShapeRegion outlives start-up";
    app.form.FormUnload();
    EXPECT_EQ(app.regions.liveCount(), 0u);
}

TEST(StartUp, AMissingButtonPictureIsLeftEmptyButAnUnreadableOneOrAMissingSkinStopsStartUp) {
    FakeApp missing;
    missing.resources.custom.erase(107);
    missing.form.FormLoad();
    EXPECT_EQ(missing.SeeThroughPlay.current(), "");
    EXPECT_EQ(missing.SeeThroughMin.current(), "custom:101");
    EXPECT_EQ(missing.files.filesIn("/tmp", "~rs").size(), 1u);

    FakeApp unreadable;
    const std::string garbage = "not a picture";
    unreadable.resources.custom[105] = std::vector<unsigned char>(garbage.begin(), garbage.end());
    EXPECT_EQ(unreadable.form.FormLoad(), "Its picture 105 cannot be shown: it holds no readable picture.");

    FakeApp noSkin;
    noSkin.resources.bitmaps.erase("MRSKIN");
    EXPECT_EQ(noSkin.form.FormLoad(), "Its picture mrskin cannot be shown: the program carries no such picture.");
}

TEST(Hotkeys, FailuresShowOneMessageAndUnloadReleasesOnlyWhatWasRegistered) {
    const std::tuple<std::set<int>, const char*, std::vector<int>> cases[] = {
        {{}, nullptr, {0, 1}},
        {{1}, "Can not register Hotkey Cntl+Alt+S to Stop Recording", {0}},
        {{0}, "Can not register Hotkey Cntl+Alt+R to Record", {1}},
        {{0, 1}, "Can not register Hotkeys Cntl+Alt+R and Cntl+Alt+S", {}}};
    for (const auto& [taken, message, unregistered] : cases) {
        FakeApp app;
        app.hotkeys.takenByOthers = taken;
        app.form.FormLoad();
        EXPECT_EQ(app.hotkeys.combinations, (std::vector<std::pair<unsigned, unsigned>>{{3u, 0x52u}, {3u, 0x53u}}));
        EXPECT_EQ(app.messages.texts(), message ? Commands{message} : Commands{});
        for (const ShownMessage& shown : app.messages.shown) {
            EXPECT_EQ(shown.style, MessageStyle::critical);
            EXPECT_EQ(shown.title, "Hotkey Assign");
        }
        EXPECT_EQ(app.mod.HotkeyRecordRegistered, !taken.count(0));
        EXPECT_EQ(app.mod.HotkeyStopRegistered, !taken.count(1));
        app.form.FormUnload();
        EXPECT_EQ(app.hotkeys.unregistered, unregistered) << (message ? message : "all registered");
    }
}

TEST(Hotkeys, TheFilterIsInPlaceAfterStartUpAndDispatchesOnlyIdsZeroAndOne) {
    FakeApp app;
    FakeApp::Start(app);
    ASSERT_TRUE(app.hotkeys.handler);
    app.hotkeys.press(2);
    app.hotkeys.press(256);  // does not fit 8 bits: must not wrap round to id 0
    EXPECT_TRUE(app.mci.commands.empty());
    EXPECT_EQ(app.m.RecordingState, RecorderIdle);
}

TEST(Shutdown, CloseStopsCaptureOnlyDuringATakeDiscardingItWithoutAQuestionAndEnds) {
    for (bool recording : {false, true}) {
        FakeApp app;
        FakeApp::Start(app);
        if (recording) app.m.RecordingState = RecorderBusy;
        app.Timer1.enabled = recording;
        app.Timer2.enabled = true;
        app.form.CloseAction();
        Commands expected = recording ? Commands{"stop capture", "close capture"} : Commands{};
        expected.insert(expected.end(), {"stop voice1", "close voice1"});
        EXPECT_EQ(app.mci.take(), expected);
        EXPECT_FALSE(app.Timer1.enabled || app.Timer2.enabled || app.Timer3.enabled);
        EXPECT_EQ(app.SeeThroughClose.current(), "custom:103");
        EXPECT_TRUE(app.windows.scheduleWindowUnloaded && app.windows.ended);
        EXPECT_TRUE(app.messages.shown.empty());
        EXPECT_TRUE(app.CommonDialog1.shownAs.empty()) << "no save";
    }
}

TEST(Shutdown, TheWindowManagersCloseRunsOnlyTheUnloadSequenceAndKeepsItsResultCode) {
    FakeApp app;
    FakeApp::Start(app);
    app.m.RecordingState = RecorderBusy;
    app.mci.respond = [](const std::string& command, std::string&) { return command == "close voice1" ? 263 : 0; };
    app.form.FormUnload();
    EXPECT_EQ(app.mci.take(), (Commands{"stop voice1", "close voice1"})) << "capture gets no command";
    EXPECT_EQ(app.m.MciResult, "263");
    EXPECT_EQ(app.hotkeys.unregistered, (std::vector<int>{0, 1}));
}

} // namespace
} // namespace murmora::fakes
