#pragma once
// A started panel on fakes whose MCI service saves a take only into a folder that exists,
// and helpers that bring it into the states a recording passes through.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/fakes/fake_app.h"

namespace murmora::fakes {

using Commands = std::vector<std::string>;

inline const std::string SaveCommand = "save capture ";
inline constexpr int CannotWrite = 275;  // any MCI error code: the service could not write the file

class RecordingTest : public ::testing::Test {
protected:
    void SetUp() override {
        app.clock.SetTimeOfDay(13, 5, 7);
        FakeApp::Start(app);
        app.mci.respond = [this](const std::string& command, std::string&) { return Answer(command); };
    }

    // "save capture PATH" writes the file when its folder exists.
    int Answer(const std::string& command) {
        if (command.rfind(SaveCommand, 0) != 0) return 0;
        const std::string path = command.substr(SaveCommand.size());
        const auto slash = path.rfind('/');
        if (slash == std::string::npos) return CannotWrite;
        const std::string folder = slash == 0 ? "/" : path.substr(0, slash);
        if (!app.files.folders.count(folder)) return CannotWrite;
        app.files.Add(path);
        return 0;
    }

    void PlayAFile() { app.m.PlayMode = "playing"; }

    // A manual take started by the hotkey, with the commands of the start taken.
    void StartManualTake() {
        app.hotkeys.Press(0);
        ASSERT_EQ(app.m.RecordingState, RecorderBusy);
        app.mci.Take();
    }

    // What the schedule trigger leaves behind when it has started a take.
    void StartScheduledTake(int durationSeconds, const std::string& target = "/home/user/AutoRec.wav") {
        app.Text8.text = target;
        app.mod.AutoSavePath = target;
        app.mod.AutoDurationSeconds = durationSeconds;
        app.mod.AutoStartTime = app.clock.now;
        app.Label5.caption = "Start: 13:05:07";
        app.Label6.caption = "Duration: " + std::to_string(durationSeconds) + " sec";
        app.form.pictures.SetBitmap(app.PictureRecord, "recordbuttonrecording");
        app.mci.SendString("open new type waveaudio alias capture", nullptr, 0);
        app.mci.SendString("record capture", nullptr, 0);
        app.m.RecordingState = RecorderBusy;
        app.m.AutoRecording = true;
        app.Timer3.enabled = true;
        app.mci.Take();
    }

    // The Cut button pressed and released in its middle.
    void ClickCut() { app.SeeThroughCut.Click(); }

    FakeApp app;
};

} // namespace murmora::fakes
