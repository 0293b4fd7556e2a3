#pragma once
// A started panel on fakes whose MCI service saves a take only into a folder that exists.
#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "tests/support/fake_panel.h"

namespace murmora::fakes {

inline const std::string kSaveCommand = "save capture ";
// The service's words for a save into a folder that does not exist, and for a disk that filled
// during the take.
inline const std::string kNoFolder = "The file could not be saved (No such file or directory)";
inline const std::string kDiskFull =
    "The file for the recording could not be written to its end (No space left on device)";
inline const std::string kPartlyWritten = kDiskFull + ".\n\nWhat was recorded until then is kept and will be saved.";

inline Commands operator+(Commands commands, const std::string& next) {
    commands.push_back(next);
    return commands;
}

inline Strings shownSince(const Strings& shown, std::size_t from) {
    return {shown.begin() + static_cast<std::ptrdiff_t>(from), shown.end()};
}

class RecordingTest : public ::testing::Test {
protected:
    void SetUp() override {
        app.clock.setTimeOfDay(13, 5, 7);
        app.start();
        app.mci.respond = [this](const std::string& command, std::string& reply) { return answer(command, reply); };
        app.mci.errorTexts = {{mci::kFileNotSaved, kNoFolder}, {mci::kTakeFileFailed, kDiskFull}};
    }

    // "save capture PATH" writes the file when its folder exists, else fails with an MCI error;
    // "status voice1 mode" answers `playbackMode`.
    int answer(const std::string& command, std::string& reply) {
        if (command == "status voice1 mode") reply = playbackMode;
        if (command.rfind(kSaveCommand, 0) != 0) return 0;
        const std::string path = savedPath(command);
        const auto slash = path.rfind('/');
        if (slash == std::string::npos || !app.files.folders.count(slash == 0 ? "/" : path.substr(0, slash)))
            return mci::kFileNotSaved;
        app.files.add(path);
        return 0;
    }

    // The playback as the Play action's next look at it finds it.
    void seePlayback(const std::string& mode) {
        playbackMode = mode;
        app.panel.player.queryPlaying();
        app.mci.take();
    }

    void startManualTake() {
        app.hotkeys.press(0);
        ASSERT_TRUE(app.panel.recorder.isRecording());
        app.mci.take();
    }

    // Arms the schedule for now, to run `durationSeconds` and be saved at `target`, and lets it start.
    void startScheduledTake(int durationSeconds, const std::string& target = "/home/user/AutoRec.wav") {
        const auto whileOpen = std::exchange(app.messages.whileOpen, {}); // for the take, not the arming
        app.armSchedule(secondsAfterMidnight(app.clock.time), durationSeconds, target);
        app.messages.whileOpen = whileOpen;
        app.scheduleStartTimer.tick();
        ASSERT_TRUE(app.scheduledStopTimer.enabled) << "the scheduled take did not start";
        app.messages.shown.clear(); // what arming said of the target
        app.mci.take();
    }

    void expectIdle() {
        EXPECT_FALSE(app.panel.recorder.isRecording());
        EXPECT_FALSE(app.panel.recorder.isHoldingTake());
        EXPECT_FALSE(app.elapsedTimer.enabled);
        EXPECT_FALSE(app.scheduledStopTimer.enabled);
        EXPECT_FALSE(app.levelTimer.enabled);
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
    std::string playbackMode = "stopped";
};

} // namespace murmora::fakes
