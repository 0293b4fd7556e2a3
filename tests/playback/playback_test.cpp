#include <gtest/gtest.h>

#include "playback/playback.h"
#include "tests/fakes/fake_app.h"
#include "tests/playback/fake_voice_device.h"

namespace murmora::fakes {
namespace {

using Commands = std::vector<std::string>;

const std::string ManualTake = "/home/user/manual.wav";
const std::string ScheduledTake = "/home/user/AutoRec.wav";

// The commands of one Play action from its open to the start of the wait.
Commands PlayStart(const std::string& file) {
    return {"open " + file + " type waveaudio alias voice1",
            "set voice1 time format ms",
            "status voice1 length",
            "set voice1 time format bytes",
            "status voice1 length",
            "play voice1"};
}

Commands Repeated(const std::string& command, int times) { return Commands(static_cast<std::size_t>(times), command); }

Commands Concat(std::initializer_list<Commands> parts) {
    Commands all;
    for (const auto& part : parts) all.insert(all.end(), part.begin(), part.end());
    return all;
}

// A started panel with a voice1 device and the state a completed manual save leaves.
struct PlaybackPanel : ::testing::Test {
    FakeApp app;
    FakeVoiceDevice device{app.mci};

    void SetUp() override { FakeApp::Start(app); }

    void SaveManually(const std::string& path) {
        app.files.Add(path);
        app.m.PlayFileName = path;
        app.mod.LastSaveScheduled = false;
    }
    void SaveScheduled(const std::string& path) {
        app.files.Add(path);
        app.mod.AutoSavePath = path;
        app.mod.LastSaveScheduled = true;
    }
    void Play() { app.SeeThroughPlay.Click(); }
    // The file the last Play action opened, or "" when it sent nothing.
    std::string PlayedFile() {
        const Commands sent = app.mci.Take();
        if (sent.empty()) return "";
        const std::string& open = sent.front();
        return open.substr(5, open.size() - 5 - std::string(" type waveaudio alias voice1").size());
    }
};

// --- Choosing the file ---------------------------------------------------------------------

using ChoosingTheFile = PlaybackPanel;

TEST_F(ChoosingTheFile, AtStartUpPlayDoesNothing) {
    Play();
    EXPECT_TRUE(app.mci.commands.empty());
    EXPECT_EQ(app.Label1.caption, "");
    EXPECT_EQ(app.Label2.caption, "");
    EXPECT_EQ(app.pump.calls, 0);
    EXPECT_TRUE(app.messages.shown.empty());
    EXPECT_EQ(app.SeeThroughPlay.Current(), "custom:107") << "the button is back to its normal picture";
}

TEST_F(ChoosingTheFile, AfterAManualSavePlaysThatFile) {
    SaveManually(ManualTake);
    Play();
    EXPECT_EQ(PlayedFile(), ManualTake);
}

TEST_F(ChoosingTheFile, AfterAScheduledSavePlaysTheScheduleTarget) {
    SaveScheduled(ScheduledTake);
    Play();
    EXPECT_EQ(PlayedFile(), ScheduledTake);
}

TEST_F(ChoosingTheFile, AManualSaveThenAScheduledOnePlaysTheScheduledTake) {
    SaveManually(ManualTake);
    SaveScheduled(ScheduledTake);
    Play();
    EXPECT_EQ(PlayedFile(), ScheduledTake);
}

TEST_F(ChoosingTheFile, AScheduledSaveThenAManualOnePlaysTheManualTake) {
    SaveScheduled(ScheduledTake);
    SaveManually(ManualTake);
    Play();
    EXPECT_EQ(PlayedFile(), ManualTake);
}

TEST_F(ChoosingTheFile, ADeletedScheduledTakeIsNotReplacedByTheManualOne) {
    SaveManually(ManualTake);
    SaveScheduled(ScheduledTake);
    app.files.RemoveFile(ScheduledTake);
    Play();
    EXPECT_TRUE(app.mci.commands.empty());
}

TEST_F(ChoosingTheFile, ADeletedManualTakePlaysNothing) {
    SaveManually(ManualTake);
    app.files.RemoveFile(ManualTake);
    Play();
    EXPECT_TRUE(app.mci.commands.empty());
    EXPECT_EQ(app.Label1.caption, "");
}

TEST_F(ChoosingTheFile, ANewScheduleTargetIsLookedForUntilItHasBeenRecorded) {
    SaveScheduled(ScheduledTake);
    app.mod.AutoSavePath = "/home/user/Evening.wav";
    Play();
    EXPECT_TRUE(app.mci.commands.empty());
}

TEST_F(ChoosingTheFile, HiddenFilesAndFoldersCountAsMissing) {
    SaveManually("/home/user/.hidden.wav");
    Play();
    EXPECT_TRUE(app.mci.commands.empty());

    app.m.PlayFileName = "/home/user";  // a folder
    Play();
    EXPECT_TRUE(app.mci.commands.empty());
}

TEST_F(ChoosingTheFile, APathWithBlanksGoesIntoTheOpenCommandAsItIs) {
    SaveManually("/home/user/my takes/take one.wav");
    Play();
    EXPECT_EQ(app.m.PlayOpenCommand, "open /home/user/my takes/take one.wav type waveaudio alias voice1");
    EXPECT_EQ(app.mci.commands.front(), app.m.PlayOpenCommand);
}

// --- The Play action's commands and its wait -------------------------------------------------

using PlayAction = PlaybackPanel;

TEST_F(PlayAction, SendsTheStepsInOrderAndAsksUntilTheTakeHasEnded) {
    SaveManually(ManualTake);
    device.playingQueries = 3;
    Play();
    EXPECT_EQ(app.mci.Take(), Concat({PlayStart(ManualTake), Repeated("status voice1 mode", 4), {"close voice1"}}));
    EXPECT_EQ(app.m.PlayOpenCommand, "open " + ManualTake + " type waveaudio alias voice1");
    EXPECT_EQ(app.m.PlayMode, "stopped");
    EXPECT_EQ(app.m.MciResult, "0");
    EXPECT_FALSE(device.open) << "the device is closed between Play actions";
}

TEST_F(PlayAction, WaitsForEventsAtMostFiftyMillisecondsBetweenTwoQueries) {
    SaveManually(ManualTake);
    device.playingQueries = 3;
    Play();
    EXPECT_EQ(app.pump.waits, (std::vector<int>{50, 50, 50}));
}

TEST_F(PlayAction, AsksBeforeItFirstWaits) {
    SaveManually(ManualTake);
    device.playingQueries = 0;
    Play();
    EXPECT_EQ(app.pump.calls, 0);
    EXPECT_EQ(app.mci.Take(), Concat({PlayStart(ManualTake), {"status voice1 mode", "close voice1"}}));
}

TEST_F(PlayAction, AFailedOpenStillRunsEveryStepAndEndsAtTheFirstQuery) {
    SaveManually(ManualTake);
    app.mci.respond = [](const std::string&, std::string&) { return MciErrInvalidDeviceName; };
    Play();
    EXPECT_EQ(app.mci.Take(), Concat({PlayStart(ManualTake), {"status voice1 mode", "close voice1"}}));
    EXPECT_EQ(app.Label1.caption, "") << "a length reply without a number leaves the label empty";
    EXPECT_EQ(app.Label2.caption, "");
    EXPECT_EQ(app.m.MciResult, "263");
    EXPECT_EQ(app.pump.calls, 0);
}

TEST_F(PlayAction, KeepsTheResultCodeOfEachCommand) {
    SaveManually(ManualTake);
    std::vector<std::string> resultsSeen;
    app.mci.respond = [&](const std::string& command, std::string& reply) {
        resultsSeen.push_back(app.m.MciResult);
        if (command == "status voice1 length") reply = "1000";
        return static_cast<int>(app.mci.commands.size());  // 1 for the first command, 2 for the next...
    };
    Play();
    EXPECT_EQ(resultsSeen, (Commands{"", "1", "2", "3", "4", "5", "6", "7"}));
    EXPECT_EQ(app.m.MciResult, "8");
}

// --- IsWavePlaying ---------------------------------------------------------------------------

struct ModeCase {
    std::string reply;
    bool playing;
    std::string playMode;
};

void PrintTo(const ModeCase& c, std::ostream* os) { *os << ::testing::PrintToString(c.reply); }

using ModeQueries = PlaybackPanel;

class ModeQuery : public PlaybackPanel, public ::testing::WithParamInterface<ModeCase> {};

TEST_P(ModeQuery, CutsTheReplyAtItsFirstNulAndPlaysOnlyOnPlaying) {
    const ModeCase& c = GetParam();
    app.mci.respond = [&](const std::string& command, std::string& reply) {
        EXPECT_EQ(command, "status voice1 mode");
        reply = c.reply;
        return 0;
    };
    EXPECT_EQ(app.form.IsWavePlaying("voice1"), c.playing);
    EXPECT_EQ(app.m.PlayMode, c.playMode);
    EXPECT_EQ(app.m.MciResult, "0");
}

INSTANTIATE_TEST_SUITE_P(
    Replies, ModeQuery,
    ::testing::Values(ModeCase{"playing", true, "playing"},
                      ModeCase{std::string("playing\0stale", 13), true, "playing"},
                      ModeCase{"stopped", false, "stopped"},
                      ModeCase{"Playing", false, "Playing"},
                      ModeCase{"playing ", false, "playing "},
                      ModeCase{"", false, ""},
                      // 128 characters and no NUL: the service gave no mode.
                      ModeCase{"playing" + std::string(121, ' '), false, ""}));

TEST_F(ModeQueries, AsksTheAliasItIsGivenAndKeepsTheResultCode) {
    app.mci.respond = [](const std::string&, std::string&) { return MciErrInvalidDeviceName; };
    EXPECT_FALSE(app.form.IsWavePlaying("capture"));
    EXPECT_EQ(app.mci.Take(), Commands{"status capture mode"});
    EXPECT_EQ(app.m.MciResult, "263");
    EXPECT_EQ(app.m.PlayMode, "") << "a service that writes nothing still leaves its NUL";
}

TEST_F(ModeQueries, AnyReplyOtherThanPlayingEndsTheWait) {
    SaveManually(ManualTake);
    device.playingQueries = 2;
    device.idleMode = "";
    Play();
    EXPECT_EQ(app.pump.calls, 2);
    EXPECT_TRUE(app.mci.Sent("close voice1"));
}

// --- Labels ----------------------------------------------------------------------------------

struct TenthsCase {
    unsigned long long number;
    unsigned divisor;
    const char* text;
};

void PrintTo(const TenthsCase& c, std::ostream* os) { *os << c.number << " / " << c.divisor; }

class TenthsFormat : public ::testing::TestWithParam<TenthsCase> {};

TEST_P(TenthsFormat, OneRoundedDigitNoLeadingZeroNoSeparator) {
    const TenthsCase& c = GetParam();
    EXPECT_EQ(FormatTenths(c.number, c.divisor), c.text) << c.number << " / " << c.divisor;
}

INSTANTIATE_TEST_SUITE_P(
    Values, TenthsFormat,
    ::testing::Values(TenthsCase{500, 1000, ".5"}, TenthsCase{0, 1000, ".0"}, TenthsCase{0, 1024, ".0"},
                      TenthsCase{1536, 1024, "1.5"}, TenthsCase{49, 1000, ".0"}, TenthsCase{50, 1000, ".1"},
                      TenthsCase{150, 1000, ".2"}, TenthsCase{1280, 1024, "1.3"}, TenthsCase{949, 1000, ".9"},
                      TenthsCase{950, 1000, "1.0"}, TenthsCase{1000, 1000, "1.0"}, TenthsCase{1999, 1000, "2.0"},
                      TenthsCase{1234567, 1000, "1234.6"}, TenthsCase{30000, 1000, "30.0"},
                      TenthsCase{5292044, 1024, "5168.0"},
                      TenthsCase{18446744073709551615ULL, 1024, "18014398509481984.0"}));

struct LabelCase {
    std::string lengthMs;
    std::string lengthBytes;
    const char* label1;
    const char* label2;
};

void PrintTo(const LabelCase& c, std::ostream* os) { *os << "\"" << c.lengthMs << "\" ms, \"" << c.lengthBytes << "\" bytes"; }

using Labels = PlaybackPanel;

class LengthLabels : public PlaybackPanel, public ::testing::WithParamInterface<LabelCase> {};

TEST_P(LengthLabels, ShowSecondsAndKilobytes) {
    const LabelCase& c = GetParam();
    SaveManually(ManualTake);
    device.lengthMs = c.lengthMs;
    device.lengthBytes = c.lengthBytes;
    app.Label1.left = app.Label2.left = 99;
    Play();
    EXPECT_EQ(app.Label1.caption, c.label1);
    EXPECT_EQ(app.Label2.caption, c.label2);
    EXPECT_EQ(app.Label1.left, 10);
    EXPECT_EQ(app.Label2.left, 10);
}

INSTANTIATE_TEST_SUITE_P(
    Replies, LengthLabels,
    ::testing::Values(LabelCase{"500", "1536", ".5 sec", "1.5 KB"},
                      LabelCase{"0", "0", ".0 sec", ".0 KB"},
                      LabelCase{"30000", "5292044", "30.0 sec", "5168.0 KB"},
                      LabelCase{"1234567", "1048576", "1234.6 sec", "1024.0 KB"},
                      LabelCase{"1500 ms", "2048x", "1.5 sec", "2.0 KB"},  // the number the reply begins with
                      LabelCase{"", "", "", ""},
                      LabelCase{"unknown", "-5", "", ""}));

TEST_F(Labels, KeepTheirTextsAfterThePlayback) {
    SaveManually(ManualTake);
    Play();
    Play();
    EXPECT_EQ(app.Label1.caption, ".5 sec");
    EXPECT_EQ(app.Label2.caption, "1.5 KB");
}

// --- Command3 and Command4 -------------------------------------------------------------------

struct StopCommands : PlaybackPanel {
    void SetUp() override {
        PlaybackPanel::SetUp();
        app.m.MciResult = "untouched";
    }
    void Playing() { app.m.PlayMode = "playing"; }
};

TEST_F(StopCommands, Command3StopsAndClosesAPlayback) {
    Playing();
    app.form.Command3Click();
    EXPECT_EQ(app.mci.Take(), (Commands{"stop voice1", "close voice1"}));
    EXPECT_EQ(app.m.MciResult, "263") << "no device was open in this test";
    EXPECT_EQ(app.m.PlayMode, "playing") << "the next mode query finds the change";
}

TEST_F(StopCommands, Command3WhileNothingPlaysSendsNothing) {
    app.m.PlayMode = "stopped";
    app.form.Command3Click();
    EXPECT_TRUE(app.mci.commands.empty());
    EXPECT_EQ(app.m.MciResult, "untouched");
}

TEST_F(StopCommands, Command4StopsWhenThePlayedFileIsTheTargetInAnyLetterCase) {
    Playing();
    app.m.PlayFileName = "/HOME/USER/AUTOREC.WAV";
    app.Text8.text = "/home/user/AutoRec.wav";
    app.form.Command4Click();
    EXPECT_EQ(app.mci.Take(), (Commands{"stop voice1", "close voice1"}));
}

TEST_F(StopCommands, Command4WithTheSameCaseStops) {
    Playing();
    app.m.PlayFileName = app.Text8.text = "/home/user/AutoRec.wav";
    app.form.Command4Click();
    EXPECT_EQ(app.mci.Take(), (Commands{"stop voice1", "close voice1"}));
}

TEST_F(StopCommands, Command4LeavesAnotherFilePlaying) {
    Playing();
    app.m.PlayFileName = "/home/user/manual.wav";
    app.Text8.text = "/home/user/AutoRec.wav";
    app.form.Command4Click();
    EXPECT_TRUE(app.mci.commands.empty());
    EXPECT_EQ(app.m.MciResult, "untouched");
}

TEST_F(StopCommands, Command4WhileNothingPlaysSendsNothing) {
    app.m.PlayMode = "stopped";
    app.m.PlayFileName = app.Text8.text = "/home/user/AutoRec.wav";
    app.form.Command4Click();
    EXPECT_TRUE(app.mci.commands.empty());
    EXPECT_EQ(app.m.MciResult, "untouched");
}

TEST_F(StopCommands, OnlyLettersOfTheEnglishAlphabetChangeCase) {
    Playing();
    app.m.PlayFileName = "/home/user/\xC3\xA9t\xC3\xA9.wav";   // "été.wav"
    app.Text8.text = "/home/user/\xC3\x89T\xC3\x89.WAV";        // "ÉTÉ.WAV"
    app.form.Command4Click();
    EXPECT_TRUE(app.mci.commands.empty());
}

// --- Handlers inside the wait ----------------------------------------------------------------

using InsideTheWait = PlaybackPanel;

TEST_F(InsideTheWait, ASecondPlayRunsInsideTheFirstAndWhicheverEndsFirstCloses) {
    SaveManually(ManualTake);
    device.playingQueries = 2;
    bool pressed = false;
    app.pump.onEvents = [&] {
        if (pressed) return;
        pressed = true;
        Play();
    };
    Play();
    EXPECT_EQ(app.mci.Take(),
              Concat({PlayStart(ManualTake), {"status voice1 mode"},       // outer: playing, waits
                      PlayStart(ManualTake), Repeated("status voice1 mode", 3),  // inner: open fails (289),
                      {"close voice1"},                                          // play restarts the take
                      {"status voice1 mode", "close voice1"}}));                 // outer: ends at its next query
    EXPECT_EQ(app.m.MciResult, "263") << "the outer close finds the device already closed";
    EXPECT_EQ(app.pump.calls, 3);
}

TEST_F(InsideTheWait, AStopByCommand3EndsTheWaitAtTheNextQuery) {
    SaveManually(ManualTake);
    device.playingQueries = 1000;
    app.pump.onEvents = [&] {
        if (app.pump.calls == 3) app.form.Command3Click();
    };
    Play();
    EXPECT_EQ(app.mci.Take(), Concat({PlayStart(ManualTake), Repeated("status voice1 mode", 3),
                                      {"stop voice1", "close voice1", "status voice1 mode", "close voice1"}}));
    EXPECT_EQ(app.pump.calls, 3);
    EXPECT_EQ(app.m.PlayMode, "");
    EXPECT_EQ(app.m.MciResult, "263");
}

TEST_F(InsideTheWait, AStopByCommand4OfTheSameFileEndsTheWait) {
    SaveManually(ScheduledTake);
    app.Text8.text = "/HOME/USER/autorec.wav";
    device.playingQueries = 1000;
    app.pump.onEvents = [&] { app.form.Command4Click(); };
    Play();
    EXPECT_EQ(app.pump.calls, 1);
    EXPECT_EQ(app.mci.commands.back(), "close voice1");
    EXPECT_FALSE(device.open);
}

TEST_F(InsideTheWait, TheUnloadSequenceEndsTheWait) {
    SaveManually(ManualTake);
    device.playingQueries = 1000;
    app.pump.onEvents = [&] { app.form.FormUnload(); };
    Play();
    EXPECT_EQ(app.pump.calls, 1);
    EXPECT_FALSE(device.open);
}

} // namespace
} // namespace murmora::fakes
