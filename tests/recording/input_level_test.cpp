// The input level on the display while a take records, and the note for a silent input.
#include "tests/recording/recording_fixture.h"

#include <utility>

namespace murmora::fakes {
namespace {

const std::string kSilentInput = "The sound input is silent: check that the microphone is on and not muted.";
// Peak sample values either side of -70 dBFS (10.4).
constexpr int kSilentPeak = 10;
constexpr int kQuietSound = 11;
constexpr int kTone = 16384; // -6 dBFS

class InputLevelTest : public RecordingTest {
protected:
    // The level timer's tick `seconds` after the last, with the input at `inputPeak` (nothing:
    // the input cannot tell).
    void tickAfter(int seconds, std::optional<int> inputPeak) {
        app.clock.advance(seconds);
        app.engine.peak = inputPeak;
        app.levelTimer.tick();
    }

    void stopAndSave() { RecordingTest::stopAndSave("/home/user/a.wav"); }
};

TEST_F(InputLevelTest, TheLevelTimerTicksEvery50MsWhileATakeRecordsAndOnlyThen) {
    EXPECT_EQ(app.levelTimer.interval, std::chrono::milliseconds(50));
    EXPECT_FALSE(app.levelTimer.enabled) << "after start-up";
    startManualTake();
    EXPECT_TRUE(app.levelTimer.enabled);
    stopAndSave();
    EXPECT_FALSE(app.levelTimer.enabled);
    startScheduledTake(60);
    EXPECT_TRUE(app.levelTimer.enabled) << "a scheduled take";
}

// The decibel arithmetic is the level tests'; here, that each tick shows the input's peak.
TEST_F(InputLevelTest, EachTickShowsThePeakOfTheInputInDbfs) {
    startManualTake();
    for (const auto& [inputPeak, dbfs] : {std::pair{1000, -30.3}, std::pair{kTone, -6.0}}) {
        tickAfter(0, inputPeak);
        ASSERT_TRUE(app.levelDisplay.level) << inputPeak;
        EXPECT_NEAR(*app.levelDisplay.level, dbfs, 0.05) << inputPeak;
    }
}

TEST_F(InputLevelTest, ALevelTheInputCannotTellIsNotShown) {
    startManualTake();
    tickAfter(0, kTone);
    tickAfter(0, std::nullopt);
    EXPECT_FALSE(app.levelDisplay.level);
}

TEST_F(InputLevelTest, TheBarAndTheNoteLeaveTheDisplayWhenTheTakeStops) {
    startManualTake();
    tickAfter(0, 0);
    tickAfter(6, 0);
    ASSERT_TRUE(app.levelDisplay.note);
    app.hotkeys.press(1);
    EXPECT_FALSE(app.levelDisplay.level) << "at once, before the take's end is written";
    EXPECT_FALSE(app.levelDisplay.note);
}

// Each case: ticks of the level timer as {seconds after the last, input peak}; then whether the
// note shows. The clock reads whole seconds, so only more than five of them apart make sure.
TEST_F(InputLevelTest, TheNoteShowsOnceTheInputStaysAtOrBelowMinus70DbfsForFiveSeconds) {
    const struct {
        const char* name;
        std::vector<std::pair<int, int>> ticks;
        bool noteShown;
    } cases[] = {{"digital silence for 6 s", {{0, 0}, {6, 0}}, true},
                 {"digital silence for 5 s", {{0, 0}, {5, 0}}, false},
                 {"just below -70 dBFS for 6 s", {{0, kSilentPeak}, {3, kSilentPeak}, {3, kSilentPeak}}, true},
                 {"just above -70 dBFS for 6 s", {{0, kQuietSound}, {6, kQuietSound}}, false},
                 {"a sound in between", {{0, 0}, {3, 0}, {0, kQuietSound}, {0, 0}, {5, 0}}, false},
                 {"the clock set back: counted from the reading after", {{0, 0}, {-60, 0}, {6, 0}}, true},
                 {"no level to tell in between", {{0, 0}, {3, -1}, {0, 0}, {5, 0}}, false}};
    for (const auto& c : cases) {
        startManualTake();
        for (const auto& [seconds, inputPeak] : c.ticks)
            tickAfter(seconds, inputPeak < 0 ? std::nullopt : std::optional(inputPeak));
        EXPECT_EQ(app.levelDisplay.note == kSilentInput, c.noteShown) << c.name;
        stopAndSave();
    }
}

TEST_F(InputLevelTest, TheNoteGoesWhenSoundArrivesAndComesOnceATakeWhichRecordsOn) {
    startManualTake();
    tickAfter(0, 0);
    tickAfter(6, 0);
    tickAfter(0, kTone);
    EXPECT_FALSE(app.levelDisplay.note);
    tickAfter(0, 0);
    tickAfter(6, 0);
    EXPECT_EQ(app.levelDisplay.notesShown, 1);
    EXPECT_EQ(app.panel.recorder.state(), RecorderState::recording);
    EXPECT_TRUE(app.messages.shown.empty());
    EXPECT_FALSE(app.engine.called(EngineCall::stopTake));
    stopAndSave();
    startManualTake();
    tickAfter(0, 0);
    tickAfter(6, 0);
    EXPECT_EQ(app.levelDisplay.notesShown, 2) << "the next take";
}

TEST_F(InputLevelTest, TheClipMarkShowsOnceASampleReachedFullScaleAndStaysUntilTheTakeEnds) {
    startManualTake();
    tickAfter(0, kTone);
    EXPECT_FALSE(app.levelDisplay.clipMark);
    app.engine.clipped = true;
    tickAfter(0, kTone);
    EXPECT_TRUE(app.levelDisplay.clipMark);
    tickAfter(0, 0); // quiet again: the take has clipped all the same
    EXPECT_TRUE(app.levelDisplay.clipMark);
    app.hotkeys.press(1);
    EXPECT_FALSE(app.levelDisplay.clipMark);
    app.engine.clipped = false; // the engine's next take
    app.saveTakeDialog.answer("/home/user/a.wav");
    app.engine.deliver();
    startManualTake();
    tickAfter(0, kTone);
    EXPECT_FALSE(app.levelDisplay.clipMark) << "the next take";
}

// The note names the input the take records from, once the engine has named it.
TEST_F(InputLevelTest, TheNoteNamesTheInputThatIsSilent) {
    const SoundInput microphone{"mic", "TestMic", true, false};
    const SoundInput headset{"headset", "USB Headset", false, false};
    const SoundInput output{"out.monitor", "Speakers", false, true};
    const struct {
        const char* name;
        std::vector<SoundInput> inputs;
        std::string chosen;
        bool defaultInstead;
        std::string note;
    } cases[] = {{"the default, not listed", {}, "", false, kSilentInput},
                 {"the default, listed",
                  {microphone, headset},
                  "",
                  false,
                  "TestMic is silent: check that it is on and not muted."},
                 {"a chosen one",
                  {microphone, headset},
                  "headset",
                  false,
                  "USB Headset is silent: check that it is on and not muted."},
                 {"what an output plays",
                  {microphone, output},
                  "out.monitor",
                  false,
                  "What the computer plays is silent: nothing is playing."},
                 {"the default in place of a chosen one not there",
                  {microphone},
                  "headset",
                  true,
                  "TestMic is silent: check that it is on and not muted."}};
    for (const auto& c : cases) {
        app.settings.kept = {c.chosen, SaveFormat::wav, "USB Headset"};
        app.panel.choices.load();
        app.engine.inputs = c.inputs;
        app.panel.choices.lookAtInputs();
        app.engine.defaultInstead = c.defaultInstead;
        app.hotkeys.press(0);
        app.messages.shown.clear();
        tickAfter(0, 0);
        tickAfter(6, 0);
        EXPECT_EQ(app.levelDisplay.note, c.note) << c.name;
        stopAndSave();
    }
}

} // namespace
} // namespace murmora::fakes
