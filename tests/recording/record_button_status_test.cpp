// What screen readers hear of the record button: "recording" for exactly as long as it shows
// the recording picture.
#include <functional>

#include "tests/recording/recording_fixture.h"

namespace murmora::fakes {
namespace {

using RecordButtonStatus = RecordingTest;

TEST_F(RecordButtonStatus, ReadsRecordingFromTheStartOfATakeUntilItsStopHoweverItStopsOrStarts) {
    struct Case {
        const char* how;
        std::function<void()> start;
        std::function<void()> stop;
    };
    const Case cases[] = {
        {"buttons", [&] { app.recordButton.click(); }, [&] { app.stopButton.click(); }},
        {"hotkeys", [&] { app.hotkeys.press(0); }, [&] { app.hotkeys.press(1); }},
        {"schedule", [&] { startScheduledTake(5); },
         [&] {
             app.clock.advance(5);
             app.scheduledStopTimer.tick();
         }},
    };
    for (const Case& c : cases) {
        app.saveTakeDialog.answer("/home/user/take.wav");
        EXPECT_EQ(app.recordButton.status, "") << c.how;
        c.start();
        EXPECT_EQ(app.recordButton.status, "recording") << c.how;
        c.stop();
        EXPECT_EQ(app.recordButton.status, "") << c.how << ": at the stop";
        app.engine.deliver();
        expectIdle();
        EXPECT_EQ(app.recordButton.status, "") << c.how;
    }
}

TEST_F(RecordButtonStatus, ReadsNothingWhilePressedOrWhenNoTakeCanStart) {
    app.recordButton.down();
    EXPECT_EQ(app.recordButton.status, "");
    app.engine.startFailure = {SoundFailure::noDevice, "The sound input could not be opened"};
    app.recordButton.up();
    EXPECT_EQ(app.panel.recorder.state(), RecorderState::idle);
    EXPECT_EQ(app.recordButton.status, "");
}

} // namespace
} // namespace murmora::fakes
