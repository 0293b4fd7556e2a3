#include <gtest/gtest.h>

#include "playback/player.h"
#include "tests/recording/recording_fixture.h"
#include "tests/support/fake_panel.h"

namespace murmora::fakes {
namespace {

const std::string kManualTake = "/home/user/manual.wav";
const std::string kScheduledTake = "/home/user/AutoRec.wav";
const EngineCall kPlay{EngineCall::play, {}};

EngineCalls playStart(const std::string& file) { return {openPlaybackOf(file), kPlay}; }

EngineCalls operator+(EngineCalls calls, const EngineCalls& more) {
    calls.insert(calls.end(), more.begin(), more.end());
    return calls;
}

struct FakeLatestTake : LatestTake {
    std::string path;
    std::string latestTakePath() const override { return path; }
};

// The Play button on its own, playing whatever the latest take names.
struct PlayerTest : ::testing::Test {
    FakeFiles files;
    FakeEngine engine{files};
    FakeMessageBoxes messages;
    FakeResources resources{files};
    ResourcePictures pictures{resources, files};
    FixedScreen screen;
    FakePictureButton playButton;
    FakeLabel secondsLabel, sizeLabel;
    FakeLatestTake latest;
    Player player{{.engine = engine, .files = files, .messages = messages, .pictures = pictures, .screen = screen},
                  {.playButton = playButton, .secondsLabel = secondsLabel, .sizeLabel = sizeLabel},
                  latest};

    void saved(const std::string& path) {
        files.add(path);
        latest.path = path;
    }
    void play() { playButton.click(); }
};

TEST_F(PlayerTest, OpensThePathAsItIsStartsPlayingAndReturnsAtOnce) {
    saved("/home/user/my takes/ take one.wav ");
    play();
    EXPECT_EQ(engine.take(), playStart("/home/user/my takes/ take one.wav "));
    EXPECT_TRUE(player.isPlaying());
    EXPECT_EQ(playButton.current(), "custom:107") << "the button is back to its released picture";
}

TEST_F(PlayerTest, TheEndOfThePlaybackClosesTheFile) {
    saved(kManualTake);
    play();
    engine.take();
    engine.endPlayback();
    engine.deliver();
    EXPECT_EQ(engine.take(), EngineCalls{kStopPlayback});
    EXPECT_FALSE(player.isPlaying());
    EXPECT_EQ(secondsLabel.caption, "1.5 sec") << "the length stays shown";
}

TEST_F(PlayerTest, PlayDuringAPlaybackStartsTheTakeAgainFromItsStart) {
    saved(kManualTake);
    play();
    play();
    EXPECT_EQ(engine.take(), playStart(kManualTake) + playStart(kManualTake));
    EXPECT_TRUE(player.isPlaying());
}

TEST_F(PlayerTest, AFileThatCannotBeOpenedOrPlayedEndsTheActionQuietly) {
    saved(kManualTake);
    engine.openFailure = {SoundFailure::notPlayable, "The file is no WAV, FLAC, Opus or MP3 file that can be played"};
    play();
    EXPECT_EQ(engine.take(), EngineCalls{openPlaybackOf(kManualTake)});
    EXPECT_EQ(secondsLabel.caption + sizeLabel.caption, "") << "no length to show";
    engine.openFailure = {};
    engine.playFailure = {SoundFailure::noDevice, "The sound output could not be opened"};
    play();
    EXPECT_EQ(engine.take(), playStart(kManualTake) + kStopPlayback);
    EXPECT_FALSE(player.isPlaying());
    EXPECT_TRUE(messages.shown.empty());
}

TEST_F(PlayerTest, ASoundServerThatDoesNotAnswerEndsTheActionWithAWord) {
    const SoundError notAnswering{SoundFailure::notAnswering, "The sound server does not answer"};
    saved(kManualTake);
    for (const bool atOpen : {true, false}) {
        (atOpen ? engine.openFailure : engine.playFailure) = notAnswering;
        play();
        EXPECT_FALSE(player.isPlaying());
        EXPECT_EQ(messages.texts().back(),
                  "The sound server does not answer: the recording cannot be played now. Try again in a moment.");
        engine.openFailure = engine.playFailure = {};
    }
}

TEST_F(PlayerTest, LabelsShowSecondsAndKilobytesWithOneDigitAfterThePoint) {
    const struct {
        PlaybackLength length;
        const char* seconds;
        const char* size;
    } cases[] = {{{500, 1536}, ".5 sec", "1.5 KB"},
                 {{30000, 5292044}, "30.0 sec", "5168.0 KB"},
                 {{0, 0}, ".0 sec", ".0 KB"},
                 {{150, 1280}, ".2 sec", "1.3 KB"}};
    saved(kManualTake);
    for (const auto& c : cases) {
        engine.playbackLength = c.length;
        secondsLabel.left = sizeLabel.left = 99;
        play();
        EXPECT_EQ(secondsLabel.caption, c.seconds);
        EXPECT_EQ(sizeLabel.caption, c.size);
        EXPECT_EQ(secondsLabel.left, 10);
        EXPECT_EQ(sizeLabel.left, 10);
    }
}

// German and French write a decimal comma, and VB's "#.0" writes the user's separator.
TEST(FormatTenths, WritesTheUsersDecimalSeparator) {
    EXPECT_EQ(formatTenths(1536, 1024, ","), "1,5");
    EXPECT_EQ(formatTenths(500, 1000, ","), ",5");
}

// The whole panel: which take Play plays, as the recorder and the schedule leave it.
struct PanelWithTakes {
    FakePanel app;

    PanelWithTakes() {
        app.clock.setTimeOfDay(13, 5, 7);
        app.start();
    }
    void saveManually(const std::string& path) {
        app.hotkeys.press(0);
        app.saveTakeDialog.answer(path);
        app.hotkeys.press(1);
        app.engine.deliver();
        app.messages.shown.clear();
    }
    // Arms the schedule for now, for one second, to `target`.
    void arm(const std::string& target) { app.armSchedule(13 * 3600 + 5 * 60 + 7, 1, target); }
    void saveScheduled(const std::string& path) {
        arm(path);
        app.scheduleStartTimer.tick();
        app.clock.advance(1);
        app.scheduledStopTimer.tick();
        app.engine.deliver();
        app.clock.advance(-1);
    }
};

// Steps: M and S save a manual and a scheduled take, m and s delete them, N arms a new target.
TEST(PanelPlays, TheLatestSavedTakeIfItStillExistsWhateverIsArmed) {
    const std::pair<std::string, std::string> cases[] = {
        {"", ""},    {"M", kManualTake}, {"S", kScheduledTake}, {"MS", kScheduledTake}, {"SM", kManualTake},
        {"MSs", ""}, {"Mm", ""},         {"SN", kScheduledTake}};
    for (const auto& [steps, played] : cases) {
        PanelWithTakes panel;
        for (char step : steps) {
            if (step == 'M') panel.saveManually(kManualTake);
            if (step == 'S') panel.saveScheduled(kScheduledTake);
            if (step == 'm') panel.app.files.files.erase(kManualTake);
            if (step == 's') panel.app.files.files.erase(kScheduledTake);
            if (step == 'N') panel.arm("/home/user/Evening.wav");
        }
        panel.app.engine.take();
        panel.app.playButton.click();
        EXPECT_EQ(panel.app.engine.take(), played.empty() ? EngineCalls{} : playStart(played)) << steps;
        EXPECT_EQ(panel.app.messages.shown.size(), played.empty() ? 1u : 0u) << steps;
    }
}

TEST_F(PlayerTest, NothingToPlayIsToldWithWhy) {
    const std::pair<std::string, std::string> cases[] = {
        {"", "No recording has been saved yet: there is nothing to play."},
        {kManualTake, "The recording  " + kManualTake + "  is not there any more: there is nothing to play."}};
    for (const auto& [latestPath, told] : cases) {
        messages.shown.clear();
        latest.path = latestPath;
        play();
        EXPECT_TRUE(engine.take().empty());
        ASSERT_EQ(messages.texts(), Strings{told});
        EXPECT_EQ(messages.shown[0].style, MessageStyle::information);
    }
}

TEST(PanelStops, TheStopButtonOrHotkeyEndsAPlaybackWhenNoTakeRuns) {
    for (const bool byHotkey : {false, true}) {
        PanelWithTakes panel;
        panel.saveManually(kManualTake);
        panel.app.playButton.click();
        panel.app.engine.take();
        const std::size_t stopPictures = panel.app.stopButton.shown.size();
        const std::size_t dialogs = panel.app.saveTakeDialog.shownAs.size();
        if (byHotkey)
            panel.app.hotkeys.press(1);
        else
            panel.app.stopButton.click();
        EXPECT_EQ(panel.app.engine.take(), EngineCalls{kStopPlayback}) << byHotkey;
        EXPECT_FALSE(panel.app.panel.player.isPlaying());
        if (!byHotkey) {
            EXPECT_EQ(shownSince(panel.app.stopButton.shown, stopPictures), (Strings{"custom:106", "custom:105"}));
        }
        EXPECT_EQ(panel.app.saveTakeDialog.shownAs.size(), dialogs) << "no save";
    }
}

TEST(PanelStops, TheUnloadClosesThePlaybackAndItsEndOnTheWayIsDropped) {
    PanelWithTakes panel;
    panel.saveManually(kManualTake);
    panel.app.playButton.click();
    panel.app.engine.take();
    panel.app.engine.endPlayback();
    panel.app.panel.unload();
    panel.app.engine.deliver();
    EXPECT_EQ(panel.app.engine.take(), EngineCalls{kStopPlayback});
}

} // namespace
} // namespace murmora::fakes
