#pragma once
// A started panel on fakes whose engine saves a take only into a folder that exists.
#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "tests/support/fake_panel.h"

namespace murmora::fakes {

// The engine's words for a disk that filled during the take.
inline const std::string kDiskFull =
    "The file for the recording could not be written to its end (No space left on device)";
inline const std::string kPartlyWritten = kDiskFull + ".\n\nWhat was recorded until then is kept and will be saved.";

inline const EngineCall kStartTake{EngineCall::startTake, {}};
inline const EngineCall kStopTake{EngineCall::stopTake, {}};
inline const EngineCall kDiscardTake{EngineCall::discardTake, {}};
inline const EngineCall kStopPlayback{EngineCall::stopPlayback, {}};

inline EngineCalls operator+(EngineCalls calls, const EngineCall& next) {
    calls.push_back(next);
    return calls;
}

inline Strings shownSince(const Strings& shown, std::size_t from) {
    return {shown.begin() + static_cast<std::ptrdiff_t>(from), shown.end()};
}

class RecordingTest : public ::testing::Test {
protected:
    void SetUp() override {
        app.clock.setTimeOfDay(13, 5, 7);
        app.start();
    }

    // A file plays, as after the Play button.
    void startPlayback() {
        app.files.add("/home/user/playing.wav");
        startManualTake();
        app.saveTakeDialog.answer("/home/user/playing.wav");
        app.hotkeys.press(1);
        app.engine.deliver();
        app.messages.shown.clear();
        app.playButton.click();
        ASSERT_TRUE(app.panel.player.isPlaying());
        app.engine.take();
    }

    void startManualTake() {
        app.hotkeys.press(0);
        ASSERT_EQ(app.panel.recorder.state(), RecorderState::recording);
        app.engine.take();
    }

    // Stops the manual take with the hotkey and saves it as `path`, with what the engine tells delivered.
    void stopAndSave(const std::string& path) {
        app.saveTakeDialog.answer(path);
        app.hotkeys.press(1);
        app.engine.deliver();
    }

    // Arms the schedule for now, to run `durationSeconds` and be saved at `target`, and lets it start.
    void startScheduledTake(int durationSeconds, const std::string& target = "/home/user/AutoRec.wav") {
        const auto whileOpen = std::exchange(app.messages.whileOpen, {}); // for the take, not the arming
        app.armSchedule(secondsAfterMidnight(app.clock.time), durationSeconds, target);
        app.messages.whileOpen = whileOpen;
        app.scheduleStartTimer.tick();
        ASSERT_TRUE(app.scheduledStopTimer.enabled) << "the scheduled take did not start";
        app.messages.shown.clear(); // what arming said of the target
        app.engine.take();
    }

    void expectIdle() {
        EXPECT_EQ(app.panel.recorder.state(), RecorderState::idle);
        EXPECT_FALSE(app.elapsedTimer.enabled);
        EXPECT_FALSE(app.scheduledStopTimer.enabled);
        EXPECT_FALSE(app.levelTimer.enabled);
        EXPECT_FALSE(app.saveProgressTimer.enabled);
        EXPECT_FALSE(app.saveProgress.text);
        EXPECT_FALSE(app.levelDisplay.level);
        EXPECT_EQ(app.recordButton.current(), "recordbuttonup");
    }

    void expectMessage(std::size_t index, const std::string& text, MessageStyle style) {
        ASSERT_LT(index, app.messages.shown.size());
        EXPECT_EQ(app.messages.shown[index].text, text);
        EXPECT_EQ(app.messages.shown[index].style, style);
        EXPECT_EQ(app.messages.shown[index].title, "Murmora");
    }

    FakePanel app;
};

} // namespace murmora::fakes
