#pragma once
// A started panel on fakes whose MCI service saves a take only into a folder that exists.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/fakes/fake_app.h"

namespace murmora::fakes {

using Commands = std::vector<std::string>;
using Strings = std::vector<std::string>;

inline const std::string SaveCommand = "save capture ";
inline const Commands OpenAndRecord{"open new type waveaudio alias capture", "record capture"};
inline const Commands StopPlayback{"stop voice1", "close voice1"};
inline const std::string PartlyWritten =
    "The recording could not be written to its end (is the disk full?).\n\n"
    "What was recorded until then is kept and will be saved.";

inline Commands operator+(Commands commands, const std::string& next) {
    commands.push_back(next);
    return commands;
}

inline Strings ShownSince(const Strings& shown, std::size_t from) {
    return {shown.begin() + static_cast<std::ptrdiff_t>(from), shown.end()};
}

class RecordingTest : public ::testing::Test {
protected:
    void SetUp() override {
        app.clock.setTimeOfDay(13, 5, 7);
        FakeApp::Start(app);
        app.mci.respond = [this](const std::string& command, std::string&) { return Answer(command); };
    }

    // "save capture PATH" writes the file when its folder exists, else fails with an MCI error.
    int Answer(const std::string& command) {
        if (command.rfind(SaveCommand, 0) != 0) return 0;
        const std::string path = SavedPath(command);
        const auto slash = path.rfind('/');
        if (slash == std::string::npos || !app.files.folders.count(slash == 0 ? "/" : path.substr(0, slash)))
            return 275;
        app.files.add(path);
        return 0;
    }

    void StartManualTake() {
        app.hotkeys.press(0);
        ASSERT_EQ(app.m.RecordingState, RecorderBusy);
        app.mci.take();
    }

    // What the schedule trigger leaves behind when it has started a take.
    void StartScheduledTake(int durationSeconds, const std::string& target = "/home/user/AutoRec.wav") {
        app.Text8.contents = app.mod.AutoSavePath = target;
        app.mod.AutoDurationSeconds = durationSeconds;
        app.mod.AutoStartTime = app.clock.time;
        app.Label5.caption = "Start: 13:05:07";
        app.Label6.caption = "Duration";
        app.form.pictures.showBitmap(app.PictureRecord, "recordbuttonrecording");
        for (const auto& command : OpenAndRecord) app.mci.sendString(command, nullptr, 0);
        app.m.RecordingState = RecorderBusy;
        app.m.AutoRecording = app.Timer3.enabled = true;
        app.mci.take();
    }

    void ExpectIdle() {
        EXPECT_EQ(app.m.RecordingState, RecorderIdle);
        EXPECT_FALSE(app.m.AutoRecording);
        EXPECT_FALSE(app.m.CaptureSavePending);
        EXPECT_FALSE(app.Timer1.enabled);
        EXPECT_FALSE(app.Timer3.enabled);
        EXPECT_EQ(app.PictureRecord.current(), "recordbuttonup");
    }

    void ExpectMessage(std::size_t index, const std::string& prompt, MessageStyle style) {
        ASSERT_LT(index, app.messages.shown.size());
        EXPECT_EQ(app.messages.shown[index].text, prompt);
        EXPECT_EQ(app.messages.shown[index].style, style);
        EXPECT_EQ(app.messages.shown[index].title, "Murmora");
    }

    FakeApp app;
};

} // namespace murmora::fakes
