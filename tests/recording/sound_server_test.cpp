// The input goes away during a take: the engine ends it and the panel offers what it kept.
#include "tests/recording/recording_fixture.h"

namespace murmora::fakes {
namespace {

const std::string kLost = "The sound input was lost after 4 sec. The recording so far is kept.";

using InputLost = RecordingTest;

TEST_F(InputLost, AManualTakeStopsCountingSaysWhatIsKeptAndOffersTheSave) {
    startManualTake();
    app.clock.advance(5);
    app.elapsedTimer.tick();
    app.saveTakeDialog.answer("/home/user/kept.wav", [&] {
        ASSERT_EQ(app.messages.shown.size(), 1u) << "told before the dialog";
        expectMessage(0, kLost, MessageStyle::exclamation);
    });
    app.engine.loseInput(4);
    app.engine.deliver();
    EXPECT_EQ(app.engine.take(), EngineCalls{saveTakeAt("/home/user/kept.wav")}) << "the engine ended the take itself";
    app.clock.advance(1);
    app.elapsedTimer.tick();
    EXPECT_EQ(app.secondsLabel.caption, "5 sec") << "the count stopped";
    EXPECT_EQ(app.stopButton.current(), "custom:105");
    expectMessage(1, "Recording saved as  /home/user/kept.wav", MessageStyle::information);
    expectIdle();
}

TEST_F(InputLost, AScheduledTakeIsSavedToItsTargetAfterTheWord) {
    startScheduledTake(60);
    app.engine.loseInput(4);
    app.engine.deliver();
    EXPECT_EQ(app.engine.take(), EngineCalls{saveTakeAt("/home/user/AutoRec.wav")});
    EXPECT_EQ(app.messages.texts(), Strings{kLost});
    EXPECT_EQ(app.scheduleCaptionLabel.caption, "") << "the schedule is over";
    EXPECT_EQ(app.panel.recorder.latestTakePath(), "/home/user/AutoRec.wav");
    expectIdle();
}

} // namespace
} // namespace murmora::fakes
