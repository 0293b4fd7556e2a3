#include "tests/recording/recording_fixture.h"

namespace murmora::fakes {
namespace {

const EngineCall kPauseTake{EngineCall::pauseTake, {}};
const EngineCall kResumeTake{EngineCall::resumeTake, {}};
constexpr int kPauseHotkey = 2;

class Pause : public RecordingTest {
protected:
    // The take's calls since the last look, without the menu's look at the inputs.
    EngineCalls takeCalls() {
        EngineCalls calls = app.engine.take();
        std::erase_if(calls, [](const EngineCall& call) { return call.kind == EngineCall::listInputs; });
        return calls;
    }
    void SetUp() override {
        RecordingTest::SetUp();
        startManualTake();
    }
    void expectPaused(const std::string& caption) {
        EXPECT_EQ(app.panel.recorder.state(), RecorderState::paused);
        EXPECT_EQ(app.secondsLabel.caption, caption);
        EXPECT_FALSE(app.elapsedTimer.enabled);
        EXPECT_FALSE(app.levelTimer.enabled);
        EXPECT_FALSE(app.levelDisplay.level) << "the level bar is empty";
        EXPECT_EQ(app.recordButton.current(), "recordbuttonup");
        EXPECT_EQ(app.recordButton.status, "paused");
    }
    void expectRecording() {
        EXPECT_EQ(app.panel.recorder.state(), RecorderState::recording);
        EXPECT_TRUE(app.levelTimer.enabled);
        EXPECT_EQ(app.recordButton.current(), "recordbuttonrecording");
        EXPECT_EQ(app.recordButton.status, "recording");
    }
};

TEST_F(Pause, TheHotkeyPausesAndResumesTheSameTake) {
    app.clock.advance(3);
    app.elapsedTimer.tick();
    app.hotkeys.press(kPauseHotkey);
    EXPECT_EQ(app.engine.take(), EngineCalls{kPauseTake});
    expectPaused("3 sec paused");
    app.hotkeys.press(kPauseHotkey);
    EXPECT_EQ(app.engine.take(), EngineCalls{kResumeTake});
    expectRecording();
    EXPECT_TRUE(app.elapsedTimer.enabled);
}

// The seconds shown count only the time recorded, however many pauses there were.
TEST_F(Pause, TheSecondsStopWhilePausedAndGoOnFromThereAfter) {
    const struct {
        int advance;
        bool pauseOrResume;
        const char* shown;
    } steps[] = {{2, false, "2 sec"}, {1, true, "3 sec paused"}, {40, false, "3 sec paused"}, {0, true, "3 sec"},
                 {4, false, "7 sec"}, {0, true, "7 sec paused"}, {9, true, "7 sec"},          {1, false, "8 sec"}};
    for (const auto& step : steps) {
        app.clock.advance(step.advance);
        if (step.pauseOrResume) app.hotkeys.press(kPauseHotkey);
        if (app.elapsedTimer.enabled) app.elapsedTimer.tick();
        EXPECT_EQ(app.secondsLabel.caption, step.shown);
    }
}

TEST_F(Pause, TheRecordButtonPausesAndResumesWhenReleasedOverIt) {
    app.recordButton.down(kLeftButton);
    EXPECT_EQ(app.recordButton.current(), "recordbuttondown");
    app.recordButton.up(kLeftButton);
    EXPECT_EQ(app.engine.take(), EngineCalls{kPauseTake});
    expectPaused("0 sec paused");
    app.recordButton.down(kLeftButton);
    app.recordButton.up(kLeftButton);
    EXPECT_EQ(app.engine.take(), EngineCalls{kResumeTake});
    expectRecording();
}

TEST_F(Pause, TheRecordButtonReleasedOffItDoesNothing) {
    for (const char* atRest : {"recordbuttonrecording", "recordbuttonup"}) {
        app.recordButton.down(kLeftButton);
        app.recordButton.move(kLeftButton, 7, 7);
        EXPECT_EQ(app.recordButton.current(), "recordbuttondown");
        app.recordButton.move(kLeftButton, 500, 7);
        EXPECT_EQ(app.recordButton.current(), atRest);
        app.recordButton.up(kLeftButton, 500, 7);
        EXPECT_TRUE(app.engine.take().empty()) << atRest;
        EXPECT_EQ(app.recordButton.current(), atRest);
        app.hotkeys.press(kPauseHotkey); // the next round, paused
        app.engine.take();
    }
}

TEST_F(Pause, TheMenuOffersPauseOrResumeOnlyDuringATake) {
    const auto commandsShown = [this] {
        app.choiceMenu.open();
        const std::vector<MenuPart>& parts = app.choiceMenu.shown.back();
        return parts.size() == 3 && parts[2].heading.empty() && !parts[2].checked ? parts[2].entries : Strings{"none"};
    };
    EXPECT_EQ(commandsShown(), Strings{"Pause"});
    app.choiceMenu.choose("", "Pause");
    app.choiceMenu.open();
    EXPECT_EQ(takeCalls(), EngineCalls{kPauseTake});
    EXPECT_EQ(commandsShown(), Strings{"Resume"});
    app.choiceMenu.choose("", "Resume");
    app.choiceMenu.open();
    EXPECT_EQ(takeCalls(), EngineCalls{kResumeTake});
    stopAndSave("/home/user/take.wav");
    app.choiceMenu.open();
    EXPECT_EQ(app.choiceMenu.shown.back().size(), 2u) << "no command once the take is saved";
}

TEST_F(Pause, StopWhilePausedEndsAndSavesTheTake) {
    app.hotkeys.press(kPauseHotkey);
    app.engine.take();
    stopAndSave("/home/user/take.wav");
    EXPECT_EQ(app.engine.take(), (EngineCalls{kStopTake, saveTakeAt("/home/user/take.wav")}));
    expectIdle();
    EXPECT_EQ(app.recordButton.status, "");
}

TEST_F(Pause, CloseWhilePausedAsksAsDuringATake) {
    app.hotkeys.press(kPauseHotkey);
    app.messages.saveAnswers = {SaveAnswer::cancel};
    bool closed = false;
    app.panel.recorder.askBeforeClosing([&closed] { closed = true; });
    ASSERT_EQ(app.messages.asked.size(), 1u);
    EXPECT_EQ(app.messages.asked[0].text, "A recording is running. Save it before closing?");
    EXPECT_FALSE(closed);
    EXPECT_EQ(app.panel.recorder.state(), RecorderState::paused) << "Cancel lets it stay paused";
}

TEST_F(Pause, AnInputLostWhilePausedIsToldAndTheTakeSaved) {
    app.hotkeys.press(kPauseHotkey);
    app.engine.take();
    app.engine.loseInput(3);
    app.saveTakeDialog.answer("/home/user/take.wav");
    app.engine.deliver();
    expectMessage(0, "The sound input was lost after 3 sec. The recording so far is kept.", MessageStyle::exclamation);
    EXPECT_EQ(app.engine.take(), EngineCalls{saveTakeAt("/home/user/take.wav")});
    expectIdle();
}

// A scheduled take ends at the time the schedule set, paused or not.
TEST_F(RecordingTest, AScheduledTakeStopsAtItsEndWhilePaused) {
    startScheduledTake(10);
    app.clock.advance(4);
    app.hotkeys.press(kPauseHotkey);
    EXPECT_EQ(app.secondsLabel.caption, "4 sec paused");
    EXPECT_TRUE(app.scheduledStopTimer.enabled);
    app.clock.advance(5);
    app.scheduledStopTimer.tick();
    EXPECT_EQ(app.panel.recorder.state(), RecorderState::paused);
    app.clock.advance(1);
    app.scheduledStopTimer.tick();
    app.engine.deliver();
    EXPECT_EQ(app.engine.take(), (EngineCalls{kPauseTake, kStopTake, saveTakeAt("/home/user/AutoRec.wav")}));
    expectIdle();
}

TEST_F(RecordingTest, AScheduledTakeResumedShowsNoSeconds) {
    startScheduledTake(10);
    app.hotkeys.press(kPauseHotkey);
    app.hotkeys.press(kPauseHotkey);
    EXPECT_EQ(app.secondsLabel.caption, "");
    EXPECT_FALSE(app.elapsedTimer.enabled);
}

TEST_F(RecordingTest, ThePauseHotkeyDoesNothingWithoutATake) {
    app.hotkeys.press(kPauseHotkey);
    EXPECT_TRUE(app.engine.take().empty());
    expectIdle();
}

} // namespace
} // namespace murmora::fakes
