#include <gtest/gtest.h>

#include "buttons/image_buttons.h"
#include "tests/fakes/fake_app.h"
#include "tests/fakes/fake_controls.h"
#include "tests/fakes/fake_platform.h"

namespace murmora::fakes {
namespace {

// One button on its own, with an action that records when it ran and what it saw.
struct ButtonFixture : ::testing::Test {
    FakeFiles files;
    FakeResources resources{files};
    ResourcePictures pictures{resources, files};
    FakeImageButton control;
    std::int16_t state = ButtonReleased;
    int actions = 0;
    std::string pictureWhenActionRan;
    std::int16_t stateWhenActionRan = -1;

    ImageButtonBehaviour Make(ImageButtonLayout layout) { return ImageButtonBehaviour(pictures, control, state, layout); }
    std::function<void()> Action() {
        return [this] {
            ++actions;
            pictureWhenActionRan = control.Current();
            stateWhenActionRan = state;
        };
    }
};

TEST_F(ButtonFixture, PressAndReleaseRunsTheActionOnceWithTheNormalPictureBack) {
    auto play = Make(SeeThroughPlayLayout);
    play.MouseDown(LeftButton, 0, 400, 400);
    EXPECT_EQ(control.Current(), "custom:108");
    EXPECT_EQ(state, ButtonPressed);
    play.MouseUp(LeftButton, 0, 400, 400, Action());
    EXPECT_EQ(actions, 1);
    EXPECT_EQ(pictureWhenActionRan, "custom:107");
    EXPECT_EQ(stateWhenActionRan, ButtonReleased);
}

TEST_F(ButtonFixture, DragOutAndReleaseDoesNothing) {
    auto close = Make(SeeThroughCloseLayout);
    close.MouseDown(LeftButton, 0, 100, 100);
    close.MouseMove(LeftButton, 0, 500, 100);
    EXPECT_EQ(control.Current(), "custom:103") << "the normal picture shows from the moment the pointer left";
    EXPECT_EQ(state, ButtonReleased);
    const auto picturesBefore = control.shown.size();
    close.MouseUp(LeftButton, 0, 500, 100, Action());
    EXPECT_EQ(actions, 0);
    EXPECT_EQ(control.shown.size(), picturesBefore) << "a release when not pressed changes no picture";
}

TEST_F(ButtonFixture, DragOutAndBackInRunsTheAction) {
    auto min = Make(SeeThroughMinLayout);
    min.MouseDown(LeftButton, 0, 100, 100);
    min.MouseMove(LeftButton, 0, -50, 100);
    min.MouseMove(LeftButton, 0, 100, 100);
    EXPECT_EQ(control.Current(), "custom:102");
    min.MouseUp(LeftButton, 0, 100, 100, Action());
    EXPECT_EQ(actions, 1);
}

struct BoundCase {
    ImageButtonLayout layout;
    float x;
    float y;
    bool inside;
};

class ActiveArea : public ButtonFixture, public ::testing::WithParamInterface<BoundCase> {};

TEST_P(ActiveArea, BoundsAreInclusive) {
    const BoundCase c = GetParam();
    auto button = Make(c.layout);
    button.MouseDown(LeftButton, 0, 10, 10);
    button.MouseMove(LeftButton, 0, c.x, c.y);
    EXPECT_EQ(state, c.inside ? ButtonPressed : ButtonReleased) << "x=" << c.x << " y=" << c.y;
}

INSTANTIATE_TEST_SUITE_P(SmallAndLarge, ActiveArea,
                         ::testing::Values(BoundCase{SeeThroughCloseLayout, 5, 5, true},
                                           BoundCase{SeeThroughCloseLayout, 300, 300, true},
                                           BoundCase{SeeThroughCloseLayout, 4.9f, 100, false},
                                           BoundCase{SeeThroughCloseLayout, 300.5f, 100, false},
                                           BoundCase{SeeThroughCloseLayout, 100, 4.9f, false},
                                           BoundCase{SeeThroughCloseLayout, 100, 300.5f, false},
                                           BoundCase{SeeThroughPlayLayout, 800, 780, true},
                                           BoundCase{SeeThroughPlayLayout, 100, 781, false},
                                           BoundCase{SeeThroughPlayLayout, 800.5f, 100, false}));

TEST_F(ButtonFixture, RightOrMiddlePressIgnoresMovesAndRunsOnReleaseAnywhere) {
    for (int button : {RightButton, MiddleButton}) {
        auto wav = Make(SeeThroughWavLayout);
        wav.MouseDown(button, 0, 100, 100);
        EXPECT_EQ(control.Current(), "custom:112");
        const auto picturesBefore = control.shown.size();
        wav.MouseMove(button, 0, 5000, 5000);
        EXPECT_EQ(control.shown.size(), picturesBefore);
        EXPECT_EQ(state, ButtonPressed);
        wav.MouseUp(button, 0, 5000, 5000, Action());
    }
    EXPECT_EQ(actions, 2);
}

TEST_F(ButtonFixture, LeftAndRightHeldTogetherIgnoreMoves) {
    auto time = Make(SeeThroughTimeLayout);
    time.MouseDown(LeftButton, 0, 100, 100);
    time.MouseMove(LeftButton | RightButton, 0, 5000, 5000);
    EXPECT_EQ(state, ButtonPressed);
    EXPECT_EQ(control.Current(), "custom:110");
}

TEST_F(ButtonFixture, EveryMoveInsideReloadsThePressedPicture) {
    auto play = Make(SeeThroughPlayLayout);
    play.MouseDown(LeftButton, 0, 100, 100);
    for (int i = 0; i < 3; ++i) play.MouseMove(LeftButton, 0, 100.0f + static_cast<float>(i), 100);
    EXPECT_EQ(control.shown, (std::vector<std::string>{"custom:108", "custom:108", "custom:108", "custom:108"}));
    EXPECT_TRUE(files.FilesIn("/tmp", "~rs").empty());
}

TEST_F(ButtonFixture, AMoveInsideWithTheLeftButtonPressesAButtonThePressDidNotStartOn) {
    auto play = Make(SeeThroughPlayLayout);
    play.MouseMove(LeftButton, 0, 100, 100);
    EXPECT_EQ(state, ButtonPressed);
}

TEST(CutButton, DoesNothingWhileIdle) {
    FakeApp app;
    FakeApp::Start(app);
    const auto picturesBefore = app.SeeThroughCut.shown.size();
    app.SeeThroughCut.Down();
    app.SeeThroughCut.Move(LeftButton, 100, 100);
    app.SeeThroughCut.Up();
    EXPECT_EQ(app.SeeThroughCut.shown.size(), picturesBefore);
    EXPECT_EQ(app.m.CutButtonState, ButtonReleased);
    EXPECT_TRUE(app.mci.commands.empty());
}

TEST(CutButton, FollowsThePointerDuringATake) {
    FakeApp app;
    FakeApp::Start(app);
    app.m.RecordingState = RecorderBusy;
    app.SeeThroughCut.Down();
    EXPECT_EQ(app.SeeThroughCut.Current(), "custom:106");
    app.SeeThroughCut.Move(LeftButton, 900, 100);
    EXPECT_EQ(app.SeeThroughCut.Current(), "custom:105");
    EXPECT_EQ(app.m.CutButtonState, ButtonReleased);
}

TEST(PanelButtons, CloseAndMinimizeRunTheirActionsOnRelease) {
    FakeApp app;
    FakeApp::Start(app);
    app.SeeThroughMin.Click();
    EXPECT_TRUE(app.windows.minimized);
    app.SeeThroughClose.Down();
    app.SeeThroughClose.Move(LeftButton, 1000, 1000);
    app.SeeThroughClose.Up(LeftButton, 1000, 1000);
    EXPECT_FALSE(app.windows.ended) << "released off the button";
    app.SeeThroughClose.Click();
    EXPECT_TRUE(app.windows.ended);
}

} // namespace
} // namespace murmora::fakes
