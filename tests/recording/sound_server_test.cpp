// The sound server in trouble: the input goes away during a take, or the server does not answer.
#include "tests/recording/recording_fixture.h"

namespace murmora::fakes {
namespace {

constexpr int ServerNotAnswering = 513;
constexpr int InputLost = 514;
const std::string Lost = "The sound input was lost after 4 sec. The recording so far is kept.";

// A device whose input goes away once `lost` is set: the mode reads "not ready" and "stop"
// answers that the take ended at its last frame (4.7 s here).
class InputLostTest : public RecordingTest {
protected:
    void SetUp() override {
        RecordingTest::SetUp();
        app.mci.respond = [this](const std::string& command, std::string& reply) {
            if (command == "status capture mode") reply = lost ? "not ready" : "recording";
            if (command == "status capture length") reply = "4700";
            if (command == "stop capture" && lost) return InputLost;
            return Answer(command);
        };
    }
    bool lost = false;
};

TEST_F(InputLostTest, AManualTakeStopsCountingAtTheNextTickSaysWhatIsKeptAndOffersTheSave) {
    StartManualTake();
    app.clock.advance(5);
    app.Timer1.tick();
    lost = true;
    app.clock.advance(1);
    app.CommonDialog1.answer("/home/user/kept.wav", [&] {
        ASSERT_EQ(app.messages.shown.size(), 1u) << "told before the dialog";
        ExpectMessage(0, Lost, MessageStyle::exclamation);
    });
    app.Timer1.tick();
    EXPECT_EQ(app.mci.take(), (Commands{"stop capture", "status capture length", SaveCapture("/home/user/kept.wav"),
                                        "close capture"}));
    EXPECT_EQ(app.Label1.caption, "5 sec") << "the count stopped";
    ExpectMessage(1, "Recording saved as  /home/user/kept.wav", MessageStyle::information);
    ExpectIdle();
}

TEST_F(InputLostTest, AScheduledTakeIsSavedToItsTargetAfterTheWord) {
    StartScheduledTake(60);
    app.clock.advance(5);
    lost = true;
    app.Timer3.tick();
    EXPECT_EQ(app.mci.take(), (Commands{"stop capture", "status capture length", SaveCapture("/home/user/AutoRec.wav"),
                                        "close capture"}));
    EXPECT_EQ(app.messages.texts(), Strings{Lost});
    EXPECT_TRUE(app.mod.LastSaveScheduled);
    ExpectIdle();
}

TEST_F(InputLostTest, AStopThatComesFirstSaysSoToo) {
    StartManualTake();
    lost = true;
    app.CommonDialog1.answer("/home/user/kept.wav");
    app.hotkeys.press(1);
    EXPECT_EQ(app.messages.texts(), (Strings{Lost, "Recording saved as  /home/user/kept.wav"}));
}

TEST_F(RecordingTest, WhenTheServerDoesNotAnswerRecordAndStopSaySo) {
    const std::string NoTake = "The sound server does not answer: nothing is being recorded. Try again in a moment.";
    const std::string Kept = "The sound server does not answer. The recording so far is kept.";
    for (const std::string& failing : OpenAndRecord) {
        app.mci.respond = [&](const std::string& command, std::string&) {
            return command == failing ? ServerNotAnswering : Answer(command);
        };
        app.hotkeys.press(0);
        EXPECT_EQ(app.messages.texts().back(), NoTake) << failing;
        ExpectIdle();
    }
    app.mci.respond = [&](const std::string& command, std::string&) {
        return command == "stop capture" ? ServerNotAnswering : Answer(command);
    };
    StartManualTake();
    app.CommonDialog1.answer("/home/user/kept.wav");
    app.hotkeys.press(1);
    EXPECT_EQ(ShownSince(app.messages.texts(), 2), (Strings{Kept, "Recording saved as  /home/user/kept.wav"}));
}

} // namespace
} // namespace murmora::fakes
