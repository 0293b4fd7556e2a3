#include "tests/recording/recording_fixture.h"

namespace murmora::fakes {
namespace {

const std::string Target = "/home/user/AutoRec.wav";
// The take starts at 13:05:07 on the fake clock's day, 2024-10-04.
const std::string Fallback = "/home/user/Murmora take 2024-10-04 13-05-07.wav";

using ScheduledStop = RecordingTest;

TEST_F(ScheduledStop, CutButtonSavesToThePathBoxAsItIsAtTheStopWithoutADialog) {
    StartScheduledTake(60);
    app.Text8.contents = "/tmp/edited.wav";
    const std::size_t cutBefore = app.SeeThroughCut.shown.size();
    app.SeeThroughCut.click();
    EXPECT_EQ(app.mci.take(), (Commands{"stop capture", SaveCapture("/tmp/edited.wav"), "close capture"}));
    EXPECT_EQ(app.mod.AutoSavePath, "/tmp/edited.wav");
    EXPECT_TRUE(app.mod.LastSaveScheduled);
    EXPECT_TRUE(app.CommonDialog1.shownAs.empty());
    EXPECT_TRUE(app.messages.shown.empty());
    EXPECT_EQ(ShownSince(app.SeeThroughCut.shown, cutBefore), (Strings{"custom:106", "custom:105"}));
    ExpectIdle();
}

TEST_F(ScheduledStop, HotkeyStopsAPlayingFileAfterTheCapture) {
    StartScheduledTake(60);
    app.m.PlayMode = "playing";
    app.hotkeys.press(1);
    EXPECT_EQ(app.mci.take(),
              (Commands{"stop capture", "stop voice1", "close voice1", SaveCapture(Target), "close capture"}));
    ExpectIdle();
}

TEST_F(ScheduledStop, Timer3StopsAtTheFirstTickThatReachesTheDurationAndSavesToThePathBoxAsEdited) {
    StartScheduledTake(5);
    app.clock.advance(4);
    app.Timer3.tick();
    EXPECT_EQ(app.mod.AutoElapsedSeconds, 4);
    EXPECT_TRUE(app.mci.take().empty());
    EXPECT_EQ(app.Label5.caption, "Start: 13:05:07");
    app.Text8.contents = "/tmp/later.wav";
    app.clock.advance(1);
    app.Timer3.tick();
    EXPECT_EQ(app.mci.take(), (Commands{"stop capture", SaveCapture("/tmp/later.wav"), "close capture"}));
    EXPECT_EQ(app.mod.AutoSavePath, "/tmp/later.wav");
    EXPECT_TRUE(app.mod.LastSaveScheduled);
    EXPECT_EQ(app.Label5.caption + app.Label6.caption, "");
    EXPECT_TRUE(app.messages.shown.empty());
    EXPECT_TRUE(app.files.fileExists("/tmp/later.wav"));
    ExpectIdle();
}

TEST_F(ScheduledStop, Timer3StopsAPlayingFileFirstAndSaysWhenTheDiskFilledDuringTheTake) {
    StartScheduledTake(2);
    app.m.PlayMode = "playing";
    app.mci.respond = [this](const std::string& command, std::string&) {
        return command == "stop capture" ? 512 : Answer(command);
    };
    const std::size_t cutPictures = app.SeeThroughCut.shown.size();
    app.clock.advance(3);
    app.Timer3.tick();
    EXPECT_EQ(app.mci.take(),
              (Commands{"stop voice1", "close voice1", "stop capture", SaveCapture(Target), "close capture"}));
    EXPECT_EQ(app.messages.texts(), Strings{PartlyWritten});
    EXPECT_TRUE(app.files.fileExists(Target));
    EXPECT_EQ(app.SeeThroughCut.shown.size(), cutPictures);
}

// A save may take a while (a copy to another file system) with hotkeys and timers acting
// meanwhile: the take being saved is not stopped again, and no take starts until it is saved.
TEST_F(ScheduledStop, WhileTheSaveRunsNeitherHotkeysNorADueScheduleTouchTheDevice) {
    StartScheduledTake(2);
    app.mod.ScheduleBase = app.clock.time;  // another schedule, due now
    app.mod.StartDelaySeconds = 0;
    app.Timer2.enabled = true;
    Commands duringSave;
    app.mci.respond = [&](const std::string& command, std::string&) {
        if (command == SaveCapture(Target)) {
            const std::size_t before = app.mci.commands.size();
            app.hotkeys.press(1);
            app.hotkeys.press(0);
            app.Timer2.tick();
            duringSave.assign(app.mci.commands.begin() + static_cast<std::ptrdiff_t>(before), app.mci.commands.end());
        }
        return Answer(command);
    };
    app.clock.advance(2);
    app.Timer3.tick();
    EXPECT_TRUE(duringSave.empty()) << duringSave.front();
    EXPECT_EQ(app.mci.take(), (Commands{"stop capture", SaveCapture(Target), "close capture"}));
    ExpectIdle();
    EXPECT_TRUE(app.Timer2.enabled) << "the schedule starts at its first tick after the save";
}

TEST_F(ScheduledStop, ClockSetBackDelaysTheStopAndSetForwardBringsItEarlier) {
    StartScheduledTake(10);
    app.clock.advance(8 - 60);
    app.Timer3.tick();
    EXPECT_EQ(app.mod.AutoElapsedSeconds, -52);
    app.clock.advance(61);
    app.Timer3.tick();
    EXPECT_TRUE(app.m.AutoRecording) << "9 seconds by the clock";
    app.clock.advance(3600);
    app.Timer3.tick();
    EXPECT_FALSE(app.m.AutoRecording);
}

enum class ScheduledEnd { CutButton, Hotkey, Timer3 };

class UnwritableTarget : public RecordingTest, public ::testing::WithParamInterface<ScheduledEnd> {
protected:
    void StartAndEnd(const std::string& target) {
        StartScheduledTake(5, target);
        app.clock.advance(5);
        switch (GetParam()) {
        case ScheduledEnd::CutButton: app.SeeThroughCut.click(); break;
        case ScheduledEnd::Hotkey: app.hotkeys.press(1); break;
        case ScheduledEnd::Timer3: app.Timer3.tick(); break;
        }
    }
    const Commands SavedToTheFallback{"stop capture", SaveCapture("/gone/AutoRec.wav"), SaveCapture(Fallback)};
};

TEST_P(UnwritableTarget, SavesToADatedFileInTheHomeFolderNeverOverAnEarlierOneAndSaysWhere) {
    app.messages.whileOpen = [&](const ShownMessage&) {
        EXPECT_EQ(app.mci.commands.back(), "close capture") << "the device is free while the box is open";
    };
    StartAndEnd("/gone/AutoRec.wav");
    EXPECT_EQ(app.mci.take(), SavedToTheFallback + "close capture");
    EXPECT_EQ(app.mod.AutoSavePath, Fallback) << "so that Play finds the take";
    EXPECT_EQ(app.messages.shown.size(), 1u);
    ExpectMessage(0, "Recording could not be saved as  /gone/AutoRec.wav\n\nIt was saved as  " + Fallback,
                  MessageStyle::exclamation);
    EXPECT_TRUE(app.CommonDialog1.shownAs.empty());
    ExpectIdle();

    app.files.files[Fallback] = {'f', 'i', 'r', 's', 't'};
    app.clock.advance(-5);  // a second take from the same second, with an empty path box
    StartAndEnd("");
    const std::string second = "/home/user/Murmora take 2024-10-04 13-05-07 (2).wav";
    EXPECT_EQ(app.mci.take(), (Commands{"stop capture", SaveCapture(""), SaveCapture(second), "close capture"}));
    EXPECT_EQ(app.mod.AutoSavePath, second);
    EXPECT_EQ(app.files.files[Fallback], (std::vector<unsigned char>{'f', 'i', 'r', 's', 't'}));
}

TEST_P(UnwritableTarget, WhenTheHomeFolderFailsTooTheUserChoosesThePlaceOrDiscardsIt) {
    app.files.folders.erase("/home/user");
    app.files.folders.insert("/media/usb");
    app.mod.LastSaveScheduled = false;
    app.CommonDialog1.answer("/media/usb/take.wav", [&] {
        EXPECT_TRUE(app.m.CaptureSavePending);
        EXPECT_FALSE(app.mci.sent("close capture")) << "the device still holds the take";
    });
    StartAndEnd("/gone/AutoRec.wav");
    EXPECT_EQ(app.mci.take(), SavedToTheFallback + SaveCapture("/media/usb/take.wav") + "close capture");
    EXPECT_EQ(app.messages.texts(),
              (Strings{"Recording could not be saved as  /gone/AutoRec.wav\nnor as  " + Fallback +
                                            "\n\nThe recording is kept: choose where to save it.",
                                        "Recording saved as  /media/usb/take.wav"}));
    EXPECT_EQ(app.CommonDialog1.setup.title, "Save Recorded File");
    EXPECT_EQ(app.m.PlayFileName, "/media/usb/take.wav");
    EXPECT_FALSE(app.mod.LastSaveScheduled) << "Play takes the file the user chose";
    ExpectIdle();

    app.files.folders.erase("/media/usb");
    app.clock.advance(-5);  // a take from the same second, so the same fallback name
    StartAndEnd("/gone/AutoRec.wav");  // and this time the user cancels
    EXPECT_EQ(app.mci.take(), SavedToTheFallback + "close capture");
    EXPECT_EQ(app.messages.shown.back().text, "Recording Not Saved");
    ExpectIdle();
}

INSTANTIATE_TEST_SUITE_P(ScheduledTake, UnwritableTarget,
                         ::testing::Values(ScheduledEnd::CutButton, ScheduledEnd::Hotkey, ScheduledEnd::Timer3));

TEST_F(ScheduledStop, ADurationOfOneStopsAtTheFirstTickAndAHomeAtTheRootTakesTheFallback) {
    app.files.home = "/";
    StartScheduledTake(1, "/gone/AutoRec.wav");
    app.clock.advance(1);
    app.Timer3.tick();
    EXPECT_EQ(app.mod.AutoSavePath, "/Murmora take 2024-10-04 13-05-07.wav") << "with one separator";
    EXPECT_TRUE(app.files.fileExists(app.mod.AutoSavePath));
    EXPECT_EQ(FallbackTakeName(0, 3), "Murmora take 1970-01-01 00-00-00 (3).wav");
}

TEST(LeftoverTakes, EachGoesToTheHomeFolderOrIsNamedWhereItIs) {
    FakeApp app;
    const std::string told = "Murmora ended during a recording.\n\nWhat was recorded until then is kept as  ";
    const std::string stuck = "/cache/takes/take-7-0.wav";
    for (const std::string path : {"/cache/takes/take-12-0.wav", "/cache/takes/take-40-0.wav", stuck.c_str()}) {
        app.files.add(path);
        app.takes.left.push_back({path, 1796562307});  // 2026-12-06 13:05:07 on the wall clock
    }
    app.files.undeletable.insert(stuck);
    FakeApp::Start(app);
    const std::string first = "/home/user/Murmora take 2026-12-06 13-05-07.wav";
    const std::string second = "/home/user/Murmora take 2026-12-06 13-05-07 (2).wav";
    EXPECT_TRUE(app.files.fileExists(first));
    EXPECT_TRUE(app.files.fileExists(second));
    EXPECT_FALSE(app.files.fileExists("/cache/takes/take-12-0.wav"));
    EXPECT_EQ(app.messages.texts(), (Strings{told + first, told + second, told + stuck}));
    EXPECT_EQ(app.messages.shown.at(0).style, MessageStyle::exclamation);
}

} // namespace
} // namespace murmora::fakes
