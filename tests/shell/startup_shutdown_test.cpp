#include <gtest/gtest.h>

#include "shell/panel_outline.h"
#include "tests/support/fake_panel.h"

namespace murmora::fakes {
namespace {

TEST(StartUp, LeavesThePanelIdleWithEveryTimerOffTheLabelsSetAndTheScheduleDefaults) {
    FakePanel app;
    EXPECT_EQ(app.panel.load(), std::nullopt);
    EXPECT_EQ(app.panel.recorder.state(), RecorderState::idle);
    EXPECT_EQ(app.panel.recorder.latestTakePath(), "") << "nothing to play";
    EXPECT_FALSE(app.elapsedTimer.enabled || app.scheduleStartTimer.enabled || app.scheduledStopTimer.enabled);
    EXPECT_EQ(app.copyrightLabel.caption, "\u00A9Murmur");
    EXPECT_EQ(app.versionLabel.caption, "v 1.1");
    for (FakeLabel* label : {&app.secondsLabel, &app.sizeLabel, &app.scheduleCaptionLabel, &app.scheduleTimeLabel})
        EXPECT_EQ(label->caption, "");
    EXPECT_EQ(app.secondsLabel.left, 10);
    EXPECT_EQ(app.sizeLabel.left, 10);
    EXPECT_TRUE(app.messages.shown.empty());
    EXPECT_TRUE(app.engine.calls.empty()) << "nothing of the audio layer starts at launch";

    const Strings texts{app.startHourBox.contents,      app.startMinuteBox.contents,   app.startSecondBox.contents,
                        app.dayHalfBox.contents,        app.durationHoursBox.contents, app.durationMinutesBox.contents,
                        app.durationSecondsBox.contents};
    EXPECT_EQ(texts, (Strings{"1", "00", "00", "AM", "0", "01", "00"}));
    EXPECT_EQ(app.targetPathBox.contents, "/home/user/AutoRec.wav");
    EXPECT_FALSE(app.activateCheckBox.checked);
    EXPECT_FALSE(app.windows.scheduleWindowShown);

    FakePanel rootHome;
    rootHome.files.home = "/";
    rootHome.panel.load();
    EXPECT_EQ(rootHome.targetPathBox.contents, "/AutoRec.wav") << "no doubled separator";
}

TEST(StartUp, ShowsTheSkinAndEveryReleasedPictureAndAppliesTheOutlineOnce) {
    FakePanel app;
    app.panel.load();
    EXPECT_EQ(app.windows.background, "mrskin");
    EXPECT_EQ(app.recordButton.current(), "recordbuttonup");
    EXPECT_EQ(app.stopButton.current(), "custom:105");
    EXPECT_EQ(app.playButton.current(), "custom:107");
    EXPECT_EQ(app.scheduleButton.current(), "custom:109");
    EXPECT_EQ(app.convertButton.current(), "custom:111");
    EXPECT_EQ(app.closeButton.current(), "custom:103");
    EXPECT_EQ(app.minimizeButton.current(), "custom:101");

    EXPECT_EQ(app.windows.outlineApplied, 1);
    EXPECT_EQ(app.windows.outline, panelOutline(app.screen, 1.0f, 1.0f, 0, 0));
}

TEST(StartUp, AMissingButtonPictureIsLeftEmptyButAnUnreadableOneOrAMissingSkinStopsStartUp) {
    FakePanel missing;
    missing.resources.custom.erase(107);
    missing.panel.load();
    EXPECT_EQ(missing.playButton.current(), "");
    EXPECT_EQ(missing.minimizeButton.current(), "custom:101");

    FakePanel unreadable;
    const std::string garbage = "not a picture";
    unreadable.resources.custom[105] = std::vector<unsigned char>(garbage.begin(), garbage.end());
    EXPECT_EQ(unreadable.panel.load(), "Its picture 105 cannot be shown: it holds no readable picture.");

    FakePanel noSkin;
    noSkin.resources.bitmaps.erase("MRSKIN");
    EXPECT_EQ(noSkin.panel.load(), "Its picture mrskin cannot be shown: the program carries no such picture.");
}

// A combination another program holds, at start-up or refused later (the portal's answer), is
// told in one message, once, and the unload gives back only what is left.
TEST(Hotkeys, ARefusalIsToldOnceAndTheUnloadReleasesOnlyWhatIsLeft) {
    const std::tuple<std::vector<int>, const char*, std::vector<int>> cases[] = {
        {{}, nullptr, {0, 1, 2}},
        {{1}, "Can not register Hotkey Cntl+Alt+S to Stop Recording", {0, 2}},
        {{0}, "Can not register Hotkey Cntl+Alt+R to Record", {1, 2}},
        {{2}, "Can not register Hotkey Cntl+Alt+P to Pause Recording", {0, 1}},
        {{0, 1}, "Can not register Hotkeys Cntl+Alt+R and Cntl+Alt+S", {2}},
        {{1, 2}, "Can not register Hotkeys Cntl+Alt+S and Cntl+Alt+P", {0}},
        {{0, 1, 2}, "Can not register Hotkeys Cntl+Alt+R, Cntl+Alt+S and Cntl+Alt+P", {}}};
    for (const bool later : {false, true}) {
        for (const auto& [refused, message, unregistered] : cases) {
            SCOPED_TRACE(std::string(later ? "later: " : "at start-up: ") + (message ? message : "none refused"));
            FakePanel app;
            if (!later) app.hotkeys.takenByOthers = {refused.begin(), refused.end()};
            app.start();
            EXPECT_EQ(app.hotkeys.registered,
                      (std::vector<Hotkey>{{0, "record", "Start recording", "Ctrl+Alt+R"},
                                           {1, "stop", "Stop recording and save", "Ctrl+Alt+S"},
                                           {2, "pause", "Pause or resume recording", "Ctrl+Alt+P"}}));
            if (later && !refused.empty()) {
                ASSERT_TRUE(app.hotkeys.refusalHandler);
                app.hotkeys.refusalHandler(refused);
                app.hotkeys.refusalHandler(refused); // told again (the portal came back): no second message
            }
            EXPECT_EQ(app.messages.texts(), message ? Strings{message} : Strings{});
            for (const ShownMessage& shown : app.messages.shown) {
                EXPECT_EQ(shown.style, MessageStyle::critical);
                EXPECT_EQ(shown.title, "Hotkey Assign");
            }
            app.panel.unload();
            EXPECT_EQ(app.hotkeys.unregistered, unregistered);
        }
    }
}

// A desktop that sets the keys of the hotkeys in its settings is named where they can be set.
TEST(Hotkeys, ARefusalSaysWhereTheDesktopSetsTheKeys) {
    FakePanel app;
    app.hotkeys.settingsPlace = "System Settings, Shortcuts";
    app.start();
    app.hotkeys.refusalHandler({0, 1, 2});
    EXPECT_EQ(app.messages.texts(),
              Strings{"Can not register Hotkeys Cntl+Alt+R, Cntl+Alt+S and Cntl+Alt+P\n\nThe desktop sets the keys of "
                      "Murmora's hotkeys in System Settings, Shortcuts."});
}

// The tooltip names the keys of the hotkeys had, as the desktop writes them once it tells them.
TEST(Hotkeys, TheTooltipNamesTheKeysOfTheHotkeysHad) {
    const auto hotkeysLine = [](const FakePanel& app) {
        const std::string& tip = app.choiceMenu.toolTip;
        const size_t line = tip.find("\nHotkeys: ");
        return line == std::string::npos ? std::string() : tip.substr(line + 1);
    };
    FakePanel app;
    app.hotkeys.takenByOthers = {1};
    app.start();
    EXPECT_EQ(hotkeysLine(app), "Hotkeys: Ctrl+Alt+R to record, Ctrl+Alt+P to pause");

    FakePanel desktop;
    desktop.start();
    EXPECT_EQ(hotkeysLine(desktop), "Hotkeys: Ctrl+Alt+R to record, Ctrl+Alt+S to stop and save, Ctrl+Alt+P to pause");
    ASSERT_TRUE(desktop.hotkeys.changeHandler);
    desktop.hotkeys.keys[0] = "Meta+F9";
    desktop.hotkeys.changeHandler();
    EXPECT_EQ(hotkeysLine(desktop), "Hotkeys: Meta+F9 to record, Ctrl+Alt+S to stop and save, Ctrl+Alt+P to pause");
    desktop.hotkeys.refusalHandler({0, 1, 2});
    EXPECT_EQ(hotkeysLine(desktop), "");
}

// Keys that reach the program only while an X11 window has the focus are not offered as hotkeys.
TEST(Hotkeys, TheTooltipSaysSoWhereTheyAreNotGlobal) {
    FakePanel app;
    app.start();
    app.hotkeys.globalHotkeys = false;
    app.hotkeys.changeHandler();
    const std::string& tip = app.choiceMenu.toolTip;
    EXPECT_EQ(tip.substr(tip.find("\nHotkeys: ") + 1),
              "Hotkeys: none on this desktop; use the panel's buttons or keys");
    EXPECT_TRUE(app.messages.texts().empty());
}

TEST(Hotkeys, TheFilterIsInPlaceAfterStartUpAndDispatchesOnlyItsOwnIds) {
    FakePanel app;
    app.start();
    ASSERT_TRUE(app.hotkeys.handler);
    app.hotkeys.press(2); // pauses no take
    app.hotkeys.press(3);
    app.hotkeys.press(256); // not 0 in 8 bits either
    EXPECT_TRUE(app.engine.take().empty());
    EXPECT_EQ(app.panel.recorder.state(), RecorderState::idle);
    app.hotkeys.press(0);
    EXPECT_EQ(app.panel.recorder.state(), RecorderState::recording);
}

const std::string kSaveBeforeClosing = "A recording is running. Save it before closing?";
const EngineCall kStopPlayback{EngineCall::stopPlayback, {}};

// A panel armed for later, and when asked, with a take running.
struct ClosingPanel : ::testing::Test {
    FakePanel app;

    void SetUp() override {
        app.start();
        app.activateCheckBox.checked = true;
        app.panel.schedule.onCloseRequested(); // armed
    }
    void startTake() {
        app.hotkeys.press(0);
        app.engine.take();
    }
    void expectEnded(bool scheduleWindowUnloaded = true) {
        EXPECT_FALSE(app.elapsedTimer.enabled || app.scheduleStartTimer.enabled || app.scheduledStopTimer.enabled);
        EXPECT_TRUE(app.windows.ended);
        EXPECT_EQ(app.windows.scheduleWindowUnloaded, scheduleWindowUnloaded);
    }
};

TEST_F(ClosingPanel, WithoutATakeEndsAtOnceWithoutAQuestion) {
    app.engine.take();
    app.closeButton.click();
    EXPECT_EQ(app.engine.take(), EngineCalls{kStopPlayback});
    EXPECT_EQ(app.closeButton.current(), "custom:103");
    EXPECT_TRUE(app.messages.asked.empty());
    expectEnded();
}

TEST_F(ClosingPanel, DuringATakeAsksAndDiscardEndsAtOnceWithoutTheTake) {
    startTake();
    app.messages.saveAnswers = {SaveAnswer::discard};
    app.closeButton.click();
    ASSERT_EQ(app.messages.asked.size(), 1u);
    EXPECT_EQ(app.messages.asked[0].text, kSaveBeforeClosing);
    EXPECT_EQ(app.messages.asked[0].title, "Murmora");
    EXPECT_EQ(app.engine.take(),
              (EngineCalls{{EngineCall::stopTake, {}}, {EngineCall::discardTake, {}}, kStopPlayback}));
    EXPECT_TRUE(app.saveTakeDialog.shownAs.empty());
    expectEnded();
}

TEST_F(ClosingPanel, DuringATakeCancelLetsItRecordOn) {
    startTake();
    app.messages.saveAnswers = {SaveAnswer::cancel};
    app.closeButton.click();
    EXPECT_TRUE(app.engine.take().empty());
    EXPECT_EQ(app.panel.recorder.state(), RecorderState::recording);
    EXPECT_TRUE(app.elapsedTimer.enabled);
    EXPECT_FALSE(app.windows.ended);
}

TEST_F(ClosingPanel, DuringATakeSaveSavesAsAfterStopThenEnds) {
    startTake();
    app.messages.saveAnswers = {SaveAnswer::save};
    app.saveTakeDialog.answer("/home/user/kept.wav");
    app.closeButton.click();
    EXPECT_FALSE(app.windows.ended) << "not before the take is saved";
    app.engine.deliver();
    EXPECT_EQ(app.engine.take(),
              (EngineCalls{{EngineCall::stopTake, {}}, saveTakeAt("/home/user/kept.wav"), kStopPlayback}));
    EXPECT_EQ(app.messages.texts(), Strings{"Recording saved as  /home/user/kept.wav"});
    expectEnded();
}

// The take's input is lost while the user is asked whether to save it: what the panel says and
// does about it waits for the answer, and then follows it.
struct AnswerAfterTheInputIsLost {
    SaveAnswer answer;
    bool told; // the loss, the save dialog and the saved take
    bool ended;
};
struct InputLostWhileAsked : ClosingPanel, ::testing::WithParamInterface<AnswerAfterTheInputIsLost> {};

TEST_P(InputLostWhileAsked, WaitsForTheAnswerAndFollowsIt) {
    startTake();
    app.messages.saveAnswers = {GetParam().answer};
    app.saveTakeDialog.answer("/home/user/kept.wav");
    app.messages.whileAsked = [this] {
        app.engine.loseInput(2);
        app.engine.deliver();
        EXPECT_TRUE(app.messages.shown.empty()) << "nothing is told over the question";
        EXPECT_TRUE(app.saveTakeDialog.shownAs.empty());
    };
    app.closeButton.click();
    app.engine.deliver();
    const Strings told{"The sound input was lost after 2 sec. The recording so far is kept.",
                       "Recording saved as  /home/user/kept.wav"};
    EXPECT_EQ(app.messages.texts(), GetParam().told ? told : Strings{});
    EXPECT_EQ(app.saveTakeDialog.shownAs.size(), GetParam().told ? 1u : 0u);
    EXPECT_EQ(app.engine.called(EngineCall::discardTake), !GetParam().told);
    EXPECT_EQ(app.windows.ended, GetParam().ended);
}

INSTANTIATE_TEST_SUITE_P(Answers, InputLostWhileAsked,
                         ::testing::Values(AnswerAfterTheInputIsLost{SaveAnswer::discard, false, true},
                                           AnswerAfterTheInputIsLost{SaveAnswer::save, true, true},
                                           AnswerAfterTheInputIsLost{SaveAnswer::cancel, true, false}),
                         [](const auto& row) {
                             return std::string(row.param.answer == SaveAnswer::save      ? "Save"
                                                : row.param.answer == SaveAnswer::discard ? "Discard"
                                                                                          : "Cancel");
                         });

TEST_F(ClosingPanel, ByTheWindowSystemAsksTooAndLeavesTheScheduleWindowLoaded) {
    startTake();
    app.messages.saveAnswers = {SaveAnswer::cancel, SaveAnswer::discard};
    app.panel.onSystemClose();
    EXPECT_FALSE(app.windows.ended);
    app.panel.onSystemClose();
    EXPECT_EQ(app.messages.asked.size(), 2u);
    expectEnded(false);
}

TEST_F(ClosingPanel, TheEndOfTheSessionAsksNothingAndLeavesTheTakeToTheEngineToKeep) {
    startTake();
    app.panel.onSessionEnd();
    EXPECT_TRUE(app.messages.asked.empty());
    EXPECT_EQ(app.engine.take(), EngineCalls{kStopPlayback}) << "neither saved nor discarded";
    expectEnded(false);
}

TEST_F(ClosingPanel, WhileATakeIsSavedEndsOnceItIsSaved) {
    startTake();
    app.saveTakeDialog.answer("/home/user/kept.wav");
    app.hotkeys.press(1);
    app.engine.deliverNext(); // its save runs
    app.closeButton.click();
    EXPECT_FALSE(app.windows.ended);
    EXPECT_TRUE(app.messages.asked.empty());
    app.engine.deliver();
    EXPECT_TRUE(app.files.fileExists("/home/user/kept.wav"));
    expectEnded();
}

} // namespace
} // namespace murmora::fakes
