#include <gtest/gtest.h>

#include "playback/player.h"
#include "tests/support/fake_panel.h"

namespace murmora::fakes {
namespace {

using Commands = std::vector<std::string>;

// A voice1 device on FakeMci that plays for a given number of mode queries.
struct FakeVoiceDevice {
    std::string lengthMs = "500", lengthBytes = "1536", idleMode = "stopped";
    int playingQueries = 3;
    bool open = false, bytes = false;
    int left = 0;

    explicit FakeVoiceDevice(FakeMci& mci) {
        mci.respond = [this](const std::string& command, std::string& reply) { return answer(command, reply); };
    }
    int answer(const std::string& command, std::string& reply) {
        if (command.find("voice1") == std::string::npos) return 0; // the take's device
        if (command.rfind("open ", 0) == 0) return open ? mci::kAliasInUse : (open = true, 0);
        if (!open) return mci::kAliasNotOpen;
        if (command == "set voice1 time format ms") bytes = false;
        if (command == "set voice1 time format bytes") bytes = true;
        if (command == "status voice1 length") reply = bytes ? lengthBytes : lengthMs;
        if (command == "play voice1") left = playingQueries;
        if (command == "status voice1 mode") reply = left > 0 ? (--left, "playing") : idleMode;
        if (command == "stop voice1") left = 0;
        if (command == "close voice1") open = false, left = 0;
        return 0;
    }
};

const std::string kManualTake = "/home/user/manual.wav";
const std::string kScheduledTake = "/home/user/AutoRec.wav";

// The commands of one Play action from its open to the start of the wait.
Commands playStart(const std::string& file) {
    return {"open \"" + file + "\" type waveaudio alias voice1",
            "set voice1 time format ms",
            "status voice1 length",
            "set voice1 time format bytes",
            "status voice1 length",
            "play voice1"};
}

Commands concat(std::initializer_list<Commands> parts) {
    Commands all;
    for (const auto& part : parts)
        all.insert(all.end(), part.begin(), part.end());
    return all;
}

Commands modeQueries(int times) { return Commands(static_cast<std::size_t>(times), "status voice1 mode"); }

struct FakeLatestTake : LatestTake {
    std::string path;
    std::string latestTakePath() const override { return path; }
};

// The Play button on its own, playing whatever the latest take names.
struct PlayerTest : ::testing::Test {
    FakeMci mci;
    FakeFiles files;
    FakeMessageBoxes messages;
    FakeEventPump pump;
    FakeResources resources{files};
    ResourcePictures pictures{resources, files};
    FakePictureButton playButton;
    FakeLabel secondsLabel, sizeLabel;
    FakeLatestTake latest;
    Player player{{mci, files, messages, pump, pictures}, {playButton, secondsLabel, sizeLabel}, latest};
    FakeVoiceDevice device{mci};

    void saved(const std::string& path) {
        files.add(path);
        latest.path = path;
    }
    void play() { playButton.click(); }
};

TEST_F(PlayerTest, HiddenFilesAndFoldersCountAsMissingAndBlanksStayInTheOpenCommand) {
    saved("/home/user/.hidden.wav");
    play();
    latest.path = "/home/user";
    play();
    EXPECT_TRUE(mci.commands.empty());

    saved("/home/user/my takes/take one.wav");
    play();
    EXPECT_EQ(mci.commands.front(), "open \"/home/user/my takes/take one.wav\" type waveaudio alias voice1");
    EXPECT_EQ(playButton.current(), "custom:107") << "the button is back to its released picture";
}

TEST_F(PlayerTest, SendsTheStepsInOrderAsksBeforeEachWaitAndClosesAtTheEnd) {
    saved(kManualTake);
    // Any mode other than "playing" ends the wait.
    for (const auto& [playing, idleMode] : {std::pair{0, "stopped"}, std::pair{3, "stopped"}, std::pair{2, ""}}) {
        device.playingQueries = playing;
        device.idleMode = idleMode;
        pump.waits.clear();
        play();
        EXPECT_EQ(mci.take(), concat({playStart(kManualTake), modeQueries(playing + 1), {"close voice1"}}));
        // Each wait sleeps (no busy loop) but briefly, so the end of the file is seen soon.
        ASSERT_EQ(pump.waits.size(), static_cast<std::size_t>(playing));
        for (const int wait : pump.waits)
            EXPECT_TRUE(wait > 0 && wait <= 250) << wait;
        EXPECT_FALSE(player.isPlaying());
        EXPECT_FALSE(device.open);
    }
}

TEST_F(PlayerTest, AFailedOpenStillRunsEveryStepAndEndsAtTheFirstQuery) {
    saved(kManualTake);
    mci.respond = [](const std::string&, std::string&) { return mci::kAliasNotOpen; };
    play();
    EXPECT_EQ(mci.take(), concat({playStart(kManualTake), modeQueries(1), {"close voice1"}}));
    EXPECT_EQ(secondsLabel.caption, "") << "a length reply without a number leaves the label empty";
    EXPECT_EQ(sizeLabel.caption, "");
    EXPECT_EQ(pump.calls, 0);
}

TEST_F(PlayerTest, TheModeQueryCutsTheReplyAtItsFirstNulAndPlaysOnlyOnPlaying) {
    const std::pair<std::string, bool> cases[] = {
        {"playing", true},
        {std::string("playing\0stale", 13), true},
        {"stopped", false},
        {"Playing", false},
        {"playing ", false},
        {"", false},
        {"playing" + std::string(121, ' '), false}}; // 128 characters and no NUL: the service gave no mode
    for (const auto& [reply, playing] : cases) {
        mci.respond = [&](const std::string&, std::string& answer) { return answer = reply, 0; };
        EXPECT_EQ(player.queryPlaying(), playing) << reply;
        EXPECT_EQ(player.isPlaying(), playing) << reply;
    }
    EXPECT_EQ(mci.take(), modeQueries(7));
}

TEST_F(PlayerTest, ASoundServerThatDoesNotAnswerEndsTheActionWithAWord) {
    const std::string silent =
        "The sound server does not answer: the recording cannot be played now. Try again in a moment.";
    saved(kManualTake);
    for (const std::string& failing : {playStart(kManualTake)[0], std::string("play voice1")}) {
        mci.respond = [&](const std::string& command, std::string& reply) {
            return command == failing ? mci::kServerNotAnswering : device.answer(command, reply);
        };
        play();
        const Commands sent = mci.take();
        EXPECT_EQ(sent.back(), "close voice1") << failing;
        EXPECT_EQ(std::count(sent.begin(), sent.end(), "status voice1 mode"), 0) << "no wait after " << failing;
        EXPECT_EQ(messages.texts().back(), silent);
    }
}

TEST(FormatTenths, OneRoundedDigitNoLeadingZeroNoSeparator) {
    const std::tuple<unsigned long long, unsigned, const char*> cases[] = {
        {0, 1000, ".0"},           {49, 1000, ".0"},
        {50, 1000, ".1"},          {150, 1000, ".2"},
        {949, 1000, ".9"},         {950, 1000, "1.0"},
        {1999, 1000, "2.0"},       {1280, 1024, "1.3"},
        {1234567, 1000, "1234.6"}, {18446744073709551615ULL, 1024, "18014398509481984.0"}};
    for (const auto& [number, divisor, text] : cases)
        EXPECT_EQ(formatTenths(number, divisor), text) << number;
}

TEST_F(PlayerTest, LabelsShowSecondsAndKilobytesFromTheNumberEachReplyBeginsWith) {
    const std::tuple<const char*, const char*, const char*, const char*> cases[] = {
        {"500", "1536", ".5 sec", "1.5 KB"},
        {"30000", "5292044", "30.0 sec", "5168.0 KB"},
        {"1500 ms", "2048x", "1.5 sec", "2.0 KB"},
        {"", "", "", ""},
        {"unknown", "-5", "", ""}};
    saved(kManualTake);
    for (const auto& [ms, bytes, seconds, size] : cases) {
        device.lengthMs = ms;
        device.lengthBytes = bytes;
        secondsLabel.left = sizeLabel.left = 99;
        play();
        EXPECT_EQ(secondsLabel.caption, seconds) << ms;
        EXPECT_EQ(sizeLabel.caption, size) << bytes;
        EXPECT_EQ(secondsLabel.left, 10);
        EXPECT_EQ(sizeLabel.left, 10);
    }
}

TEST_F(PlayerTest, ASecondPlayRunsInsideTheFirstAndWhicheverEndsFirstCloses) {
    saved(kManualTake);
    device.playingQueries = 2;
    pump.onEvents = [&] {
        if (pump.calls == 1) play();
    };
    play();
    EXPECT_EQ(mci.take(), concat({playStart(kManualTake),
                                  modeQueries(1), // outer: playing, waits
                                  playStart(kManualTake),
                                  modeQueries(3),
                                  {"close voice1"}, // inner: open fails (289),
                                                    // play restarts the take
                                  modeQueries(1),
                                  {"close voice1"}})); // outer: ends at its next query
    EXPECT_EQ(pump.calls, 3);
}

TEST_F(PlayerTest, AStopEndsTheWaitAtTheNextQuery) {
    saved(kManualTake);
    device.playingQueries = 1000;
    pump.onEvents = [&] {
        if (pump.calls == 3) player.stop();
    };
    play();
    EXPECT_EQ(mci.take(), concat({playStart(kManualTake),
                                  modeQueries(3),
                                  {"stop voice1", "close voice1"},
                                  modeQueries(1),
                                  {"close voice1"}}));
    EXPECT_EQ(pump.calls, 3);
    EXPECT_FALSE(player.isPlaying());
}

// The whole panel: which take Play plays, as the recorder and the schedule leave it.
struct PanelWithTakes {
    FakePanel app;
    FakeVoiceDevice device{app.mci};

    PanelWithTakes() {
        app.clock.setTimeOfDay(13, 5, 7);
        app.start();
    }
    void saveManually(const std::string& path) {
        app.hotkeys.press(0);
        app.saveTakeDialog.answer(path);
        app.hotkeys.press(1);
        app.files.add(path); // the fake device writes no file
    }
    // Arms the schedule for now, for one second, to `target`.
    void arm(const std::string& target) {
        app.startHourSpinner.setValue(1);
        app.startMinuteSpinner.setValue(5);
        app.startSecondSpinner.setValue(7);
        app.dayHalfSpinner.setValue(2);
        app.durationMinutesSpinner.setValue(0);
        app.durationSecondsSpinner.setValue(1);
        app.targetPathBox.setText(target);
        app.activateCheckBox.checked = true;
        app.panel.schedule.onCloseRequested();
    }
    void saveScheduled(const std::string& path) {
        arm(path);
        app.scheduleStartTimer.tick();
        app.clock.advance(1);
        app.scheduledStopTimer.tick();
        app.files.add(path);
        app.clock.advance(-1);
    }
};

struct PanelPlayback : PanelWithTakes, ::testing::Test {};

// Steps: M and S save a manual and a scheduled take, m and s delete them, N arms a new target.
TEST(PanelPlays, TheLatestSavedTakeIfItStillExists) {
    const std::pair<std::string, std::string> cases[] = {
        {"", ""},   {"M", kManualTake}, {"S", kScheduledTake}, {"MS", kScheduledTake}, {"SM", kManualTake}, {"MSs", ""},
        {"Mm", ""}, {"SN", ""}};
    for (const auto& [steps, played] : cases) {
        PanelWithTakes panel;
        for (char step : steps) {
            if (step == 'M') panel.saveManually(kManualTake);
            if (step == 'S') panel.saveScheduled(kScheduledTake);
            if (step == 'm') panel.app.files.files.erase(kManualTake);
            if (step == 's') panel.app.files.files.erase(kScheduledTake);
            if (step == 'N') panel.arm("/home/user/Evening.wav");
        }
        panel.app.mci.take();
        panel.app.playButton.click();
        const Commands sent = panel.app.mci.take();
        EXPECT_EQ(sent.empty() ? "" : sent.front(), played.empty() ? "" : playStart(played).front()) << steps;
        EXPECT_EQ(panel.app.secondsLabel.caption, played.empty() ? "" : ".5 sec") << steps;
    }
}

TEST_F(PanelPlayback, TheUnloadEndsTheWait) {
    saveManually(kManualTake);
    device.playingQueries = 1000;
    app.pump.onEvents = [&] { app.panel.unload(); };
    app.playButton.click();
    EXPECT_EQ(app.pump.calls, 1);
    EXPECT_EQ(app.mci.commands.back(), "close voice1");
    EXPECT_FALSE(device.open);
}

} // namespace
} // namespace murmora::fakes
