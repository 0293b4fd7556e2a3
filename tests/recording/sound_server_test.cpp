// The sound server in trouble: the input goes away during a take, or the server does not answer.
#include "tests/recording/recording_fixture.h"

namespace murmora::fakes {
namespace {

const std::string kLost = "The sound input was lost after 4 sec. The recording so far is kept.";

// A device whose input goes away once `lost` is set: the mode reads "not ready" and "stop"
// answers that the take ended at its last frame (4.7 s here).
class InputLostTest : public RecordingTest {
protected:
    void SetUp() override {
        RecordingTest::SetUp();
        app.mci.respond = [this](const std::string& command, std::string& reply) {
            if (command == "status capture mode") reply = lost ? "not ready" : "recording";
            if (command == "status capture length") reply = "4700";
            if (command == "stop capture" && lost) return mci::kDeviceLost;
            return answer(command, reply);
        };
    }
    bool lost = false;
};

TEST_F(InputLostTest, AManualTakeStopsCountingAtTheNextTickSaysWhatIsKeptAndOffersTheSave) {
    startManualTake();
    app.clock.advance(5);
    app.elapsedTimer.tick();
    lost = true;
    app.clock.advance(1);
    app.saveTakeDialog.answer("/home/user/kept.wav", [&] {
        ASSERT_EQ(app.messages.shown.size(), 1u) << "told before the dialog";
        expectMessage(0, kLost, MessageStyle::exclamation);
    });
    app.elapsedTimer.tick();
    EXPECT_EQ(app.mci.take(),
              (Commands{"stop capture", "status capture length", saveCapture("/home/user/kept.wav"), "close capture"}));
    EXPECT_EQ(app.secondsLabel.caption, "5 sec") << "the count stopped";
    expectMessage(1, "Recording saved as  /home/user/kept.wav", MessageStyle::information);
    expectIdle();
}

TEST_F(InputLostTest, AScheduledTakeIsSavedToItsTargetAfterTheWord) {
    startScheduledTake(60);
    app.clock.advance(5);
    lost = true;
    app.scheduledStopTimer.tick();
    EXPECT_EQ(app.mci.take(), (Commands{"stop capture", "status capture length", saveCapture("/home/user/AutoRec.wav"),
                                        "close capture"}));
    EXPECT_EQ(app.messages.texts(), Strings{kLost});
    EXPECT_EQ(app.panel.recorder.latestTakePath(), "/home/user/AutoRec.wav");
    expectIdle();
}

TEST_F(InputLostTest, AStopThatComesFirstSaysSoToo) {
    startManualTake();
    lost = true;
    app.saveTakeDialog.answer("/home/user/kept.wav");
    app.hotkeys.press(1);
    EXPECT_EQ(app.messages.texts(), (Strings{kLost, "Recording saved as  /home/user/kept.wav"}));
}

TEST_F(RecordingTest, WhenTheServerDoesNotAnswerRecordAndStopSaySo) {
    const std::string noTake = "The sound server does not answer: nothing is being recorded. Try again in a moment.";
    const std::string kept = "The sound server does not answer. The recording so far is kept.";
    for (const std::string& failing : kOpenAndRecord) {
        app.mci.respond = [&](const std::string& command, std::string& reply) {
            return command == failing ? mci::kServerNotAnswering : answer(command, reply);
        };
        app.hotkeys.press(0);
        EXPECT_EQ(app.messages.texts().back(), noTake) << failing;
        expectIdle();
    }
    app.mci.respond = [&](const std::string& command, std::string& reply) {
        return command == "stop capture" ? mci::kServerNotAnswering : answer(command, reply);
    };
    startManualTake();
    app.saveTakeDialog.answer("/home/user/kept.wav");
    app.hotkeys.press(1);
    EXPECT_EQ(shownSince(app.messages.texts(), 2), (Strings{kept, "Recording saved as  /home/user/kept.wav"}));
}

} // namespace
} // namespace murmora::fakes
