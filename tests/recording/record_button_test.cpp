#include "tests/recording/recording_fixture.h"

namespace murmora::fakes {
namespace {

const Commands StopPlayback{"stop voice1", "close voice1"};
const Commands StopPlaybackThenRecord{"stop voice1", "close voice1", "open new type waveaudio alias capture",
                                      "record capture"};

class RecordButton : public RecordingTest {
protected:
    std::vector<std::string> PicturesSince(std::size_t from) const {
        return {app.PictureRecord.shown.begin() + static_cast<std::ptrdiff_t>(from), app.PictureRecord.shown.end()};
    }
};

TEST_F(RecordButton, PressShowsItDownEmptiesTheLabelsAndStopsPlayback) {
    app.Label1.caption = "7 sec";
    app.Label2.caption = "2.0 KB";
    app.PictureRecord.Down(LeftButton);
    EXPECT_EQ(app.PictureRecord.Current(), "recordbuttondown");
    EXPECT_EQ(app.m.RecordButtonState, ButtonPressed);
    EXPECT_EQ(app.Label1.caption, "");
    EXPECT_EQ(app.Label2.caption, "");
    EXPECT_EQ(app.mci.Take(), StopPlayback) << "playback is stopped whether or not a file plays";
    EXPECT_EQ(app.m.RecordingState, RecorderIdle) << "the press alone starts nothing";
}

TEST_F(RecordButton, PressAndReleaseOverItWhileAFilePlaysStopsItAndStartsATake) {
    PlayAFile();
    const std::size_t before = app.PictureRecord.shown.size();
    app.PictureRecord.Down(LeftButton);
    app.PictureRecord.Up(LeftButton);
    EXPECT_EQ(app.mci.Take(), StopPlaybackThenRecord);
    EXPECT_EQ(PicturesSince(before), (std::vector<std::string>{"recordbuttondown", "recordbuttonrecording"}));
    EXPECT_EQ(app.m.RecordButtonState, ButtonReleased);
    EXPECT_EQ(app.m.RecordingState, RecorderBusy);
    EXPECT_EQ(app.m.RecordStartTime, app.clock.now);
    EXPECT_TRUE(app.Timer1.enabled);
}

TEST_F(RecordButton, DraggedOffAndReleasedOutsideStartsNothing) {
    app.PictureRecord.Down(LeftButton);
    app.PictureRecord.Move(LeftButton, 2000, 100);
    EXPECT_EQ(app.PictureRecord.Current(), "recordbuttonup");
    EXPECT_EQ(app.m.RecordButtonState, ButtonReleased);
    app.PictureRecord.Up(LeftButton, 2000, 100);
    EXPECT_EQ(app.mci.Take(), StopPlayback) << "the playback stopped at the press stays stopped";
    EXPECT_EQ(app.PictureRecord.Current(), "recordbuttonup");
    EXPECT_EQ(app.m.RecordingState, RecorderIdle);
    EXPECT_FALSE(app.Timer1.enabled);
}

TEST_F(RecordButton, DraggedOffAndBackInStartsATake) {
    app.PictureRecord.Down(LeftButton);
    app.PictureRecord.Move(LeftButton, 100, 400);
    app.PictureRecord.Move(LeftButton, 100, 200);
    EXPECT_EQ(app.PictureRecord.Current(), "recordbuttondown");
    app.PictureRecord.Up(LeftButton);
    EXPECT_EQ(app.mci.Take(), StopPlaybackThenRecord);
}

TEST_F(RecordButton, EveryLeftButtonMoveShowsThePictureAgain) {
    app.PictureRecord.Down(LeftButton);
    const std::size_t before = app.PictureRecord.shown.size();
    app.PictureRecord.Move(LeftButton, 100, 100);
    app.PictureRecord.Move(LeftButton, 110, 100);
    app.PictureRecord.Move(LeftButton, 3000, 100);
    app.PictureRecord.Move(LeftButton, 3010, 100);
    EXPECT_EQ(PicturesSince(before),
              (std::vector<std::string>{"recordbuttondown", "recordbuttondown", "recordbuttonup", "recordbuttonup"}));
}

TEST_F(RecordButton, RightButtonPressStartsATakeWhereverItIsReleased) {
    app.PictureRecord.Down(RightButton);
    app.PictureRecord.Move(RightButton, 5000, 5000);
    EXPECT_EQ(app.PictureRecord.Current(), "recordbuttondown") << "only the left button alone is followed";
    app.PictureRecord.Up(RightButton, 5000, 5000);
    EXPECT_EQ(app.mci.Take(), StopPlaybackThenRecord);
    EXPECT_EQ(app.PictureRecord.Current(), "recordbuttonrecording");
}

TEST_F(RecordButton, MovesWithTwoButtonsHeldChangeNothing) {
    app.PictureRecord.Down(LeftButton);
    const std::size_t before = app.PictureRecord.shown.size();
    app.PictureRecord.Move(LeftButton | RightButton, 5000, 5000);
    EXPECT_EQ(app.PictureRecord.shown.size(), before);
    EXPECT_EQ(app.m.RecordButtonState, ButtonPressed);
}

struct BoundCase {
    float x;
    float y;
    bool over;
};

void PrintTo(const BoundCase& c, std::ostream* os) { *os << "(" << c.x << ", " << c.y << ")"; }

class RecordButtonBounds : public RecordingTest, public ::testing::WithParamInterface<BoundCase> {};

TEST_P(RecordButtonBounds, PointerOverTheButtonIncludesEveryBound) {
    const BoundCase c = GetParam();
    app.PictureRecord.Down(LeftButton);
    app.PictureRecord.Move(LeftButton, c.x, c.y);
    EXPECT_EQ(app.m.RecordButtonState, c.over ? ButtonPressed : ButtonReleased) << c.x << ", " << c.y;
    EXPECT_EQ(app.PictureRecord.Current(), c.over ? "recordbuttondown" : "recordbuttonup");
}

INSTANTIATE_TEST_SUITE_P(RecordButton, RecordButtonBounds,
                         ::testing::Values(BoundCase{1495, 310, true}, BoundCase{5, 5, true},
                                           BoundCase{1495.5f, 100, false}, BoundCase{4.9f, 100, false},
                                           BoundCase{100, 310.5f, false}, BoundCase{100, 4.9f, false},
                                           BoundCase{-20, 100, false}));

TEST_F(RecordButton, DuringATakeIgnoresThePointer) {
    StartManualTake();
    const std::size_t before = app.PictureRecord.shown.size();
    app.Label1.caption = "2 sec";
    app.PictureRecord.Down(LeftButton);
    app.PictureRecord.Move(LeftButton, 100, 100);
    app.PictureRecord.Up(LeftButton);
    EXPECT_TRUE(app.mci.Take().empty());
    EXPECT_EQ(app.PictureRecord.shown.size(), before);
    EXPECT_EQ(app.m.RecordButtonState, ButtonReleased);
    EXPECT_EQ(app.Label1.caption, "2 sec");
}

TEST_F(RecordButton, DuringAScheduledTakeIgnoresThePointer) {
    StartScheduledTake(60);
    app.PictureRecord.Down(RightButton);
    app.PictureRecord.Up(RightButton);
    EXPECT_TRUE(app.mci.Take().empty());
    EXPECT_EQ(app.PictureRecord.Current(), "recordbuttonrecording");
}

TEST_F(RecordButton, WhileTheSaveDialogIsOpenStartsNothing) {
    StartManualTake();
    Commands sentWhileOpen;
    app.CommonDialog1.Answers("/home/user/first.wav", [&] {
        app.mci.Take();
        app.PictureRecord.Down(LeftButton);
        app.PictureRecord.Up(LeftButton);
        sentWhileOpen = app.mci.Take();
    });
    app.hotkeys.Press(1);
    EXPECT_TRUE(sentWhileOpen.empty());
    EXPECT_EQ(app.PictureRecord.Current(), "recordbuttonup");
    EXPECT_EQ(app.m.RecordingState, RecorderIdle);
}

} // namespace
} // namespace murmora::fakes
