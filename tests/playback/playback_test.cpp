#include <gtest/gtest.h>

#include "playback/playback.h"
#include "tests/fakes/fake_app.h"

namespace murmora::fakes {
namespace {

// A voice1 device on FakeMci that plays for a given number of mode queries.
constexpr int MciErrInvalidDeviceName = 263;  // no device open under that alias
constexpr int MciErrDuplicateAlias = 289;     // the alias is already open

struct FakeVoiceDevice {
    std::string lengthMs = "500", lengthBytes = "1536", idleMode = "stopped";
    int playingQueries = 3;
    bool open = false, bytes = false;
    int left = 0;

    explicit FakeVoiceDevice(FakeMci& mci) {
        mci.respond = [this](const std::string& command, std::string& reply) { return Answer(command, reply); };
    }
    int Answer(const std::string& command, std::string& reply) {
        if (command.rfind("open ", 0) == 0) return open ? MciErrDuplicateAlias : (open = true, 0);
        if (!open) return MciErrInvalidDeviceName;
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

using Commands = std::vector<std::string>;

const std::string ManualTake = "/home/user/manual.wav";
const std::string ScheduledTake = "/home/user/AutoRec.wav";
const Commands StopAndClose{"stop voice1", "close voice1"};

// The commands of one Play action from its open to the start of the wait.
Commands PlayStart(const std::string& file) {
    return {"open \"" + file + "\" type waveaudio alias voice1", "set voice1 time format ms", "status voice1 length",
            "set voice1 time format bytes", "status voice1 length", "play voice1"};
}

Commands Concat(std::initializer_list<Commands> parts) {
    Commands all;
    for (const auto& part : parts) all.insert(all.end(), part.begin(), part.end());
    return all;
}

Commands ModeQueries(int times) { return Commands(static_cast<std::size_t>(times), "status voice1 mode"); }

struct Panel {
    FakeApp app;
    FakeVoiceDevice device{app.mci};

    Panel() { FakeApp::Start(app); }
    void SaveManually(const std::string& path) {
        app.files.add(path);
        app.m.PlayFileName = path;
        app.mod.LastSaveScheduled = false;
    }
    void SaveScheduled(const std::string& path) {
        app.files.add(path);
        app.mod.AutoSavePath = path;
        app.mod.LastSaveScheduled = true;
    }
    void Play() { app.SeeThroughPlay.click(); }
};

struct PlaybackPanel : Panel, ::testing::Test {};

// Steps: M and S save a manual and a scheduled take, m and s delete them, N names a new target.
TEST_F(PlaybackPanel, PlaysTheLatestSavedTakeIfItStillExists) {
    const std::pair<std::string, std::string> cases[] = {
        {"", ""}, {"M", ManualTake}, {"S", ScheduledTake}, {"MS", ScheduledTake}, {"SM", ManualTake},
        {"MSs", ""}, {"Mm", ""}, {"SN", ""}};
    for (const auto& [steps, played] : cases) {
        Panel panel;
        for (char step : steps) {
            if (step == 'M') panel.SaveManually(ManualTake);
            if (step == 'S') panel.SaveScheduled(ScheduledTake);
            if (step == 'm') panel.app.files.removeFile(ManualTake);
            if (step == 's') panel.app.files.removeFile(ScheduledTake);
            if (step == 'N') panel.app.mod.AutoSavePath = "/home/user/Evening.wav";
        }
        panel.Play();
        const Commands& sent = panel.app.mci.commands;
        EXPECT_EQ(sent.empty() ? "" : sent.front(), played.empty() ? "" : PlayStart(played).front()) << steps;
        EXPECT_EQ(panel.app.Label1.caption, played.empty() ? "" : ".5 sec") << steps;
        EXPECT_TRUE(panel.app.messages.shown.empty());
        EXPECT_EQ(panel.app.SeeThroughPlay.current(), "custom:107") << "the button is back to its normal picture";
    }
}

TEST_F(PlaybackPanel, HiddenFilesAndFoldersCountAsMissingAndBlanksStayInTheOpenCommand) {
    SaveManually("/home/user/.hidden.wav");
    Play();
    app.m.PlayFileName = "/home/user";
    Play();
    EXPECT_TRUE(app.mci.commands.empty());

    SaveManually("/home/user/my takes/take one.wav");
    Play();
    EXPECT_EQ(app.m.PlayOpenCommand, "open \"/home/user/my takes/take one.wav\" type waveaudio alias voice1");
    EXPECT_EQ(app.mci.commands.front(), app.m.PlayOpenCommand);
}

TEST_F(PlaybackPanel, SendsTheStepsInOrderAsksBeforeEachWaitAndClosesAtTheEnd) {
    SaveManually(ManualTake);
    // Any mode other than "playing" ends the wait.
    for (const auto& [playing, idleMode] : {std::pair{0, "stopped"}, std::pair{3, "stopped"}, std::pair{2, ""}}) {
        device.playingQueries = playing;
        device.idleMode = idleMode;
        app.pump.waits.clear();
        Play();
        EXPECT_EQ(app.mci.take(), Concat({PlayStart(ManualTake), ModeQueries(playing + 1), {"close voice1"}}));
        EXPECT_EQ(app.pump.waits, std::vector<int>(static_cast<std::size_t>(playing), 100));
        EXPECT_EQ(app.m.PlayMode, idleMode);
        EXPECT_EQ(app.m.MciResult, "0");
        EXPECT_FALSE(device.open);
    }
}

TEST_F(PlaybackPanel, AFailedOpenStillRunsEveryStepAndEndsAtTheFirstQuery) {
    SaveManually(ManualTake);
    app.mci.respond = [](const std::string&, std::string&) { return MciErrInvalidDeviceName; };
    Play();
    EXPECT_EQ(app.mci.take(), Concat({PlayStart(ManualTake), ModeQueries(1), {"close voice1"}}));
    EXPECT_EQ(app.Label1.caption, "") << "a length reply without a number leaves the label empty";
    EXPECT_EQ(app.Label2.caption, "");
    EXPECT_EQ(app.m.MciResult, "263");
    EXPECT_EQ(app.pump.calls, 0);
}

TEST_F(PlaybackPanel, IsWavePlayingCutsTheReplyAtItsFirstNulAndPlaysOnlyOnPlaying) {
    struct Case {
        std::string reply;
        bool playing;
        std::string playMode;
    };
    for (const Case& c : {Case{"playing", true, "playing"}, Case{std::string("playing\0stale", 13), true, "playing"},
                          Case{"stopped", false, "stopped"}, Case{"Playing", false, "Playing"},
                          Case{"playing ", false, "playing "}, Case{"", false, ""},
                          // 128 characters and no NUL: the service gave no mode.
                          Case{"playing" + std::string(121, ' '), false, ""}}) {
        app.mci.respond = [&](const std::string&, std::string& reply) { return reply = c.reply, 0; };
        EXPECT_EQ(app.form.IsWavePlaying("voice1"), c.playing) << c.reply;
        EXPECT_EQ(app.m.PlayMode, c.playMode) << c.reply;
    }
    EXPECT_EQ(app.mci.take(), ModeQueries(7));

    app.mci.respond = [](const std::string&, std::string&) { return MciErrInvalidDeviceName; };
    EXPECT_FALSE(app.form.IsWavePlaying("capture"));
    EXPECT_EQ(app.mci.commands.back(), "status capture mode");
    EXPECT_EQ(app.m.MciResult, "263");
    EXPECT_EQ(app.m.PlayMode, "") << "a service that writes nothing still leaves its NUL";
}

TEST_F(PlaybackPanel, ASoundServerThatDoesNotAnswerEndsTheActionWithAWord) {
    const std::string Silent =
        "The sound server does not answer: the recording cannot be played now. Try again in a moment.";
    SaveManually(ManualTake);
    for (const std::string& failing : {PlayStart(ManualTake)[0], std::string("play voice1")}) {
        app.mci.respond = [&](const std::string& command, std::string& reply) {
            return command == failing ? 513 : device.Answer(command, reply);
        };
        Play();
        const Commands sent = app.mci.take();
        EXPECT_EQ(sent.back(), "close voice1") << failing;
        EXPECT_EQ(std::count(sent.begin(), sent.end(), "status voice1 mode"), 0) << "no wait after " << failing;
        EXPECT_EQ(app.messages.texts().back(), Silent);
    }
}

TEST(FormatTenths, OneRoundedDigitNoLeadingZeroNoSeparator) {
    const std::tuple<unsigned long long, unsigned, const char*> cases[] = {
        {0, 1000, ".0"}, {49, 1000, ".0"}, {50, 1000, ".1"}, {150, 1000, ".2"}, {949, 1000, ".9"},
        {950, 1000, "1.0"}, {1999, 1000, "2.0"}, {1280, 1024, "1.3"}, {1234567, 1000, "1234.6"},
        {18446744073709551615ULL, 1024, "18014398509481984.0"}};
    for (const auto& [number, divisor, text] : cases) EXPECT_EQ(FormatTenths(number, divisor), text) << number;
}

TEST_F(PlaybackPanel, LabelsShowSecondsAndKilobytesFromTheNumberEachReplyBeginsWith) {
    const std::tuple<const char*, const char*, const char*, const char*> cases[] = {
        {"500", "1536", ".5 sec", "1.5 KB"},   {"30000", "5292044", "30.0 sec", "5168.0 KB"},
        {"1500 ms", "2048x", "1.5 sec", "2.0 KB"}, {"", "", "", ""}, {"unknown", "-5", "", ""}};
    SaveManually(ManualTake);
    for (const auto& [ms, bytes, label1, label2] : cases) {
        device.lengthMs = ms;
        device.lengthBytes = bytes;
        app.Label1.left = app.Label2.left = 99;
        Play();
        EXPECT_EQ(app.Label1.caption, label1) << ms;
        EXPECT_EQ(app.Label2.caption, label2) << bytes;
        EXPECT_EQ(app.Label1.left, 10);
        EXPECT_EQ(app.Label2.left, 10);
    }
}

TEST_F(PlaybackPanel, Command4StopsOnlyThePlayedTargetInAnyEnglishLetterCase) {
    const std::tuple<const char*, const char*, const char*, bool> cases[] = {
        {"playing", "/home/user/AutoRec.wav", "/home/user/AutoRec.wav", true},
        {"playing", "/HOME/USER/AUTOREC.WAV", "/home/user/AutoRec.wav", true},
        {"playing", "/home/user/manual.wav", "/home/user/AutoRec.wav", false},
        {"stopped", "/home/user/AutoRec.wav", "/home/user/AutoRec.wav", false},
        {"playing", "/home/user/\xC3\xA9t\xC3\xA9.wav", "/home/user/\xC3\x89T\xC3\x89.WAV", false}};  // été, ÉTÉ
    for (const auto& [mode, played, target, stops] : cases) {
        app.m.MciResult = "untouched";
        app.m.PlayMode = mode;
        app.m.PlayFileName = played;
        app.Text8.contents = target;
        app.form.Command4Click();
        EXPECT_EQ(app.mci.take(), stops ? StopAndClose : Commands{}) << mode << " " << played;
        EXPECT_EQ(app.m.MciResult == "untouched", !stops) << played;
    }
}

TEST_F(PlaybackPanel, ASecondPlayRunsInsideTheFirstAndWhicheverEndsFirstCloses) {
    SaveManually(ManualTake);
    device.playingQueries = 2;
    app.pump.onEvents = [&] {
        if (app.pump.calls == 1) Play();
    };
    Play();
    EXPECT_EQ(app.mci.take(),
              Concat({PlayStart(ManualTake), ModeQueries(1),                    // outer: playing, waits
                      PlayStart(ManualTake), ModeQueries(3), {"close voice1"},  // inner: open fails (289),
                                                                                // play restarts the take
                      ModeQueries(1), {"close voice1"}}));                      // outer: ends at its next query
    EXPECT_EQ(app.m.MciResult, "263") << "the outer close finds the device already closed";
    EXPECT_EQ(app.pump.calls, 3);
}

TEST_F(PlaybackPanel, Command3SendsNothingWhileNothingPlaysAndEndsTheWaitAtTheNextQuery) {
    app.m.MciResult = "untouched";
    app.m.PlayMode = "stopped";
    app.form.Command3Click();
    EXPECT_TRUE(app.mci.commands.empty());
    EXPECT_EQ(app.m.MciResult, "untouched");
    SaveManually(ManualTake);
    device.playingQueries = 1000;
    app.pump.onEvents = [&] {
        if (app.pump.calls == 3) app.form.Command3Click();
    };
    Play();
    EXPECT_EQ(app.mci.take(), Concat({PlayStart(ManualTake), ModeQueries(3), StopAndClose, ModeQueries(1),
                                      {"close voice1"}}));
    EXPECT_EQ(app.pump.calls, 3);
    EXPECT_EQ(app.m.PlayMode, "");
    EXPECT_EQ(app.m.MciResult, "263");
}

TEST_F(PlaybackPanel, ACommand4OfTheSameFileOrTheUnloadSequenceEndsTheWait) {
    SaveManually(ScheduledTake);
    app.Text8.contents = "/HOME/USER/autorec.wav";
    device.playingQueries = 1000;
    for (auto handler : {&ShapedForm::Command4Click, &ShapedForm::FormUnload}) {
        app.pump.calls = 0;
        app.pump.onEvents = [&] { (app.form.*handler)(); };
        Play();
        EXPECT_EQ(app.pump.calls, 1);
        EXPECT_EQ(app.mci.commands.back(), "close voice1");
        EXPECT_FALSE(device.open);
    }
}

} // namespace
} // namespace murmora::fakes
