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

// A take whose input reads `peak` ("status capture level", or `levelReply` when set), or fails
// with `levelResult`.
class InputLevelTest : public RecordingTest {
protected:
    void SetUp() override {
        RecordingTest::SetUp();
        app.mci.respond = [this](const std::string& command, std::string& reply) {
            if (command != "status capture level") return answer(command, reply);
            reply = levelReply.empty() ? std::to_string(peak) : levelReply;
            return levelResult;
        };
    }

    // The level timer's tick `seconds` after the last, with the input at `inputPeak`.
    void tickAfter(int seconds, int inputPeak) {
        app.clock.advance(seconds);
        peak = inputPeak;
        app.levelTimer.tick();
    }

    void stopAndSave() {
        app.saveTakeDialog.answer("/home/user/a.wav");
        app.hotkeys.press(1);
    }

    int peak = 0;
    std::string levelReply;
    int levelResult = mci::kSuccess;
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
    EXPECT_EQ(app.mci.take(), Commands(2, "status capture level"));
}

TEST_F(InputLevelTest, ALevelTheDeviceCannotTellIsNotShown) {
    const struct {
        int result;
        const char* reply;
    } cases[] = {
        {mci::kUnrecognisedKeyword, ""}, {mci::kSuccess, "2863289685"}, {mci::kSuccess, "-1"}, {mci::kSuccess, "loud"}};
    startManualTake();
    for (const auto& c : cases) {
        levelReply.clear();
        levelResult = mci::kSuccess;
        tickAfter(0, kTone);
        levelResult = c.result;
        levelReply = c.reply;
        tickAfter(0, kTone);
        EXPECT_FALSE(app.levelDisplay.level) << c.result << " " << c.reply;
    }
}

TEST_F(InputLevelTest, TheBarAndTheNoteLeaveTheDisplayWhenTheTakeStops) {
    startManualTake();
    tickAfter(0, 0);
    tickAfter(6, 0);
    ASSERT_TRUE(app.levelDisplay.note);
    bool clearAtDialog = false;
    app.saveTakeDialog.answer("/home/user/a.wav",
                              [&] { clearAtDialog = !app.levelDisplay.level && !app.levelDisplay.note; });
    app.hotkeys.press(1);
    EXPECT_TRUE(clearAtDialog);
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
        for (const auto& [seconds, inputPeak] : c.ticks) {
            levelResult = inputPeak < 0 ? mci::kUnrecognisedKeyword : mci::kSuccess;
            tickAfter(seconds, inputPeak);
        }
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
    EXPECT_TRUE(app.panel.recorder.isRecording());
    EXPECT_TRUE(app.messages.shown.empty());
    EXPECT_FALSE(app.mci.sent("stop capture"));
    stopAndSave();
    startManualTake();
    tickAfter(0, 0);
    tickAfter(6, 0);
    EXPECT_EQ(app.levelDisplay.notesShown, 2) << "the next take";
}

} // namespace
} // namespace murmora::fakes
